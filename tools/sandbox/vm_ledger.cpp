#include "vm_ledger.h"

#include "journal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "crypto/cipher.h"

namespace sandbox::vm {
namespace {

constexpr Cents kMaxAmount = Cents{100000000000};  // a thousand million: nobody has more

std::string TokenFor(const AccountInfo& a, std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H", &tm);
    return pw::Md5HexLower(a.id + pw::Md5HexLower(a.password) + a.pin + stamp);
}

}  // namespace

std::string FormatCents(Cents v) {
    const bool negative = v < 0;
    const std::uint64_t m =
        negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", negative ? "-" : "",
                  static_cast<unsigned long long>(m / 100),
                  static_cast<unsigned long long>(m % 100));
    return buf;
}

std::optional<Cents> ParseAmount(const std::string& text) {
    std::size_t i = 0;
    Cents whole = 0, frac = 0;
    int digits = 0, decimals = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > kMaxAmount / 100) return std::nullopt;
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            if (++decimals > 2) return std::nullopt;
            frac = frac * 10 + (text[i] - '0');
            ++i;
        }
        if (decimals == 0) return std::nullopt;
    }
    if (i != text.size() || digits == 0) return std::nullopt;
    if (decimals == 1) frac *= 10;
    const Cents v = whole * 100 + frac;
    if (v <= 0) return std::nullopt;
    return v;
}

Ledger::Ledger() {
    accounts_["VM100001"] = {"VM100001", "1234", "demopass", "Demo Holder", 5000000};
    accounts_["VM100002"] = {"VM100002", "5678", "payeepass", "Payee Store", 1200000};
    accounts_["VM100003"] = {"VM100003", "9012", "thirdpass", "Third & Sons", 300000};

    // 48 lines of VM100001, one every 25 hours from 1 February 2009 (UTC), all six kinds.
    static const char* const kTypes[] = {"received",  "sent",     "fees",
                                         "referrals", "deposits", "withdrawals"};
    const std::time_t start = 1233446400;  // 2009-02-01 00:00:00 UTC
    for (int i = 0; i < 48; ++i) {
        Line l;
        l.transId = nextTrans_++;
        l.time = start + static_cast<std::time_t>(i) * 25 * 3600;
        l.type = kTypes[i % 6];
        const bool fee = l.type == "fees";
        l.party = fee ? "Fee Account" : (i % 4 < 2 ? "VM100002" : "VM100003");
        l.partyName = fee ? "" : accounts_[l.party].name;
        l.amount = fee ? 25 + i : static_cast<Cents>((i * 7919) % 9000 + 100);
        l.memo =
            i % 5 == 0 ? "" : (i % 5 == 1 ? "Tom & Jerry <shop>" : "Order #" + std::to_string(i));
        l.paymentId = i % 3 == 0 ? "" : "P" + std::to_string(900 + i);
        lines_["VM100001"].push_back(l);
    }
    // The transfers of earlier runs.
    for (const auto& e : JournalEntries("VM"))
        if (e.size() == 5) Book(e[0], e[1], std::stoll(e[2]), e[3], std::stoll(e[4]));
}

std::optional<AccountInfo> Ledger::Account(const std::string& id) const {
    std::lock_guard lock(mutex_);
    const auto it = accounts_.find(id);
    if (it == accounts_.end()) return std::nullopt;
    return it->second;
}

bool Ledger::Authenticate(const std::string& account, const std::string& token,
                          std::time_t now) const {
    std::lock_guard lock(mutex_);
    const auto it = accounts_.find(account);
    if (it == accounts_.end()) return false;
    // The token of the hour before or after is taken too (a request built at 59:59).
    for (const std::time_t t : {now, now - 3600, now + 3600})
        if (token == TokenFor(it->second, t)) return true;
    return false;
}

std::vector<Line> Ledger::History(const std::string& account, const HistoryQuery& q) const {
    std::lock_guard lock(mutex_);
    std::vector<Line> out;
    const auto it = lines_.find(account);
    if (it == lines_.end()) return out;
    for (const Line& l : it->second) {
        if (l.time < q.from || l.time > q.till || !q.types.count(l.type)) continue;
        if (!q.transId.empty() && std::to_string(l.transId) != q.transId) continue;
        out.push_back(l);
    }
    std::stable_sort(out.begin(), out.end(), [](const Line& a, const Line& b) {
        return a.time != b.time ? a.time > b.time : a.transId > b.transId;
    });
    return out;
}

std::int64_t Ledger::Book(const std::string& payer, const std::string& payee, Cents amount,
                          const std::string& memo, std::time_t when) {
    AccountInfo& from = accounts_[payer];
    AccountInfo& to = accounts_[payee];
    from.balance -= amount;
    to.balance += amount;
    const std::int64_t id = nextTrans_++;
    lines_[payer].push_back({id, when, "sent", payee, to.name, amount, memo, ""});
    lines_[payee].push_back({id, when, "received", payer, from.name, amount, memo, ""});
    return id;
}

std::variant<std::int64_t, Refusal> Ledger::Transfer(const std::string& payer,
                                                     const std::string& payee, Cents amount,
                                                     const std::string& memo, std::time_t now) {
    std::lock_guard lock(mutex_);
    const auto from = accounts_.find(payer);
    if (from == accounts_.end() || !accounts_.count(payee))
        return Refusal{"TransferFailed", "Account " + payee + " does not exist"};
    if (payer == payee) return Refusal{"TransferFailed", "Payee is the payer"};
    if (from->second.balance < amount)
        return Refusal{"TransferFailed", "Not enough money on account " + payer};
    JournalBooked("VM", {payer, payee, std::to_string(amount), memo, std::to_string(now)});
    return Book(payer, payee, amount, memo, now);
}

}  // namespace sandbox::vm
