// Every window the program opens, built with the Russian library selected: no text the user
// sees is still English, and no label or button is cut short.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLibraryInfo>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <memory>
#include <set>

#include "../settings/gui/qt_app_env.h"
#include "../store/temp_dir.h"
#include "accounts/gui/auto_refresh_dialog.h"
#include "accounts/gui/tab_menus.h"
#include "app/gui/about_dialog.h"
#include "app/language_library.h"
#include "app/purseward_app.h"
#include "payments/gui/make_mass_payment.h"
#include "payments/gui/make_payment_dialog.h"
#include "payments/gui/schedule_view.h"
#include "payments/mass_payment.h"
#include "refs/gui/ref_dialogs.h"
#include "refs/gui/saved_account_dialogs.h"
#include "refs/ref_lists.h"
#include "refs/saved_accounts.h"
#include "settings/gui/mkey_prompt.h"
#include "settings/gui/pass_prompt.h"
#include "settings/gui/setting_dialog.h"
#include "ui/base/clock.h"
#include "ui/base/fake_seams.h"
#include "window_walk.h"

namespace pw {
namespace {

namespace fs = std::filesystem;
using namespace walk;

class RussianWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "Language");
        fs::create_directories(dir / "Set");
        fs::copy_file(PW_LANGUAGE_RU, dir / "Language/Purseward_ru.so");
        testing::WriteRaw(dir / "Language/Purseward_broken.so", "not a library");
        // As a start finds it: the language chosen in the settings file.
        testing::WriteRaw(dir / "Set/Purseward.ini", "[Setting]\nSelectLanguage=Русский\n");
        app_ = std::make_unique<CPursewardApp>(dir.Path(), ui_, clock_);
        app_->ScanLanguages();
        ASSERT_TRUE(app_->LoadSelectedLanguage());
        translation_ = std::make_unique<InstalledTranslation>(app_->Language());
        ASSERT_TRUE(translation_->Active());
    }
    void TearDown() override { translation_.reset(); }

    void Walk(QWidget& window) {
        EXPECT_EQ(WindowProblems(window).join(QLatin1Char('\n')).toStdString(), "")
            << window.metaObject()->className();
    }

    testing::TempDir dir;
    ScriptedUi ui_;
    ManualClock clock_{1254659696};
    std::unique_ptr<CPursewardApp> app_;
    std::unique_ptr<InstalledTranslation> translation_;
};

TEST_F(RussianWindowsTest, TheLanguageListOffersDefaultAndRussianAndSkipsTheBrokenFile) {
    EXPECT_EQ(app_->languageNames, std::vector<std::string>{"Русский"});
    const auto entries = [this] {
        CSetting dialog(*app_, ui_);
        dialog.show();
        QStringList texts;
        for (int i = 0; i < dialog.LanguageCombo()->count(); ++i)
            texts << dialog.LanguageCombo()->itemText(i);
        dialog.close();
        return texts;
    };
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("По умолчанию"), QStringLiteral("Русский")}));
    translation_.reset();  // "Default" back in English
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("Default"), QStringLiteral("Русский")}));
}

TEST_F(RussianWindowsTest, SettingsAndPrompts) {
    CSetting settings(*app_, ui_);
    Walk(settings);
    CPassPrompt pass;
    Walk(pass);
    CMKeyPrompt key;
    Walk(key);
    AutoRefreshDialog refresh(5);
    Walk(refresh);
    CAboutDlg about(QUrl(QStringLiteral("http://127.0.0.1/")), {});
    Walk(about);
}

TEST_F(RussianWindowsTest, TheWalkFindsEnglishAndCutTexts) {
    // Without the translation the same window is English throughout.
    translation_.reset();
    CSetting english(*app_, ui_);
    const QStringList problems = WindowProblems(english);
    EXPECT_TRUE(problems.contains(QStringLiteral("English \"Settings\" in pw::CSetting")))
        << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(problems.size(), 15);
    // A button squeezed below its text's width.
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Сохранить кодовую фразу"), &window);
    button->setFixedWidth(30);
    EXPECT_EQ(WindowProblems(window),
              QStringList{QStringLiteral("cut short: Сохранить кодовую фразу in QPushButton")});
}

TEST_F(RussianWindowsTest, ReferenceListsAndTheirEditors) {
    for (const RefListSpec& list : RefLists()) {
        CRef window(RefConfigOf(list, true), dir.Path(), ui_);
        Walk(window);
    }
    CRefEdit1 edit1(ui_, {});
    Walk(edit1);
    CRefEdit2 edit2(ui_);
    Walk(edit2);
    CRefEdit3 edit3(ui_);
    Walk(edit3);
    CRefEdit4 edit4(ui_, {});
    Walk(edit4);
}

TEST_F(RussianWindowsTest, SavedAccountListsAndEditors) {
    for (int system = 0; system < 6; ++system) {
        if (!HasSavedAccountList(system)) continue;
        const SavedAccountKind& kind = SavedAccountKindOf(system);
        TextList rows;
        CRefAccountList list(kind, rows, app_->Settings(), dir.Path(), ui_);
        Walk(list);
        CRefAccountEdit edit(kind, ui_);
        edit.SetUp(true, SavedAccountEntry{});
        Walk(edit);
    }
}

TEST_F(RussianWindowsTest, QtsOwnDialogsFollowWhenTheSystemHasTheirTranslation) {
    // The standard buttons and edit menus come with the library.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "Select All"),
              QStringLiteral("Выделить всё"));
    // The file dialog's texts come from Qt's own translation, when it is installed.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "no Qt translation on this system";
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
}

TEST_F(RussianWindowsTest, AccountTabMenus) {
    BalanceMenuState state;
    state.rowSelected = state.loggedIn = true;
    state.autoRefreshMinutes = 5;
    const std::string counterpart = "U1234567";
    for (const auto& items : {BalanceMenuItems(state), HistoryMenuItems(&counterpart, true)}) {
        std::unique_ptr<QMenu> menu(BuildMenu(items, nullptr));
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            EXPECT_TRUE(EnglishWord(action->text()).isEmpty()) << action->text().toStdString();
        }
    }
}

TEST_F(RussianWindowsTest, PaymentDialogsMassPaymentAndSchedule) {
    for (int system = 0; system < 4; ++system) {
        SCOPED_TRACE(system);
        CMakePayment payment(*PaymentVariantOf(system), ui_, dir.Path(), clock_.Now());
        payment.caption = "Make Payment";
        payment.from = "U1234567";
        payment.balance = "12.50";
        Walk(payment);
        CMakeMassPayment mass(*MassPaymentVariantOf(system), ui_, dir.Path(),
                              [] { return std::time_t{1254659696}; });
        mass.from = "U1234567";
        mass.balance = "12.50";
        Walk(mass);
    }
    CSheduleView schedule(dir.Path(), {});
    Walk(schedule);
}

TEST(EnglishWordTest, TellsEnglishFromNamesAndRussian) {
    EXPECT_EQ(EnglishWord(QStringLiteral("&Cancel")), QStringLiteral("Cancel"));
    EXPECT_EQ(EnglishWord(QStringLiteral("Счёт LR :")), QString());
    EXPECT_EQ(EnglishWord(QStringLiteral("LRUSD")), QString());
    EXPECT_EQ(EnglishWord(QStringLiteral("Liberty Reserve")), QString());
    EXPECT_EQ(EnglishWord(QStringLiteral("LR Accounts")), QStringLiteral("Accounts"));
    EXPECT_EQ(EnglishWord(QStringLiteral("12.50")), QString());
}

}  // namespace
}  // namespace pw
