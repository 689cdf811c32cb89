#include "accounts/lr/lr_client.h"

#include <algorithm>
#include <charconv>

#include "accounts/answer_text.h"
#include "accounts/lr/lr_requests.h"
#include "accounts/tab_logic.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace {

std::string Money(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0.00");
}

}  // namespace

void AddHistoryRows(const RowList& receipts, const RowList& transfers, std::size_t from, RowList& rows) {
    const std::size_t n = std::min(receipts.size(), transfers.size());
    if (from >= n) return;
    std::size_t bytes = 0;
    for (std::size_t i = from; i < n; ++i) bytes += receipts[i].size() + transfers[i].size();
    rows.reserve(n - from, bytes);  // a row holds less than its receipt and transfer together
    std::string counterpart;
    for (std::size_t i = from; i < n; ++i) {
        const auto r = RowFields<7>(receipts[i]);
        const auto t = RowFields<9>(transfers[i]);
        // Read as atof does (any leading white space), but never as inf or nan.
        const double amount = ParseAmount(std::string(r[4]));
        counterpart.assign(amount > 0 ? t[2] : t[3]).append(" (").append(amount > 0 ? r[2] : r[3]).append(")");
        rows.AddJoined({r[1], counterpart, Money(amount), r[5], r[6], t[4], r[0], t[6], t[7], t[8]});
    }
}

RowList BuildHistoryRows(const RowList& receipts, const RowList& transfers) {
    RowList rows;
    AddHistoryRows(receipts, transfers, 0, rows);
    return rows;
}

LrClient::LrClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& LrClient::Traits() const { return LibertyReserveTraits(); }

SecureString LrClient::BalanceUrl(const LoginFields& login, std::time_t now) {
    return lr::MakeUrl(host_, lr::kBalancePath,
                       lr::BuildBalanceRequest(login, Traits().currencies, now));
}

SecureString LrClient::HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                                  std::time_t now) {
    return lr::MakeUrl(host_, lr::kHistoryPath, lr::BuildHistoryRequest(login, filter, page, now));
}

SecureString LrClient::TransferUrl(const LoginFields& login, const TextList& queue,
                                   const std::function<bool()>& paymentCheck, std::time_t now) {
    const SecureString doc = lr::BuildTransferRequest(login, queue, paymentCheck, now);
    if (doc.empty()) return {};
    return lr::MakeUrl(host_, lr::kTransferPath, doc);
}

SecureString LrClient::AccountNameUrl(const LoginFields& login, const std::string& account,
                                      std::time_t now) {
    return lr::MakeUrl(host_, lr::kAccountNamePath,
                       lr::BuildAccountNameRequest(login, account, now));
}

void LrClient::Parse(const std::string& answer, RequestKind kind, bool clear) {
    lr::ParseAnswer(answer, clear, lr_);
    confirmation_.clear();
    if (kind == RequestKind::Transfer && !lr_.receipts.empty())
        confirmation_ = Split(lr_.receipts.front(), "~")[0];
    if (confirmation_ == " ") confirmation_.clear();  // an empty element is kept as a blank
    SyncAnswer(clear);
}

void LrClient::SyncAnswer(bool clear) {
    if (clear) answer_ = ParsedAnswer{};
    answer_.errors = lr_.errors;
    answer_.balanceRows = RowList(lr_.balances);
    answer_.pager = lr_.pagers;
    // Rows already built stay; only the receipts of this answer are added.
    const std::size_t built = answer_.historyRows.size();
    const std::size_t n = std::min(lr_.receipts.size(), lr_.transfers.size());
    if (n > built) AddHistoryRows(lr_.receipts, lr_.transfers, built, answer_.historyRows);
}

std::vector<int> LrClient::FurtherPages(const HistoryFilter& filter) const {
    std::vector<int> pages;
    if (filter.getLast || lr_.pagers.empty()) return pages;
    const TextList f = Split(lr_.pagers.front(), "~");
    if (f.size() <= 2 || f[1] == f[2]) return pages;
    const int count = std::min(ParseLeadingInt(f[1]), kLrMaxPages);
    for (int n = 2; n <= count; ++n) pages.push_back(n);
    return pages;
}

std::string LrClient::ErrorReport() const { return CodeMessageReport(lr_.errors); }

std::string LrClient::GetAccountName(Transport& transport, const LoginFields& login,
                                     const std::string& account, std::time_t now, ModalUi& ui) {
    if (account.empty()) return std::string();
    Parse(transport.HttpsGet(AccountNameUrl(login, account, now)), RequestKind::AccountName, true);
    if (!lr_.errors.empty()) ui.Message(ErrorReport());
    if (lr_.accountNames.empty()) return std::string();
    return std::string(FirstFields<3>(lr_.accountNames.front())[2]);
}

std::unique_ptr<LrClient> MakeLibertyReserveClient(const SettingsStore& settings) {
    return std::make_unique<LrClient>(SystemHost(settings, 0));
}

}  // namespace pw
