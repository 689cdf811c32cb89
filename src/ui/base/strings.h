#pragma once
// The string table of the program (messages 101 to 151). A language library may replace the
// texts; until one is installed the built-in English texts stand.
#include <string>

namespace pw {

std::string Str(int id);

// Installs a replacement for one id (language libraries, tests). An empty text removes it.
void SetStr(int id, const std::string& text);

}  // namespace pw
