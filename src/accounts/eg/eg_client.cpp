#include "accounts/eg/eg_client.h"

#include <charconv>

#include "accounts/eg/eg_requests.h"
#include "settings/keys.h"
#include "settings/settings_store.h"
#include "ui/base/strings.h"

namespace pw {
namespace eg {
namespace {

constexpr int kSystemIndex = 3;

const std::string& FieldAt(const TextList& f, std::size_t i) {
    static const std::string empty;
    return i < f.size() ? f[i] : empty;
}

// Digits of "%.Nf".
int Decimals(const char* format) {
    const std::string f = format;
    return f.size() >= 4 && f[0] == '%' && f[1] == '.' ? std::atoi(f.c_str() + 2) : 2;
}

// "-0012.500" as sign, integer digits without leading zeros, fraction without trailing
// zeros; empty when the text is not a plain decimal number.
std::string Canonical(const std::string& s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::string whole, fraction;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) whole += s[i];
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) fraction += s[i];
    if (i != s.size() || (whole.empty() && fraction.empty())) return std::string();
    whole.erase(0, whole.find_first_not_of('0'));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.empty() && fraction.empty()) negative = false;
    return (negative ? "-" : "") + whole + "." + fraction;
}

}  // namespace

std::string FormatCell(const TextList& fields, std::size_t column, const ColumnFormat& format) {
    if (column >= fields.size()) return std::string();
    if (format.format[0] == '\0') return " " + fields[column];
    char buf[384];
    const auto r = std::to_chars(buf, buf + sizeof buf, ParseAmount(fields[column]),
                                 std::chars_format::fixed, Decimals(format.format));
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

std::string RecordText(const std::string& historyRow, bool hide, int hideCount) {
    const TextList f = Split(historyRow, "~");
    const std::string counterpart = hide ? MaskCounterpart(FieldAt(f, 5), hideCount) : FieldAt(f, 5);
    return "Date : " + FieldAt(f, 0) + "\r\n" + "Payment Type : " + FieldAt(f, 1) + "\r\n" +
           "From/To Account : " + counterpart + "\r\n" + "Weight : " + FieldAt(f, 3) + " oz " +
           FieldAt(f, 2) + "\r\n" + "Amount : " + FieldAt(f, 4) + "\r\n" +
           "Currency : " + FieldAt(f, 6) + "\r\n" + "Batch : " + FieldAt(f, 8) + "\r\n" +
           "Memo : " + FieldAt(f, 9);
}

bool SameDecimal(const std::string& a, const std::string& b) {
    const std::string ca = Canonical(a), cb = Canonical(b);
    return ca.empty() || cb.empty() ? a == b : ca == cb;
}

ChangeNotice BuildNotice(const TextList& oldRows, const TextList& newRows,
                         const std::string& account) {
    const EgTraits& t = Traits();
    const auto key = static_cast<std::size_t>(t.noticeKeyField);
    const auto compare = static_cast<std::size_t>(t.noticeCompareField);
    const auto report = static_cast<std::size_t>(t.noticeReportField);
    ChangeNotice notice;
    const std::size_t n = std::min(oldRows.size(), newRows.size());
    for (std::size_t i = 0; i < n; ++i) {
        const TextList o = Split(oldRows[i], "~"), w = Split(newRows[i], "~");
        if (FieldAt(o, key) != FieldAt(w, key)) continue;
        if (SameDecimal(FieldAt(o, compare), FieldAt(w, compare))) continue;
        if (!notice.changed) notice.text = Str(113) + " [EG<" + account + ">]\r\n";
        notice.changed = true;
        notice.text += FieldAt(w, key) + " : " + FieldAt(o, report) + "/" + FieldAt(w, report) + "\r\n";
    }
    return notice;
}

std::string Host(const SettingsStore& settings) {
    const keys::SystemKeys& k = keys::KeysOf(kSystemIndex);
    const std::string host = settings.GetString(k.section, k.host, k.defaultHost);
    return host.empty() ? std::string(k.defaultHost) : host;
}

std::string PriceHostSetting(const SettingsStore& settings) {
    const keys::SystemKeys& k = keys::KeysOf(kSystemIndex);
    return PriceHost(Host(settings), settings.GetString(k.section, keys::kEGPriceHost, ""));
}

}  // namespace eg

EgClient::EgClient(std::string host, std::string priceHost)
    : host_(std::move(host)), priceHost_(std::move(priceHost)),
      clock_([] { return std::time(nullptr); }) {}

const SystemTraits& EgClient::Traits() const { return EGoldTraits(); }

std::string EgClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return eg::BalanceUrl(host_, login);
}

std::string EgClient::HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int,
                                 std::time_t) {
    return eg::HistoryUrl(host_, login, filter);
}

void EgClient::Parse(const std::string& answer, RequestKind, bool) {
    eg::ParseAnswer(answer, prices_, clock_(), eg_);
    answer_ = ParsedAnswer{};
    answer_.errors = eg_.errors;
    answer_.balanceRows = eg_.balances;
    answer_.historyRows = eg::HistoryRows(eg_.rawHistory);
}

std::string EgClient::ErrorReport() const { return ErrorLineReport(eg_.errors); }

std::string EgClient::PriceUrl() const { return eg::PriceUrl(priceHost_); }

void EgClient::LoadPrices(Transport& transport) {
    prices_ = eg::ParsePrices(transport.HttpGet(PriceUrl()));
}

std::string EgClient::TransferUrl(const LoginFields& login, const TextList& queue,
                                  const std::function<bool()>& paymentCheck) const {
    return eg::TransferUrl(host_, login, queue, paymentCheck);
}

bool EgClient::SendTransfer(Transport& transport, const LoginFields& login,
                            const TextList& queue, const std::function<bool()>& paymentCheck) {
    const std::string url = TransferUrl(login, queue, paymentCheck);
    if (url.empty()) return false;
    Parse(transport.HttpsGet(url), RequestKind::Transfer, true);
    return true;
}

std::unique_ptr<EgClient> MakeEGoldClient(const SettingsStore& settings) {
    return std::make_unique<EgClient>(eg::Host(settings), eg::PriceHostSetting(settings));
}

}  // namespace pw
