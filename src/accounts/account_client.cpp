#include "accounts/account_client.h"

#include "settings/keys.h"
#include "settings/settings_store.h"
#include "ui/base/strings.h"

namespace pw {

std::string TabMessage::Text() const { return id != 0 ? Str(id) : text; }

std::string CodeMessageReport(const TextList& errors) {
    std::string out;
    for (const std::string& e : errors) {
        const TextList f = Split(e, "~");
        out += "Code : " + f[0] + ", Message : " + (f.size() > 1 ? f[1] : std::string()) + " \n";
    }
    return out;
}

std::string ErrorLineReport(const TextList& errors) {
    std::string out;
    for (const std::string& e : errors) out += "Error : " + e + " \n";
    return out;
}

std::string SystemHost(const SettingsStore& settings, int systemIndex) {
    const keys::SystemKeys& k = keys::KeysOf(systemIndex);
    std::string host = settings.GetString(k.section, k.host, k.defaultHost);
    return host.empty() ? std::string(k.defaultHost) : host;
}

}  // namespace pw
