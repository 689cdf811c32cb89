// Every window the program opens, built with the Russian library selected: no text the user
// sees is still English, and no label or button is cut short.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
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
#include "refs/gui/ref_dialogs.h"
#include "refs/gui/saved_account_dialogs.h"
#include "refs/ref_lists.h"
#include "refs/saved_accounts.h"
#include "settings/gui/mkey_prompt.h"
#include "settings/gui/pass_prompt.h"
#include "settings/gui/setting_dialog.h"
#include "ui/base/clock.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

namespace fs = std::filesystem;

// Latin words that read the same in a Russian text: names of the program and the systems,
// codes, units and keys.
const std::set<QString> kSameInRussian = {
    "Purseward", "Liberty", "Reserve", "Perfect", "Money",    "V-Money", "e-gold", "LR",    "PM",
    "VM",        "EG",      "GDP",     "ECU",     "ECUMoney", "USD",     "LRUSD",  "LREUR", "API",
    "PIN",       "ID",      "IP",      "GMT",     "CSV",      "Ins",     "Del",    "F4",    "F5"};

// The texts a widget shows or tells a screen reader.
QStringList TextsOf(QWidget* w) {
    QStringList texts{w->toolTip(), w->accessibleName()};
    if (w->isWindow()) texts << w->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (auto* view = qobject_cast<QTableView*>(w); view && view->model()) {
        for (int c = 0; c < view->model()->columnCount(); ++c)
            texts << view->model()->headerData(c, Qt::Horizontal).toString();
    }
    for (QAction* action : w->actions()) texts << action->text();
    return texts;
}

// An English word of a text: Latin letters, not a name, in a text without Cyrillic. An
// address is data.
QString EnglishWord(const QString& text) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    if (text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://")))
        return QString();
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9-]+"));
    if (cyrillic.match(text).hasMatch()) return QString();
    for (auto it = word.globalMatch(QString(text).remove(QLatin1Char('&'))); it.hasNext();) {
        const QString w = it.next().captured(0);
        if (!kSameInRussian.count(w)) return w;
    }
    return QString();
}

class RussianWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "Language");
        fs::create_directories(dir / "Set");
        fs::copy_file(PW_LANGUAGE_RU, dir / "Language/Purseward_ru.so");
        testing::WriteRaw(dir / "Language/Purseward_broken.so", "not a library");
        app_ = std::make_unique<CPursewardApp>(dir.Path(), ui_, clock_);
        app_->ScanLanguages();
        const LanguageLibraries libraries{app_->languageNames, app_->languagePaths};
        library_ = LoadLanguageLibrary(dir.Path(), libraries, "Русский");
        ASSERT_TRUE(library_);
        translation_ = std::make_unique<InstalledTranslation>(library_.get());
        ASSERT_TRUE(translation_->Active());
    }
    void TearDown() override {
        translation_.reset();
        library_.reset();
    }

    // Shows the window at its own size and looks at every widget in it: the texts still
    // English and the labels and buttons cut short.
    static QStringList Problems(QWidget& window) {
        QStringList problems;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) return {QStringLiteral("not shown")};
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets.prepend(&window);
        for (QWidget* w : widgets) {
            if (w != &window && !w->isVisibleTo(&window)) continue;
            const QString where = QLatin1String(w->metaObject()->className());
            for (const QString& text : TextsOf(w)) {
                if (!EnglishWord(text).isEmpty())
                    problems << QStringLiteral("English \"%1\" in %2").arg(text, where);
            }
            const auto* label = qobject_cast<QLabel*>(w);
            const auto* button = qobject_cast<QAbstractButton*>(w);
            const bool hasText = (label && !label->wordWrap() && !label->text().isEmpty()) ||
                                 (button && !button->text().isEmpty());
            if (hasText && w->width() < w->sizeHint().width())
                problems << QStringLiteral("cut short: %1 in %2")
                                .arg(label ? label->text() : button->text(), where);
        }
        window.close();
        return problems;
    }
    void Walk(QWidget& window) {
        EXPECT_EQ(Problems(window).join(QLatin1Char('\n')).toStdString(), "")
            << window.metaObject()->className();
    }

    testing::TempDir dir;
    ScriptedUi ui_;
    ManualClock clock_{1254659696};
    std::unique_ptr<CPursewardApp> app_;
    std::unique_ptr<QLibrary> library_;
    std::unique_ptr<InstalledTranslation> translation_;
};

TEST_F(RussianWindowsTest, TheLanguageListOffersDefaultAndRussianAndSkipsTheBrokenFile) {
    EXPECT_EQ(app_->languageNames, std::vector<std::string>{"Русский"});
    CSetting dialog(*app_, ui_);
    dialog.show();
    QComboBox* list = dialog.LanguageCombo();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("По умолчанию"));  // "Default"
    EXPECT_EQ(list->itemText(1), QStringLiteral("Русский"));
    dialog.close();
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
    const QStringList problems = Problems(english);
    EXPECT_TRUE(problems.contains(QStringLiteral("English \"Settings\" in pw::CSetting")))
        << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(problems.size(), 15);
    // A button squeezed below its text's width.
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Сохранить кодовую фразу"), &window);
    button->setFixedWidth(30);
    EXPECT_EQ(Problems(window),
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
