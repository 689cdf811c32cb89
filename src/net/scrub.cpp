#include "net/scrub.h"

#include <algorithm>

#include "settings/settings_store.h"

namespace pw {

std::string ScrubSecrets(std::string text, std::vector<std::string> secrets) {
    std::sort(secrets.begin(), secrets.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& s : secrets) {
        if (s.empty()) continue;
        for (size_t at = text.find(s); at != std::string::npos; at = text.find(s, at + 3))
            text.replace(at, s.size(), "***");
    }
    for (std::string& s : secrets) WipeString(s);
    return text;
}

}  // namespace pw
