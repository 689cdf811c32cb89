#include "app/language_library.h"

#include <QLibrary>

#include <gtest/gtest.h>

#include "../store/temp_dir.h"
#include "app/purseward_app.h"
#include "ui/base/fake_seams.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

using testing::TempDir;
using testing::WriteRaw;

namespace fs = std::filesystem;

class LanguageTest : public ::testing::Test {
protected:
    void Install(const char* built, const std::string& as) {
        fs::create_directories(dir / "Language");
        fs::copy_file(built, dir / ("Language/" + as), fs::copy_options::overwrite_existing);
    }
    void InstallAll() {
        Install(PW_LANG_TEST, "Purseward_test.so");
        Install(PW_LANG_PLAIN, "Purseward_plain.so");
        Install(PW_LANG_EMPTY, "Purseward_empty.so");
        Install(PW_LANG_LONG, "Purseward_long.so");
        Install(PW_LANG_NOEXPORT, "Purseward_noexport.so");
        WriteRaw(dir / "Language/Purseward_garbage.so", "not a shared object");
        fs::create_directory(dir / "Language/Purseward_folder.so");
        Install(PW_LANG_PLAIN, "Other_plain.so");          // outside the name pattern
        Install(PW_LANG_PLAIN, "Purseward_plain.so.bak");  // outside the name pattern
    }
    TempDir dir;
};

TEST_F(LanguageTest, FindsTheLibrariesThatNameThemselves) {
    InstallAll();
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    // Name order of the files; libraries without the export, with an empty name, that do
    // not load or are no files are left out.
    EXPECT_EQ(found.names, (std::vector<std::string>{std::string(kLanguageNameBytes - 1, 'x'),
                                                     "Plainish", "Testish"}));
    EXPECT_EQ(found.paths, (std::vector<std::string>{"Language/Purseward_long.so",
                                                     "Language/Purseward_plain.so",
                                                     "Language/Purseward_test.so"}));
}

TEST_F(LanguageTest, EmptyOrMissingFolderGivesNothing) {
    EXPECT_TRUE(ScanLanguageLibraries(dir.Path()).names.empty());
    fs::create_directory(dir / "Language");
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    EXPECT_TRUE(found.names.empty());
    EXPECT_TRUE(found.paths.empty());
}

TEST_F(LanguageTest, SelectedLibraryStaysLoadedAndCarriesItsTranslation) {
    InstallAll();
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    std::unique_ptr<QLibrary> lib = LoadLanguageLibrary(dir.Path(), found, "Testish");
    ASSERT_NE(lib, nullptr);
    EXPECT_TRUE(lib->isLoaded());
    const std::string qm = LanguageTranslation(*lib);
    ASSERT_EQ(qm.size(), 14u);
    EXPECT_EQ(static_cast<unsigned char>(qm[0]), 0x3c);
    EXPECT_EQ(static_cast<unsigned char>(qm[13]), 0xa1);

    std::unique_ptr<QLibrary> plain = LoadLanguageLibrary(dir.Path(), found, "Plainish");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(LanguageTranslation(*plain), "");  // carries none
    lib->unload();
    plain->unload();
}

TEST_F(LanguageTest, UnknownEmptyOrVanishedSelectionGivesNothing) {
    InstallAll();
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    EXPECT_EQ(LoadLanguageLibrary(dir.Path(), found, ""), nullptr);
    EXPECT_EQ(LoadLanguageLibrary(dir.Path(), found, "testish"), nullptr);
    EXPECT_EQ(LoadLanguageLibrary(dir.Path(), found, "Klingon"), nullptr);
    fs::remove(dir / "Language/Purseward_plain.so");
    EXPECT_EQ(LoadLanguageLibrary(dir.Path(), found, "Plainish"), nullptr);
}

TEST_F(LanguageTest, ApplicationSelectsByTheSetting) {
    InstallAll();
    ScriptedUi ui;
    ManualClock clock(0);
    CPursewardApp app(dir.Path(), ui, clock);
    app.ScanLanguages();
    EXPECT_EQ(app.languageNames.size(), 3u);
    EXPECT_EQ(app.languagePaths.size(), 3u);

    EXPECT_FALSE(app.LoadSelectedLanguage());  // nothing selected
    EXPECT_EQ(app.Language(), nullptr);

    app.WriteString("Setting", "SelectLanguage", "Testish");
    ASSERT_TRUE(app.LoadSelectedLanguage());
    ASSERT_NE(app.Language(), nullptr);
    EXPECT_FALSE(LanguageTranslation(*app.Language()).empty());

    // A language whose library is gone: built-in texts, and no message.
    app.WriteString("Setting", "SelectLanguage", "Gone");
    EXPECT_FALSE(app.LoadSelectedLanguage());
    EXPECT_EQ(app.Language(), nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LanguageTest, SelectedTranslationReplacesTheStringTableWhileItLives) {
    Install(PW_LANG_QM, "Purseward_german.so");
    Install(PW_LANG_TEST, "Purseward_test.so");
    ScriptedUi ui;
    ManualClock clock(0);
    CPursewardApp app(dir.Path(), ui, clock);
    app.ScanLanguages();
    app.WriteString("Setting", "SelectLanguage", "Deutsch");
    ASSERT_TRUE(app.LoadSelectedLanguage());
    {
        const InstalledTranslation translation(app.Language());
        EXPECT_TRUE(translation.Active());
        EXPECT_EQ(translation.TranslatedStrings(), 2);
        EXPECT_EQ(Str(109), "Programm beenden ?");
        EXPECT_EQ(Str(142), "Standard");
        EXPECT_EQ(Str(151), "Wrong Password or Setting's file is corrupted.");  // untranslated
    }
    EXPECT_EQ(Str(109), "Close Program ?");

    // A library whose translation is no compiled translation changes nothing.
    app.WriteString("Setting", "SelectLanguage", "Testish");
    ASSERT_TRUE(app.LoadSelectedLanguage());
    const InstalledTranslation junk(app.Language());
    EXPECT_FALSE(junk.Active());
    EXPECT_EQ(Str(142), "Default");
    const InstalledTranslation none(nullptr);
    EXPECT_FALSE(none.Active());
}

}  // namespace
}  // namespace pw
