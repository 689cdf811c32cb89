#pragma once
#include <ctime>
#include <string>

namespace pw {

// Appends "dd/mm/yyyy hh:mm:ss" + two blanks + message + CR LF to <dir>Purseward.log. dir is
// the program directory, or the base directory when ProgramPath is empty. Fails silently.
void WriteLogLine(const std::string& dir, const std::string& message, std::time_t now);

// The line as written, for a local time.
std::string FormatLogLine(const std::tm& local, const std::string& message);

}  // namespace pw
