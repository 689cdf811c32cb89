#include "accounts/gdp/gdp_client.h"

#include <vector>

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

// Cuts the first "<name>value</name>" out of text and gives its value (" " when empty).
// False, with text unchanged, when the element is missing or has no closing tag.
bool CutElement(std::string& text, const std::string& name, std::string& value) {
    const std::string open = "<" + name + ">";
    const std::string close = "</" + name + ">";
    const std::size_t at = text.find(open);
    if (at == std::string::npos) return false;
    const std::size_t end = text.find(close, at + open.size());
    if (end == std::string::npos) return false;
    value = text.substr(at + open.size(), end - at - open.size());
    if (value.empty()) value = " ";
    text.erase(at, end + close.size() - at);
    return true;
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
        errors.push_back(value.empty() ? std::string(" ") : std::string(value));
        rest.append(text.substr(pos, at - pos));
        pos = end + kClose.size();
    }
    rest.append(text.substr(pos));
    return rest;
}

}  // namespace

std::string BalanceUrl(const std::string& host, const LoginFields& login) {
    return "https://" + host + kPage + "&apicheck=" + QueryValue(login.secret) +
           "&balance=1&account=" + QueryValue(login.account);
}

std::string HistoryUrl(const std::string& host, const LoginFields& login) {
    return "https://" + host + kPage + "&apicheck=" + QueryValue(login.secret) +
           "&history=1&account=" + QueryValue(login.account) +
           "&store_id=" + QueryValue(login.apiName);
}

Answer ParseAnswer(std::string_view answer, std::time_t now) {
    Answer out;
    std::string text = TakeErrors(answer, out.errors);

    const std::string stamp = UtcStamp(now);
    const TextList& currencies = GdpTraits().currencies;
    // A currency whose element is missing or unclosed is not searched for again.
    std::vector<bool> gone(currencies.size(), false);
    std::size_t live = currencies.size();
    static const std::string kBalance = "<balance>";
    std::string value;
    for (std::size_t at = text.find(kBalance); at != std::string::npos && live > 0;
         at = text.find(kBalance)) {
        text.erase(at, kBalance.size());
        for (std::size_t i = 0; i < currencies.size(); ++i) {
            if (gone[i]) continue;
            if (CutElement(text, currencies[i], value)) {
                out.balanceRows.push_back(currencies[i] + "~" + value + "~" + stamp);
            } else {
                gone[i] = true;
                --live;
            }
        }
    }
    return out;
}

}  // namespace gdp

GdpClient::GdpClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& GdpClient::Traits() const { return GdpTraits(); }

std::string GdpClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return gdp::BalanceUrl(host_, login);
}

std::string GdpClient::HistoryUrl(const LoginFields& login, const HistoryFilter&, int,
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
