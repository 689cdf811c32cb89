#include "journal.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>

namespace sandbox {
namespace {

std::mutex g_mutex;
std::string g_path;
std::map<std::string, std::vector<std::vector<std::string>>> g_entries;

// Fields may hold any byte: the separators and "%" are written as "%XX".
std::string Escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 &&
            HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::string JournalPath(const std::string& dir) {
    return dir + (dir.empty() || dir.back() == '/' ? "" : "/") + "journal.txt";
}

bool OpenJournal(const std::string& dir) {
    std::lock_guard lock(g_mutex);
    g_path = JournalPath(dir);
    g_entries.clear();
    std::ifstream in(g_path, std::ios::binary);
    if (!in) return !std::ifstream(g_path).good();  // no journal yet: the demo state
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(Unescape(line.substr(start, tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields.size() < 2) continue;  // a line cut short by a crash
        const std::string system = fields.front();
        fields.erase(fields.begin());
        g_entries[system].push_back(std::move(fields));
    }
    return true;
}

std::vector<std::vector<std::string>> JournalEntries(const std::string& system) {
    std::lock_guard lock(g_mutex);
    const auto it = g_entries.find(system);
    return it == g_entries.end() ? std::vector<std::vector<std::string>>() : it->second;
}

void JournalBooked(const std::string& system, const std::vector<std::string>& fields) {
    std::lock_guard lock(g_mutex);
    if (g_path.empty()) return;
    std::string line = Escape(system);
    for (const std::string& f : fields) line += "\t" + Escape(f);
    line += "\n";
    if (FILE* f = std::fopen(g_path.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

}  // namespace sandbox
