#include "app/private_files.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "../store/temp_dir.h"
#include "accounts/history_export.h"
#include "app/event_log.h"
#include "app/purseward_app.h"
#include "refs/ref_lists.h"
#include "settings/ini_file.h"
#include "store/schedule_file.h"
#include "store/table_file.h"
#include "ui/base/fake_seams.h"
#include "ui/image/jpeg_writer.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

// --- core dumps ----------------------------------------------------------------------------

// A child that crashes on purpose in dir after (or without) turning dumps off, with the core
// limit raised first as "ulimit -c unlimited" does. Returns its wait status.
int CrashIn(const std::string& dir, bool disable) {
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_CORE, &unlimited);
        if (::chdir(dir.c_str()) != 0) ::_exit(10);
        if (disable) {
            if (!DisableCoreDumps()) ::_exit(11);
            if (::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) != 0) ::_exit(12);
            struct rlimit now {};
            if (::getrlimit(RLIMIT_CORE, &now) != 0 || now.rlim_cur != 0) ::_exit(13);
        }
        // A secret the dump would hold.
        volatile char secret[] = "secret-word-in-memory";
        (void)secret;
        ::abort();
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

bool HasCoreFile(const std::string& dir) {
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().filename().string().rfind("core", 0) == 0) return true;
    return false;
}

TEST(CoreDumps, ACrashedProcessLeavesNoCore) {
    TempDir dir;
    const int status = CrashIn(dir.Path(), true);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped early: " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGABRT);
    EXPECT_FALSE(WCOREDUMP(status));
    EXPECT_FALSE(HasCoreFile(dir.Path()));
}

// The same crash without the guard: where this machine writes cores at all, one appears, so
// the test above can see one.
TEST(CoreDumps, WithoutTheGuardTheCrashLeavesACore) {
    TempDir dir;
    const int status = CrashIn(dir.Path(), false);
    ASSERT_TRUE(WIFSIGNALED(status));
    if (!WCOREDUMP(status)) GTEST_SKIP() << "this machine writes no core files";
    // A pattern starting with "|" hands the core to a program instead of the folder.
    if (ReadAll("/proc/sys/kernel/core_pattern").rfind('|', 0) != 0) {
        EXPECT_TRUE(HasCoreFile(dir.Path()));
    }
}

TEST(CoreDumps, TheProcessIsNotDumpable) {
    EXPECT_EXIT(
        {
            DisableCoreDumps();
            std::exit(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// --- rights of what the program writes -----------------------------------------------------

class EmptyProfile : public LegacyProfile {
public:
    bool ReadString(const std::string&, std::string&) const override { return false; }
    bool ReadInt(const std::string&, int&) const override { return false; }
};

// Every file below root must be 0600 and every folder 0700.
void ExpectOwnerOnlyTree(const std::string& root, const std::string& what) {
    int files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        const std::string p = e.path().string();
        if (e.is_directory()) {
            EXPECT_EQ(ModeOf(p), 0700u) << what << ": " << p;
        } else {
            ++files;
            EXPECT_EQ(ModeOf(p), 0600u) << what << ": " << p;
        }
    }
    EXPECT_GT(files, 0) << what;
}

TEST(Rights, EveryFileAndFolderWrittenIsOwnerOnlyUnderAnyMask) {
    const unsigned char pixels[3 * 4] = {};
    const RgbImage image{pixels, 2, 2, 6};
    struct Action {
        const char* name;
        std::function<void(CPursewardApp&, const std::string&)> run;
    };
    const std::vector<Action> actions = {
        {"first start", [](CPursewardApp& app, const std::string&) {
             app.PrepareSettings(EmptyProfile());
         }},
        {"login", [](CPursewardApp& app, const std::string& base) {
             app.WriteSecret("LR", "LRAccount", "U1234567");
             ListTable table{base + "Set/LRBalance.set", {"Currency", "Amount"}, {"80", "90"}, {}};
             ASSERT_TRUE(WriteColumnWidthsFile(table));
             app.WriteLog("logged in");
         }},
        {"payment", [](CPursewardApp&, const std::string& base) {
             ASSERT_TRUE(SaveSchedule(base, "LR_U1234567", {"U7654321~1.00~LRUSD~rent~1~40000"}));
         }},
        {"export", [](CPursewardApp&, const std::string& base) {
             ASSERT_TRUE(WriteHistoryCsv(base + "Exports/LRHistory_20091206.csv", {"Date"},
                                         {"2009-12-06"}));
         }},
        {"receipt", [&image](CPursewardApp&, const std::string& base) {
             std::string error;
             ASSERT_TRUE(WriteJpegFile(base + "LR_123.jpg", image, error)) << error;
         }},
        {"list edit", [](CPursewardApp&, const std::string& base) {
             ASSERT_TRUE(WriteRefList(RefListPath(base, "LRAccountTo.ini"), {"U1~Name~friend"}));
         }},
    };
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
        TempDir dir;
        ScriptedUi ui;
        ManualClock clock{1260108309};
        CPursewardApp app(dir.Path(), ui, clock);
        const mode_t old = ::umask(mask);
        for (const Action& a : actions) {
            a.run(app, dir.Path());
            ExpectOwnerOnlyTree(dir.Path(),
                                std::string(a.name) + ", umask " + std::to_string(mask));
        }
        ::umask(old);
    }
}

TEST(Rights, FilesFoundWiderAreNarrowedAtStart) {
    TempDir dir;
    struct Entry {
        std::string path;
        mode_t before, after;
    };
    const std::vector<Entry> entries = {
        {"Set/Purseward.ini", 0644, 0600},      {"Set/Purseward.key", 0666, 0600},
        {"Set/LR_U1234567.sav", 0640, 0600},    {"Set/LRBalance.set", 0644, 0600},
        {"Ref/PMAccountTo.ini", 0664, 0600},    {"Sample/LR_Import.csv", 0644, 0600},
        {"Set/already.ini", 0600, 0600},        {"Set/owner-exec", 0755, 0700},
        {"Sound/notify.wav", 0644, 0644},       {"Language/Purseward_ru.so", 0755, 0755},
        {"LRHistory_20091206.csv", 0644, 0644},  // outside the program's folders: the user's
    };
    for (const Entry& e : entries) {
        WriteRaw(dir / e.path, "x");
        ::chmod((dir / e.path).c_str(), e.before);
    }
    for (const char* folder : {"Set", "Ref", "Sample", "Sound"})
        ::chmod((dir / folder).c_str(), 0755);
    // A link inside Set to a file elsewhere: the target is not narrowed.
    WriteRaw(dir / "elsewhere.txt", "x");
    ::chmod((dir / "elsewhere.txt").c_str(), 0644);
    std::filesystem::create_symlink(dir / "elsewhere.txt", dir / "Set/link.ini");

    EXPECT_EQ(NarrowDataFiles(dir.Path(), dir.Path()), 10);  // each place once
    for (const Entry& e : entries) EXPECT_EQ(ModeOf(dir / e.path), e.after) << e.path;
    for (const char* folder : {"Set", "Ref", "Sample"}) EXPECT_EQ(ModeOf(dir / folder), 0700u);
    EXPECT_EQ(ModeOf(dir / "Sound"), 0755u);
    EXPECT_EQ(ModeOf(dir / "elsewhere.txt"), 0644u);
    EXPECT_EQ(NarrowDataFiles(dir.Path(), ""), 0);  // nothing left to do
}

// --- the settings file over the cap ---------------------------------------------------------

TEST(OversizeSettings, RefusedWithFileAndSizeAndLeftAlone) {
    TempDir dir;
    const std::string ini = dir / "Set/Purseward.ini";
    WriteRaw(ini, "[Setting]\r\nEnable_LR=1\r\n");
    struct Case {
        std::uintmax_t size;
        bool refused;
    };
    for (const Case c : {Case{kIniMaxBytes - 1, false}, Case{kIniMaxBytes, false},
                         Case{kIniMaxBytes + 1, true}, Case{3 * kIniMaxBytes, true}}) {
        std::filesystem::resize_file(ini, c.size);
        const std::optional<std::string> message = OversizeSettingsMessage(ini);
        ASSERT_EQ(message.has_value(), c.refused) << c.size;
        if (!c.refused) continue;
        EXPECT_NE(message->find(ini), std::string::npos) << *message;
        EXPECT_NE(message->find(std::to_string(c.size) + " bytes"), std::string::npos) << *message;
        // Writes through the store never touch it either.
        EXPECT_FALSE(IniWrite(ini, "Setting", "ExecutableModule", "purseward"));
        EXPECT_EQ(std::filesystem::file_size(ini), c.size);
    }
    EXPECT_FALSE(OversizeSettingsMessage(dir / "Set/missing.ini"));
}

}  // namespace
}  // namespace pw
