#include "store/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <vector>

namespace pw {
namespace {

std::mutex& SeamMutex() {
    static std::mutex m;
    return m;
}
WriteFunction& Seam() {
    static WriteFunction fn;
    return fn;
}

long DoWrite(int fd, const char* data, std::size_t size) {
    WriteFunction fn;
    {
        std::lock_guard<std::mutex> lock(SeamMutex());
        fn = Seam();
    }
    if (fn) return fn(fd, data, size);
    return static_cast<long>(::write(fd, data, size));
}

bool WriteAllTo(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const long n = DoWrite(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

void SetWriteFunctionForTest(WriteFunction fn) {
    std::lock_guard<std::mutex> lock(SeamMutex());
    Seam() = std::move(fn);
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EnsureDirectory(const std::string& dir) {
    if (dir.empty()) return true;
    // Each missing folder is made owner-only as it is created, whatever the umask.
    std::string path;
    std::size_t pos = 0;
    while (pos < dir.size()) {
        const std::size_t slash = dir.find('/', pos + 1);
        path = dir.substr(0, slash == std::string::npos ? dir.size() : slash);
        pos = slash == std::string::npos ? dir.size() : slash;
        if (path.empty() || path == "/") continue;
        if (::mkdir(path.c_str(), kOwnerOnlyFolder) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool NarrowToOwner(const std::string& path) {
    // Not following a link: only the program's own files and folders are narrowed.
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return true;
    if ((st.st_mode & 077) == 0) return true;
    return ::chmod(path.c_str(), st.st_mode & 0700) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// A file that is a symbolic link is saved at the place it points to: the link stays.
std::string WriteTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

// The new content of "name" is written to "name.pwsave-XXXXXX" first.
constexpr char kTempInfix[] = ".pwsave-";
constexpr std::size_t kTempRandom = 6;

// Removes the temporary files an interrupted save of path left behind.
void RemoveLeftovers(const std::string& path) {
    const std::string dir = DirectoryOf(path);
    const std::string prefix = path.substr(dir.size()) + kTempInfix;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kTempRandom || name.compare(0, prefix.size(), prefix))
            continue;
        std::error_code typeEc;
        if (entry.is_regular_file(typeEc) && !entry.is_symlink(typeEc))
            std::filesystem::remove(entry.path(), typeEc);
    }
}

}  // namespace

bool WriteFileAtomic(const std::string& givenPath, const std::string& data, bool) {
    const std::string path = WriteTarget(givenPath);
    const std::string dir = DirectoryOf(path);
    if (!EnsureDirectory(dir)) return false;
    RemoveLeftovers(path);
    std::string tmpl = path + kTempInfix + std::string(kTempRandom, 'X');
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    // Created 0600 (mkostemp's mode) and not inherited by programs started while the save
    // runs; the rename keeps that mode, so the file is never readable by others.
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const std::string tmp(name.data());
    bool ok = WriteAllTo(fd, data);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out) {
    out.clear();
    // Non-blocking open so that a named pipe in place of a file cannot hang the program;
    // only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char buf[16384];
    while (out.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - out.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {  // a read error: half a file is no file
            ::close(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

FileRead ReadFileWithin(const std::string& path, std::size_t maxBytes, std::string& out,
                        std::uint64_t* size) {
    if (!ReadFileBounded(path, maxBytes + 1, out)) return FileRead::kFailed;
    if (out.size() <= maxBytes) return FileRead::kRead;
    struct stat st {};
    if (size != nullptr)
        *size = std::max<std::uint64_t>(::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0,
                                        out.size());
    out.clear();
    return FileRead::kTooLarge;
}

bool AppendToFile(const std::string& path, const std::string& data, bool) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, kOwnerOnlyFile);
    if (fd < 0) return false;
    // A file made earlier with wider rights is narrowed before anything more goes in.
    struct stat st {};
    if (::fstat(fd, &st) != 0 ||
        ((st.st_mode & 077) != 0 && ::fchmod(fd, st.st_mode & 0700) != 0)) {
        ::close(fd);
        return false;
    }
    const bool ok = WriteAllTo(fd, data);
    ::close(fd);
    return ok;
}

}  // namespace pw
