// The GDP and ECUMoney tabs on their real clients: scripted answers through a recording main
// window, then a whole session of each against the sandbox over HTTPS. Both tabs log in and
// fetch their history; the event log gets the traces and answers, never a credential.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>

#include "accounts/ecu/ecu_client.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/ecu_money_tab.h"
#include "accounts/gui/gdp_tab.h"
#include "net/curl_transport.h"
#include "support/sandbox.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

// The entries of the event log, each without its time stamp (every entry of a test carries
// the same one: the clock stands still).
std::vector<std::string> LogEntries(const std::string& dir) {
    const std::string text = ReadFile(dir + "Purseward.log");
    std::vector<std::string> out;
    if (text.size() < 23) return out;
    const std::string stamp = text.substr(0, 21);  // "dd/mm/yyyy hh:mm:ss  "
    const std::string next = "\r\n" + stamp;
    std::size_t pos = stamp.size();
    for (std::size_t at = text.find(next, pos); at != std::string::npos;
         at = text.find(next, pos)) {
        out.push_back(text.substr(pos, at - pos));
        pos = at + next.size();
    }
    out.push_back(text.substr(pos, text.size() - 2 - pos));
    return out;
}

void SetText(QWidget& tab, const char* name, std::string_view text) {
    tab.findChild<QLineEdit*>(name)->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
// The login fields; the ECUMoney tab has no second field (it stays hidden and unused).
void FillLogin(QWidget& tab, const LoginFields& login) {
    SetText(tab, "accountEdit", login.account);
    SetText(tab, "apiNameEdit", login.apiName);
    SetText(tab, "secretEdit", login.secret);
}
QCheckBox* Check(QWidget& tab, const char* name) { return tab.findChild<QCheckBox*>(name); }

std::string Cell(QWidget& tab, const char* view, int row, int col) {
    QAbstractItemModel* m = tab.findChild<QTableView*>(view)->model();
    return m->data(m->index(row, col)).toString().toStdString();
}

// ---- GDP --------------------------------------------------------------------------------

class GdpTabTest : public ::testing::Test {
protected:
    GdpTabTest() : tab(std::make_unique<GdpClient>("gdp.test"), w.app, w.host) {}
    std::vector<std::string> Log() { return LogEntries(w.dir.Path()); }
    TabWorld w;
    CGDPDlg tab;
};

// The login traces, with the answer after "SendData".
std::vector<std::string> LoginTrace(const std::string& answer, bool rows) {
    std::vector<std::string> t(gdp::kLoginTraces.begin(), gdp::kLoginTraces.begin() + 4);
    t.push_back(answer);
    t.push_back(gdp::kLoginTransformXml);
    if (rows) t.insert(t.end(), gdp::kLoginTraces.begin() + 5, gdp::kLoginTraces.end());
    return t;
}

TEST_F(GdpTabTest, AnErrorBesideABalanceIsShownAndStillLogsIn) {
    EXPECT_EQ(tab.Traits().currencies, (TextList{"USD", "EUR", "GBP"}));
    const std::string answer =
        "<response><error>Low limit</error><balance><GBP>7.25</GBP><USD>125.5</USD>"
        "</balance></response>";
    w.host.answers.push_back(answer);
    FillLogin(tab, {"GDP1001", "ST-77", "gdp+key&1"});
    tab.Login();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{"Error : Low limit \n"});
    ASSERT_TRUE(tab.IsLoggedIn());
    EXPECT_FALSE(tab.findChild<QPushButton*>("loginButton")->isEnabled());
    EXPECT_EQ(w.host.banners, 1);
    EXPECT_EQ(w.host.urls,
              std::vector<std::string>{
                  "https://gdp.test/api.htm?method=get&apicheck=gdp%2Bkey%261&balance=1"
                  "&account=GDP1001"});
    EXPECT_EQ(Log(), LoginTrace(answer, true));
    EXPECT_EQ(Cell(tab, "balanceTable", 0, 0), " USD");
    EXPECT_EQ(Cell(tab, "balanceTable", 0, 1), "125.50");
    EXPECT_EQ(Cell(tab, "balanceTable", 1, 0), " GBP");
    EXPECT_EQ(tab.TotalsText(), Str(144) + " : 0.00 -=- " + Str(145) + " : 0.00 -=- " +
                                    Str(146) + " : 0.00");
    // No commands on a minimal tab: the account stays for the rest of the run.
    tab.RunCommand(TabCommand::ChangeAccount);
    EXPECT_TRUE(tab.IsLoggedIn());
    // The tables keep the GDP file names.
    EXPECT_TRUE(std::filesystem::exists(w.dir.Path() + "Set/GBPBalance.set"));
    EXPECT_TRUE(std::filesystem::exists(w.dir.Path() + "Set/GBPHistory.set"));
}

TEST_F(GdpTabTest, MissingFieldsErrorsAndFailuresAreTracedAsFarAsTheyGo) {
    const struct {
        LoginFields login;
        std::string answer;
        std::vector<std::string> messages, log;
    } cases[] = {
        {{"", "ST-77", "k"}, "", {Str(132)}, {gdp::kLoginStart}},
        {{"GDP1001", "", "k"}, "", {Str(111)}, {gdp::kLoginStart}},
        {{"GDP1001", "ST-77", ""}, "", {Str(112)}, {gdp::kLoginStart}},
        {{"GDP1001", "ST-77", "k"}, "<error></error>", {"Error :   \n"},
         LoginTrace("<error></error>", false)},
        {{"GDP1001", "ST-77", "k"}, "", {}, LoginTrace("", false)},  // transport failure
    };
    for (const auto& c : cases) {
        TabWorld world;
        CGDPDlg t(std::make_unique<GdpClient>("gdp.test"), world.app, world.host);
        FillLogin(t, c.login);
        world.host.answers.push_back(c.answer);
        t.Login();
        EXPECT_EQ(world.ui.messages, c.messages) << c.answer;
        EXPECT_EQ(LogEntries(world.dir.Path()), c.log) << c.answer;
        EXPECT_FALSE(t.IsLoggedIn());
        EXPECT_TRUE(t.findChild<QPushButton*>("loginButton")->isEnabled());
        EXPECT_EQ(world.host.urls.size(), c.log.size() > 1 ? 1u : 0u);
    }
}

TEST_F(GdpTabTest, GetHistoryWritesTheTraceAndTheAnswerAndChangesNothingElse) {
    w.host.answers.push_back("<balance><USD>1.00</USD></balance>");
    FillLogin(tab, {"GDP1001", "ST-77", "gdp+key&1"});
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    const TextList balance = tab.BalanceRows().ToList();
    const std::size_t logged = Log().size();

    // The filter is only kept: no option ticked, a big count, an empty account filter.
    Check(tab, "getLastCheck")->click();
    EXPECT_FALSE(Check(tab, "accountCheck")->isEnabled());  // no update at the click
    Check(tab, "accountCheck")->setChecked(true);
    SetText(tab, "countEdit", "60");
    // An answer that echoes the key as typed and as sent: both are masked in the log.
    w.host.answers.push_back("<history><item><batch>7001</batch></item>gdp+key&1 "
                             "gdp%2Bkey%261</history>");
    tab.GetHistory();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(w.host.urls.back(),
              "https://gdp.test/api.htm?method=get&apicheck=gdp%2Bkey%261&history=1"
              "&account=GDP1001&store_id=ST-77");
    std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), logged + 2);
    EXPECT_EQ(log[logged], gdp::kHistorySendData);
    EXPECT_EQ(log[logged + 1], "<history><item><batch>7001</batch></item>*** ***</history>");
    const std::string text = ReadFile(w.dir.Path() + "Purseward.log");
    for (const char* secret : {"gdp+key&1", "gdp%2Bkey%261", "apicheck"})
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;
    EXPECT_EQ(tab.BalanceRows(), balance);
    EXPECT_TRUE(tab.HistoryRows().empty());
    EXPECT_TRUE(Check(tab, "accountCheck")->isChecked());
    EXPECT_EQ(w.app.GetInt("GDP", "CheckGDPAccount", 0), 1);
    EXPECT_EQ(w.app.GetInt("GDP", "CheckGetLast", 1), 0);
    EXPECT_EQ(w.app.GetInt("GDP", "FilterLastOperCount", 0), 60);

    // Missing credentials stop before anything is written.
    SetText(tab, "apiNameEdit", "");
    tab.GetHistory();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(111)});
    EXPECT_EQ(Log().size(), logged + 2);
}

// ---- ECUMoney ---------------------------------------------------------------------------

class EcuTabTest : public ::testing::Test {
protected:
    EcuTabTest() : tab(std::make_unique<EcuClient>("ecu.test"), w.app, w.host) {}
    void LogIn() {
        FillLogin(tab, {"E1000100", "", "ecu pass#1"});
        w.host.answers.push_back("12.345/0");
        tab.Login();
        ASSERT_TRUE(tab.IsLoggedIn());
    }
    TabWorld w;
    CECUMoneyDlg tab;
};

TEST_F(EcuTabTest, AnErrorWithTwoPiecesShowsTheErrorAndStaysLoggedOut) {
    tab.Login();
    SetText(tab, "accountEdit", "E1");
    tab.Login();
    EXPECT_EQ(w.ui.messages, (std::vector<std::string>{Str(132), Str(112)}));
    EXPECT_TRUE(w.host.urls.empty());

    SetText(tab, "secretEdit", "pw");
    w.host.answers.push_back("ERROR Low/7");
    tab.Login();
    EXPECT_EQ(w.ui.messages.back(), "Error : Low/7 \n");
    // An error is never shown as a result: no balances, not logged in.
    EXPECT_FALSE(tab.IsLoggedIn());
    EXPECT_EQ(w.host.banners, 0);
    EXPECT_TRUE(tab.BalanceRows().empty());
    EXPECT_EQ(w.host.urls.back(), "https://ecu.test/sci/balance.pl?login=E1&password=pw");
    // The login writes nothing to the event log.
    EXPECT_FALSE(std::filesystem::exists(w.dir.Path() + "Purseward.log"));
}

TEST_F(EcuTabTest, GetHistoryWithoutAnOptionShows114AndSendsNoFilter) {
    LogIn();
    auto* getLast = Check(tab, "getLastCheck");
    getLast->setChecked(false);
    tab.UpdateFilterControls();
    SetText(tab, "countEdit", "60");
    tab.findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 1, 2));
    SetText(tab, "counterpartEdit", "E2000200");
    SetText(tab, "batchEdit", "5002");
    w.host.answers.push_back("ERROR Invalid year ecu pass#1 / ecu%20pass%231");
    tab.GetHistory();
    // The answer's error is not shown.
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(114)});
    EXPECT_TRUE(getLast->isChecked());
    EXPECT_TRUE(tab.findChild<QLineEdit*>("countEdit")->isEnabled());
    EXPECT_FALSE(Check(tab, "accountCheck")->isEnabled());
    EXPECT_EQ(w.host.urls.back(),
              "https://ecu.test/sci/history.pl?login=E1000100&password=ecu%20pass%23"
              "1&endyear=2009");
    EXPECT_EQ(LogEntries(w.dir.Path()), std::vector<std::string>{"ERROR Invalid year *** / ***"});
    EXPECT_TRUE(tab.HistoryRows().empty());
    EXPECT_EQ(tab.CurrentFilter().count, 60);  // not sent, so not corrected (no 115)
}

TEST_F(EcuTabTest, AnEmptyFilterFieldStopsTheRequest) {
    LogIn();
    const struct {
        const char* check;
        std::string message;
    } cases[] = {
        {"accountCheck", ecu::kNoCounterpartMessage},
        {"batchCheck", Str(117)},
    };
    for (const auto& c : cases) {
        w.ui.messages.clear();
        Check(tab, "getLastCheck")->setChecked(false);
        tab.UpdateFilterControls();
        Check(tab, c.check)->setChecked(true);
        tab.GetHistory();
        EXPECT_EQ(w.ui.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(w.host.urls.size(), 1u);
        Check(tab, c.check)->setChecked(false);
    }
    EXPECT_FALSE(std::filesystem::exists(w.dir.Path() + "Purseward.log"));
}

TEST_F(EcuTabTest, FromToIsNeverOfferedAndTheFocusWaitsInTheFirstEmptyField) {
    auto* fromTo = Check(tab, "fromToCheck");
    EXPECT_FALSE(fromTo->isEnabled());
    Check(tab, "getLastCheck")->click();  // no update at the click
    EXPECT_FALSE(Check(tab, "accountCheck")->isEnabled());
    tab.UpdateFilterControls();
    EXPECT_TRUE(Check(tab, "accountCheck")->isEnabled());
    EXPECT_FALSE(fromTo->isEnabled());

    const struct {
        const char *account, *secret, *focus;
    } cases[] = {
        {"", "", "accountEdit"}, {"", "pw", "accountEdit"},
        {"E1", "", "secretEdit"}, {"E1", "pw", "loginButton"},
    };
    for (const auto& c : cases) {
        FillLogin(tab, {c.account, "", c.secret});
        fromTo->setEnabled(true);
        tab.hide();
        tab.show();
        EXPECT_FALSE(fromTo->isEnabled());
        ASSERT_NE(tab.focusWidget(), nullptr);
        EXPECT_EQ(tab.focusWidget()->objectName().toStdString(), c.focus);
    }
    // Logged in, the focus is left where it is.
    LogIn();
    tab.findChild<QTableView*>("historyTable")->setFocus();
    tab.hide();
    tab.show();
    EXPECT_EQ(tab.focusWidget()->objectName().toStdString(), "historyTable");
}

TEST(MinimalTabFactory, MakesTheGdpAndEcuMoneyTabs) {
    TabWorld w;
    std::unique_ptr<AccountTabWidget> gdp(CreateAccountTab(4, w.app, w.host, nullptr));
    std::unique_ptr<AccountTabWidget> ecu(CreateAccountTab(5, w.app, w.host, nullptr));
    EXPECT_NE(dynamic_cast<CGDPDlg*>(gdp.get()), nullptr);
    EXPECT_NE(dynamic_cast<CECUMoneyDlg*>(ecu.get()), nullptr);
    EXPECT_EQ(ecu->accessibleName(), "ECUMoney");
}

// ---- Against the sandbox ----------------------------------------------------------------

class MinimalTabsSandbox : public ::testing::Test {
protected:
    MinimalTabsSandbox() {
        w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
        w.app.WriteString("GDP", "GDPHost", sandbox.HttpsHost());
        w.app.WriteString("ECU", "ECUHost", sandbox.HttpsHost());
        hooks.showMessage = [this](const std::string& m) { shown.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = [this](const std::string& m) { shown.push_back(m); };
        hooks.trafficChanged = [](const std::string&) {};
        transport = std::make_unique<CurlTransport>(w.app.Settings(), counter, hooks);
        host = std::make_unique<TransportHost>(*transport);
    }
    void TearDown() override {
        EXPECT_TRUE(shown.empty()) << shown[0];
        EXPECT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
    }
    // Each history request with each filter option; returns the logged answers.
    std::vector<std::string> HistoryWithEachFilter(CAccountTab& tab) {
        std::vector<std::string> answers;
        auto* getLast = Check(tab, "getLastCheck");
        for (const char* option : {"getLastCheck", "fromToCheck", "accountCheck", "batchCheck"}) {
            getLast->setChecked(false);
            tab.UpdateFilterControls();
            SetText(tab, "counterpartEdit", "E2000200");
            SetText(tab, "batchEdit", "7002");
            Check(tab, option)->setChecked(true);
            tab.GetHistory();
            answers.push_back(LogEntries(w.dir.Path()).back());
            Check(tab, option)->setChecked(false);
        }
        return answers;
    }
    void Screenshot(QWidget& tab, const char* name) {
        SaveScreenshot(tab, name);
    }
    Sandbox sandbox;
    TabWorld w;
    TrafficCounter counter;
    std::vector<std::string> shown;
    TransportHooks hooks;
    std::unique_ptr<CurlTransport> transport;
    std::unique_ptr<TransportHost> host;
};

TEST_F(MinimalTabsSandbox, GdpLogsInAndLogsItsHistory) {
    CGDPDlg tab(w.app, *host);
    FillLogin(tab, {"GDP1001", "ST-77", "gdp+key&1"});
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    ASSERT_EQ(tab.BalanceRows().size(), 3u);
    EXPECT_EQ(Cell(tab, "balanceTable", 2, 0), " GBP");
    EXPECT_EQ(Cell(tab, "balanceTable", 2, 1), "7.25");
    EXPECT_EQ(host->banners, 1);

    for (const std::string& answer : HistoryWithEachFilter(tab))
        EXPECT_NE(answer.find("<batch>7002</batch>"), std::string::npos) << answer;
    EXPECT_TRUE(tab.HistoryRows().empty());
    EXPECT_EQ(host->urls.size(), 5u);
    const std::string log = ReadFile(w.dir.Path() + "Purseward.log");
    for (const char* secret : {"gdp+key&1", "gdp%2Bkey%261", "apicheck"})
        EXPECT_EQ(log.find(secret), std::string::npos) << secret;
    Screenshot(tab, "gdp_tab.png");
}

TEST_F(MinimalTabsSandbox, EcuMoneyLogsInAndLogsItsHistory) {
    CECUMoneyDlg tab(w.app, *host);
    FillLogin(tab, {"E1000100", "", "ecu pass#1"});
    tab.Login();
    ASSERT_TRUE(tab.IsLoggedIn());
    EXPECT_EQ(tab.BalanceRows().size(), 2u);
    EXPECT_EQ(Cell(tab, "balanceTable", 0, 1), "12.34");
    EXPECT_EQ(Cell(tab, "balanceTable", 1, 1), "5.67");
    EXPECT_EQ(host->banners, 1);

    // The sandbox refuses any parameter beyond the year: no filter is ever sent.
    const std::string year2009 =
        "2008-11-30 08:00:00;E2000200;20.00;USD;5001;Opening\n"
        "2009-02-11 09:30:00;E2000200;-5.00;USD;5002;Coffee\n"
        "2009-06-01 12:00:00;E2000200;2.67;EUR;5003;Refund\n";
    for (const std::string& answer : HistoryWithEachFilter(tab)) EXPECT_EQ(answer, year2009);
    // No option ticked: message 114, then the same request.
    Check(tab, "getLastCheck")->setChecked(false);
    tab.GetHistory();
    EXPECT_EQ(w.ui.messages, std::vector<std::string>{Str(114)});
    w.ui.messages.clear();
    EXPECT_EQ(LogEntries(w.dir.Path()).back(), year2009);
    EXPECT_EQ(host->urls.size(), 6u);
    EXPECT_TRUE(tab.HistoryRows().empty());
    const std::string log = ReadFile(w.dir.Path() + "Purseward.log");
    for (const char* secret : {"ecu pass#1", "ecu%20pass%231", "password"})
        EXPECT_EQ(log.find(secret), std::string::npos) << secret;
    Screenshot(tab, "ecu_tab.png");
}

}  // namespace
}  // namespace pw::test
