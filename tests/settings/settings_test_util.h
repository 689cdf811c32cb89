#pragma once
// Helpers of the settings tests: a scratch folder removed at the end, raw file access and a
// write seam that fails like a full disk.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "store/file_io.h"

namespace pw::test {

class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "pw-settings-XXXXXX").string();
        char* made = ::mkdtemp(tmpl.data());
        path_ = made ? std::string(made) + "/" : std::string();
    }
    ~ScratchDir() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
            if (entry.is_directory(ec))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Spill(const std::string& path, const std::string& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

inline unsigned ModeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 0777;
}

// Every file save fails with ENOSPC while an object of this class lives.
class DiskFull {
public:
    DiskFull() {
        SetWriteFunctionForTest([](int, const char*, std::size_t) -> long {
            errno = ENOSPC;
            return -1;
        });
    }
    ~DiskFull() { SetWriteFunctionForTest(WriteFunction()); }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
};

// Whether this process can create files in a folder whose write permission is taken away
// (it can as root, which makes permission tests meaningless).
inline bool PermissionsBind(const std::string& scratch) {
    const std::string dir = scratch + "probe/";
    std::filesystem::create_directories(dir);
    ::chmod(dir.c_str(), 0500);
    const std::string f = dir + "x";
    std::FILE* fp = std::fopen(f.c_str(), "w");
    const bool binds = fp == nullptr;
    if (fp) std::fclose(fp);
    ::chmod(dir.c_str(), 0700);
    std::filesystem::remove_all(dir);
    return binds;
}

}  // namespace pw::test
