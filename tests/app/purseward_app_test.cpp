#include "app/purseward_app.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "../store/temp_dir.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

// An earlier version that left nothing in the per-user profile.
class EmptyProfile : public LegacyProfile {
public:
    bool ReadString(const std::string&, std::string&) const override { return false; }
    bool ReadInt(const std::string&, int&) const override { return false; }
};

constexpr std::time_t kNow = 1260108309;  // December 2009

class AppCoreTest : public ::testing::Test {
protected:
    std::string Ini() const { return dir / "Set/Purseward.ini"; }
    TempDir dir;
    ScriptedUi ui;
    ManualClock clock{kNow};
};

// Without the crypto library's legacy provider no secret can be read or written: start-up
// stops with a message naming it, and no secret is written (as empty or otherwise).
TEST_F(AppCoreTest, AMissingCipherProviderStopsTheStart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::filesystem::create_directories(dir / "modules");
    WriteRaw(Ini(), "[LR]\r\nLRPass=old\r\n");
    EXPECT_EXIT(
        {
            // Before the first use of the cipher in this (fresh) process.
            ::setenv("OPENSSL_MODULES", (dir / "modules").c_str(), 1);
            ScriptedUi child;
            if (CheckCipherAtStart(child)) std::_Exit(2);
            if (child.messages.size() != 1 ||
                child.messages[0].find("legacy provider") == std::string::npos)
                std::_Exit(3);
            const SettingsStore store(Ini(), "");
            if (store.TryWriteSecret("LR", "LRPass", "new")) std::_Exit(4);
            if (ReadAll(Ini()) != "[LR]\r\nLRPass=old\r\n") std::_Exit(5);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(CheckCipherAtStart(ui));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AppCoreTest, PathsAndInstance) {
    {
        CPursewardApp app(dir.Path(), ui, clock);
        EXPECT_EQ(CPursewardApp::Instance(), &app);
        EXPECT_EQ(app.BaseDir(), dir.Path());
        EXPECT_EQ(app.SettingsPath(), Ini());
        EXPECT_EQ(app.Settings().Path(), Ini());
        EXPECT_EQ(app.UnlockPassword(), "");
    }
    EXPECT_EQ(CPursewardApp::Instance(), nullptr);
}

TEST_F(AppCoreTest, ProgramDirFallsBackToTheBaseDir) {
    CPursewardApp app(dir.Path(), ui, clock);
    EXPECT_EQ(app.ProgramDir(), dir.Path());  // no settings file at all
    app.WriteString("Setting", "ProgramPath", "");
    EXPECT_EQ(app.ProgramDir(), dir.Path());
    app.WriteString("Setting", "ProgramPath", "/opt/purseward/");
    EXPECT_EQ(app.ProgramDir(), "/opt/purseward/");
    app.WriteString("Setting", "ProgramPath", "/opt/purseward");
    EXPECT_EQ(app.ProgramDir(), "/opt/purseward/");
}

TEST_F(AppCoreTest, AccessorsReadAndWriteTheSettingsFile) {
    CPursewardApp app(dir.Path(), ui, clock);
    app.WriteString("LR", "LRAccount", "U1234567");
    app.WriteInt("PM", "PMAutoRefresh", 15);
    EXPECT_EQ(app.GetString("LR", "LRAccount"), "U1234567");
    EXPECT_EQ(app.GetString("LR", "Missing", "dflt"), "dflt");
    EXPECT_EQ(app.GetInt("PM", "PMAutoRefresh", 0), 15);
    EXPECT_EQ(app.GetInt("PM", "Missing", -3), -3);
    EXPECT_NE(ReadAll(Ini()).find("U1234567"), std::string::npos);

    app.Settings().SetUnlockPassword("run");
    app.WriteSecret("LR", "LRPassword", "s3cret");
    EXPECT_EQ(ReadAll(Ini()).find("s3cret"), std::string::npos);  // stored enciphered
    EXPECT_EQ(app.GetSecret("LR", "LRPassword"), "s3cret");
    EXPECT_EQ(app.GetSecretWithKey("LR", "LRPassword", "run"), "s3cret");
    EXPECT_EQ(app.GetSecretWithKey("LR", "LRPassword", "other"), "");

    app.WriteSecretWithKey("PM", "PM_Pass", "p", "k");
    EXPECT_EQ(app.GetSecretWithKey("PM", "PM_Pass", "k"), "p");
    EXPECT_EQ(app.GetSecret("PM", "PM_Pass"), "");
}

TEST_F(AppCoreTest, EnableFlagDefaults) {
    CPursewardApp app(dir.Path(), ui, clock);
    app.ReadEnableFlags();
    EXPECT_EQ(app.enable, (std::array<int32_t, 6>{1, 1, 1, 1, 0, 0}));

    WriteRaw(Ini(), "[Setting]\r\nEnable_LR=0\r\nEnable_VM=7\r\nEnable_GDP=1\r\nEnable_ECU=\r\n");
    app.ReadEnableFlags();
    EXPECT_EQ(app.enable, (std::array<int32_t, 6>{0, 1, 7, 1, 1, 0}));
}

TEST_F(AppCoreTest, FirstRunCreatesSettingsAndKeyFile) {
    CPursewardApp app(dir.Path(), ui, clock);
    app.PrepareSettings(EmptyProfile());
    EXPECT_FALSE(app.settingsPresent);
    EXPECT_FALSE(ReadAll(Ini()).empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "Set/Purseward.key"));
    EXPECT_EQ(app.enable, (std::array<int32_t, 6>{1, 1, 1, 1, 0, 0}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AppCoreTest, EmptySettingsFileCountsAsMissing) {
    WriteRaw(Ini(), "");
    CPursewardApp app(dir.Path(), ui, clock);
    app.PrepareSettings(EmptyProfile());
    EXPECT_FALSE(app.settingsPresent);
    EXPECT_FALSE(ReadAll(Ini()).empty());
}

TEST_F(AppCoreTest, PresentSettingsAreLeftAlone) {
    const std::string content = "[Setting]\r\nEnable_PM=0\r\nEnable_ECU=1\r\n";
    WriteRaw(Ini(), content);
    CPursewardApp app(dir.Path(), ui, clock);
    app.PrepareSettings(EmptyProfile());
    EXPECT_TRUE(app.settingsPresent);
    EXPECT_EQ(ReadAll(Ini()), content);
    EXPECT_FALSE(std::filesystem::exists(dir / "Set/Purseward.key"));
    EXPECT_EQ(app.enable, (std::array<int32_t, 6>{1, 0, 1, 1, 0, 1}));
}

TEST_F(AppCoreTest, WriteLogGoesToTheProgramDirWithTheClockTime) {
    CPursewardApp app(dir.Path(), ui, clock);
    std::tm local{};
    localtime_r(&kNow, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%d/%m/%Y %H:%M:%S", &local);

    app.WriteLog("OnBnClickedButton2:SendData");
    EXPECT_EQ(ReadAll(dir / "Purseward.log"),
              std::string(stamp) + "  OnBnClickedButton2:SendData\r\n");

    TempDir programDir;
    app.WriteString("Setting", "ProgramPath", programDir.Path());
    app.WriteLog("answer\r\nsecond line");
    EXPECT_EQ(ReadAll(programDir / "Purseward.log"),
              std::string(stamp) + "  answer\r\nsecond line\r\n");
    app.WriteLogAnswer("<error>no key k+1</error>", {"k+1", "k%2B1"});
    EXPECT_EQ(ReadAll(programDir / "Purseward.log"),
              std::string(stamp) + "  answer\r\nsecond line\r\n" + stamp +
                  "  <error>no key ***</error>\r\n");
    // The base directory's log is not touched any more.
    EXPECT_EQ(ReadAll(dir / "Purseward.log"),
              std::string(stamp) + "  OnBnClickedButton2:SendData\r\n");
}

}  // namespace
}  // namespace pw
