#include "settings/gui/setting_rules.h"

#include <QString>

#include <charconv>
#include <limits>

namespace pw {

int LanguageEntryFor(const std::vector<std::string>& entries, const std::string& setting) {
    if (setting.empty() || entries.empty()) return 0;
    const QString prefix = QString::fromStdString(setting);
    const int n = static_cast<int>(entries.size());
    for (int k = 0; k < n; ++k) {
        const int i = (k + 1) % n;  // second .. last, then first
        if (QString::fromStdString(entries[static_cast<std::size_t>(i)])
                .startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return 0;
}

std::string LanguageSettingFor(const std::vector<std::string>& languageNames, int index) {
    if (index < 1 || index > static_cast<int>(languageNames.size())) return std::string();
    return languageNames[static_cast<std::size_t>(index - 1)];
}

ProxyParts SplitProxy(const std::string& proxyServer) {
    ProxyParts parts;
    if (proxyServer.empty()) return parts;
    const std::size_t first = proxyServer.find(':');
    parts.host = proxyServer.substr(0, first);
    if (first == std::string::npos) return parts;
    const std::size_t second = proxyServer.find(':', first + 1);
    if (second == std::string::npos) parts.port = proxyServer.substr(first + 1);
    return parts;
}

std::string JoinProxy(const std::string& host, const std::string& port) {
    if (host.empty()) return std::string();
    if (port.empty()) return host;
    return host + ":" + port;
}

std::optional<int> ParseFieldInt(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin == end) return std::nullopt;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

int ClampHiddenDigits(int value) {
    if (value < 0) value = value == std::numeric_limits<int>::min() ? 5 : -value;
    return value > 5 ? 5 : value;
}

}  // namespace pw
