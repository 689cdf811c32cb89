// The account tab frame on a scripted client: login, refresh, history, the filter, menus,
// timers, the clipboard, the stored state and the column widths.
#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QBrush>
#include <QFont>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>

#include "accounts/gui/auto_refresh_dialog.h"
#include "store/file_io.h"
#include "store/schedule_file.h"
#include "store/table_file.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

const char kBalance[] = "B:LRUSD~10.00~2009-03-05 10:00~U1234567\nB:LREUR~5.5~2009-03-05 10:00~U1234567\n";

class AccountTabTest : public ::testing::Test {
protected:
    AccountTabTest() { tab = std::make_unique<TestTab>(w.app, w.host); }

    template <class T>
    T* Find(const char* name) {
        T* c = tab->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QCheckBox* Check(const char* name) { return Find<QCheckBox>(name); }

    void FillLogin(const QString& account = QStringLiteral("U1234567")) {
        Edit("accountEdit")->setText(account);
        Edit("apiNameEdit")->setText(QStringLiteral("myapi"));
        Edit("secretEdit")->setText(QStringLiteral("secret"));
    }
    void LogIn() {
        FillLogin();
        w.host.answers.push_back(kBalance);
        tab->Login();
        ASSERT_TRUE(tab->IsLoggedIn());
    }
    std::string Cell(const char* view, int row, int col, int role = Qt::DisplayRole) {
        QAbstractItemModel* m = Find<QTableView>(view)->model();
        return m->data(m->index(row, col), role).toString().toStdString();
    }
    bool LoginControlsEnabled() {
        return Edit("accountEdit")->isEnabled() && Edit("apiNameEdit")->isEnabled() &&
               Edit("secretEdit")->isEnabled() && Find<QPushButton>("loginButton")->isEnabled() &&
               Find<QToolButton>("chooseButton")->isEnabled();
    }
    std::string Setting(const char* key) { return w.app.GetString("LR", key, "<none>"); }

    TabWorld w;
    std::unique_ptr<TestTab> tab;
};

// ---- Login ---------------------------------------------------------------------------------

TEST_F(AccountTabTest, LoginFillsTheBalanceAndEntersTheLoggedInState) {
    EXPECT_TRUE(LoginControlsEnabled());
    LogIn();
    ASSERT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(w.host.urls[0], "https://127.0.0.1/balance?acct=U1234567&api=myapi");
    EXPECT_EQ(tab->BalanceRows().size(), 2u);
    EXPECT_EQ(Cell("balanceTable", 0, 0), " LRUSD");
    EXPECT_EQ(Cell("balanceTable", 0, 1), "10.00");
    EXPECT_EQ(Cell("balanceTable", 1, 1), "5.50");
    EXPECT_EQ(Cell("balanceTable", 1, 2), " 2009-03-05 10:00");
    EXPECT_EQ(Find<QTableView>("balanceTable")->model()->columnCount(), 3);  // AccountId hidden
    EXPECT_FALSE(Edit("accountEdit")->isEnabled());
    EXPECT_FALSE(Edit("apiNameEdit")->isEnabled());
    EXPECT_FALSE(Edit("secretEdit")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("loginButton")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>("chooseButton")->isEnabled());
    EXPECT_EQ(w.host.captions, std::vector<std::string>{"U1234567"});
    EXPECT_EQ(tab->AccountTag(), "LR_U1234567");
    EXPECT_EQ(w.host.banners, 1);
    EXPECT_TRUE(tab->ScheduleTimer().IsActive());
    EXPECT_EQ(tab->ScheduleTimer().PeriodMs(), 60000);
    EXPECT_FALSE(tab->RefreshTimer().IsActive());  // auto-refresh is 0
    EXPECT_TRUE(w.ui.messages.empty());
    // The state was saved before the request.
    EXPECT_EQ(w.app.GetSecret("LR", "LRAccountLast"), "U1234567");
}

TEST_F(AccountTabTest, EnterInALoginFieldOrTheButtonLogsIn) {
    FillLogin();
    QTest::keyClick(Edit("secretEdit"), Qt::Key_Return);
    EXPECT_EQ(w.host.urls.size(), 1u);
    w.host.answers.push_back(kBalance);
    QTest::mouseClick(Find<QPushButton>("loginButton"), Qt::LeftButton);
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_TRUE(tab->IsLoggedIn());
    QTest::keyClick(Edit("accountEdit"), Qt::Key_Return);  // disabled now: nothing is sent
    EXPECT_EQ(w.host.urls.size(), 2u);
}

TEST_F(AccountTabTest, LoginLoadsTheScheduleFileOfTheAccount) {
    TextList records = {"U7~1.00~m~1~39877.5~0~LRUSD~0", "U8~2.00~m~1~39878.5~0~LRUSD~0",
                        "too~few"};
    ASSERT_TRUE(SaveSchedule(w.app.ProgramDir(), "LR_U1234567", records));
    LogIn();
    EXPECT_EQ(tab->ScheduleList(), (TextList{records[0], records[1]}));
    EXPECT_EQ(tab->DueTimeList(), (TextList{"39877.5", "39878.5"}));
}

// A schedule file that could not be read whole is never saved over: the tab keeps that and
// refuses the save with a message naming the file.
TEST_F(AccountTabTest, AScheduleFileNotReadWholeIsNeverSavedOver) {
    const std::string path = ScheduleFilePath(w.app.ProgramDir(), "LR_U1234567");
    struct Case {
        const char* name;
        bool tooLarge;
    };
    for (const Case& c : {Case{"read whole", false}, Case{"too large", true}}) {
        tab = std::make_unique<TestTab>(w.app, w.host);
        ASSERT_TRUE(SaveSchedule(w.app.ProgramDir(), "LR_U1234567",
                                 {"U7~1.00~m~1~39877.5~0~LRUSD~0"}));
        if (c.tooLarge) std::filesystem::resize_file(path, kScheduleFileMaxBytes + 1);
        const auto sizeBefore = std::filesystem::file_size(path);
        const std::size_t messages = w.ui.messages.size();
        LogIn();
        EXPECT_EQ(tab->ScheduleUnreadable(), c.tooLarge) << c.name;
        EXPECT_EQ(tab->SaveScheduleFile(), !c.tooLarge) << c.name;
        if (c.tooLarge) {
            EXPECT_NE(ReadFile(w.dir.Path() + "Purseward.log")
                          .find(path + " is " + std::to_string(sizeBefore) + " bytes long"),
                      std::string::npos);
            EXPECT_EQ(std::filesystem::file_size(path), sizeBefore);
            ASSERT_EQ(w.ui.messages.size(), messages + 1);
            EXPECT_NE(w.ui.messages.back().find(path), std::string::npos) << w.ui.messages.back();
        } else {
            EXPECT_EQ(w.ui.messages.size(), messages);
            EXPECT_EQ(LoadSchedule(w.app.ProgramDir(), "LR_U1234567", 8, 4).records.size(), 1u);
        }
        tab->ChangeAccount();
    }
}

TEST_F(AccountTabTest, MissingLoginFieldsStopBeforeAnythingIsSent) {
    tab->Login();
    Edit("accountEdit")->setText("U1");
    tab->Login();
    Edit("apiNameEdit")->setText("api");
    tab->Login();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(110), Str(111), Str(112)}));
    EXPECT_TRUE(w.host.urls.empty());
    EXPECT_EQ(Setting("LRAccountLast"), "<none>");  // nothing saved either
}

TEST_F(AccountTabTest, AnAccountThatCouldLeaveTheSetFolderIsRefused) {
    const QString bad[] = {QStringLiteral("../U1"), QStringLiteral("U1/x"), QStringLiteral("U1\\x"),
                           QStringLiteral("U1..x"), QString("U1") + QChar(0) + "x",
                           QString("U1") + QChar(0x1b)};
    for (const QString& account : bad) {
        FillLogin(account);
        tab->Login();
        tab->GetHistory();
    }
    EXPECT_TRUE(w.host.urls.empty());
    ASSERT_EQ(w.ui.messages.size(), 2 * std::size(bad));
    for (const std::string& m : w.ui.messages)
        EXPECT_EQ(m,
                  "The account number contains characters that are not allowed: / \\ .. or "
                  "control characters.");
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_EQ(tab->AccountTag(), "");
}

TEST_F(AccountTabTest, ErrorsOfTheAnswerAreShownInOneMessage) {
    FillLogin();
    w.host.answers.push_back("E:201~Invalid token~x\nE:305~Account locked");
    tab->Login();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{
                                 "Code : 201, Message : Invalid token \nCode : 305, Message : "
                                 "Account locked \n"});
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(LoginControlsEnabled());
    EXPECT_TRUE(w.host.captions.empty());
    EXPECT_FALSE(tab->ScheduleTimer().IsActive());
}

TEST_F(AccountTabTest, AFailedOrGarbageAnswerChangesNothing) {
    FillLogin();
    tab->Login();  // the queue is empty: the transport failed (and told the user)
    EXPECT_TRUE(w.ui.messages.empty());
    w.host.answers.push_back("<html>503 Service Unavailable</html>\n\x01\x02 B LRUSD");
    tab->Login();
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{"The answer of the Liberty Reserve server "
                                                      "could not be read; nothing was changed."});
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(LoginControlsEnabled());
    EXPECT_TRUE(tab->BalanceRows().empty());
}

// ---- Refresh ------------------------------------------------------------------------------

TEST_F(AccountTabTest, AChangedBalanceIsNotifiedAndTheHistoryFetched) {
    LogIn();
    w.host.answers.push_back(
        "B:LRUSD~12.50~2009-03-05 11:00~U1234567\nB:LREUR~5.5~2009-03-05 11:00~U1234567\n");
    w.host.answers.push_back("H:2009-03-05~U7 (Bob)~2.50~0.00~12.50~LRUSD~42~m~false~api");
    tab->RefreshBalance();
    EXPECT_EQ(w.host.notices,
              std::vector<std::string>{
                  "Balance is changed [LR<U1234567>]\r\nLRUSD : 10.00/12.50\r\n"});
    ASSERT_EQ(w.host.urls.size(), 3u);
    EXPECT_EQ(w.host.urls[2], "https://127.0.0.1/history?acct=U1234567&page=0&last=5");
    EXPECT_EQ(tab->HistoryRows().size(), 1u);
    EXPECT_EQ(Cell("balanceTable", 0, 1), "12.50");
}

TEST_F(AccountTabTest, SwappedCurrenciesAreNotReportedAndNoHistoryIsFetched) {
    LogIn();
    w.host.answers.push_back("B:LREUR~5.5~d~U1234567\nB:LRUSD~10.00~d~U1234567\n");
    tab->RefreshBalance();
    EXPECT_TRUE(w.host.notices.empty());
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(Cell("balanceTable", 0, 0), " LREUR");  // replaced all the same
}

TEST_F(AccountTabTest, RefreshErrorsKeepTheRowsAndTheState) {
    LogIn();
    w.host.answers.push_back("E:1~Busy");
    tab->RefreshBalance();
    tab->RefreshBalance();  // failed transport
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{"Code : 1, Message : Busy \n"});
    EXPECT_EQ(tab->BalanceRows().size(), 2u);
    EXPECT_TRUE(tab->IsLoggedIn());
    EXPECT_FALSE(LoginControlsEnabled());
}

TEST_F(AccountTabTest, F5InTheBalanceTableRefreshes) {
    LogIn();
    QTest::keyClick(Find<QTableView>("balanceTable"), Qt::Key_F5);
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(w.host.urls[1], w.host.urls[0]);
}

TEST_F(AccountTabTest, ATimerDueWhileAMessageIsOpenDoesNotStartASecondRefresh) {
    LogIn();
    w.ui.numbers = {1};
    tab->SetAutoRefresh();
    int nested = 0;
    w.ui.onMessage = [&] {
        if (nested++ == 0) w.clock.Advance(180);  // the box stays open three minutes
    };
    w.host.answers.push_back("E:1~Busy");
    tab->RefreshBalance();
    EXPECT_EQ(w.host.urls.size(), 2u);  // no refresh ran inside the open box
    EXPECT_EQ(tab->scheduleChecks, 3);  // the schedule check is not held up
    w.clock.Advance(60);                // afterwards the timer runs again
    EXPECT_EQ(w.host.urls.size(), 3u);
}

TEST_F(AccountTabTest, TimersDueWhileARequestWaitsSkipTheirTurn) {
    LogIn();
    w.ui.numbers = {1};
    tab->SetAutoRefresh();
    w.host.waiting = true;  // a request of another tab waits for its answer
    w.clock.Advance(120);
    EXPECT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(tab->scheduleChecks, 0);
    w.host.waiting = false;
    w.host.answers.push_back(kBalance);
    w.clock.Advance(60);
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(tab->scheduleChecks, 1);
    // Every request told the host what it waits for, and the topic is cleared after it.
    ASSERT_EQ(w.host.topics.size(), 2u);
    EXPECT_EQ(w.host.topics[1].waitingFor, "Liberty Reserve");
    EXPECT_FALSE(w.host.topics[1].sendsMoney);
    EXPECT_TRUE(w.host.topic.waitingFor.empty());
}

TEST_F(AccountTabTest, TheWaitCursorIsShownWhileARequestRunsOnly) {
    FillLogin();
    w.host.answers.push_back("E:1~Busy");
    tab->Login();
    Check("getLastCheck")->setChecked(true);
    w.host.answers.push_back("P:50~2~1~60\nE:2~Slow");
    tab->GetHistory();
    EXPECT_EQ(w.host.waitCursorAtRequest, (std::vector<bool>{true, true}));
    EXPECT_EQ(w.ui.waitCursorAtMessage, (std::vector<bool>{false, false}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---- History ------------------------------------------------------------------------------

TEST_F(AccountTabTest, ACountAbove50IsCorrectedTo50) {
    FillLogin();
    Check("getLastCheck")->setChecked(true);
    Edit("countEdit")->setText("60");
    tab->GetHistory();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(115)});
    ASSERT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(w.host.urls[0], "https://127.0.0.1/history?acct=U1234567&page=0&last=50");
    EXPECT_EQ(Edit("countEdit")->text(), "50");
    EXPECT_EQ(Setting("FilterLastOperCount"), "50");
}

TEST_F(AccountTabTest, NoFilterOptionSwitchesOnGetLast) {
    FillLogin();
    Check("getLastCheck")->setChecked(false);
    tab->UpdateFilterControls();
    tab->GetHistory();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(114)});
    EXPECT_TRUE(Check("getLastCheck")->isChecked());
    EXPECT_TRUE(Edit("countEdit")->isEnabled());
    EXPECT_FALSE(Check("fromToCheck")->isEnabled());
    ASSERT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(w.host.urls[0], "https://127.0.0.1/history?acct=U1234567&page=0&last=5");
}

TEST_F(AccountTabTest, EmptyCounterpartOrBatchStopsTheRequest) {
    FillLogin();
    Check("getLastCheck")->setChecked(false);
    tab->UpdateFilterControls();
    Check("accountCheck")->setChecked(true);
    tab->GetHistory();
    Check("accountCheck")->setChecked(false);
    Check("batchCheck")->setChecked(true);
    tab->GetHistory();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(116), Str(117)}));
    EXPECT_TRUE(w.host.urls.empty());

    // The count is corrected to 50 before the stop.
    w.ui.messages.clear();
    Edit("countEdit")->setText("60");
    tab->GetHistory();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(115), Str(117)}));
    EXPECT_EQ(Edit("countEdit")->text(), "50");
    EXPECT_TRUE(Check("batchCheck")->isChecked());
    EXPECT_TRUE(w.host.urls.empty());
}

TEST_F(AccountTabTest, ADateRangeFetchesEveryPageAndAppendsTheRows) {
    FillLogin();
    Check("getLastCheck")->setChecked(false);
    tab->UpdateFilterControls();
    Check("fromToCheck")->setChecked(true);
    Find<QDateEdit>("fromDate")->setDate(QDate(2009, 3, 5));
    Find<QDateEdit>("toDate")->setDate(QDate(2009, 3, 7));
    w.host.answers.push_back("P:50~3~1~120\nH:d1~U2 (A)~1.00~0~1~LRUSD~1~m~false~api");
    w.host.answers.push_back("P:50~3~2~120\nH:d2~U2 (A)~2.00~0~3~LRUSD~2~m~false~api");
    w.host.answers.push_back("P:50~3~3~120\nH:d3~U2 (A)~-0.50~0~2.5~LRUSD~3~m~false~api");
    tab->GetHistory();
    ASSERT_EQ(w.host.urls.size(), 3u);
    EXPECT_EQ(w.host.urls[0],
              "https://127.0.0.1/history?acct=U1234567&page=0&from=05/03/2009&to=07/03/2009");
    EXPECT_NE(w.host.urls[1].find("page=2"), std::string::npos);
    EXPECT_NE(w.host.urls[2].find("page=3"), std::string::npos);
    EXPECT_EQ(tab->HistoryRows().size(), 3u);
    EXPECT_EQ(tab->TotalsText(), "Income : 3.00 -=- Outcome : 0.50 -=- Difference : 2.50");
    // Rows while not logged in: the tab logs in.
    EXPECT_TRUE(tab->IsLoggedIn());
    EXPECT_EQ(tab->AccountTag(), "LR_U1234567");
}

TEST_F(AccountTabTest, AFailedPageEndsTheSeriesAndKeepsWhatCame) {
    FillLogin();
    Check("getLastCheck")->setChecked(false);
    tab->UpdateFilterControls();
    Check("batchCheck")->setChecked(true);
    Edit("batchEdit")->setText("42");
    w.host.answers.push_back("P:50~9~1~420\nH:d1~U2 (A)~1.00~0~1~LRUSD~42~m~false~api");
    tab->GetHistory();  // page 2 fails (no answer queued): pages 3..9 are not asked for
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(tab->HistoryRows().size(), 1u);
}

TEST_F(AccountTabTest, AnEmptyAnswerEmptiesTheTableAndErrorsKeepIt) {
    LogIn();
    w.host.answers.push_back("H:d1~U2 (A)~1.00~0~1~LRUSD~1~m~false~api");
    tab->GetHistory();
    ASSERT_EQ(tab->HistoryRows().size(), 1u);
    w.host.answers.push_back("E:9~Try later");
    tab->GetHistory();
    EXPECT_EQ(tab->HistoryRows().size(), 1u);
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{"Code : 9, Message : Try later \n"});
    tab->GetHistory();  // failed transport
    EXPECT_TRUE(tab->HistoryRows().empty());
    EXPECT_EQ(Find<QTableView>("historyTable")->model()->rowCount(), 0);
    EXPECT_EQ(tab->TotalsText(), "Income : 0.00 -=- Outcome : 0.00 -=- Difference : 0.00");
}

TEST_F(AccountTabTest, AmountCellsAreBoldGreenAboveZeroAndRedOtherwise) {
    LogIn();
    w.host.answers.push_back(
        "H:d1~U2 (A)~5.00~0.1~1~LRUSD~1~m~false~api\n"
        "H:d2~U2 (A)~0.00~0~1~LRUSD~2~m~false~api\n"
        "H:d3~U2 (A)~-1000000.10~0~1~LRUSD~3~ ~false~api\n");
    tab->GetHistory();
    QAbstractItemModel* m = Find<QTableView>("historyTable")->model();
    auto color = [&](int row, int role) {
        return m->data(m->index(row, 2), role).value<QBrush>().color();
    };
    EXPECT_EQ(color(0, Qt::ForegroundRole), QColor(0, 180, 0));
    EXPECT_EQ(color(1, Qt::ForegroundRole), QColor(255, 0, 0));
    EXPECT_EQ(color(2, Qt::ForegroundRole), QColor(255, 0, 0));
    EXPECT_EQ(color(0, Qt::BackgroundRole), QColor(255, 255, 255));
    EXPECT_TRUE(m->data(m->index(0, 2), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(m->data(m->index(0, 1), Qt::FontRole).isValid());
    EXPECT_EQ(Cell("historyTable", 0, 3), "0.10");
    EXPECT_EQ(Cell("historyTable", 0, 1), " U2 (A)");
    EXPECT_EQ(Cell("historyTable", 2, 7), "  ");
    // A single value shows the cents it has (a 32-bit float would give -1000000.12).
    EXPECT_EQ(Cell("historyTable", 2, 2), "-1000000.10");
    // 0.00 counts towards neither total; the sums are exact.
    EXPECT_EQ(tab->TotalsText(),
              "Income : 5.00 -=- Outcome : 1000000.10 -=- Difference : -999995.10");
    // Alignment per column.
    EXPECT_EQ(m->data(m->index(0, 2), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(m->data(m->index(0, 1), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(m->data(m->index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "From/To");
}

TEST_F(AccountTabTest, HistoryForTheCounterpartOfARow) {
    LogIn();
    w.host.answers.push_back("H:d1~U7654321 (Bob Smith)~1.00~0~1~LRUSD~77~m~false~api");
    tab->GetHistory();
    tab->SelectHistoryRow(0);
    tab->RunCommand(TabCommand::HistoryForAccount);
    EXPECT_FALSE(Check("getLastCheck")->isChecked());
    EXPECT_TRUE(Check("accountCheck")->isChecked());
    EXPECT_TRUE(Check("accountCheck")->isEnabled());
    EXPECT_FALSE(Check("batchCheck")->isChecked());
    EXPECT_EQ(Edit("counterpartEdit")->text(), "U7654321");
    ASSERT_EQ(w.host.urls.size(), 3u);
    EXPECT_EQ(w.host.urls[2], "https://127.0.0.1/history?acct=U1234567&page=0&with=U7654321");
}

// ---- Filter controls ------------------------------------------------------------------------

TEST_F(AccountTabTest, GetLastDisablesTheOtherOptionsOnEveryClick) {
    QCheckBox* last = Check("getLastCheck");
    last->setChecked(false);
    tab->UpdateFilterControls();
    Check("fromToCheck")->setChecked(true);
    Check("batchCheck")->setChecked(true);
    EXPECT_FALSE(Edit("countEdit")->isEnabled());
    EXPECT_TRUE(Find<QDateEdit>("fromDate")->isEnabled());
    QTest::mouseClick(last, Qt::LeftButton);
    EXPECT_TRUE(last->isChecked());
    EXPECT_FALSE(Check("fromToCheck")->isChecked());
    EXPECT_FALSE(Check("batchCheck")->isChecked());
    for (const char* n : {"fromToCheck", "accountCheck", "batchCheck"})
        EXPECT_FALSE(Check(n)->isEnabled()) << n;
    for (const char* n : {"counterpartEdit", "batchEdit"}) EXPECT_FALSE(Edit(n)->isEnabled());
    EXPECT_FALSE(Find<QDateEdit>("fromDate")->isEnabled());
    EXPECT_FALSE(Find<QDateEdit>("toDate")->isEnabled());
    EXPECT_TRUE(Edit("countEdit")->isEnabled());
}

TEST_F(AccountTabTest, TheFieldSeparatorCannotBeTypedIntoAnyValue) {
    for (const char* name : {"accountEdit", "apiNameEdit", "secretEdit", "counterpartEdit"}) {
        QLineEdit* e = Edit(name);
        e->setEnabled(true);
        e->clear();
        QTest::keyClicks(e, "U1~2~");
        EXPECT_EQ(e->text(), "U12") << name;
        e->clear();
        e->insert("a~b");  // paste goes through the same check
        EXPECT_EQ(e->text(), "") << name;
    }
    for (const char* name : {"countEdit", "batchEdit"}) {
        QLineEdit* e = Edit(name);
        e->setEnabled(true);
        e->clear();
        QTest::keyClicks(e, "4~2x");
        EXPECT_EQ(e->text(), "42") << name;
    }
}

// ---- Menus, clipboard, change of account ------------------------------------------------------

TEST_F(AccountTabTest, BalanceMenuStatesAndTexts) {
    std::vector<MenuItem> items = tab->BalanceMenu();
    ASSERT_EQ(items.size(), 8u);
    const std::vector<std::string> texts = {"Refresh\tF5", "AutoRefresh every ...",
                                            "Make Payment ...", "Make MassPayment ...", "",
                                            "Copy Account Number", "", "Change Account"};
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].text, texts[i]);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_TRUE(items[1].checkable);
    EXPECT_FALSE(items[1].checked);
    EXPECT_FALSE(items[2].enabled);
    EXPECT_FALSE(items[3].enabled);
    EXPECT_EQ(items[4].command, TabCommand::None);
    EXPECT_FALSE(items[5].enabled);
    EXPECT_FALSE(items[7].enabled);  // not logged in

    LogIn();
    w.ui.numbers.push_back(5);
    tab->SetAutoRefresh();
    tab->SelectBalanceRow(1);
    items = tab->BalanceMenu();
    EXPECT_EQ(items[1].text, "AutoRefresh every 5 min");
    EXPECT_TRUE(items[1].checked);
    EXPECT_TRUE(items[2].enabled);
    EXPECT_TRUE(items[3].enabled);
    EXPECT_TRUE(items[5].enabled);
    EXPECT_TRUE(items[7].enabled);
    tab->SelectBalanceRow(7);  // beyond the rows: nothing selected
    EXPECT_FALSE(tab->BalanceMenu()[2].enabled);

    std::unique_ptr<QMenu> menu(BuildMenu(items, tab.get()));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_TRUE(actions[4]->isSeparator());
    EXPECT_EQ(actions[1]->text(), "AutoRefresh every 5 min");
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_EQ(CommandOf(actions[7]), TabCommand::ChangeAccount);
    EXPECT_EQ(CommandOf(nullptr), TabCommand::None);
}

TEST_F(AccountTabTest, HistoryMenuNeedsARow) {
    std::vector<MenuItem> items = tab->HistoryMenu();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Copy current record");
    EXPECT_EQ(items[2].text, "Export to *.CSV ...");
    EXPECT_EQ(items[3].text, "Get history for account");
    for (std::size_t i : {0u, 2u, 3u}) EXPECT_FALSE(items[i].enabled);

    LogIn();
    w.host.answers.push_back("H:d1~U1234567 (Name)~1.00~0~1~LRUSD~77~m~false~api");
    tab->GetHistory();
    tab->SelectHistoryRow(0);
    items = tab->HistoryMenu();
    EXPECT_EQ(items[3].text, "Get history for account U1234567 (Name)");
    for (std::size_t i : {0u, 2u, 3u}) EXPECT_TRUE(items[i].enabled);
}

TEST_F(AccountTabTest, CopyRecordMasksTheCounterpart) {
    LogIn();
    w.host.answers.push_back(
        "H:2009-03-05 10:00~U1234567 (Name)~-10.00~0.10~90.00~LRUSD~777~rent~false~api");
    tab->GetHistory();
    w.app.WriteInt("Setting", "HideLastDigit", 1);
    w.app.WriteInt("Setting", "HideLastDigitValue", 3);
    tab->SelectHistoryRow(0);
    tab->RunCommand(TabCommand::CopyRecord);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Date : 2009-03-05 10:00\r\nFrom/To Account : U1234*** (Name)\r\n"
              "Amount : -10.00\r\nCurrency : LRUSD\r\nBatch : 777\r\nMemo : rent");
    w.app.WriteInt("Setting", "HideLastDigit", 0);
    tab->CopyRecord();
    EXPECT_NE(QApplication::clipboard()->text().indexOf("U1234567 (Name)"), -1);

    tab->RunCommand(TabCommand::CopyAccountNumber);
    EXPECT_EQ(QApplication::clipboard()->text(), "U1234567");
    // No row selected: the clipboard is left alone.
    tab->SelectHistoryRow(-1);
    tab->CopyRecord();
    EXPECT_EQ(QApplication::clipboard()->text(), "U1234567");
}

TEST_F(AccountTabTest, ChangeAccountStopsTheTimersAndClearsTheCaption) {
    w.app.WriteInt("LR", "LRAutoRefresh", 2);
    tab = std::make_unique<TestTab>(w.app, w.host);
    LogIn();
    EXPECT_TRUE(tab->RefreshTimer().IsActive());
    EXPECT_EQ(tab->RefreshTimer().PeriodMs(), 120000);
    tab->RunCommand(TabCommand::ChangeAccount);
    EXPECT_FALSE(tab->RefreshTimer().IsActive());
    EXPECT_FALSE(tab->ScheduleTimer().IsActive());
    EXPECT_EQ(w.host.captions.back(), "");
    EXPECT_EQ(w.host.tagRequests.back(), "");
    EXPECT_EQ(tab->AccountTag(), "");
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(LoginControlsEnabled());
    EXPECT_TRUE(tab->BalanceRows().empty());
    EXPECT_TRUE(tab->ScheduleList().empty());
    EXPECT_EQ(Find<QTableView>("balanceTable")->model()->rowCount(), 0);
    const std::size_t requests = w.host.urls.size();
    w.clock.Advance(600);
    EXPECT_EQ(w.host.urls.size(), requests);
    EXPECT_EQ(tab->scheduleChecks, 0);
}

// ---- Auto-refresh and timers ------------------------------------------------------------------

TEST_F(AccountTabTest, AutoRefreshAcceptsZeroToThousandMinutes) {
    w.ui.numbers = {1001, -1, 0};
    tab->SetAutoRefresh();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(103), Str(103)}));
    // The prompt opens on the current minutes and stays on what was typed after message 103.
    EXPECT_EQ(w.ui.numberShown, (std::vector<int>{0, 1001, 1001}));
    EXPECT_EQ(w.ui.numberCaptions.front(), "AutoRefresh balance");
    EXPECT_EQ(w.ui.numberLabels.front(), "AutoRefresh balance every");
    EXPECT_EQ(tab->AutoRefreshMinutes(), 0);
    EXPECT_EQ(Setting("LRAutoRefresh"), "0");

    w.ui.numbers = {1000};
    tab->SetAutoRefresh();  // not logged in: no timer yet
    EXPECT_EQ(tab->AutoRefreshMinutes(), 1000);
    EXPECT_FALSE(tab->RefreshTimer().IsActive());
    EXPECT_EQ(Setting("LRAutoRefresh"), "1000");

    w.ui.numbers.clear();  // cancelled: nothing changes
    tab->SetAutoRefresh();
    EXPECT_EQ(tab->AutoRefreshMinutes(), 1000);

    LogIn();
    EXPECT_EQ(tab->RefreshTimer().PeriodMs(), 60000000);
    w.ui.numbers = {0};
    tab->RunCommand(TabCommand::AutoRefresh);
    EXPECT_FALSE(tab->RefreshTimer().IsActive());
    EXPECT_EQ(Setting("LRAutoRefresh"), "0");
}

TEST_F(AccountTabTest, TheClockDrivesRefreshAndTheScheduleCheck) {
    LogIn();
    w.ui.numbers = {1};
    tab->SetAutoRefresh();
    EXPECT_TRUE(tab->RefreshTimer().IsActive());
    w.host.answers.push_back(kBalance);  // unchanged: no notice, no history
    w.clock.Advance(59);
    EXPECT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(tab->scheduleChecks, 0);
    w.clock.Advance(1);
    EXPECT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(tab->scheduleChecks, 1);
    EXPECT_TRUE(w.host.notices.empty());
    w.host.answers.push_back("B:LRUSD~11.00~d~U1234567\nB:LREUR~5.5~d~U1234567\n");
    w.clock.Advance(60);
    EXPECT_EQ(w.host.notices.size(), 1u);
    EXPECT_EQ(w.host.urls.size(), 4u);  // balance, then the history
    EXPECT_EQ(tab->scheduleChecks, 2);
    EXPECT_TRUE(tab->IsLoggedIn());
}

TEST(AutoRefreshDialogTest, LabelsAndTheNumberEdit) {
    EnsureQtApp();
    AutoRefreshDialog dlg(15);
    EXPECT_EQ(dlg.windowTitle(), "AutoRefresh balance");
    EXPECT_EQ(dlg.Minutes(), 15);
    QStringList labels;
    for (QLabel* l : dlg.findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains("AutoRefresh balance every"));
    EXPECT_TRUE(labels.contains("minutes"));
    dlg.Edit()->clear();
    QTest::keyClicks(dlg.Edit(), "1~2a3");
    EXPECT_EQ(dlg.Minutes(), 123);
    dlg.Edit()->clear();
    EXPECT_FALSE(dlg.Minutes().has_value());
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) EXPECT_FALSE(b->accessibleName().isEmpty());
}

// ---- State ----------------------------------------------------------------------------------

TEST_F(AccountTabTest, StateIsSavedAndLoadedWithTheSavedAccounts) {
    w.app.WriteSecret("LR", "LRAccount", "U1~U2");
    w.app.WriteSecret("LR", "APIName", "api1~api2");
    w.app.WriteSecret("LR", "LRSave", "false~true");
    w.app.WriteSecret("LR", "LRPass", "~pw2");
    w.app.WriteSecret("LR", "LRAccountLast", "U2");
    w.app.WriteInt("LR", "CheckGetLast", 0);
    w.app.WriteInt("LR", "CheckFromToDate", 1);
    w.app.WriteString("LR", "FilterDateFrom", "01/02/2009");
    w.app.WriteString("LR", "FilterDateTo", "garbage");
    w.app.WriteInt("LR", "CheckBatch", 1);
    w.app.WriteString("LR", "FilterBatch", "99");
    w.app.WriteInt("LR", "LRAutoRefresh", 7);
    tab = std::make_unique<TestTab>(w.app, w.host);
    EXPECT_EQ(tab->SavedAccounts(), (TextList{"U1~api1~false~", "U2~api2~true~pw2"}));
    EXPECT_EQ(Edit("accountEdit")->text(), "U2");
    EXPECT_EQ(Edit("apiNameEdit")->text(), "api2");
    EXPECT_EQ(Edit("secretEdit")->text(), "pw2");
    EXPECT_FALSE(Check("getLastCheck")->isChecked());
    EXPECT_TRUE(Check("fromToCheck")->isChecked());
    EXPECT_EQ(Find<QDateEdit>("fromDate")->date(), QDate(2009, 2, 1));
    EXPECT_EQ(Find<QDateEdit>("toDate")->date(), QDate(2009, 3, 5));  // unreadable: today
    EXPECT_TRUE(Check("batchCheck")->isChecked());
    EXPECT_EQ(Edit("batchEdit")->text(), "99");
    EXPECT_EQ(tab->AutoRefreshMinutes(), 7);
    EXPECT_TRUE(Edit("batchEdit")->isEnabled());
    EXPECT_FALSE(Edit("countEdit")->isEnabled());

    Edit("batchEdit")->setText("123");
    tab->SaveState();
    EXPECT_EQ(Setting("FilterBatch"), "123");
    EXPECT_EQ(Setting("FilterDateTo"), "05/03/2009");
    EXPECT_EQ(Setting("CheckGetLast"), "0");
    EXPECT_EQ(w.app.GetSecret("LR", "LRPass"), "~pw2");
    EXPECT_EQ(w.app.GetSecret("LR", "APIName"), "api1~api2");
    EXPECT_EQ(w.app.GetSecret("LR", "LRAccountLast"), "U2");
    EXPECT_NE(Setting("LRAccount"), "U1~U2");  // stored enciphered
}

TEST_F(AccountTabTest, TheSecretWordIsFilledOnlyWhenSaved) {
    w.app.WriteSecret("LR", "LRAccount", "U1");
    w.app.WriteSecret("LR", "APIName", "api1");
    w.app.WriteSecret("LR", "LRSave", "false");
    w.app.WriteSecret("LR", "LRPass", "leftover");
    tab = std::make_unique<TestTab>(w.app, w.host);  // no last account: the only saved one
    EXPECT_EQ(Edit("accountEdit")->text(), "U1");
    EXPECT_EQ(Edit("apiNameEdit")->text(), "api1");
    EXPECT_EQ(Edit("secretEdit")->text(), "");
    EXPECT_EQ(Edit("secretEdit")->echoMode(), QLineEdit::Password);
}

TEST_F(AccountTabTest, DatesSinceTheLastVisit) {
    w.app.WriteInt("Setting", "SetDateOnLastVisit", 1);
    w.app.WriteString("Setting", "LastVisitDate", "28/02/2009");
    tab = std::make_unique<TestTab>(w.app, w.host);
    EXPECT_FALSE(Check("getLastCheck")->isChecked());
    EXPECT_TRUE(Check("fromToCheck")->isChecked());
    EXPECT_EQ(Find<QDateEdit>("fromDate")->date(), QDate(2009, 2, 28));
    EXPECT_EQ(Find<QDateEdit>("toDate")->date(), QDate(2009, 3, 5));
    EXPECT_EQ(Find<QDateEdit>("fromDate")->displayFormat(), "dd/MM/yyyy");
}

// The tab's section is saved with one rewrite of the settings file, or, when one value
// cannot be stored, not at all and with a message.
TEST_F(AccountTabTest, TheSectionIsSavedInOneRewriteOrNotAtAll) {
    const std::string ini = w.dir.Path() + "Set/Purseward.ini";
    struct Case {
        std::size_t accountBytes;
        int rewrites;
        bool stored;
    };
    for (const Case& c : {Case{8, 1, true}, Case{600, 0, false}}) {
        tab = std::make_unique<TestTab>(w.app, w.host);
        w.app.WriteString("LR", "FilterBatch", "old");
        const std::string before = ReadFile(ini);
        const std::size_t messages = w.ui.messages.size();
        Edit("accountEdit")->setText(QString(static_cast<int>(c.accountBytes), 'U'));
        Edit("batchEdit")->setText("123");
        int rewrites = 0;
        SetWriteFunctionForTest([&rewrites](int fd, const char* data, std::size_t size) {
            char target[PATH_MAX] = {};
            const std::string link = "/proc/self/fd/" + std::to_string(fd);
            if (::readlink(link.c_str(), target, sizeof target - 1) > 0 &&
                std::string(target).find("Purseward.ini") != std::string::npos)
                ++rewrites;
            return static_cast<long>(::write(fd, data, size));
        });
        tab->SaveState();
        SetWriteFunctionForTest({});
        EXPECT_EQ(rewrites, c.rewrites) << c.accountBytes;
        if (c.stored) {
            EXPECT_EQ(w.app.GetString("LR", "FilterBatch"), "123");
            EXPECT_EQ(w.ui.messages.size(), messages);
        } else {
            EXPECT_EQ(ReadFile(ini), before);
            ASSERT_EQ(w.ui.messages.size(), messages + 1);
            EXPECT_NE(w.ui.messages.back().find("LRAccountLast"), std::string::npos)
                << w.ui.messages.back();
        }
    }
}

TEST_F(AccountTabTest, ColumnWidthsDefaultSaveAndReload) {
    QTableView* balance = Find<QTableView>("balanceTable");
    // The defaults, or the header where it is wider.
    const int currency = std::max(60, balance->horizontalHeader()->sectionSizeHint(0));
    EXPECT_EQ(balance->columnWidth(0), currency);
    EXPECT_EQ(balance->columnWidth(1), 80);
    EXPECT_EQ(balance->columnWidth(2), 150);
    EXPECT_EQ(Find<QTableView>("historyTable")->columnWidth(7), 150);
    // While the columns follow their content the table files keep the defaults.
    tab->SaveState();
    EXPECT_EQ(ReadFile(w.dir.Path() + "Set/Balance.set"), "ColumnWidth=60;80;150\r\n");
    // A width set by hand is written, with the others as shown.
    balance->horizontalHeader()->resizeSection(1, 95);
    tab->SaveState();
    EXPECT_EQ(ReadFile(w.dir.Path() + "Set/Balance.set"),
              "ColumnWidth=" + std::to_string(currency) + ";95;150\r\n");
    EXPECT_EQ(ReadFile(w.dir.Path() + "Set/History.set"),
              "ColumnWidth=110;110;50;40;60;60;60;150;70;50\r\n");
    tab = std::make_unique<TestTab>(w.app, w.host);
    EXPECT_EQ(Find<QTableView>("balanceTable")->columnWidth(1), 95);
}

TEST_F(AccountTabTest, DamagedTableFilesNeitherFailNorLoseColumns) {
    WriteFile(w.dir.Path() + "Set/Balance.set", "ColumnWidth=70;;\r\n");
    WriteFile(w.dir.Path() + "Set/History.set", "ColumnWidth=abc;-5;99999999999\r\n");
    tab = std::make_unique<TestTab>(w.app, w.host);
    // A width of 0 would hide the column: it shows at the header's smallest width.
    QTableView* balance = Find<QTableView>("balanceTable");
    const int least = balance->horizontalHeader()->minimumSectionSize();
    EXPECT_EQ(balance->columnWidth(0), 70);
    EXPECT_EQ(balance->columnWidth(1), least);
    QTableView* history = Find<QTableView>("historyTable");
    EXPECT_EQ(history->columnWidth(0), least);
    EXPECT_EQ(history->columnWidth(1), least);
    EXPECT_EQ(history->columnWidth(2), 4000);
    EXPECT_EQ(history->columnWidth(3), 40);  // the file gave none: the default
    // The file keeps what it held.
    tab->SaveState();
    EXPECT_EQ(ReadFile(w.dir.Path() + "Set/Balance.set"), "ColumnWidth=70;0;0\r\n");
}

TEST_F(AccountTabTest, AnOverlongTableFileIsLoggedIgnoredAndKept) {
    const std::string path = w.dir.Path() + "Set/Balance.set";
    const std::string damaged = "ColumnWidth=70;90;100\r\n" + std::string(kTableFileMaxBytes, 'x');
    WriteFile(path, damaged);
    tab = std::make_unique<TestTab>(w.app, w.host);
    EXPECT_EQ(Find<QTableView>("balanceTable")->columnWidth(1), 80);  // the default, not half a file
    const std::string log = ReadFile(w.dir.Path() + "Purseward.log");
    EXPECT_NE(log.find(path + " is " + std::to_string(damaged.size()) + " bytes long"), std::string::npos) << log;
    tab->SaveState();
    EXPECT_EQ(ReadFile(path), damaged);
}

// ---- Accessibility --------------------------------------------------------------------------

TEST_F(AccountTabTest, EveryControlHasAnAccessibleNameAndLabelsHaveBuddies) {
    for (QWidget* c : tab->findChildren<QWidget*>()) {
        if (c->focusPolicy() == Qt::NoFocus || c->isHidden()) continue;
        if (c->parentWidget() != nullptr && c->parentWidget()->inherits("QAbstractSpinBox"))
            continue;  // the line edit inside a date edit
        if (!(c->inherits("QAbstractScrollArea") || c->inherits("QAbstractButton") ||
              c->inherits("QLineEdit") || c->inherits("QAbstractSpinBox")))
            continue;
        EXPECT_FALSE(c->accessibleName().isEmpty())
            << c->metaObject()->className() << " " << c->objectName().toStdString();
    }
    EXPECT_EQ(Find<QToolButton>("chooseButton")->accessibleName(), "Choose saved account");
    for (QLabel* l : tab->findChildren<QLabel*>()) EXPECT_NE(l->buddy(), nullptr) << l->text().toStdString();
    EXPECT_TRUE(Find<QPushButton>("loginButton")->isDefault());
    // Reading order of the focus chain.
    QWidget* w0 = Edit("accountEdit");
    EXPECT_EQ(w0->nextInFocusChain(), Edit("apiNameEdit"));
    EXPECT_EQ(Edit("apiNameEdit")->nextInFocusChain(), Edit("secretEdit"));
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

// A minimal tab (no menus, no auto-refresh, no saved accounts) of another system: the frame
// takes its keys and captions from the traits.
class MinimalTab : public CAccountTab {
public:
    MinimalTab(CPursewardApp& app, TabHost& host)
        : CAccountTab(std::make_unique<ScriptedClient>(Traits()), app, host) {
        Init();
    }
    static SystemTraits Traits() {
        SystemTraits t = ScriptedTraits();
        t.systemIndex = 4;
        t.prefix = "GDP";
        t.systemName = "GDP";
        t.full = false;
        t.accountLabel = "GDP-Account";
        t.counterpartLabel = "GDP-Account";
        t.balanceTableFile = "GBPBalance.set";
        t.historyTableFile = "GBPHistory.set";
        return t;
    }
};

TEST(MinimalTabTest, LogsInWithoutTimersMenusOrSavedAccounts) {
    TabWorld w;
    MinimalTab tab(w.app, w.host);
    EXPECT_TRUE(tab.findChild<QToolButton*>("chooseButton")->isHidden());
    EXPECT_EQ(tab.findChild<QLineEdit*>("accountEdit")->accessibleName(), "GDP-Account");
    tab.findChild<QLineEdit*>("accountEdit")->setText("G100");
    tab.findChild<QLineEdit*>("apiNameEdit")->setText("store");
    tab.findChild<QLineEdit*>("secretEdit")->setText("pw");
    w.host.answers.push_back("B:USD~3.00~d~G100\n");
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    EXPECT_FALSE(tab.ScheduleTimer().IsActive());
    EXPECT_FALSE(tab.RefreshTimer().IsActive());
    QTest::keyClick(tab.findChild<QTableView*>("balanceTable"), Qt::Key_F5);
    w.clock.Advance(600);
    EXPECT_EQ(w.host.urls.size(), 1u);
    // Its own section and table files.
    EXPECT_EQ(w.app.GetString("GDP", "CheckGetLast", "<none>"), "1");
    EXPECT_EQ(w.app.GetString("LR", "CheckGetLast", "<none>"), "<none>");
    EXPECT_EQ(w.app.GetSecret("GDP", "GDPAccountLast"), "G100");
    EXPECT_EQ(ReadFile(w.dir.Path() + "Set/GBPBalance.set"), "ColumnWidth=60;80;150\r\n");
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

// Runs keys on the pop-up menu as soon as it is open.
void OnPopup(std::vector<Qt::Key> keys) {
    QTimer::singleShot(50, [keys] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        for (Qt::Key k : keys) QTest::keyClick(popup, k);
    });
}

TEST_F(AccountTabTest, RightClickRecordsTheRowAndRunsTheChosenItem) {
    LogIn();
    tab->resize(1000, 600);
    tab->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tab.get()));
    QApplication::clipboard()->clear();
    QTableView* balance = Find<QTableView>("balanceTable");
    const QPoint row1 = balance->visualRect(balance->model()->index(1, 0)).center();
    // Refresh, AutoRefresh, Make Payment, Make MassPayment, Copy Account Number.
    OnPopup({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
             Qt::Key_Return});
    emit balance->customContextMenuRequested(row1);
    EXPECT_EQ(QApplication::clipboard()->text(), "U1234567");
    EXPECT_TRUE(tab->BalanceMenu()[2].enabled);  // row 1 was recorded

    // Below the rows: no row; Escape runs nothing.
    OnPopup({Qt::Key_Escape});
    emit balance->customContextMenuRequested(QPoint(5, balance->viewport()->height() - 2));
    EXPECT_FALSE(tab->BalanceMenu()[2].enabled);
    EXPECT_EQ(w.host.urls.size(), 1u);

    // The history table opens no menu away from a row (the next key press would find none).
    QTableView* history = Find<QTableView>("historyTable");
    emit history->customContextMenuRequested(QPoint(5, 5));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(tab->grab().isNull());  // painting the tables with their colours
}

}  // namespace
}  // namespace pw::test
