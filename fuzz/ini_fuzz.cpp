// The settings INI reader (and its writer, which reads the file to edit it in place).
#include "fuzz_input.h"
#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = pw::fuzz::WriteScratch("Purseward.ini", pw::fuzz::Text(data, size));
    for (const std::string& section : pw::IniSections(path)) {
        std::string value;
        (void)pw::IniRead(path, section, "LRAccount", value);
    }
    std::string value;
    (void)pw::IniRead(path, "Setting", "ProgramPath", value);
    (void)pw::IniWriteMany(path, {{"Setting", "LastVisitDate", "01/02/2009"}, {"LR", "LRAccount", "U1"}}, true);
    (void)pw::IniRead(path, "LR", "LRAccount", value);
    return 0;
}
