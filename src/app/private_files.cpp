#include "app/private_files.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "settings/ini_file.h"
#include "store/file_io.h"

namespace pw {

bool DisableCoreDumps() {
    const struct rlimit none = {0, 0};
    const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
    const bool undumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return limited && undumpable;
}

int NarrowDataFiles(const std::string& baseDir, const std::string& programDir) {
    std::set<std::string> dirs;
    for (const std::string& d : {baseDir, programDir}) {
        if (d.empty()) continue;
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(d, ec);
        dirs.insert(ec ? d : canonical.string());
    }
    int narrowed = 0;
    auto narrow = [&narrowed](const std::string& path) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || (st.st_mode & 077) == 0) return;
        if (NarrowToOwner(path) && ::lstat(path.c_str(), &st) == 0 && (st.st_mode & 077) == 0)
            ++narrowed;
    };
    for (const std::string& dir : dirs) {
        for (const char* sub : {"Set", "Ref", "Sample"}) {
            const std::filesystem::path folder = std::filesystem::path(dir) / sub;
            std::error_code ec;
            if (!std::filesystem::is_directory(std::filesystem::symlink_status(folder, ec)))
                continue;
            narrow(folder.string());
            for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
                std::error_code typeEc;
                if (entry.is_regular_file(typeEc) && !entry.is_symlink(typeEc))
                    narrow(entry.path().string());
            }
        }
    }
    return narrowed;
}

std::optional<std::string> OversizeSettingsMessage(const std::string& settingsPath) {
    const std::optional<std::uint64_t> size = IniTooLarge(settingsPath);
    if (!size) return std::nullopt;
    return "Purseward cannot start: the settings file " + settingsPath + " is " +
           std::to_string(*size) + " bytes long, more than the " + std::to_string(kIniMaxBytes) +
           " bytes it can read. The file was not changed. Move it away or make it smaller, "
           "then start again.";
}

}  // namespace pw
