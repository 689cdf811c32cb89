#pragma once
// Helpers of the Liberty Reserve tests: a scripted transport and URL decoding.
#include <deque>
#include <string>
#include <vector>

#include "net/transport.h"

namespace pw::test {

// Records every URL and answers from a prepared list (empty once the list is used up).
class ScriptedTransport : public Transport {
public:
    std::vector<std::string> urls;
    std::deque<std::string> answers;

    std::string HttpsGet(const SecureString& url) override {
        urls.emplace_back(url);
        if (answers.empty()) return std::string();
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string HttpGet(const SecureString& url) override {
        urls.emplace_back(url);
        return "-=Error=-";
    }
};

// %XX sequences to bytes (what the server's query decoding does).
inline std::string PercentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The decoded document of a request URL (what follows "?req=").
inline std::string DocumentOf(const std::string& url) {
    const std::size_t p = url.find("?req=");
    return p == std::string::npos ? std::string() : PercentDecode(url.substr(p + 5));
}

}  // namespace pw::test
