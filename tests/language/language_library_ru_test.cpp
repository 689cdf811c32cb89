// The Russian language library as the program finds, selects and installs it.
#include <gtest/gtest.h>

#include <QLibrary>
#include <filesystem>
#include <fstream>

#include "../store/temp_dir.h"
#include "app/language_library.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

namespace fs = std::filesystem;

class RussianLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "Language");
        fs::copy_file(PW_LANGUAGE_RU, dir / "Language/Purseward_ru.so");
    }
    testing::TempDir dir;
};

TEST_F(RussianLibraryTest, IsOfferedUnderItsOwnNameAndBrokenFilesAreSkipped) {
    // A file that is no library, and the Russian library cut in half.
    testing::WriteRaw(dir / "Language/Purseward_broken.so",
                      "\x7f"
                      "ELF not really");
    const auto size = fs::file_size(PW_LANGUAGE_RU);
    std::ifstream in(PW_LANGUAGE_RU, std::ios::binary);
    std::string half(size / 2, '\0');
    in.read(half.data(), static_cast<std::streamsize>(half.size()));
    testing::WriteRaw(dir / "Language/Purseward_half.so", half);

    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    EXPECT_EQ(found.names, std::vector<std::string>{"Русский"});
    EXPECT_EQ(found.paths, std::vector<std::string>{"Language/Purseward_ru.so"});
}

TEST_F(RussianLibraryTest, SelectedItTranslatesTheWholeStringTableButTheVersion) {
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    auto library = LoadLanguageLibrary(dir.Path(), found, "Русский");
    ASSERT_TRUE(library);
    {
        InstalledTranslation translation(library.get());
        ASSERT_TRUE(translation.Active());
        EXPECT_EQ(translation.TranslatedStrings(), static_cast<int>(StrIds().size()) - 1);
        EXPECT_EQ(Str(102), BuiltInStr(102));  // the version is data
        for (int id : StrIds()) {
            if (id == 102) continue;
            EXPECT_NE(Str(id), BuiltInStr(id)) << id;
        }
        EXPECT_EQ(Str(142), "По умолчанию");
    }
    // Gone with the translation: the built-in texts again.
    EXPECT_EQ(Str(142), "Default");
}

TEST_F(RussianLibraryTest, VanishedSelectionGivesTheBuiltInTexts) {
    const LanguageLibraries found = ScanLanguageLibraries(dir.Path());
    fs::remove(dir / "Language/Purseward_ru.so");
    auto library = LoadLanguageLibrary(dir.Path(), found, "Русский");
    EXPECT_FALSE(library);
    InstalledTranslation translation(library.get());
    EXPECT_FALSE(translation.Active());
    EXPECT_EQ(Str(113), "Balance is changed");
}

}  // namespace
}  // namespace pw
