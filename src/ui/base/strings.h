#pragma once
// The string table of the program (messages 101 to 151). A language library may replace the
// texts; until one is installed the built-in English texts stand.
#include <string>
#include <vector>

namespace pw {

std::string Str(int id);

// Installs a replacement for one id (language libraries, tests). An empty text removes it.
void SetStr(int id, const std::string& text);

// The ids of the built-in table, in order, and their English texts (the source texts that a
// translation maps, in the translation context "Purseward").
std::vector<int> StrIds();
std::string BuiltInStr(int id);
inline constexpr char kStrContext[] = "Purseward";

}  // namespace pw
