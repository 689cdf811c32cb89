#include "store/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

int EntriesIn(const std::string& dir) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++n;
    }
    return n;
}

class FileIoTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFunctionForTest(nullptr); }
    TempDir dir;
};

TEST_F(FileIoTest, AtomicWriteReplacesAndCreatesFolders) {
    const std::string path = dir / "Set/Deep/file.txt";
    ASSERT_TRUE(WriteFileAtomic(path, "first", false));
    EXPECT_EQ(ReadAll(path), "first");
    ASSERT_TRUE(WriteFileAtomic(path, std::string("a\0b\r\n", 5), false));
    EXPECT_EQ(ReadAll(path), std::string("a\0b\r\n", 5));
    ASSERT_TRUE(WriteFileAtomic(path, "", false));
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_EQ(EntriesIn(dir / "Set/Deep"), 1);
}

TEST_F(FileIoTest, EverySaveIsOwnerOnlyWhateverTheMaskOrFlag) {
    const std::string path = dir / "f";
    for (const mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}}) {
        for (const bool flag : {true, false}) {
            const mode_t old = ::umask(mask);
            ::chmod(path.c_str(), 0666);  // a file found wider is narrowed by the save
            const bool saved = WriteFileAtomic(path, "x", flag);
            ::umask(old);
            ASSERT_TRUE(saved);
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u) << "umask " << mask << " flag " << flag;
        }
    }
}

TEST_F(FileIoTest, FoldersAreCreatedOwnerOnlyAndNarrowingLeavesLinksAlone) {
    const mode_t old = ::umask(0);
    ASSERT_TRUE(EnsureDirectory(dir / "a/b/c/"));
    ::umask(old);
    for (const char* folder : {"a", "a/b", "a/b/c"}) {
        struct stat st {};
        ASSERT_EQ(::stat((dir / folder).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    const std::string shared = dir / "shared";
    ASSERT_TRUE(WriteFileAtomic(shared, "x"));
    ::chmod(shared.c_str(), 0644);
    std::filesystem::create_symlink(shared, dir / "link");
    EXPECT_TRUE(NarrowToOwner(dir / "link"));  // the target is not the program's to narrow
    struct stat st {};
    ASSERT_EQ(::stat(shared.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_TRUE(NarrowToOwner(shared));
    ASSERT_EQ(::stat(shared.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(NarrowToOwner(dir / "missing"));
}

TEST_F(FileIoTest, FailingWriteKeepsOldFileAndLeavesNoTemporary) {
    const std::string path = dir / "keep.txt";
    ASSERT_TRUE(WriteFileAtomic(path, "old content", false));

    SetWriteFunctionForTest([](int, const char*, std::size_t) -> long {
        errno = EIO;
        return -1;
    });
    EXPECT_FALSE(WriteFileAtomic(path, "new content", false));
    EXPECT_EQ(ReadAll(path), "old content");
    EXPECT_EQ(EntriesIn(dir.Path()), 1);

    // A write that stops making progress is a failure too, not an endless loop.
    SetWriteFunctionForTest([](int, const char*, std::size_t) -> long { return 0; });
    EXPECT_FALSE(WriteFileAtomic(path, "new content", false));
    EXPECT_EQ(ReadAll(path), "old content");

    // Short writes and interruptions are carried on until everything is written.
    int calls = 0;
    SetWriteFunctionForTest([&](int fd, const char* data, std::size_t) -> long {
        if (++calls % 2 == 0) {
            errno = EINTR;
            return -1;
        }
        return static_cast<long>(::write(fd, data, 1));
    });
    EXPECT_TRUE(WriteFileAtomic(path, "new content", false));
    EXPECT_EQ(ReadAll(path), "new content");
}

// The temporary files of an interrupted save go at the next save of that file; other files
// stay. The file being written is not inherited by child processes.
TEST_F(FileIoTest, LeftoversOfAnInterruptedSaveGoAndTheTemporaryIsCloseOnExec) {
    const std::string path = dir / "Set/Purseward.ini";
    struct Entry {
        const char* name;
        bool removed;
    };
    const Entry entries[] = {{"Purseward.ini.pwsave-a1B2c3", true},
                             {"Purseward.ini.pwsave-ZZZZZZ", true},
                             {"Purseward.ini.pwsave-toolong", false},
                             {"Other.ini.pwsave-a1B2c3", false},
                             {"Purseward.ini.backup", false},
                             {"Purseward.key.new", false}};
    for (const Entry& e : entries) WriteRaw(dir / ("Set/" + std::string(e.name)), "old");
    bool closeOnExec = false;
    SetWriteFunctionForTest([&](int fd, const char* data, std::size_t size) {
        closeOnExec = (::fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0;
        return static_cast<long>(::write(fd, data, size));
    });
    ASSERT_TRUE(WriteFileAtomic(path, "new", true));
    EXPECT_TRUE(closeOnExec);
    for (const Entry& e : entries)
        EXPECT_EQ(std::filesystem::exists(dir / ("Set/" + std::string(e.name))), !e.removed)
            << e.name;
    EXPECT_EQ(ReadAll(path), "new");
}

TEST_F(FileIoTest, UnwritableFolderFailsCleanly) {
    // The parent is a plain file: no folder can be made there (holds for every user).
    WriteRaw(dir / "plain", "p");
    EXPECT_FALSE(WriteFileAtomic(dir / "plain/child.txt", "x", false));
    EXPECT_FALSE(EnsureDirectory(dir / "plain/sub/"));
    EXPECT_FALSE(AppendToFile(dir / "plain/log", "x"));
    EXPECT_EQ(ReadAll(dir / "plain"), "p");
}

TEST_F(FileIoTest, ReadOnlyFolderFailsCleanly) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string ro = dir / "ro/";
    ASSERT_TRUE(WriteFileAtomic(ro + "f", "old", false));
    ASSERT_EQ(::chmod(ro.c_str(), 0555), 0);
    EXPECT_FALSE(WriteFileAtomic(ro + "f", "new", false));
    EXPECT_FALSE(WriteFileAtomic(ro + "g", "new", false));
    ::chmod(ro.c_str(), 0755);
    EXPECT_EQ(ReadAll(ro + "f"), "old");
    EXPECT_FALSE(FileExists(ro + "g"));
}

TEST_F(FileIoTest, BoundedRead) {
    const std::string path = dir / "big";
    std::string data(100000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i % 251);
    WriteRaw(path, data);

    std::string out = "stale";
    ASSERT_TRUE(ReadFileBounded(path, 30000, out));
    EXPECT_EQ(out, data.substr(0, 30000));
    ASSERT_TRUE(ReadFileBounded(path, 1 << 20, out));
    EXPECT_EQ(out, data);
    ASSERT_TRUE(ReadFileBounded(path, 0, out));
    EXPECT_EQ(out, "");

    out = "stale";
    EXPECT_FALSE(ReadFileBounded(dir / "missing", 10, out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(ReadFileBounded(dir.Path(), 10, out));  // a folder
}

TEST_F(FileIoTest, NamedPipeIsNotReadAndDoesNotHang) {
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string out;
    EXPECT_FALSE(ReadFileBounded(fifo, 10, out));
    EXPECT_FALSE(FileExists(fifo));
}

TEST_F(FileIoTest, AppendCreatesThenKeepsContent) {
    const std::string path = dir / "log";
    ASSERT_TRUE(AppendToFile(path, "one\r\n"));
    ASSERT_TRUE(AppendToFile(path, "two\r\n"));
    EXPECT_EQ(ReadAll(path), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(dir.Path(), "x"));  // a folder
}

TEST(FileIoPaths, DirectoryOf) {
    EXPECT_EQ(DirectoryOf("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(DirectoryOf("c.txt"), "");
    EXPECT_EQ(DirectoryOf("/c"), "/");
    EXPECT_EQ(DirectoryOf("a/"), "a/");
}

}  // namespace
}  // namespace pw
