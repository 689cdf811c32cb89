#include "app/event_log.h"

#include <cstdio>

#include "net/scrub.h"
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

std::string AnswerForLog(const std::string& answer, const std::vector<std::string>& secrets) {
    return ScrubSecrets(answer, secrets);
}

}  // namespace pw
