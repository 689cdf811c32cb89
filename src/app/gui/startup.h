#pragma once
// Start-up of the program: one instance per user, the settings, the language, the password
// check, then the main window until it closes.

namespace pw {

// The whole run; the process's exit code (0, or 1 when the password check failed).
int RunPurseward(int argc, char** argv);

}  // namespace pw
