#include "app/gui/startup.h"

int main(int argc, char** argv) { return pw::RunPurseward(argc, argv); }
