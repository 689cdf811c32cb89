#include "app/event_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "store/file_io.h"

namespace pw {

std::string FormatLogLine(const std::tm& local, const std::string& message) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%.2d/%.2d/%.2d %.2d:%.2d:%.2d", local.tm_mday,
                  local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec);
    std::string line(stamp);
    line += "  ";
    line += message;
    line += "\r\n";
    return line;
}

void WriteLogLine(const std::string& dir, const std::string& message, std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    // The log is a trace only: a file that cannot be opened is passed over.
    (void)AppendToFile(dir + "Purseward.log", FormatLogLine(local, message), /*ownerOnly=*/true);
}

namespace {

bool IsWordByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string AnswerForLog(const std::string& answer, const std::vector<SecureString>& secrets) {
    // Every whole occurrence of a secret marks its bytes; each run of marked bytes becomes
    // "***". An occurrence is whole unless a letter or digit at its edge goes on into the
    // text around it ("1" inside "12.34" is not the password "1").
    const std::size_t n = answer.size();
    std::vector<std::uint8_t> masked;
    for (const SecureString& s : secrets) {
        if (s.empty() || s.size() > n) continue;
        const bool wordStart = IsWordByte(s.front()), wordEnd = IsWordByte(s.back());
        std::size_t markedTo = 0;  // marks of this secret reach here: each byte is marked once
        for (std::size_t at = answer.find(s); at != std::string::npos; at = answer.find(s, at + 1)) {
            const std::size_t end = at + s.size();
            if (wordStart && at > 0 && IsWordByte(answer[at - 1])) continue;
            if (wordEnd && end < n && IsWordByte(answer[end])) continue;
            if (masked.empty()) masked.assign(n, 0);
            std::fill(masked.begin() + static_cast<std::ptrdiff_t>(std::max(at, markedTo)),
                      masked.begin() + static_cast<std::ptrdiff_t>(end), 1);
            markedTo = std::max(markedTo, end);
        }
    }
    if (masked.empty()) return answer;
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n;) {
        if (!masked[i]) {
            const void* next = std::memchr(masked.data() + i, 1, n - i);
            const std::size_t stop = next ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - masked.data()) : n;
            out.append(answer, i, stop - i);
            i = stop;
        } else {
            out += "***";
            while (i < n && masked[i]) ++i;
        }
    }
    return out;
}

}  // namespace pw
