#include "net/scrub.h"

#include <algorithm>

namespace pw {

std::string ScrubSecrets(std::string text, std::vector<SecureString> secrets) {
    std::sort(secrets.begin(), secrets.end(),
              [](const SecureString& a, const SecureString& b) { return a.size() > b.size(); });
    for (const SecureString& s : secrets) {
        if (s.empty()) continue;
        for (size_t at = text.find(s); at != std::string::npos; at = text.find(s, at + 3))
            text.replace(at, s.size(), "***");
    }
    return text;
}

}  // namespace pw
