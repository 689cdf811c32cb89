// A second system on the account tab frame, written as a new system would be: traits, a
// client and a few overrides. Metal balances with their own column formats, a coloured column
// that is not the amount, its own record text, a price request before the balance request, a
// filter corrected without a message, a fixed-text message, and features that stay disabled
// until a handler is supplied.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QFont>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <tuple>

#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

SystemTraits MetalTraits() {
    SystemTraits t = ScriptedTraits();
    t.systemIndex = 3;  // the "EG" section: no "Get last", dates always sent
    t.prefix = "EG";
    t.systemName = "Metal";
    t.balanceColumns = {{"Metal", Align::Center, 50},
                        {"Ounces", Align::Right, 60, "%.6f"},
                        {"Grams", Align::Right, 60, "%.4f"},
                        {"USD", Align::Right, 50, "%.2f"}};
    t.historyColumns = {{"Date", Align::Left, 100},
                        {"Weight", Align::Right, 70, "%.6f", true, false},
                        {"Amount", Align::Right, 50, "%.2f", true, true},
                        {"From/To", Align::Left, 110},
                        {"Memo", Align::Left, 150, ""}};
    t.balanceTableFile = "EGBalance.set";
    t.historyTableFile = "EGHistory.set";
    t.accountLabel = "AccountID";
    t.secretLabel = "PassPhrase";
    t.hasApiName = false;
    t.msgNoAccount = 132;
    t.msgNoCounterpart = "The e-gold account to select on was not entered.";
    t.counterpartLabel = "EG-Account";
    t.historyAmountColumn = 2;
    t.historyCounterpartColumn = 3;
    t.record.lines = {{"Date : %s", {0}}, {"From/To Account : %s", {3}}, {"Weight : %s", {1}},
                      {"Memo : %s", {4}}};
    t.record.counterpartField = 3;
    t.record.endsWithLineBreak = true;
    t.change = ChangeFields{0, 1, 3};  // compares Ounces, reports USD
    return t;
}

// The prices answer is "x,<price>,<price>..."; the client keeps them for its balance rows.
class MetalClient : public ScriptedClient {
  public:
    MetalClient() : ScriptedClient(MetalTraits()) {}
    TextList prices;
};

class MetalTab : public CAccountTab {
  public:
    MetalTab(CPursewardApp& app, TabHost& host)
        : CAccountTab(std::make_unique<MetalClient>(), app, host) {
        Init();
    }
    MetalClient& Metal() { return static_cast<MetalClient&>(Client()); }
    using CAccountTab::HasFeature;

  protected:
    // The prices are fetched over plain HTTP once, before the first balance request.
    bool Step(TabStep step, const LoginFields& login) override {
        if (step != TabStep::LoginChecked || !Metal().prices.empty())
            return CAccountTab::Step(step, login);
        TextList pieces = Split(Request("http://127.0.0.1/prices", false), ",");
        pieces.erase(pieces.begin());
        Metal().prices = pieces;
        return true;
    }
    // A from-date after today becomes today, without a message.
    FilterCheck CheckFilter(HistoryFilter& filter) const override {
        FilterCheck check = CAccountTab::CheckFilter(filter);
        const Date today = Today();
        if (std::tie(filter.from.year, filter.from.month, filter.from.day) >
            std::tie(today.year, today.month, today.day))
            filter.from = today;
        return check;
    }
    void ChangeAccount() override {
        CAccountTab::ChangeAccount();
        Metal().prices.clear();
    }
};

class SecondSystemTest : public ::testing::Test {
  protected:
    SecondSystemTest() : tab(w.app, w.host) {}
    std::string Cell(const char* view, int row, int col, int role = Qt::DisplayRole) {
        QAbstractItemModel* m = tab.findChild<QTableView*>(view)->model();
        return m->data(m->index(row, col), role).toString().toStdString();
    }
    QVariant Data(const char* view, int row, int col, int role) {
        QAbstractItemModel* m = tab.findChild<QTableView*>(view)->model();
        return m->data(m->index(row, col), role);
    }
    void LogIn() {
        tab.findChild<QLineEdit*>("accountEdit")->setText("1234");
        tab.findChild<QLineEdit*>("secretEdit")->setText("phrase");
        w.host.answers.push_back("x,900.00,15.00");
        w.host.answers.push_back("B:Gold~1.5~46.6545~1350\nB:Silver~0.123456~3.8399~1.85\n");
        tab.Login();
        ASSERT_TRUE(tab.IsLoggedIn());
    }
    TabWorld w;
    MetalTab tab;
};

TEST_F(SecondSystemTest, PricesAreFetchedBeforeTheBalanceAndCellsUseTheColumnFormats) {
    EXPECT_TRUE(tab.findChild<QLineEdit*>("apiNameEdit")->isHidden());
    tab.findChild<QLineEdit*>("secretEdit")->setText("phrase");
    tab.Login();  // no account: the system's message, nothing sent
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(132)});
    EXPECT_TRUE(w.host.urls.empty());

    LogIn();
    ASSERT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(w.host.urls[0], "http://127.0.0.1/prices");
    EXPECT_EQ(w.host.urls[1].rfind("https://127.0.0.1/balance?acct=1234", 0), 0u);
    EXPECT_EQ(tab.Metal().prices, (TextList{"900.00", "15.00"}));
    EXPECT_EQ(tab.Metal().kinds, std::vector<RequestKind>{RequestKind::Balance});
    EXPECT_EQ(Cell("balanceTable", 0, 0), " Gold");
    EXPECT_EQ(Cell("balanceTable", 0, 1), "1.500000");
    EXPECT_EQ(Cell("balanceTable", 1, 1), "0.123456");
    EXPECT_EQ(Cell("balanceTable", 1, 2), "3.8399");
    EXPECT_EQ(Cell("balanceTable", 0, 3), "1350.00");

    // A refresh asks no prices again; the notice compares Ounces and reports USD.
    w.host.answers.push_back("B:Gold~2~62.206~1800\nB:Silver~0.123456~3.8399~1.90\n");
    w.host.answers.push_back("H:d~0.5~450~A1 (Shop)~m\n");
    tab.RefreshBalance();
    EXPECT_EQ(w.host.urls.size(), 4u);
    ASSERT_EQ(w.host.notices.size(), 1u);
    EXPECT_EQ(w.host.notices[0], Str(113) + " [EG<1234>]\r\nGold : 1350/1800\r\n");
    EXPECT_EQ(tab.Metal().kinds.back(), RequestKind::History);

    // Weight is coloured but not bold; Amount is both; Memo has no leading blank.
    EXPECT_EQ(Cell("historyTable", 0, 1), "0.500000");
    EXPECT_EQ(Data("historyTable", 0, 1, Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0, 180, 0));
    EXPECT_FALSE(Data("historyTable", 0, 1, Qt::FontRole).isValid());
    EXPECT_TRUE(Data("historyTable", 0, 2, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(Data("historyTable", 0, 3, Qt::ForegroundRole).isValid());
    EXPECT_EQ(Cell("historyTable", 0, 4), "m");
    EXPECT_EQ(tab.TotalsText(),
              Str(144) + " : 450.00 -=- " + Str(145) + " : 0.00 -=- " + Str(146) + " : 450.00");

    // ChangeAccount of the system also forgets the prices: the next login asks again.
    tab.RunCommand(TabCommand::ChangeAccount);
    EXPECT_TRUE(tab.Metal().prices.empty());
}

TEST_F(SecondSystemTest, TheRecordTextIsTheSystemsOwn) {
    LogIn();
    w.host.answers.push_back("H:2009-03-05~-0.25~-225~A1234567 (Shop)~rent\n");
    tab.GetHistory();
    w.app.WriteInt("Setting", "HideLastDigit", 1);
    w.app.WriteInt("Setting", "HideLastDigitValue", 2);
    tab.SelectHistoryRow(0);
    const std::string text =
        "Date : 2009-03-05\r\nFrom/To Account : A12345** (Shop)\r\nWeight : -0.25\r\n"
        "Memo : rent\r\n";
    EXPECT_EQ(tab.SelectedRecordText(), text);
    tab.RunCommand(TabCommand::CopyRecord);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
    // Get history for account takes the first word of the system's counterpart column.
    w.host.answers.push_back("");
    tab.RunCommand(TabCommand::HistoryForAccount);
    EXPECT_NE(w.host.urls.back().find("&with=A1234567"), std::string::npos);
}

TEST_F(SecondSystemTest, AFutureFromDateIsCorrectedSilentlyAndFixedTextsAreShown) {
    LogIn();
    auto* from = tab.findChild<QDateEdit*>("fromDate");
    tab.findChild<QCheckBox*>("fromToCheck")->setChecked(true);
    from->setDate(QDate(2009, 4, 1));
    w.host.answers.push_back("");
    tab.GetHistory();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(from->date(), QDate(2009, 3, 5));
    EXPECT_NE(w.host.urls.back().find("&from=05/03/2009"), std::string::npos);

    // Without "Get last" no option at all is no fault (no 114); the request goes out.
    tab.findChild<QCheckBox*>("fromToCheck")->setChecked(false);
    const std::size_t sent = w.host.urls.size();
    w.host.answers.push_back("");
    tab.GetHistory();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(w.host.urls.size(), sent + 1);

    // A message of the system that the string table does not have.
    tab.findChild<QCheckBox*>("accountCheck")->setChecked(true);
    tab.GetHistory();
    EXPECT_EQ(w.ui.messages,
              std::vector<std::string>{"The e-gold account to select on was not entered."});
    EXPECT_EQ(w.host.urls.size(), sent + 1);
}

TEST_F(SecondSystemTest, FeaturesStayDisabledUntilTheirHandlerIsSupplied) {
    LogIn();
    tab.SelectBalanceRow(0);
    w.host.answers.push_back("H:d~0.5~450~A1 (Shop)~m\n");
    tab.GetHistory();
    tab.SelectHistoryRow(0);
    std::vector<MenuItem> balance = tab.BalanceMenu();
    std::vector<MenuItem> history = tab.HistoryMenu();
    EXPECT_TRUE(FindItem(balance, TabCommand::CopyAccountNumber)->enabled);  // a row is selected
    EXPECT_FALSE(FindItem(balance, TabCommand::MakePayment)->enabled);
    EXPECT_FALSE(FindItem(balance, TabCommand::MakeMassPayment)->enabled);
    EXPECT_TRUE(FindItem(history, TabCommand::ExportCsv)->enabled);  // a record format: export
    EXPECT_TRUE(FindItem(history, TabCommand::CopyRecord)->enabled);
    tab.RunCommand(TabCommand::MakePayment);  // nothing to run, nothing happens
    EXPECT_TRUE(w.ui.messages.empty());
    auto* choose = tab.findChild<QToolButton*>("chooseButton");
    tab.RunCommand(TabCommand::ChangeAccount);
    EXPECT_FALSE(choose->isEnabled());  // login fields open, but no chooser yet

    LogIn();
    std::vector<std::string> runs;
    tab.SetFeature(TabFeature::Payment,
                   [&] { runs.push_back("pay " + std::to_string(tab.SelectedBalanceRow())); });
    tab.SetFeature(TabFeature::SavedAccounts, [&] { runs.push_back("choose"); });
    tab.SelectBalanceRow(1);
    balance = tab.BalanceMenu();
    EXPECT_TRUE(FindItem(balance, TabCommand::MakePayment)->enabled);
    EXPECT_FALSE(FindItem(balance, TabCommand::MakeMassPayment)->enabled);
    tab.RunCommand(TabCommand::MakePayment);
    EXPECT_FALSE(choose->isEnabled());  // logged in
    tab.RunCommand(TabCommand::ChangeAccount);
    EXPECT_TRUE(choose->isEnabled());
    choose->click();
    EXPECT_EQ(runs, (std::vector<std::string>{"pay 1", "choose"}));
    tab.SetFeature(TabFeature::SavedAccounts, nullptr);
    EXPECT_FALSE(choose->isEnabled());
}

// A minimal tab whose history request changes no table: it traces its steps and keeps the
// answer text (as the event log would).
class TracingTab : public CAccountTab {
  public:
    TracingTab(CPursewardApp& app, TabHost& host)
        : CAccountTab(std::make_unique<ScriptedClient>(Traits()), app, host) {
        Init();
    }
    static SystemTraits Traits() {
        SystemTraits t = ScriptedTraits();
        t.systemIndex = 5;
        t.prefix = "ECU";
        t.systemName = "ECU";
        t.full = false;
        t.hasApiName = false;
        t.balanceTableFile = "ECUBalance.set";
        t.historyTableFile = "ECUHistory.set";
        return t;
    }
    ScriptedClient& Scripted() { return static_cast<ScriptedClient&>(Client()); }
    std::vector<std::string> trace;

  protected:
    bool Step(TabStep step, const LoginFields& login) override {
        trace.push_back("step " + std::to_string(static_cast<int>(step)));
        return CAccountTab::Step(step, login);
    }
    void FetchHistory(const LoginFields& login, const HistoryFilter& filter) override {
        const std::string body = Request(Client().HistoryUrl(login, filter, 0, 0));
        trace.push_back("answer " + body);
        Client().Parse(body, RequestKind::History, true);
    }
    void ShowHistoryAnswer(const ParsedAnswer&) override {}
};

TEST(TracingTabTest, StepsInOrderAndAHistoryThatChangesNoTable) {
    TabWorld w;
    TracingTab tab(w.app, w.host);
    tab.findChild<QLineEdit*>("accountEdit")->setText("E1");
    tab.findChild<QLineEdit*>("secretEdit")->setText("pw");
    w.host.answers.push_back("B:USD~3.00~d~E1\n");
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    using S = TabStep;
    std::vector<std::string> want;
    for (S s : {S::LoginStart, S::LoginChecked, S::BeforeBalance, S::BalanceAnswered,
                S::BalanceRows, S::LoggedInTimers, S::LoggedInBanner, S::BalanceShown})
        want.push_back("step " + std::to_string(static_cast<int>(s)));
    EXPECT_EQ(tab.trace, want);

    tab.trace.clear();
    w.host.answers.push_back("H:d~U1~5.00~0~5~USD~1~m~false~api\nE:1~shown nowhere\n");
    tab.GetHistory();
    want.clear();
    for (S s : {S::HistoryChecked, S::BeforeHistory})
        want.push_back("step " + std::to_string(static_cast<int>(s)));
    want.push_back("answer H:d~U1~5.00~0~5~USD~1~m~false~api\nE:1~shown nowhere\n");
    want.push_back("step " + std::to_string(static_cast<int>(S::HistoryAnswered)));
    EXPECT_EQ(tab.trace, want);
    EXPECT_TRUE(tab.HistoryRows().empty());
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(tab.Scripted().kinds,
              (std::vector<RequestKind>{RequestKind::Balance, RequestKind::History}));
}

}  // namespace
}  // namespace pw::test
