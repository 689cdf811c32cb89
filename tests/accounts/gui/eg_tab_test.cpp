// The e-gold tab on the real e-gold client: its own steps against a scripted main window (the
// price page before the first balance, the date range that always applies, the account filter
// and its message), then whole sessions against the sandbox over HTTPS and plain HTTP.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QBrush>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <ctime>

#include "accounts/eg/eg_client.h"
#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/e_gold_tab.h"
#include "net/curl_transport.h"
#include "support/sandbox.h"
#include "support/secret_rounds.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

const char kBalance[] =
    "<form><input type=hidden name=Gold_Ounces value=\"1.500000\">"
    "<input type=hidden name=Gold_Grams value=\"46.6545\">"
    "<input type=hidden name=Silver_Ounces value=\"0.123456\"></form>";
const char kCsv[] =
    "Date,Type,Batch,Metal,Weight,Account,Name,USD,Currency,Rate,Memo\n"
    "1/2/2009 10:11:12,Payment Received,40000001,Gold,0.500000,7654321,Payee Shop,450.00,USD,"
    "900.00,Invoice 17\n"
    "3/4/2009 8:00:00,Fee,40000002,Gold,-0.001000,,,0.90,USD,900.00,Fee\n";
const char kNoCounterpart[] =
    "You are checked option for select on EG-number, but don't entered it";

// Tells the requests sent over plain HTTP apart from the others.
class PlainHost : public ScriptedHost {
  public:
    std::vector<std::string> plain;
    std::function<void()> atPlain;
    std::string HttpGet(const SecureString& url) override {
        plain.emplace_back(url);
        if (atPlain) atPlain();
        return HttpsGet(url);
    }
};

class EgTabTest : public ::testing::Test {
  protected:
    EgTabTest() : tab(w.app, host) {}
    std::string Cell(const char* view, int row, int col, int role = Qt::DisplayRole) {
        QAbstractItemModel* m = tab.findChild<QTableView*>(view)->model();
        return m->data(m->index(row, col), role).toString().toStdString();
    }
    QVariant Data(const char* view, int row, int col, int role) {
        QAbstractItemModel* m = tab.findChild<QTableView*>(view)->model();
        return m->data(m->index(row, col), role);
    }
    void Fill(const char* account, const char* phrase) {
        tab.findChild<QLineEdit*>("accountEdit")->setText(account);
        tab.findChild<QLineEdit*>("secretEdit")->setText(phrase);
    }
    TabWorld w;
    PlainHost host;
    CEGoldDlg tab;
};

TEST_F(EgTabTest, ALoginWithoutPricesFetchesThemPlainAfterSavingThenTheBalance) {
    EXPECT_TRUE(tab.findChild<QLineEdit*>("apiNameEdit")->isHidden());
    tab.Login();
    Fill("1234567", "");
    tab.Login();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(132), Str(112)}));
    EXPECT_TRUE(host.urls.empty());

    Fill("1234567", "demopass1");
    std::string savedAtPrices;
    host.atPlain = [&] { savedAtPrices = w.app.GetSecret("EG", "EGAccountLast"); };
    host.answers = {"12/8/2026,900.00,12.50", kBalance};
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    EXPECT_EQ(savedAtPrices, "1234567");
    EXPECT_EQ(host.plain,
              std::vector<std::string>{"http://www.e-gold.com/unsecure/metaldata.asp?LATEST=1"});
    ASSERT_EQ(host.urls.size(), 2u);
    EXPECT_EQ(host.urls[1],
              "https://www.e-gold.com/acct/balance.asp?AccountID=1234567&Passphrase=demopass1");
    const char* cells[2][6] = {
        {" Gold", "1.500000", "46.6545", " 900.00", "1350.00", " 2009-03-05 12:00:00"},
        {" Silver", "0.123456", "3.8399", " 12.50", "1.54", " 2009-03-05 12:00:00"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell("balanceTable", r, c), cells[r][c]) << r << c;

    // A refresh asks no prices; the notice compares the Ounces and reports the USD, and the
    // history is fetched.
    host.answers = {
        "<input type=hidden name=Gold_Ounces value=\"1.400000\">"
        "<input type=hidden name=Silver_Ounces value=\"0.123456\">",
        kCsv};
    tab.RefreshBalance();
    EXPECT_EQ(host.plain.size(), 1u);
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0], Str(113) + " [EG<1234567>]\r\nGold : 1350.00/1260.00\r\n");
    ASSERT_EQ(host.urls.size(), 4u);
    EXPECT_EQ(host.urls[3].rfind("https://www.e-gold.com/acct/historycsv.asp?AccountID=1234567", 0),
              0u);
    EXPECT_EQ(tab.HistoryRows().size(), 2u);

    // Change Account forgets the prices: the next login asks again, and an error answer is
    // reported in one message with the login fields open.
    tab.RunCommand(TabCommand::ChangeAccount);
    EXPECT_TRUE(tab.Eg().Prices().empty());
    host.answers = {"x,901.00",
                    "<input type=hidden name=ERROR value=\"Invalid AccountID or PassPhrase\">"};
    w.ui.messages.clear();
    tab.Login();
    EXPECT_EQ(host.plain.size(), 2u);
    EXPECT_EQ(tab.Eg().Prices(), TextList{"901.00"});
    EXPECT_EQ(w.ui.messages,
              std::vector<std::string>{"Error : Invalid AccountID or PassPhrase \n"});
    EXPECT_FALSE(tab.IsLoggedIn());
    EXPECT_TRUE(tab.findChild<QLineEdit*>("accountEdit")->isEnabled());
}

TEST_F(EgTabTest, TheDateRangeAlwaysAppliesAndEachFilterGoesIntoTheRequest) {
    auto* fromTo = tab.findChild<QCheckBox*>("fromToCheck");
    auto* account = tab.findChild<QCheckBox*>("accountCheck");
    auto* batch = tab.findChild<QCheckBox*>("batchCheck");
    auto* counterpart = tab.findChild<QLineEdit*>("counterpartEdit");
    auto* batchEdit = tab.findChild<QLineEdit*>("batchEdit");
    EXPECT_TRUE(fromTo->isChecked());
    EXPECT_FALSE(fromTo->isEnabled());
    EXPECT_TRUE(tab.findChild<QDateEdit*>("fromDate")->isEnabled());
    EXPECT_TRUE(tab.findChild<QCheckBox*>("getLastCheck")->isHidden());
    QTest::keyClicks(counterpart, "ab12");
    EXPECT_EQ(counterpart->text(), "AB12");
    QTest::keyClicks(batchEdit, "4x0");
    EXPECT_EQ(batchEdit->text(), "40");
    EXPECT_EQ(counterpart->alignment(), Qt::AlignCenter);

    Fill("1234567", "demopass1");
    tab.findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 1, 2));
    tab.findChild<QDateEdit*>("toDate")->setDate(QDate(2009, 12, 31));
    const std::string head =
        "https://www.e-gold.com/acct/historycsv.asp?AccountID=1234567&PassPhrase=demopass1"
        "&startmonth=1&startday=2&startyear=2009&endmonth=12&endday=31&endyear=2009"
        "&paymentsreceived=1&paymentsmade=1&inexchanges=1&outexchanges=1"
        "&bailments=1&redemptions=1&fees=1&incentives=1";
    const struct {
        bool byAccount;
        const char* who;
        bool byBatch;
        const char* batch;
        std::string message, tail;
    } cases[] = {
        {true, "", false, "", kNoCounterpart, ""},
        {true, "", true, "", kNoCounterpart, ""},
        {false, "", true, "", Str(117), ""},
        {false, "", false, "", "", "&desc=1"},
        {true, "7654321", false, "", "", "&counterfilter=7654321&desc=1"},
        {true, "7654321", true, "40000008", "",
         "&counterfilter=7654321&batchfilter=40000008&desc=1"},
        {false, "", true, "40000003", "", "&batchfilter=40000003&desc=1"},
    };
    for (const auto& c : cases) {
        account->setChecked(c.byAccount);
        counterpart->setText(c.who);
        batch->setChecked(c.byBatch);
        batchEdit->setText(c.batch);
        w.ui.messages.clear();
        host.urls.clear();
        host.answers = {kCsv};
        tab.GetHistory();
        EXPECT_EQ(w.ui.messages, c.message.empty() ? std::vector<std::string>{}
                                                   : std::vector<std::string>{c.message})
            << c.tail;
        EXPECT_EQ(host.urls, c.tail.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{head + c.tail});
        EXPECT_TRUE(fromTo->isChecked() && !fromTo->isEnabled());
    }
    // A history while not logged in logs in and leaves the balance table alone.
    EXPECT_TRUE(tab.IsLoggedIn());
    EXPECT_TRUE(tab.BalanceRows().empty());
    EXPECT_TRUE(host.plain.empty());
    EXPECT_EQ(Cell("historyTable", 0, 0), " 01/02/2009 10:11:12");
    EXPECT_EQ(Cell("historyTable", 1, 3), "-0.001000");
    EXPECT_EQ(Cell("historyTable", 1, 4), "-0.90");
    EXPECT_EQ(Data("historyTable", 1, 3, Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));
    EXPECT_EQ(Data("historyTable", 0, 4, Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0, 180, 0));
    EXPECT_FALSE(Data("historyTable", 0, 3, Qt::FontRole).isValid());
    EXPECT_TRUE(Data("historyTable", 0, 4, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(tab.TotalsText(),
              Str(144) + " : 450.00 -=- " + Str(145) + " : 0.90 -=- " + Str(146) + " : 449.10");
    // "No Records Found." empties the table.
    host.answers = {"Date,Type\nNo Records Found.\n"};
    tab.GetHistory();
    EXPECT_TRUE(tab.HistoryRows().empty());
}

TEST_F(EgTabTest, HistoryForAccountNeedsACounterpartAndTheRecordIsEGolds) {
    Fill("1234567", "demopass1");
    host.answers = {kCsv};
    tab.GetHistory();
    ASSERT_EQ(tab.HistoryRows().size(), 2u);
    tab.SelectHistoryRow(1);  // the fee has no counterpart
    std::vector<MenuItem> items = tab.HistoryMenu();
    EXPECT_EQ(FindItem(items, TabCommand::HistoryForAccount)->text, Str(147));
    EXPECT_FALSE(FindItem(items, TabCommand::HistoryForAccount)->enabled);
    tab.RunCommand(TabCommand::HistoryForAccount);
    EXPECT_EQ(host.urls.size(), 1u);
    EXPECT_TRUE(w.ui.messages.empty());

    tab.SelectHistoryRow(0);
    items = tab.HistoryMenu();
    EXPECT_EQ(FindItem(items, TabCommand::HistoryForAccount)->text,
              Str(147) + " 7654321 (Payee Shop)");
    w.app.WriteInt("Setting", "HideLastDigit", 1);
    w.app.WriteInt("Setting", "HideLastDigitValue", 3);
    EXPECT_EQ(tab.SelectedRecordText(),
              "Date : 01/02/2009 10:11:12\r\nPayment Type : Payment Received\r\n"
              "From/To Account : 7654*** (Payee Shop)\r\nWeight : 0.500000 oz Gold\r\n"
              "Amount : 450.00\r\nCurrency : USD\r\nBatch : 40000001\r\nMemo : Invoice 17");
    tab.findChild<QCheckBox*>("batchCheck")->setChecked(true);
    tab.findChild<QLineEdit*>("batchEdit")->setText("40000002");
    host.answers = {kCsv};
    tab.RunCommand(TabCommand::HistoryForAccount);
    ASSERT_EQ(host.urls.size(), 2u);
    EXPECT_NE(host.urls[1].find("&incentives=1&counterfilter=7654321&desc=1"), std::string::npos);
    EXPECT_TRUE(tab.findChild<QCheckBox*>("fromToCheck")->isChecked());
}

TEST_F(EgTabTest, TheFactoryMakesTheEGoldTab) {
    std::unique_ptr<AccountTabWidget> eg(CreateAccountTab(3, w.app, host, nullptr));
    EXPECT_NE(dynamic_cast<CEGoldDlg*>(eg.get()), nullptr);
    EXPECT_EQ(eg->accessibleName(), "e-gold");
}

// ---- Against the sandbox -----------------------------------------------------------------

// A main window whose requests go through the real transport, the price page's as plain http.
class HttpTransportHost : public TransportHost {
  public:
    using TransportHost::TransportHost;
    std::string HttpGet(const SecureString& url) override {
        urls.emplace_back(url);
        return transport.HttpGet(url);
    }
};

class EgTabSandbox : public ::testing::Test {
  protected:
    EgTabSandbox() {
        w.clock.Set(std::time(nullptr));
        w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
        w.app.WriteString("EG", "EGHost", sandbox.EgHost());
        w.app.WriteString("EG", "EGPriceHost", sandbox.HttpHost());
        hooks.showMessage = [this](const std::string& m) { transportMessages.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = [this](const std::string& m) { transportMessages.push_back(m); };
        hooks.trafficChanged = [](const std::string&) {};
        transport = std::make_unique<CurlTransport>(w.app.Settings(), counter, hooks);
        host = std::make_unique<HttpTransportHost>(*transport);
        tab = std::make_unique<CEGoldDlg>(w.app, *host);
    }
    void Login(const char* account, const char* phrase) {
        tab->findChild<QLineEdit*>("accountEdit")->setText(account);
        tab->findChild<QLineEdit*>("secretEdit")->setText(phrase);
        tab->Login();
    }
    std::size_t History(QDate from, QDate to, const char* who, const char* batch) {
        tab->findChild<QDateEdit*>("fromDate")->setDate(from);
        tab->findChild<QDateEdit*>("toDate")->setDate(to);
        tab->findChild<QCheckBox*>("accountCheck")->setChecked(*who != '\0');
        tab->findChild<QLineEdit*>("counterpartEdit")->setText(who);
        tab->findChild<QCheckBox*>("batchCheck")->setChecked(*batch != '\0');
        tab->findChild<QLineEdit*>("batchEdit")->setText(batch);
        tab->GetHistory();
        return tab->HistoryRows().size();
    }
    Sandbox sandbox;
    TabWorld w;
    TrafficCounter counter;
    std::vector<std::string> transportMessages;
    TransportHooks hooks;
    std::unique_ptr<CurlTransport> transport;
    std::unique_ptr<HttpTransportHost> host;
    std::unique_ptr<CEGoldDlg> tab;
};

// A passphrase saved in the settings goes from its deciphering through the saved accounts,
// the login box and the request builders to the transport: once the tab is closed no copy of
// it is left (the line edits' own QString copies are UTF-16 and Qt's). The passphrase is one
// the server refuses, long enough that no text of it fits a string's inline buffer: every copy
// is a block of the heap.
TEST_F(EgTabSandbox, NoCopyOfTheSavedPassphraseOutlivesTheTab) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "memory scan without AddressSanitizer only";
#endif
    static constexpr auto kLong = MaskedAtCompileTime("a-long-passphrase-of-the-account-7");
    const std::string masked = MaskedText(kLong);
    {
        std::string plain(Unmasked(masked));
        w.app.Settings().WriteSecret("EG", "EGPass", plain);
        WipeString(plain);
        for (const char* key : {"EG_AccountID", "EGAccountLast"})
            w.app.Settings().WriteSecret("EG", key, "1234567");
        w.app.Settings().WriteSecret("EG", "EGSave", "true");
    }
    ASSERT_EQ(CopiesInMemory(masked), 0u);
    tab = std::make_unique<CEGoldDlg>(w.app, *host);
    tab->Login();
    tab->GetHistory();
    ASSERT_EQ(host->urls.size(), 3u);  // the price page, the balance and the history
    EXPECT_FALSE(tab->IsLoggedIn());
    tab.reset();
    for (std::string& url : host->urls) WipeString(url);  // the test host's own record
    EXPECT_EQ(CopiesInMemory(masked), 0u);
}

TEST_F(EgTabSandbox, LogInEveryFilterAndARefreshAfterASpendFromThePayee) {
    Login("1234567", "demopass1");
    ASSERT_TRUE(transportMessages.empty()) << transportMessages[0];
    ASSERT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
    ASSERT_TRUE(tab->IsLoggedIn());
    ASSERT_EQ(host->urls.size(), 2u);
    EXPECT_EQ(host->urls[0].rfind("http://", 0), 0u);
    const TextList gold = Split(tab->BalanceRows()[0], "~");
    EXPECT_EQ(TextList(gold.begin(), gold.begin() + 5),
              (TextList{"Gold", "1.500000", "46.6545", "900.00", "1350.00"}));
    EXPECT_EQ(tab->BalanceRows().size(), 4u);

    const QDate jan1(2009, 1, 1), dec31(2009, 12, 31);
    EXPECT_EQ(History(jan1, dec31, "", ""), 8u);
    EXPECT_EQ(History(jan1, dec31, "7654321", ""), 2u);
    EXPECT_EQ(History(jan1, dec31, "7654321", "40000008"), 1u);
    EXPECT_EQ(History(jan1, dec31, "", "40000003"), 1u);
    EXPECT_EQ(History(QDate(2009, 2, 1), QDate(2009, 2, 20), "", ""), 4u);
    EXPECT_EQ(History(QDate(2010, 1, 1), QDate(2010, 1, 31), "", ""), 0u);
    EXPECT_EQ(tab->TotalsText(),
              Str(144) + " : 0.00 -=- " + Str(145) + " : 0.00 -=- " + Str(146) + " : 0.00");
    EXPECT_EQ(History(jan1, dec31, "", ""), 8u);
    EXPECT_TRUE(w.ui.messages.empty());

    // A picture of the logged-in tab for the record.
    SaveScreenshot(*tab, "eg_tab.png");

    // The payee spends 9.00 USD worth of gold (0.01 oz) to the demo account.
    std::unique_ptr<EgClient> payee = MakeEGoldClient(w.app.Settings());
    const std::string url(payee->TransferUrl({"7654321", "", "payeepass2"},
                                             {"1234567~9.00~e2e spend~P-7~no~~no~Gold~no"}, nullptr,
                                             w.clock.Now()));
    payee->Parse(transport->HttpsGet(url), RequestKind::Transfer, true);
    ASSERT_TRUE(payee->Answer().errors.empty()) << payee->ErrorReport();

    std::tm tm{};
    const std::time_t now = std::time(nullptr);
    gmtime_r(&now, &tm);
    const QDate today(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    tab->findChild<QDateEdit*>("fromDate")->setDate(today);
    tab->findChild<QDateEdit*>("toDate")->setDate(today);
    const std::size_t sent = host->urls.size();
    tab->RefreshBalance();
    EXPECT_EQ(host->urls.size() - sent, 2u);  // the balance, then the history; no prices
    ASSERT_EQ(host->notices.size(), 1u);
    EXPECT_EQ(host->notices[0], "Balance is changed [EG<1234567>]\r\nGold : 1350.00/1359.00\r\n");
    ASSERT_EQ(tab->HistoryRows().size(), 1u);
    const TextList row = Split(tab->HistoryRows()[0], "~");
    EXPECT_EQ(row[1], "Payment Received");
    EXPECT_EQ(row[3], "0.010000");
    EXPECT_EQ(row[4], "9.00");
    EXPECT_EQ(row[5].rfind("7654321 (", 0), 0u) << row[5];
    EXPECT_EQ(row[9], "e2e spend");
    EXPECT_TRUE(transportMessages.empty());
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(EgTabSandbox, AWrongPassPhraseIsReportedAndTheLoginFieldsStayOpen) {
    Login("1234567", "wrong");
    EXPECT_EQ(w.ui.messages,
              std::vector<std::string>{"Error : Invalid AccountID or PassPhrase \n"});
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(tab->findChild<QLineEdit*>("secretEdit")->isEnabled());
    EXPECT_EQ(tab->Eg().Prices().size(), 4u);  // kept: the next login asks none
    Login("1234567", "demopass1");
    EXPECT_TRUE(tab->IsLoggedIn());
    EXPECT_EQ(host->urls.size(), 3u);
    EXPECT_TRUE(transportMessages.empty());
}

}  // namespace
}  // namespace pw::test
