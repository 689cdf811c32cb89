#include "accounts/query_value.h"

#include <algorithm>

#include "accounts/request_text.h"

namespace pw {

SecureString QueryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    SecureString out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        const bool changesQuery = c == '&' || c == '=' || c == '#' || c == '+' || c == '%' ||
                                  c <= 0x20 || c >= 0x7F;
        if (changesQuery) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::vector<SecureString> SecretForms(std::string_view secret) {
    if (secret.empty()) return {};
    std::vector<SecureString> forms{SecureString(secret)};
    for (SecureString form : {QueryValue(secret), PercentEncode(secret), XmlEscape(secret)}) {
        if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(std::move(form));
    }
    return forms;
}

}  // namespace pw
