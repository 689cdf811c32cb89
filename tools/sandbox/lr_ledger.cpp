#include "lr_ledger.h"

#include "journal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "crypto/cipher.h"

namespace sandbox::lr {
namespace {

constexpr Units kUnit = 10000;
constexpr Units kMaxAmount = Units{1000000000} * kUnit;  // nobody here has that much

std::string TokenFor(const std::string& secret, std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, ":%Y%m%d:%H", &tm);
    return pw::PasswordHash(secret + buf);
}

}  // namespace

std::string FormatUnits(Units v) {
    const bool negative = v < 0;
    const std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%llu.%04llu", negative ? "-" : "",
                  static_cast<unsigned long long>(m / kUnit),
                  static_cast<unsigned long long>(m % kUnit));
    return buf;
}

std::optional<Units> ParseAmount(const std::string& text) {
    std::size_t i = 0;
    Units whole = 0, frac = 0;
    int digits = 0, decimals = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > kMaxAmount / kUnit) return std::nullopt;
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            if (++decimals > 4) return std::nullopt;
            frac = frac * 10 + (text[i] - '0');
            ++i;
        }
    }
    if (i != text.size() || digits + decimals == 0) return std::nullopt;
    for (int d = decimals; d < 4; ++d) frac *= 10;
    const Units v = whole * kUnit + frac;
    if (v <= 0) return std::nullopt;
    return v;
}

Ledger::Ledger() {
    auto add = [this](std::string id, std::string api, std::string secret, std::string name,
                      Units usd, Units eur) {
        AccountInfo a{id, std::move(api), std::move(secret), std::move(name), {}};
        a.balances["LRUSD"] = usd * kUnit;
        a.balances["LREUR"] = eur * kUnit;
        accounts_[id] = std::move(a);
    };
    add("U1234567", "demoapi", "demosecret", "Demo User", 50000, 20000);
    add("U7654321", "payee", "payeesecret", "Payee Shop", 50000, 20000);
    add("U1111111", "third", "thirdsecret", "Third Party Ltd", 10000, 5000);

    // 130 receipts of U1234567, one every eight hours from 1 February 2009 (UTC).
    const std::time_t start = 1233446400;  // 2009-02-01 00:00:00 UTC
    for (int i = 0; i < 130; ++i) {
        const std::string other = i % 2 ? "U7654321" : "U1111111";
        const bool outgoing = i % 3 == 0;
        const std::string currency = i % 5 == 4 ? "LREUR" : "LRUSD";
        const Units amount = static_cast<Units>((i * 7919) % 9000 + 1000) * 100;
        std::string memo;
        switch (i % 4) {
            case 0: break;
            case 1: memo = "Invoice " + std::to_string(1000 + i); break;
            case 2: memo = "Tom & Jerry's <shop>"; break;
            default: memo = "Order #" + std::to_string(i); break;
        }
        const std::time_t date = start + i * 8 * 3600 + (i * 13 % 60) * 60;
        if (outgoing) Book("U1234567", other, currency, amount, memo, "API", date);
        else Book(other, "U1234567", currency, amount, memo, "Website", date);
    }
    // The transfers of earlier runs.
    for (const auto& e : JournalEntries("LR"))
        if (e.size() == 6)
            Book(e[0], e[1], e[2], std::stoll(e[3]), e[4], "API", std::stoll(e[5]));
}

Receipt Ledger::Book(const std::string& payer, const std::string& payee,
                     const std::string& currency, Units amount, const std::string& memo,
                     const std::string& source, std::time_t date) {
    Units& from = accounts_[payer].balances[currency];
    Units& to = accounts_[payee].balances[currency];
    from -= amount;
    to += amount;
    Receipt r;
    r.receiptId = nextReceipt_++;
    r.transferId = nextTransfer_++;
    r.date = date;
    r.payer = payer;
    r.payee = payee;
    r.currency = currency;
    r.memo = memo;
    r.source = source;
    r.amount = amount;
    r.payerClosing = from;
    r.payeeClosing = to;
    receipts_.push_back(r);
    return r;
}

std::optional<AccountInfo> Ledger::Account(const std::string& id) const {
    std::lock_guard lock(mutex_);
    const auto it = accounts_.find(id);
    if (it == accounts_.end()) return std::nullopt;
    return it->second;
}

bool Ledger::Authenticate(const std::string& account, const std::string& apiName,
                          const std::string& token, std::time_t now) const {
    std::lock_guard lock(mutex_);
    const auto it = accounts_.find(account);
    if (it == accounts_.end() || it->second.apiName != apiName) return false;
    // The token of the hour before or after is taken too: a request built at 59:59 may
    // arrive in the next hour, and clocks differ a little.
    for (const std::time_t t : {now, now - 3600, now + 3600})
        if (token == TokenFor(it->second.secret, t)) return true;
    return false;
}

HistoryPage Ledger::History(const std::string& account, const HistoryQuery& q) const {
    std::lock_guard lock(mutex_);
    std::vector<const Receipt*> hits;
    for (const Receipt& r : receipts_) {
        if (r.payer != account && r.payee != account) continue;
        const std::string& other = r.payer == account ? r.payee : r.payer;
        if (q.from && r.date < *q.from) continue;
        if (q.till && r.date > *q.till) continue;
        if (!q.counterpart.empty() && other != q.counterpart) continue;
        if (!q.receiptId.empty() && std::to_string(r.receiptId) != q.receiptId) continue;
        hits.push_back(&r);
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Receipt* a, const Receipt* b) {
        return a->date != b->date ? a->date > b->date : a->receiptId > b->receiptId;
    });
    HistoryPage page;
    page.pageSize = std::clamp(q.pageSize, 1, 1000);
    page.totalCount = static_cast<int>(hits.size());
    page.pageCount = std::max(1, (page.totalCount + page.pageSize - 1) / page.pageSize);
    page.pageNumber = std::max(1, q.pageNumber);
    const std::size_t first = static_cast<std::size_t>(page.pageNumber - 1) * page.pageSize;
    for (std::size_t i = first; i < hits.size() && i < first + page.pageSize; ++i)
        page.receipts.push_back(*hits[i]);
    return page;
}

std::variant<Receipt, LrError> Ledger::Transfer(const std::string& payer, const std::string& payee,
                                                const std::string& currency, Units amount,
                                                const std::string& memo, std::time_t now) {
    std::lock_guard lock(mutex_);
    const auto from = accounts_.find(payer);
    const auto to = accounts_.find(payee);
    if (from == accounts_.end() || to == accounts_.end())
        return LrError{302, "Account not found",
                       "Account " + (from == accounts_.end() ? payer : payee) + " does not exist"};
    if (payer == payee)
        return LrError{301, "Invalid data format", "Payee element contains invalid data"};
    const auto balance = from->second.balances.find(currency);
    if (balance == from->second.balances.end())
        return LrError{301, "Invalid data format",
                       "CurrencyId element is empty or contains invalid data"};
    if (balance->second < amount)
        return LrError{303, "Not enough money",
                       "Account " + payer + " has not enough " + currency + " for this transfer"};
    JournalBooked("LR", {payer, payee, currency, std::to_string(amount), memo, std::to_string(now)});
    return Book(payer, payee, currency, amount, memo, "API", now);
}

}  // namespace sandbox::lr
