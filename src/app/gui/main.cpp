#include "app/gui/startup.h"
#include "app/private_files.h"

int main(int argc, char** argv) {
    // Before anything holds a secret: a crash must not leave the credentials in a core file.
    pw::DisableCoreDumps();
    return pw::RunPurseward(argc, argv);
}
