// The main window with the six account tabs, walked with the Russian library selected.
#include <gtest/gtest.h>

#include <QLibrary>
#include <QTabWidget>
#include <filesystem>

#include "app/language_library.h"
#include "shell_fixture.h"
#include "window_walk.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

class RussianMainWindowTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        fs::create_directories(base_ + "Language");
        fs::copy_file(PW_LANGUAGE_RU, base_ + "Language/Purseward_ru.so");
        const LanguageLibraries found = ScanLanguageLibraries(base_);
        library_ = LoadLanguageLibrary(base_, found, "Русский");
        ASSERT_TRUE(library_);
        translation_ = std::make_unique<InstalledTranslation>(library_.get());
    }
    void TearDown() override {
        translation_.reset();
        library_.reset();
        ShellTest::TearDown();
    }
    std::unique_ptr<QLibrary> library_;
    std::unique_ptr<InstalledTranslation> translation_;
};

TEST_F(RussianMainWindowTest, NoTextIsStillEnglish) {
    WriteSettings("Enable_GDP=1\nEnable_ECU=1\n");
    realTabs_ = true;
    auto window = MakeWindow();
    // Each tab page in turn: a hidden page is not walked.
    auto* tabs = window->findChild<QTabWidget*>();
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->count(), 6);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        for (const QString& problem : walk::WindowProblems(*window)) {
            // The main window's size is its placement's business (its own tests).
            if (problem.startsWith(QLatin1String("larger than the screen"))) continue;
            ADD_FAILURE() << "tab " << i << ": " << problem.toStdString();
        }
    }
}

}  // namespace
}  // namespace pw::test
