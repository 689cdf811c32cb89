#pragma once
// What keeps the program's secrets to its user: no core dump of the process (a dump holds the
// plain credentials of the logged-in accounts), owner-only rights on the files that hold
// credentials and payment data, and a settings file too large to be read whole refused before
// anything is written to it.
#include <cstdint>
#include <optional>
#include <string>

namespace pw {

// Makes the process not dumpable (no core file, no ptrace attach by other processes of the
// user) and sets the core size limit to 0, for this process and the programs it starts. True
// when both held.
bool DisableCoreDumps();

// Takes the group's and others' rights away from the folders Set/, Ref/ and Sample/ below
// each given directory and from the files in them (the settings, the key file, schedules,
// table files, reference lists, import files). Links are left alone. Returns how many files
// and folders were narrowed.
int NarrowDataFiles(const std::string& baseDir, const std::string& programDir);

// The message that refuses the start when the settings file is larger than the store reads
// whole (nothing would be seen beyond that size, and every save would be refused); nullopt
// when it is not.
std::optional<std::string> OversizeSettingsMessage(const std::string& settingsPath);

}  // namespace pw
