#include "settings/migration.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>

#include <fstream>
#include <sstream>

#include "crypto/cipher.h"
#include "settings/ini_file.h"
#include "settings/keys.h"
#include "settings/passwords.h"
#include "settings/settings_store.h"
#include "settings_test_util.h"

namespace pw {
namespace {

using test::Slurp;

constexpr char kToday[] = "08/12/2025";

// The key file content for two empty passwords, from the vector file.
std::string FirstRunKeyFileVector() {
    std::ifstream in(PW_TEST_DATA_DIR "/cryptoapi-vectors.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, run, pay, key;
        if (words >> kind >> run >> pay >> key && kind == "masterkey") return key;
    }
    return std::string();
}

// The per-user profile lives below a scratch folder for the whole suite.
class MigrationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profileDir_ = new test::ScratchDir();
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(profileDir_->Path()));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(profileDir_->Path()));
    }
    static void TearDownTestSuite() {
        delete profileDir_;
        profileDir_ = nullptr;
    }
    void SetUp() override { Profile().clear(); }
    void TearDown() override { Profile().clear(); }

    static QSettings& Profile() {
        static QSettings s("Local AppWizard-Generated Applications", "Purseward");
        return s;
    }
    static void Put(const char* key, const QVariant& value) {
        Profile().setValue(QString("Setting/") + key, value);
        Profile().sync();
    }

    bool Migrate() {
        return RunFirstRunMigration(settings, keyFile, QtLegacyProfile(), kToday);
    }
    std::string Get(const char* section, const char* key) {
        std::string v;
        IniRead(settings, section, key, v);
        return v;
    }
    // Whether the key appears in the file at all (empty values read like missing ones).
    bool Present(const char* key) {
        const std::string text = Slurp(settings);
        return text.find(std::string("\n") + key + "=") != std::string::npos;
    }

    static test::ScratchDir* profileDir_;
    test::ScratchDir dir;
    std::string settings = dir / "Set/Purseward.ini";
    std::string keyFile = dir / "Set/Purseward.key";
};
test::ScratchDir* MigrationTest::profileDir_ = nullptr;

TEST_F(MigrationTest, EmptyProfileGivesDefaultsAndEmptyValues) {
    ASSERT_TRUE(Migrate());
    EXPECT_EQ(IniSections(settings),
              (std::vector<std::string>{"Setting", "LR", "PM", "VM", "EG"}));
    EXPECT_EQ(Get("Setting", "SelectLanguage"), "");
    for (const char* k : {"Enable_LR", "Enable_PM", "Enable_VM", "Enable_EG"})
        EXPECT_EQ(Get("Setting", k), "1") << k;
    EXPECT_FALSE(Present("Enable_GDP"));
    EXPECT_FALSE(Present("Enable_ECU"));
    EXPECT_EQ(Get("Setting", "ProgramName"), "Purseward");
    for (const char* k : {"Pass1", "Pass2", "ExecutableModule", "ProxyServer", "ProxyUserName",
                          "ProxyPass"})
        EXPECT_TRUE(Present(k)) << k;
    EXPECT_EQ(Get("Setting", "Pass1"), "");
    EXPECT_EQ(Get("Setting", "ExecutableModule"), "");
    // "Purseward" under the key text "~" (the vector file's line for key 7e).
    EXPECT_EQ(Get("Setting", "Check"), "B72883A31A032FC5783698B870550655");

    EXPECT_EQ(Get("LR", "CheckGetLast"), "1");
    EXPECT_EQ(Get("LR", "FilterLastOperCount"), "5");
    EXPECT_EQ(Get("LR", "CheckFromToDate"), "0");
    EXPECT_EQ(Get("LR", "FilterDateFrom"), kToday);
    EXPECT_EQ(Get("LR", "FilterDateTo"), kToday);
    EXPECT_EQ(Get("LR", "CheckLRAccount"), "0");
    EXPECT_EQ(Get("LR", "LRAutoRefresh"), "0");
    EXPECT_TRUE(Present("LRAccount"));
    EXPECT_TRUE(Present("APIName"));
    EXPECT_EQ(Get("LR", "LRAccount"), "");
    EXPECT_EQ(Get("PM", "PM_FilterDateFrom"), kToday);
    EXPECT_FALSE(Present("PM_FilterDateFromOld"));
    EXPECT_FALSE(Present("PM_FilterDateToOld"));
    EXPECT_TRUE(Present("VMPin"));
    EXPECT_EQ(Get("EG", "EG_FilterDateTo"), kToday);
    EXPECT_FALSE(Present("LRHost"));  // hosts keep their built-in defaults

    EXPECT_EQ(Slurp(keyFile), FirstRunKeyFileVector());
    EXPECT_EQ(Slurp(keyFile), MasterKey("", ""));
    EXPECT_EQ(test::ModeOf(keyFile), 0600u);
    EXPECT_EQ(test::ModeOf(settings), 0600u);
}

TEST_F(MigrationTest, EverySystemSectionGetsExactlyItsKeys) {
    ASSERT_TRUE(Migrate());
    const std::string text = Slurp(settings);
    // Each key line sits in its own system's section.
    SettingsStore store(settings, "");
    const char* lr[] = {"LRAccount", "APIName", "LRSave", "LRPass", "LRAccountLast",
                        "CheckGetLast", "FilterLastOperCount", "CheckFromToDate",
                        "FilterDateFrom", "FilterDateTo", "CheckLRAccount", "FilterLRAccount",
                        "CheckBatch", "FilterBatch", "LRAutoRefresh"};
    const std::size_t lrAt = text.find("[LR]"), pmAt = text.find("[PM]");
    for (const char* k : lr) {
        const std::size_t at = text.find(std::string("\n") + k + "=", lrAt);
        EXPECT_LT(at, pmAt) << k;
    }
    // PM has none of LR's shared filter names.
    const std::string pm = text.substr(pmAt, text.find("[VM]") - pmAt);
    EXPECT_EQ(pm.find("\nCheckGetLast="), std::string::npos);
    EXPECT_NE(pm.find("\nPM_CheckAccount=0\r\n"), std::string::npos);
    EXPECT_NE(pm.find("\nPMAutoRefresh=0\r\n"), std::string::npos);
}

TEST_F(MigrationTest, ValuesOfTheEarlierVersionAreCarriedOver) {
    Put("SelectLanguage", "Deutsch");
    Put("Enable_PM", 0);
    Put("Enable_VM", "7 days");
    Put("ExecutableModule", "old.exe");
    Put("ProxyServer", "proxy:8080");  // not carried over: set empty
    Put("LRAccount", "U1234567~U7654321");
    Put("LRSave", "true~false");
    Put("PMPass", "pm secret");
    Put("VMPin", "4321");
    Put("CheckGetLast", 0);
    Put("FilterLastOperCount", "25");
    Put("FilterDateFrom", "01/02/2003");
    Put("PM_FilterDateFromOld", "05/05/2005");
    Put("FilterBatch", "B-77");
    Put("EGAutoRefresh", 15);
    Put("GDPAccount", "G1");

    ASSERT_TRUE(Migrate());
    EXPECT_EQ(Get("Setting", "SelectLanguage"), "Deutsch");
    EXPECT_EQ(Get("Setting", "Enable_LR"), "1");
    EXPECT_EQ(Get("Setting", "Enable_PM"), "0");
    EXPECT_EQ(Get("Setting", "Enable_VM"), "7");
    EXPECT_EQ(Get("Setting", "ExecutableModule"), "old.exe");
    EXPECT_EQ(Get("Setting", "ProxyServer"), "");

    SettingsStore store(settings, "");
    EXPECT_EQ(Get("LR", "LRAccount"), SettingsStore::SecretText("U1234567~U7654321", " "));
    EXPECT_EQ(store.GetSecret("LR", "LRAccount"), "U1234567~U7654321");
    EXPECT_EQ(store.GetSecret("LR", "LRSave"), "true~false");
    EXPECT_EQ(store.GetSecret("PM", "PMPass"), "pm secret");
    EXPECT_EQ(store.GetSecret("VM", "VMPin"), "4321");
    EXPECT_EQ(store.GetSecret("VM", "VMPass"), "");
    EXPECT_EQ(Get("VM", "VMPass"), "");
    EXPECT_EQ(store.GetInt("LR", "CheckGetLast", 1), 0);
    EXPECT_EQ(store.GetInt("LR", "FilterLastOperCount", 5), 25);
    EXPECT_EQ(Get("LR", "FilterDateFrom"), "01/02/2003");
    EXPECT_EQ(Get("LR", "FilterDateTo"), kToday);
    EXPECT_EQ(Get("LR", "FilterBatch"), "B-77");
    EXPECT_EQ(store.GetInt("EG", "EGAutoRefresh", 0), 15);
    EXPECT_FALSE(Present("PM_FilterDateFromOld"));
    EXPECT_EQ(IniSections(settings),
              (std::vector<std::string>{"Setting", "LR", "PM", "VM", "EG"}));
}

TEST_F(MigrationTest, OldKeyFileIsReplaced) {
    test::Spill(keyFile, "stale content of another password");
    ASSERT_TRUE(Migrate());
    EXPECT_EQ(Slurp(keyFile), FirstRunKeyFileVector());
}

TEST_F(MigrationTest, FullDiskWritesNeitherFile) {
    {
        test::DiskFull full;
        EXPECT_FALSE(Migrate());
    }
    EXPECT_FALSE(std::filesystem::exists(settings));
    EXPECT_FALSE(std::filesystem::exists(keyFile));
    // The next start simply runs it again.
    EXPECT_TRUE(Migrate());
    EXPECT_EQ(Get("Setting", "ProgramName"), "Purseward");
}

TEST_F(MigrationTest, EmptySettingsFileIsFilled) {
    test::Spill(settings, "");
    ASSERT_TRUE(Migrate());
    EXPECT_EQ(IniSections(settings).size(), 5u);
    EXPECT_EQ(Slurp(settings).rfind("[Setting]\r\nSelectLanguage=\r\n", 0), 0u);
}

}  // namespace
}  // namespace pw
