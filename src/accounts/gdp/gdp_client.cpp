#include "accounts/gdp/gdp_client.h"

#include <vector>

#include "accounts/answer_text.h"
#include "accounts/cut_text.h"
#include "accounts/query_value.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace gdp {
namespace {

constexpr int kSystemIndex = 4;

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf, n);
}

// The errors, and the text without them. The elements are taken front to back in one pass;
// an opening tag without its closing tag ends the pass.
std::string TakeErrors(std::string_view text, TextList& errors) {
    static constexpr std::string_view kOpen = "<error>", kClose = "</error>";
    std::string rest;
    rest.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = text.find(kOpen, pos);
        if (at == std::string_view::npos) break;
        const std::size_t end = text.find(kClose, at + kOpen.size());
        if (end == std::string_view::npos) break;
        const std::string_view value = text.substr(at + kOpen.size(), end - at - kOpen.size());
        errors.push_back(value.empty() ? std::string(" ") : std::string(value));  // a text, not a row
        rest.append(text.substr(pos, at - pos));
        pos = end + kClose.size();
    }
    rest.append(text.substr(pos));
    return rest;
}

}  // namespace

SecureString BalanceUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kPage, "&apicheck=", QueryValue(login.secret),
                   "&balance=1&account=", QueryValue(login.account)});
}

SecureString HistoryUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kPage, "&apicheck=", QueryValue(login.secret),
                   "&history=1&account=", QueryValue(login.account),
                   "&store_id=", QueryValue(login.apiName)});
}

Answer ParseAnswer(std::string_view answer, std::time_t now) {
    Answer out;
    std::string text = TakeErrors(answer, out.errors);

    const std::string stamp = UtcStamp(now);
    const TextList& currencies = GdpTraits().currencies;
    // Markers: "<balance>", then "<C>" and "</C>" of each currency C.
    std::vector<std::string> tags;
    for (const std::string& c : currencies) {
        tags.push_back("<" + c + ">");
        tags.push_back("</" + c + ">");
    }
    std::vector<std::string_view> markers = {"<balance>"};
    markers.insert(markers.end(), tags.begin(), tags.end());
    if (text.size() >= UINT32_MAX) return out;  // far beyond any answer of the interface
    CutText x(text, markers);
    std::string scratch;
    // A currency whose element is missing or unclosed is not searched for again.
    std::vector<bool> gone(currencies.size(), false);
    std::size_t live = currencies.size();
    for (std::size_t at = x.Find(0); at != CutText::npos && live > 0; at = x.Find(0)) {
        x.Cut(at, at + x.MarkerSize(0));
        for (std::size_t i = 0; i < currencies.size(); ++i) {
            if (gone[i]) continue;
            const int open = static_cast<int>(1 + 2 * i), close = open + 1;
            const std::size_t s = x.Find(open);
            const std::size_t e = s == CutText::npos ? s : x.Find(close, s + x.MarkerSize(open));
            if (e == CutText::npos) {
                gone[i] = true;
                --live;
                continue;
            }
            std::string row = currencies[i];
            row += '~';
            const std::string_view value = x.Left(s + x.MarkerSize(open), e, scratch);
            if (value.empty()) row += ' ';
            AppendRowField(row, value);
            row += '~';
            row += stamp;
            out.balanceRows.push_back(std::move(row));
            x.Cut(s, e + x.MarkerSize(close));
        }
    }
    return out;
}

}  // namespace gdp

GdpClient::GdpClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& GdpClient::Traits() const { return GdpTraits(); }

SecureString GdpClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return gdp::BalanceUrl(host_, login);
}

SecureString GdpClient::HistoryUrl(const LoginFields& login, const HistoryFilter&, int,
                                   std::time_t) {
    return gdp::HistoryUrl(host_, login);
}

void GdpClient::Parse(const std::string& answer, RequestKind, bool) {
    gdp::Answer parsed = gdp::ParseAnswer(answer, std::time(nullptr));
    answer_ = ParsedAnswer{};
    answer_.errors = std::move(parsed.errors);
    answer_.balanceRows = std::move(parsed.balanceRows);
}

std::string GdpClient::ErrorReport() const { return ErrorLineReport(answer_.errors); }

std::unique_ptr<GdpClient> MakeGdpClient(const SettingsStore& settings) {
    return std::make_unique<GdpClient>(SystemHost(settings, gdp::kSystemIndex));
}

}  // namespace pw
