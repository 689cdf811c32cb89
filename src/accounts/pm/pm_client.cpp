#include "accounts/pm/pm_client.h"

#include "accounts/pm/pm_requests.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace pm {
RowList HistoryRows(const RowList& csvRecords) {
    RowList rows;
    rows.reserve(csvRecords.size(), csvRecords.Bytes());  // a row is its record less some fields
    for (const std::string_view record : csvRecords) AddHistoryRow(record, rows);
    return rows;
}

std::string AccountTag(const std::string& accountId) { return "PM_" + accountId; }

std::optional<std::int64_t> ExactCents(const std::string& amount) {
    std::string t = amount;
    const bool negative = !t.empty() && t[0] == '-';
    if (negative) t.erase(0, 1);
    if (!IsPlainAmount(t)) return std::nullopt;
    const std::size_t dot = t.find('.');
    const std::string whole = dot == std::string::npos ? t : t.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : t.substr(dot + 1);
    if (frac.size() > 2 || whole.size() > 15) return std::nullopt;
    frac.resize(2, '0');
    const std::int64_t v = (whole.empty() ? 0 : std::stoll(whole)) * 100 + std::stoll(frac);
    return negative ? -v : v;
}

}  // namespace pm

PmClient::PmClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& PmClient::Traits() const { return PerfectMoneyTraits(); }

SecureString PmClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return pm::BalanceUrl(host_, login);
}

SecureString PmClient::HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int,
                                  std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    HistoryFilter f = filter;
    f.from = pm::FromDateNotInFuture(filter.from, {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday});
    return pm::HistoryUrl(host_, login, f);
}

SecureString PmClient::TransferUrl(const LoginFields& login, const TextList& queue,
                                   const std::function<bool()>& paymentCheck, std::time_t) {
    return pm::TransferUrl(host_, login, queue, paymentCheck);
}

void PmClient::Parse(const std::string& answer, RequestKind kind, bool) {
    pm::ParseAnswer(answer, std::time(nullptr), pm_, CsvRows::History);
    confirmation_.clear();
    if (kind == RequestKind::Transfer)
        for (const std::string_view input : pm_.inputs) {
            const TextList f = Split(input, "~");
            if (f.size() > 1 && f[0] == "PAYMENT_BATCH_NUM") confirmation_ = pm::TrimBlanks(f[1]);
        }
    answer_ = ParsedAnswer{};
    answer_.errors = pm_.errors;
    answer_.balanceRows = pm_.inputs;
    answer_.historyRows = std::move(pm_.historyRows);
}

std::string PmClient::ErrorReport() const { return ErrorLineReport(pm_.errors); }

std::unique_ptr<PmClient> MakePerfectMoneyClient(const SettingsStore& settings) {
    return std::make_unique<PmClient>(SystemHost(settings, 1));
}

}  // namespace pw
