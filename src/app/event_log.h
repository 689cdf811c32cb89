#pragma once
// The event log: a trace of the GDP and ECUMoney exchanges. It holds the trace texts and the
// answers of the interfaces, never a request URL (those carry the credentials), and no secret
// an answer echoes back. Only the owner may read it.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "crypto/secure_string.h"

namespace pw {

// Appends "dd/mm/yyyy hh:mm:ss" + two blanks + message + CR LF to <dir>Purseward.log. dir is
// the program directory, or the base directory when ProgramPath is empty; an empty dir is the
// current directory. The file is created readable by its owner alone, and a log with wider
// rights is narrowed before the line goes in. Fails silently.
void WriteLogLine(const std::string& dir, const std::string& message, std::time_t now);

// The answer of an exchange as it goes into the log: every whole occurrence of each secret
// (pass the forms it was sent in, see SecretForms) is replaced by "***"; the rest is
// unchanged. An occurrence is whole unless a letter or digit at its edge continues into the
// text around it, so a short secret leaves numbers and words that merely hold it readable.
// Time grows linearly with the answer.
std::string AnswerForLog(const std::string& answer, const std::vector<SecureString>& secrets);

// The line as written, for a local time.
std::string FormatLogLine(const std::tm& local, const std::string& message);

}  // namespace pw
