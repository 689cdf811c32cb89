// The saved account lists, the reference list window and their editors, driven by keys, the
// context menu and the mouse; message boxes go through the scripted UI.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

#include "accounts/gui/liberty_reserve_tab.h"
#include "refs/gui/list_parts.h"
#include "refs/gui/ref_dialogs.h"
#include "refs/gui/saved_account_dialogs.h"
#include "settings/settings_store.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"
#include "ui/window_placement.h"

namespace pw::test {
namespace {

// A per-process profile for the window placement.
void UseScratchProfile() {
    static QTemporaryDir profile;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile.path());
}

// Runs fn on the modal dialog the next call opens, once it is up.
void OnModal(std::function<void(QDialog&)> fn) {
    QTimer::singleShot(0, [fn] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        fn(*d);
    });
}

void Type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
QLineEdit* Edit(QDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }
QString Cell(QTableView* v, int row, int column) {
    return v->model()->index(row, column).data().toString();
}
// The events a double-click delivers to the list: press, release, double-click, release.
void DoubleClickRow(QTableView* v, int row) {
    const QPointF p = v->visualRect(v->model()->index(row, 0)).center();
    const QPointF g = v->viewport()->mapToGlobal(p);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                           QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = t != QEvent::MouseButtonRelease;
        QMouseEvent e(t, p, g, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(v->viewport(), &e);
    }
}

QPushButton* OkButton(QDialog& d) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->accessibleName() == "OK") return b;
    return nullptr;
}

class SavedAccountListTest : public ::testing::Test {
protected:
    SavedAccountListTest() {
        EnsureQtApp();
        UseScratchProfile();
    }
    TempDir dir;
    SettingsStore store{dir.Path() + "Set/Purseward.ini", "unlock"};
    TestUi ui;
    TextList rows;
};

TEST_F(SavedAccountListTest, KeysAndMenuAddEditAndDeleteAndCancelStillSaves) {
    CLR_RefAccount dlg(rows, store, dir.Path(), ui);
    dlg.show();
    QTableView* list = dlg.List();

    OnModal([](QDialog& e) {
        EXPECT_EQ(e.windowTitle(), "Add Record");
        EXPECT_EQ(e.focusWidget(), Edit(e, "edit0"));
        Type(Edit(e, "edit0"), "U1111111");
        Type(Edit(e, "edit1"), "api1");
        Type(Edit(e, "edit2"), "sw1");
        EXPECT_EQ(Edit(e, "edit2")->echoMode(), QLineEdit::Password);
        e.findChild<QCheckBox*>("saveBox")->setChecked(true);
        e.accept();
    });
    QTest::keyClick(list, Qt::Key_Insert);
    ASSERT_EQ(rows, (TextList{"U1111111~api1~true~sw1"}));

    // The context menu on no row: Add only.
    dlg.Commands()->OpenMenuAt(QPoint(5, list->viewport()->height() - 3));
    EXPECT_TRUE(dlg.Commands()->AddAction()->isEnabled());
    EXPECT_FALSE(dlg.Commands()->EditAction()->isEnabled());
    EXPECT_FALSE(dlg.Commands()->DeleteAction()->isEnabled());
    dlg.Commands()->Menu()->hide();
    OnModal([](QDialog& e) {
        Type(Edit(e, "edit0"), "U2222222");
        Type(Edit(e, "edit1"), "api2");
        Type(Edit(e, "edit2"), "sw2");  // not saved: the box stays clear
        e.accept();
    });
    dlg.Commands()->AddAction()->trigger();
    ASSERT_EQ(rows, (TextList{"U1111111~api1~true~sw1", "U2222222~api2~false~"}));
    EXPECT_EQ(Cell(list, 0, 3), "*****");
    EXPECT_EQ(Cell(list, 1, 3), "");
    EXPECT_EQ(Cell(list, 0, 2), "true");

    // F4 edits the selected row.
    SelectRow(list, 1);
    OnModal([](QDialog& e) {
        EXPECT_EQ(e.windowTitle(), "Edit Record");
        EXPECT_EQ(Edit(e, "edit1")->text(), "api2");
        EXPECT_FALSE(e.findChild<QCheckBox*>("saveBox")->isChecked());
        Edit(e, "edit1")->clear();
        Type(Edit(e, "edit1"), "api2b");
        e.accept();
    });
    QTest::keyClick(list, Qt::Key_F4);
    EXPECT_EQ(rows[1], "U2222222~api2b~false~");

    // The menu on a row offers all three; Del removes without a question.
    dlg.Commands()->OpenMenuAt(list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_TRUE(dlg.Commands()->DeleteAction()->isEnabled());
    dlg.Commands()->Menu()->hide();
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(rows, (TextList{"U2222222~api2b~false~"}));
    EXPECT_TRUE(ui.messages.empty());

    dlg.reject();
    EXPECT_EQ(dlg.Chosen(), -1);
    EXPECT_EQ(store.GetSecret("LR", "LRAccount"), "U2222222");
    EXPECT_EQ(store.GetSecret("LR", "APIName"), "api2b");
    EXPECT_EQ(ReadFile(dir.Path() + "Set/RefAccount.set").rfind("ColumnWidth=110;100;50;100", 0),
              0u);
}

TEST_F(SavedAccountListTest, OnlyOkAndDoubleClickReturnTheSelection) {
    struct Case { const char* how; int select; int expected; };
    const std::vector<Case> cases = {
        {"ok", 1, 1}, {"ok", -1, -1}, {"cancel", 1, -1}, {"double", 1, 1}, {"close", 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        rows = {"U1~a~true~s", "U2~b~false~"};
        CLR_RefAccount dlg(rows, store, dir.Path(), ui);
        const std::string how = c.how;
        QTimer::singleShot(0, [&] {
            SelectRow(dlg.List(), c.select);
            if (how == "ok") OkButton(dlg)->click();
            else if (how == "cancel") dlg.reject();
            else if (how == "double") DoubleClickRow(dlg.List(), c.select);
            else dlg.close();
        });
        dlg.exec();
        EXPECT_EQ(dlg.Chosen(), c.expected);
        EXPECT_EQ(store.GetSecret("LR", "LRAccount"), "U1~U2");  // saved on every way out
    }
}

TEST_F(SavedAccountListTest, AFullListRefusesTheNewRowAndKeepsWhatIsStored) {
    rows = TextList(101, "U~a~true~s");  // the save flags fill one column to 504 bytes
    ASSERT_TRUE(WriteSavedAccounts(store, SavedAccountKindOf(0), rows));
    const TextList before = rows;
    CLR_RefAccount dlg(rows, store, dir.Path(), ui);
    dlg.show();
    OnModal([](QDialog& e) {
        Type(Edit(e, "edit0"), "U3");
        Type(Edit(e, "edit1"), "x");
        e.accept();
    });
    QTest::keyClick(dlg.List(), Qt::Key_Insert);
    ASSERT_EQ(ui.messages, (std::vector<std::string>{kSavedListFullMessage}));
    EXPECT_EQ(rows, before);
    dlg.reject();
    EXPECT_EQ(ReadSavedAccounts(store, SavedAccountKindOf(0)), before);
}

TEST_F(SavedAccountListTest, EditorsRefuseTheSeparatorCheckTheirFieldsAndForgetSecrets) {
    struct Case { int system; int message; };
    for (const Case& c : std::vector<Case>{{0, 110}, {1, 132}, {2, 137}, {3, 132}}) {
        const SavedAccountKind& kind = SavedAccountKindOf(c.system);
        SCOPED_TRACE(kind.listCaption);
        ui.messages.clear();
        CRefAccountEdit e(kind, ui);
        e.SetUp(true, {});
        e.show();
        e.accept();
        EXPECT_TRUE(e.isVisible());
        ASSERT_EQ(ui.messages, (std::vector<std::string>{Str(c.message)}));
        for (std::size_t i = 0; i < kind.editorLabels.size(); ++i)
            Type(e.Edit(static_cast<int>(i)), "A~B");
        EXPECT_EQ(e.Edit(0)->text(), "AB");
        e.SaveBox()->setChecked(true);
        e.accept();
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(e.Entry().texts.back(), "AB");
        for (std::size_t i = 0; i < kind.editorLabels.size(); ++i)
            EXPECT_TRUE(e.Edit(static_cast<int>(i))->text().isEmpty());
    }
    // Liberty Reserve asks for the API name after the account.
    ui.messages.clear();
    CLR_RefAccountEdit lr(ui);
    lr.show();
    Type(lr.Edit(0), "U1");
    lr.accept();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{Str(111)}));
}

TEST(SavedAccountTab, TheChosenRowFillsTheLoginBySaveFlag) {
    TabWorld w;
    UseScratchProfile();
    ASSERT_TRUE(WriteSavedAccounts(w.app.Settings(), SavedAccountKindOf(0),
                                   {"U1111111~api1~true~sw1", "U2222222~api2~false~"}));
    CLibertyReserveDlg tab(w.app, w.host);
    InstallSavedAccountList(tab, w.app);
    ASSERT_EQ(tab.SavedAccounts().size(), 2u);
    struct Case { int row; LoginFields login; };
    const std::vector<Case> cases = {{1, {"U2222222", "api2", ""}},
                                     {0, {"U1111111", "api1", "sw1"}}};
    for (const Case& c : cases) {
        OnModal([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "LR Accounts");
            DoubleClickRow(d.findChild<QTableView*>("list"), c.row);
        });
        tab.findChild<QToolButton*>("chooseButton")->click();
        const LoginFields now = tab.CurrentLogin();
        EXPECT_EQ(now.account, c.login.account);
        EXPECT_EQ(now.apiName, c.login.apiName);
        EXPECT_EQ(now.secret, c.login.secret);
    }
    // SaveState writes the same columns again.
    tab.SaveState();
    EXPECT_EQ(w.app.Settings().GetSecret("LR", "LRPass"), "sw1~");
}

// ---- Reference lists ----------------------------------------------------------------------

class RefTest : public ::testing::Test {
protected:
    RefTest() {
        EnsureQtApp();
        UseScratchProfile();
    }
    std::string PathOf(const std::string& file) { return RefListPath(dir.Path(), file); }
    TempDir dir;
    TestUi ui;
};

TEST_F(RefTest, BlankLinesGoAndShortRowsShowEmptyCells) {
    WriteFile(PathOf("LRAccountTo.ini"), "U1\r\n\r\n\r\nU2~Holder~note\r\n\r\n");
    CRef dlg(RefConfigForFile("LRAccountTo.ini", true), dir.Path(), ui);
    EXPECT_EQ(dlg.windowTitle(), "Reference: Correspond Account LR");
    EXPECT_EQ(dlg.Rows(), (TextList{"U1", "U2~Holder~note"}));
    EXPECT_EQ(Cell(dlg.List(), 0, 0), "U1");
    EXPECT_EQ(Cell(dlg.List(), 0, 1), "");
    EXPECT_EQ(Cell(dlg.List(), 0, 2), "");
    EXPECT_EQ(Cell(dlg.List(), 1, 2), "note");
    EXPECT_EQ(dlg.List()->columnWidth(1), 150);
    dlg.show();
    dlg.reject();
    EXPECT_EQ(ReadFile(PathOf("LRAccountTo.ini")), "U1\r\nU2~Holder~note\r\n");
    QSettings profile(QString::fromLatin1(kProfileOrganization),
                      QString::fromLatin1(kProfileApplication));
    EXPECT_TRUE(profile.childGroups().contains(kRefWindowPlacement));
}

TEST_F(RefTest, DeleteAsksNothingAndCancelStillSaves) {
    WriteFile(PathOf("PMMemo.ini"), "first\r\nsecond\r\n");
    CRef dlg(RefConfigForFile("PMMemo.ini", true), dir.Path(), ui);
    dlg.show();
    SelectRow(dlg.List(), 0);
    QTest::keyClick(dlg.List(), Qt::Key_Delete);
    EXPECT_EQ(dlg.Rows(), (TextList{"second"}));
    EXPECT_TRUE(ui.messages.empty());
    dlg.reject();
    EXPECT_EQ(ReadFile(PathOf("PMMemo.ini")), "second\r\n");
}

TEST_F(RefTest, TheChooserReturnsTheRowOfOkOrDoubleClick) {
    struct Case { const char* how; int select; std::string expected; };
    const std::vector<Case> cases = {{"ok", -1, ""},
                                     {"ok", 0, "U1~N1~c1"},
                                     {"double", 1, "U2~N2~c2"},
                                     {"cancel", 1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        WriteFile(PathOf("VMAccountTo.ini"), "U1~N1~c1\r\nU2~N2~c2\r\n");
        const std::string how = c.how;
        OnModal([&](QDialog& d) {
            auto* list = d.findChild<QTableView*>("list");
            SelectRow(list, c.select);
            if (how == "double") DoubleClickRow(list, c.select);
            else if (how == "ok") d.accept();
            else d.reject();
        });
        EXPECT_EQ(CRef::Choose(nullptr, dir.Path(), "VMAccountTo.ini", ui), c.expected);
    }
}

TEST_F(RefTest, AddAndEditThroughTheEditorsIntoAFreshRefFolder) {
    // Ref/ does not exist yet: the first save makes it.
    CRef dlg(RefConfigForFile("EGAccountTo.ini", true), dir.Path(), ui);
    dlg.show();
    OnModal([](QDialog& e) {
        EXPECT_EQ(e.objectName(), "refEdit3");
        e.accept();  // no account: message 137, the editor stays
        EXPECT_TRUE(e.isVisible());
        Type(Edit(e, "field1002"), "E1~");
        Type(Edit(e, "field1004"), "my note");
        e.accept();
    });
    QTest::keyClick(dlg.List(), Qt::Key_Insert);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{Str(137)}));
    ASSERT_EQ(dlg.Rows(), (TextList{"E1~my note"}));
    // In manager mode a double-click edits.
    OnModal([](QDialog& e) {
        EXPECT_EQ(e.windowTitle(), "Edit Record");
        EXPECT_EQ(Edit(e, "field1004")->text(), "my note");
        Type(Edit(e, "field1004"), "!");
        e.accept();
    });
    DoubleClickRow(dlg.List(), 0);
    EXPECT_EQ(dlg.Rows(), (TextList{"E1~my note!"}));
    EXPECT_TRUE(dlg.isVisible());
    dlg.accept();
    EXPECT_EQ(ReadFile(PathOf("EGAccountTo.ini")), "E1~my note!\r\n");
}

TEST_F(RefTest, GetNameAsksOnlyForAnAccountAndOnlyAfterALogin) {
    struct Case { int kind; bool enabled; QString account; int calls; QString name; };
    const std::vector<Case> cases = {{1, true, "", 0, ""},
                                     {1, true, "U7", 1, "Holder One"},
                                     {4, true, "V7", 1, "Holder One"},
                                     {1, false, "U7", 0, ""}};
    for (const Case& c : cases) {
        int calls = 0;
        NameLookup lookup{[&](const std::string& a) {
                              ++calls;
                              EXPECT_EQ(QStr(a), c.account);
                              return std::string("Holder~One");
                          },
                          c.enabled};
        CRefEdit e(c.kind, ui, lookup);
        e.SetUp(true, {});
        Type(e.Field(0), c.account);
        EXPECT_EQ(e.GetNameButton()->isEnabled(), c.enabled);
        e.GetNameButton()->click();
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(e.Field(1)->text(), c.name);
        EXPECT_TRUE(e.Field(1)->isReadOnly());
    }
    CRefEdit2 memo(ui);
    EXPECT_EQ(memo.GetNameButton(), nullptr);
    memo.show();
    memo.accept();  // an empty memo is accepted
    EXPECT_EQ(memo.result(), QDialog::Accepted);
}

TEST_F(RefTest, AFileThatCannotBeReadWholeIsLeftAlone) {
    const std::string big(kRefListMaxBytes + 10, 'x');
    WriteFile(PathOf("LRMemo.ini"), big);
    CRef dlg(RefConfigForFile("LRMemo.ini", true), dir.Path(), ui);
    EXPECT_TRUE(dlg.Rows().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    dlg.reject();
    EXPECT_EQ(ReadFile(PathOf("LRMemo.ini")).size(), big.size());
}

}  // namespace
}  // namespace pw::test
