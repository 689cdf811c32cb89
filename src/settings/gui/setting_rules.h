#pragma once
// The value rules of the settings dialog that need no widgets: which language entry a
// setting selects, how the proxy text splits into host and port and joins again, and the
// range of the hidden-digits count.
#include <optional>
#include <string>
#include <vector>

namespace pw {

// entries as the language list shows them ("Default" first). The index of the entry that
// the setting selects: empty setting -> 0; otherwise the first entry, searching from the
// second to the last and then the first, whose text begins with the setting regardless of
// case; none -> 0.
int LanguageEntryFor(const std::vector<std::string>& entries, const std::string& setting);

// The SelectLanguage value for a selected entry: the language name at index - 1 for
// index >= 1, empty otherwise (also for an index past the names).
std::string LanguageSettingFor(const std::vector<std::string>& languageNames, int index);

struct ProxyParts {
    std::string host;
    std::string port;
    bool operator==(const ProxyParts&) const = default;
};

// Splits ProxyServer at ":": the first piece is the host; with exactly two pieces the
// second is the port, otherwise the port is empty.
ProxyParts SplitProxy(const std::string& proxyServer);
// Empty when the host is empty, the host alone when the port is empty, else "host:port".
std::string JoinProxy(const std::string& host, const std::string& port);

// The integer of the hidden-digits field: optional minus sign and decimal digits, within
// the 32-bit range; nullopt for anything else (empty text included).
std::optional<int> ParseFieldInt(const std::string& text);
// Negative numbers become their absolute value, numbers above 5 become 5.
int ClampHiddenDigits(int value);

}  // namespace pw
