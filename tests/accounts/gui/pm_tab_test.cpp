// The Perfect Money tab on the real Perfect Money client: its date rules, the "PM-Account" box,
// history for an account and the transfer request through a scripted main window, then a
// whole session against the sandbox over HTTPS.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/perfect_money_tab.h"
#include "accounts/pm/pm_client.h"
#include "accounts/transfer_request.h"
#include "net/curl_transport.h"
#include "support/sandbox.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

const char kCsvHead[] =
    "Time,Type,Batch,Currency,Amount,Fee,Payer Account,Payee Account,Payment ID,Memo\n";

std::string Inputs(const std::string& u, const std::string& e) {
    return "<html><input name='U1234567' type='hidden' value='" + u +
           "'>\n<input name='E1234567' type='hidden' value='" + e + "'></html>";
}

template <typename T>
T* Child(QWidget& tab, const char* name) {
    return tab.findChild<T*>(QLatin1String(name));
}

QDate DateOf(QWidget& tab, const char* name) { return Child<QDateEdit>(tab, name)->date(); }

class PmTabTest : public ::testing::Test {
protected:
    PmTabTest() : tab(std::make_unique<PmClient>("pm.test"), w.app, w.host) {}
    void Fill(const char* account, const char* phrase) {
        Child<QLineEdit>(tab, "accountEdit")->setText(account);
        Child<QLineEdit>(tab, "secretEdit")->setText(phrase);
    }
    void LogIn() {
        Fill("1234567", "demo-pass");
        w.host.answers.push_back(Inputs("10.00", "8.57"));
        tab.Login();
        ASSERT_TRUE(tab.IsLoggedIn());
    }
    std::string Cell(int row, int col, int role = Qt::DisplayRole) {
        QAbstractItemModel* m = Child<QTableView>(tab, "historyTable")->model();
        return m->data(m->index(row, col), role).toString().toStdString();
    }
    TabWorld w;
    CPerfectMoneyDlg tab;
};

TEST_F(PmTabTest, TheFactoryMakesThePerfectMoneyTab) {
    std::unique_ptr<AccountTabWidget> pm(CreateAccountTab(1, w.app, w.host, nullptr));
    EXPECT_NE(dynamic_cast<CPerfectMoneyDlg*>(pm.get()), nullptr);
    EXPECT_EQ(pm->accessibleName(), "Perfect Money");
}

TEST_F(PmTabTest, NoGetLastAndFromToDateTickedAndAlwaysDisabled) {
    auto* fromTo = Child<QCheckBox>(tab, "fromToCheck");
    EXPECT_TRUE(Child<QCheckBox>(tab, "getLastCheck")->isHidden());
    EXPECT_TRUE(Child<QLineEdit>(tab, "apiNameEdit")->isHidden());
    EXPECT_FALSE(fromTo->isHidden());
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(fromTo->isChecked());
        EXPECT_FALSE(fromTo->isEnabled());
        EXPECT_TRUE(Child<QDateEdit>(tab, "fromDate")->isEnabled());
        EXPECT_TRUE(Child<QCheckBox>(tab, "accountCheck")->isEnabled());
        EXPECT_TRUE(Child<QCheckBox>(tab, "batchCheck")->isEnabled());
        fromTo->setChecked(false);  // whatever happened, GetHistory puts it back
        LogIn();
        w.host.answers.push_back("");
        tab.GetHistory();
    }
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_NE(w.host.urls.back().find("&startmonth=3&startday=5&startyear=2009"),
              std::string::npos);
    EXPECT_TRUE(tab.HasFeature(TabFeature::Export));
    EXPECT_TRUE(tab.HasFeature(TabFeature::RecordView));
}

TEST_F(PmTabTest, ChecksOfTheHistoryRequest) {
    struct Case {
        const char *account, *phrase;
        bool byAccount;
        const char* counterpart;
        bool byBatch;
        const char* batch;
        int message;  // 0: the request goes out
    } cases[] = {
        {"", "p", false, "", false, "", 132},
        {"1234567", "", false, "", false, "", 112},
        {"1234567", "p", true, "  ", false, "", 0},  // trimmed by the request, not refused
        {"1234567", "p", true, "", true, "", 133},
        {"1234567", "p", false, "", true, "", 117},
        {"1234567", "p", true, "U7", true, "5", 0},
    };
    for (const Case& c : cases) {
        w.ui.messages.clear();
        const std::size_t sent = w.host.urls.size();
        Fill(c.account, c.phrase);
        Child<QCheckBox>(tab, "accountCheck")->setChecked(c.byAccount);
        Child<QLineEdit>(tab, "counterpartEdit")->setText(c.counterpart);
        Child<QCheckBox>(tab, "batchCheck")->setChecked(c.byBatch);
        Child<QLineEdit>(tab, "batchEdit")->setText(c.batch);
        tab.GetHistory();
        if (c.message == 0) {
            EXPECT_TRUE(w.ui.messages.empty()) << c.counterpart;
            EXPECT_EQ(w.host.urls.size(), sent + 1);
        } else {
            EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(c.message)}) << c.message;
            EXPECT_EQ(w.host.urls.size(), sent);
        }
    }
    EXPECT_NE(w.host.urls.back().find("&counterfilter=U7&batchfilter=5&desc=1"),
              std::string::npos);
}

TEST_F(PmTabTest, AFromDateAfterTodaysUtcDateBecomesItSilently) {
    // 2009-03-05 23:30 UTC is already 6 March on the local clock of UTC+14.
    const char* tz = std::getenv("TZ");
    const std::string oldTz = tz ? tz : "";
    setenv("TZ", "Pacific/Kiritimati", 1);
    tzset();
    w.clock.Set(1236295800);
    LogIn();
    Child<QDateEdit>(tab, "fromDate")->setDate(QDate(2009, 3, 6));
    Child<QDateEdit>(tab, "toDate")->setDate(QDate(2009, 3, 6));
    w.host.answers.push_back("");
    tab.GetHistory();
    if (tz) setenv("TZ", oldTz.c_str(), 1); else unsetenv("TZ");
    tzset();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(DateOf(tab, "fromDate"), QDate(2009, 3, 5));
    EXPECT_NE(w.host.urls.back().find("&startmonth=3&startday=5&startyear=2009&endmonth=3"
                                      "&endday=6&endyear=2009"),
              std::string::npos);
}

TEST_F(PmTabTest, TheAccountBoxShowsTheWholeHistoryAndGivesTheRangeBack) {
    auto* box = Child<QCheckBox>(tab, "accountCheck");
    Child<QDateEdit>(tab, "fromDate")->setDate(QDate(2009, 2, 1));
    Child<QDateEdit>(tab, "toDate")->setDate(QDate(2009, 2, 28));
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->isChecked());
    EXPECT_EQ(DateOf(tab, "fromDate"), QDate(2007, 1, 1));
    EXPECT_EQ(DateOf(tab, "toDate"), QDate(2009, 3, 5));
    EXPECT_EQ(tab.OldDates(), (pm::DateRange{{2009, 2, 1}, {2009, 2, 28}}));

    // The old dates are part of the tab's one save and come back with the next tab.
    tab.SaveState();
    EXPECT_EQ(w.app.GetString("PM", "PM_FilterDateFromOld", ""), "01/02/2009");
    EXPECT_EQ(w.app.GetString("PM", "PM_FilterDateToOld", ""), "28/02/2009");
    EXPECT_EQ(w.app.GetInt("PM", "PM_CheckAccount", 0), 1);
    CPerfectMoneyDlg again(std::make_unique<PmClient>("pm.test"), w.app, w.host);
    EXPECT_EQ(again.OldDates(), tab.OldDates());
    EXPECT_EQ(DateOf(again, "fromDate"), QDate(2007, 1, 1));

    box->click();  // keyboard or mouse alike
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(DateOf(tab, "fromDate"), QDate(2009, 2, 1));
    EXPECT_EQ(DateOf(tab, "toDate"), QDate(2009, 2, 28));

    // Typed account numbers are upper case.
    auto* edit = Child<QLineEdit>(tab, "counterpartEdit");
    edit->clear();
    QTest::keyClicks(edit, "u76");
    EXPECT_EQ(edit->text(), "U76");
}

TEST_F(PmTabTest, HistoryCellsExactTotalsRecordAndHistoryForAccount) {
    LogIn();
    Child<QDateEdit>(tab, "fromDate")->setDate(QDate(2009, 2, 1));
    Child<QDateEdit>(tab, "toDate")->setDate(QDate(2009, 2, 28));
    Child<QCheckBox>(tab, "batchCheck")->setChecked(true);
    Child<QLineEdit>(tab, "batchEdit")->setText("5");
    std::string csv = kCsvHead;
    // Ten incomes of 0.10 and three spendings of 0.10: exact sums, not 0.99999.
    for (int i = 0; i < 10; ++i) csv += "02/03/2009 10:00,Income,70" + std::to_string(i) +
                                        ",USD,0.10,0.00,U7654321,U1234567,,gift\n";
    for (int i = 0; i < 3; ++i) csv += "02/04/2009 10:00,Spend,80" + std::to_string(i) +
                                       ",USD,-0.10,0.01,U1234567,U7654321,P9,x, y\n";
    w.host.answers.push_back(csv);
    tab.GetHistory();
    ASSERT_EQ(tab.HistoryRows().size(), 13u);
    EXPECT_EQ(tab.TotalsText(),
              Str(144) + " : 1.00 -=- " + Str(145) + " : 0.30 -=- " + Str(146) + " : 0.70");
    EXPECT_EQ(Cell(12, 2), "-0.10");
    EXPECT_EQ(Cell(12, 3), "0.01");
    EXPECT_EQ(Cell(12, 1), " U7654321");

    tab.SelectHistoryRow(12);
    EXPECT_EQ(tab.SelectedRecordText(),
              "Date : 02/04/2009 10:00\r\nFrom/To Account : U7654321\r\nAmount : -0.10\r\n"
              "Currency : USD\r\nBatch : 802\r\nMemo : x, y \r\nPayment ID : P9");

    // The row's whole From/To text, no batch, 1 January 2007 to today; the range is kept.
    w.host.answers.push_back("");
    tab.RunCommand(TabCommand::HistoryForAccount);
    EXPECT_NE(w.host.urls.back().find("&startmonth=1&startday=1&startyear=2007&endmonth=3"
                                      "&endday=5&endyear=2009&counterfilter=U7654321&desc=1"),
              std::string::npos)
        << w.host.urls.back();
    EXPECT_FALSE(Child<QCheckBox>(tab, "batchCheck")->isChecked());
    EXPECT_EQ(tab.OldDates(), (pm::DateRange{{2009, 2, 1}, {2009, 2, 28}}));
    EXPECT_TRUE(tab.HistoryRows().empty());  // a failed request empties the history
}

TEST_F(PmTabTest, RefreshNoticeAndTheTransferOfTheFirstQueuedRecord) {
    LogIn();
    EXPECT_EQ(Split(tab.BalanceRows()[0], "~")[0], "U1234567");
    w.host.answers.push_back(Inputs("12.50", "8.57"));
    w.host.answers.push_back(std::string(kCsvHead) + "No Records Found");
    tab.RefreshBalance();
    ASSERT_EQ(w.host.notices.size(), 1u);
    EXPECT_EQ(w.host.notices[0], Str(113) + " [PM<1234567>]\r\nU1234567 : 10.00/12.50\r\n");
    ASSERT_EQ(w.host.urls.size(), 3u);  // login, refresh, history
    EXPECT_EQ(w.host.urls[2].rfind("https://pm.test/acct/historycsv.asp?AccountID=1234567", 0),
              0u);
    // An answer of errors keeps the balances.
    w.host.answers.push_back("Error: Can not login with passed AccountID and PassPhrase");
    tab.RefreshBalance();
    EXPECT_EQ(w.ui.messages.back(),
              "Error :  Can not login with passed AccountID and PassPhrase \n");
    EXPECT_EQ(tab.BalanceRows().size(), 2u);

    // Through the client interface, as the payment parts call it.
    AccountClient& client = tab.Client();
    const TextList queue = {"U7654321~1.25~rent~INV 1~no~~no~U1234567~no",
                            "U7654321~9.00~second~~no~~no~U1234567~no"};
    EXPECT_EQ(client.TransferUrl(tab.CurrentLogin(), queue, [] { return true; }, 0),
              "https://pm.test/acct/confirm.asp?AccountID=1234567&PassPhrase=demo-pass"
              "&Payer_Account=U1234567&Payee_Account=U7654321&Amount=1.25&Memo=rent"
              "&PAYMENT_ID=INV%201");
    EXPECT_EQ(client.TransferUrl(tab.CurrentLogin(), queue, [] { return false; }, 0), "");
}

TEST(PmTabSandbox, LogInHistoryWithEachFilterAndARefreshAfterATransfer) {
    Sandbox sandbox;
    TabWorld w;
    w.clock.Set(std::time(nullptr));
    w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
    w.app.WriteString("PM", "PMHost", sandbox.HttpsHost());
    TrafficCounter counter;
    std::vector<std::string> transportMessages;
    TransportHooks hooks;
    hooks.showMessage = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.isHidden = [] { return false; };
    hooks.notifyUser = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.trafficChanged = [](const std::string&) {};
    CurlTransport transport(w.app.Settings(), counter, hooks);
    TransportHost host(transport);

    CPerfectMoneyDlg tab(w.app, host);
    Child<QLineEdit>(tab, "accountEdit")->setText("1234567");
    Child<QLineEdit>(tab, "secretEdit")->setText("wrong");
    tab.Login();
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].rfind("Error : ", 0), 0u);
    EXPECT_FALSE(tab.IsLoggedIn());
    w.ui.messages.clear();

    Child<QLineEdit>(tab, "secretEdit")->setText("demo-pass");
    tab.Login();
    ASSERT_TRUE(transportMessages.empty()) << transportMessages[0];
    ASSERT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
    ASSERT_TRUE(tab.IsLoggedIn());
    ASSERT_EQ(tab.BalanceRows().size(), 3u);

    // Each filter: the dates alone, the dates and a batch, the "PM-Account" box.
    struct Case {
        QDate from, to;
        const char *counter, *batch;
        TextList batches;
    } cases[] = {
        {QDate(2025, 3, 15), QDate(2025, 3, 15), "", "", {"500001"}},
        {QDate(2007, 1, 1), QDate(2026, 6, 30), "", "500002", {"500002"}},
        {QDate(2025, 1, 1), QDate(2025, 1, 2), "e7654321", "", {"500003"}},
    };
    for (const Case& c : cases) {
        auto* box = Child<QCheckBox>(tab, "accountCheck");
        if (box->isChecked()) box->click();
        Child<QDateEdit>(tab, "fromDate")->setDate(c.from);
        Child<QDateEdit>(tab, "toDate")->setDate(c.to);
        Child<QCheckBox>(tab, "batchCheck")->setChecked(*c.batch != '\0');
        Child<QLineEdit>(tab, "batchEdit")->setText(c.batch);
        if (*c.counter != '\0') {
            box->click();  // 1 January 2007 to today
            QTest::keyClicks(Child<QLineEdit>(tab, "counterpartEdit"), c.counter);
        }
        tab.GetHistory();
        EXPECT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
        TextList batches;
        for (const std::string_view row : tab.HistoryRows()) batches.push_back(Split(row, "~")[5]);
        EXPECT_EQ(batches, c.batches) << c.counter << c.batch;
    }
    EXPECT_EQ(tab.TotalsText(), Str(144) + " : 50.50 -=- " + Str(145) + " : 0.00 -=- " +
                                    Str(146) + " : 50.50");

    SaveScreenshot(tab, "pm_tab.png");

    // The payee member pays 12.50 into U1234567 on the sandbox.
    PmClient payer(sandbox.HttpsHost());
    ASSERT_EQ(SendTransfer(payer, transport, {"7654321", "", "second-pass"},
                           {"U1234567~12.50~e2e refresh~R1~no~~no~U7654321~no"}, nullptr,
                           std::time(nullptr))
                  .state,
              TransferState::Confirmed);
    ASSERT_TRUE(payer.Answer().errors.empty()) << payer.ErrorReport();

    const std::string oldUsd = Split(tab.BalanceRows()[0], "~")[1];
    Child<QCheckBox>(tab, "batchCheck")->setChecked(false);
    const std::size_t beforeRefresh = host.urls.size();
    tab.RefreshBalance();
    ASSERT_EQ(host.notices.size(), 1u);
    const std::string newUsd = Split(tab.BalanceRows()[0], "~")[1];
    EXPECT_EQ(*pm::ExactCents(newUsd) - *pm::ExactCents(oldUsd), 1250);
    EXPECT_EQ(host.notices[0], Str(113) + " [PM<1234567>]\r\nU1234567 : " + oldUsd + "/" +
                                   newUsd + "\r\n");
    EXPECT_EQ(host.urls.size() - beforeRefresh, 2u);  // balance, then the history
    // Still filtered on E7654321 from 2007 to today: the payment into U1234567 is not there;
    // on U7654321 it is.
    EXPECT_EQ(tab.HistoryRows().size(), 1u);
    Child<QLineEdit>(tab, "counterpartEdit")->setText("U7654321");
    tab.GetHistory();
    ASSERT_FALSE(tab.HistoryRows().empty());
    const TextList latest = Split(tab.HistoryRows()[0], "~");
    EXPECT_EQ(latest[2], "12.50");
    EXPECT_EQ(latest[6], "e2e refresh ");
    EXPECT_EQ(latest[7], "R1");
    EXPECT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
    EXPECT_TRUE(transportMessages.empty());
}

}  // namespace
}  // namespace pw::test
