#include "request_log.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace sandbox {
namespace {

bool IsCredentialName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : {"pass", "pin", "key", "secret", "token", "hash"})
        if (name.find(word) != std::string::npos) return true;
    return false;
}

// The document with the text of each credential element replaced, in one pass.
std::string MaskXml(const std::string& doc) {
    std::string out;
    out.reserve(doc.size());
    std::size_t i = 0;
    while (i < doc.size()) {
        const std::size_t open = doc.find('<', i);
        if (open == std::string::npos) {
            out.append(doc, i, std::string::npos);
            break;
        }
        const std::size_t close = doc.find('>', open);
        if (close == std::string::npos) {
            out.append(doc, i, std::string::npos);
            break;
        }
        out.append(doc, i, close + 1 - i);
        i = close + 1;
        const std::string tag = doc.substr(open + 1, close - open - 1);
        if (tag.empty() || tag[0] == '/' || tag[0] == '?' || tag.back() == '/') continue;
        const std::string name = tag.substr(0, tag.find(' '));
        if (!IsCredentialName(name)) continue;
        const std::size_t end = doc.find('<', i);
        if (end == std::string::npos) break;
        if (end > i) out += "***";
        i = end;
    }
    return out;
}

std::mutex g_mutex;
FILE* g_log = nullptr;

}  // namespace

std::string MaskedParams(const httplib::Params& params) {
    std::string out;
    for (const auto& [name, value] : params) {
        if (!out.empty()) out += '&';
        out += name + "=";
        if (IsCredentialName(name)) out += value.empty() ? "" : "***";
        else if (value.find('<') != std::string::npos) out += MaskXml(value);
        else out += value;
    }
    return out;
}

void LogRequests(httplib::Server& server, const std::string& dir) {
    {
        std::lock_guard lock(g_mutex);
        if (!g_log) {
            const std::string path = dir + (dir.empty() || dir.back() == '/' ? "" : "/") +
                                     "requests.log";
            g_log = std::fopen(path.c_str(), "ab");
            if (g_log) std::setvbuf(g_log, nullptr, _IOLBF, 0);
        }
    }
    // Written before the answer leaves, so that a client that got its answer finds the line
    // even when the simulator is stopped right after.
    server.set_post_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        const std::time_t now = std::time(nullptr);
        std::tm t{};
        gmtime_r(&now, &t);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &t);
        std::string line = std::string(stamp) + " " + req.method + " " + req.path;
        const std::string params = MaskedParams(req.params);
        if (!params.empty()) line += "?" + params;
        line += " " + std::to_string(res.status) + "\n";
        std::lock_guard lock(g_mutex);
        if (g_log) std::fwrite(line.data(), 1, line.size(), g_log);
    });
}

}  // namespace sandbox
