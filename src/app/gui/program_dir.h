#pragma once
// The program directory: found through the file that ExecutableModule names, relative to the
// working directory.
#include <optional>
#include <string>

namespace pw {

class CPursewardApp;

// Strips from the end of absolutePath every character that occurs in module, stopping at the
// first one that does not. When that does not leave a path ending in "/" (a module text that
// itself holds "/" can eat into the directories), the file's own directory is taken instead.
std::string StripModuleName(const std::string& absolutePath, const std::string& module);

// The program directory with a trailing "/" when the file named by module opens for reading
// (relative names against the working directory); nullopt when it does not.
std::optional<std::string> ProgramDirOf(const std::string& module);

// Reads ExecutableModule (writing the default "purseward" back when it is empty), finds the
// program directory and writes it to ProgramPath. Empty when the file did not open; then
// ProgramPath keeps its old value.
std::string DetermineProgramDir(CPursewardApp& app);

}  // namespace pw
