// The Liberty Reserve tab on the real Liberty Reserve client: captured and damaged answers
// through a scripted main window, then a whole session against the sandbox over HTTPS.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QToolButton>

#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/liberty_reserve_tab.h"
#include "accounts/lr/lr_client.h"
#include "accounts/transfer_request.h"
#include "net/curl_transport.h"
#include "support/sandbox.h"
#include "tab_fixture.h"

namespace pw::test {
namespace {

class LrTabTest : public ::testing::Test {
protected:
    std::unique_ptr<CLibertyReserveDlg> MakeTab(TabHost& host) {
        return std::make_unique<CLibertyReserveDlg>(w.app, host);
    }
    static void Login(CLibertyReserveDlg& tab, const char* account, const char* api,
                      const char* secret) {
        tab.findChild<QLineEdit*>("accountEdit")->setText(account);
        tab.findChild<QLineEdit*>("apiNameEdit")->setText(api);
        tab.findChild<QLineEdit*>("secretEdit")->setText(secret);
        tab.Login();
    }
    TabWorld w;
};

TEST_F(LrTabTest, TheFactoryMakesTheLibertyReserveTabAndPlaceholdersForTheOthers) {
    std::unique_ptr<AccountTabWidget> lr(CreateAccountTab(0, w.app, w.host, nullptr));
    EXPECT_NE(dynamic_cast<CLibertyReserveDlg*>(lr.get()), nullptr);
    EXPECT_EQ(lr->SystemIndex(), 0);
    EXPECT_EQ(lr->accessibleName(), "Liberty Reserve");
}

TEST_F(LrTabTest, FeaturesNotBuiltYetAreDisabledExportAndRecordViewAreBuilt) {
    auto tab = MakeTab(w.host);
    EXPECT_FALSE(tab->findChild<QToolButton*>("chooseButton")->isEnabled());
    tab->SelectBalanceRow(0);
    std::vector<MenuItem> items = tab->BalanceMenu();
    EXPECT_FALSE(FindItem(items, TabCommand::MakePayment)->enabled);
    EXPECT_FALSE(FindItem(items, TabCommand::MakeMassPayment)->enabled);
    for (TabFeature f : {TabFeature::SavedAccounts, TabFeature::Payment, TabFeature::MassPayment})
        EXPECT_FALSE(tab->HasFeature(f));
    EXPECT_TRUE(tab->HasFeature(TabFeature::Export));
    EXPECT_TRUE(tab->HasFeature(TabFeature::RecordView));
}

TEST_F(LrTabTest, ACapturedErrorAnswerIsShownInOneMessage) {
    auto tab = MakeTab(w.host);
    w.host.answers.push_back(ReadFile(std::string(PW_TEST_DATA_DIR) + "/samples/lr_balance_error.xml"));
    Login(*tab, "U1234567", "demoapi", "demosecret");
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0], "Code : 301, Message : Invalid data format \n");
    EXPECT_FALSE(tab->IsLoggedIn());
    ASSERT_EQ(w.host.urls.size(), 1u);
    EXPECT_EQ(w.host.urls[0].rfind("https://api.libertyreserve.com/xml/balance.aspx?req=", 0), 0u);
}

TEST_F(LrTabTest, DamagedAnswersLoseNothing) {
    auto tab = MakeTab(w.host);
    w.host.answers.push_back(
        "<BalanceResponse id=\"1\"><Balance><CurrencyId>LRUSD</CurrencyId><Value>10.0000</Value>"
        "<Date>2009-03-05</Date><AccountId>U1234567</AccountId></Balance></BalanceResponse>");
    Login(*tab, "U1234567", "demoapi", "demosecret");
    ASSERT_TRUE(tab->IsLoggedIn());
    const TextList rows = tab->BalanceRows().ToList();
    // Cut off, unclosed, binary: the shown rows stay and no change is reported.
    for (const std::string& answer : std::vector<std::string>
         {std::string("<BalanceResponse id=\"2\"><Balance><CurrencyId>LRUSD</Curr"),
          std::string("<Balance><Value>"), std::string("\x00\xff<<>>", 6), std::string()}) {
        w.host.answers.push_back(answer);
        tab->RefreshBalance();
    }
    EXPECT_EQ(tab->BalanceRows(), rows);
    EXPECT_TRUE(w.host.notices.empty());
    EXPECT_TRUE(tab->IsLoggedIn());
}

TEST(LrTabSandbox, LogInFetchAThreePageHistoryAndMoveMoney) {
    Sandbox sandbox;
    TabWorld w;
    w.clock.Set(std::time(nullptr));  // the sandbox checks the token against its own clock
    w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
    w.app.WriteString("LR", "LRHost", sandbox.HttpsHost());
    TrafficCounter counter;
    std::vector<std::string> transportMessages;
    TransportHooks hooks;
    hooks.showMessage = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.isHidden = [] { return false; };
    hooks.notifyUser = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.trafficChanged = [](const std::string&) {};
    CurlTransport transport(w.app.Settings(), counter, hooks);
    TransportHost host(transport);

    auto tab = std::make_unique<CLibertyReserveDlg>(w.app, host);
    tab->findChild<QLineEdit*>("accountEdit")->setText("U1234567");
    tab->findChild<QLineEdit*>("apiNameEdit")->setText("demoapi");
    tab->findChild<QLineEdit*>("secretEdit")->setText("demosecret");
    tab->Login();
    ASSERT_TRUE(transportMessages.empty()) << transportMessages[0];
    ASSERT_TRUE(w.ui.messages.empty()) << w.ui.messages[0];
    ASSERT_TRUE(tab->IsLoggedIn());
    EXPECT_EQ(tab->AccountTag(), "LR_U1234567");
    ASSERT_EQ(tab->BalanceRows().size(), 2u);
    const TextList before = tab->BalanceRows().ToList();
    EXPECT_EQ(Split(before[0], "~")[0], "LRUSD");

    // All of February and March 2009: 130 receipts on three pages of 50.
    tab->findChild<QCheckBox*>("getLastCheck")->setChecked(false);
    tab->UpdateFilterControls();
    tab->findChild<QCheckBox*>("fromToCheck")->setChecked(true);
    tab->findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 2, 1));
    tab->findChild<QDateEdit*>("toDate")->setDate(QDate(2009, 3, 31));
    const std::size_t sent = host.urls.size();
    tab->GetHistory();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(host.urls.size() - sent, 3u);
    ASSERT_EQ(tab->HistoryRows().size(), 130u);
    const TextList first = Split(tab->HistoryRows()[0], "~");
    ASSERT_EQ(first.size(), 10u);
    EXPECT_TRUE(first[1].rfind("U7654321 (", 0) == 0 || first[1].rfind("U1111111 (", 0) == 0)
        << first[1];
    EXPECT_EQ(tab->TotalsText().rfind("Income : ", 0), 0u);

    // A picture of the logged-in tab for the record.
    SaveScreenshot(*tab, "lr_tab.png");

    // A queued transfer of two records, built by the client and sent through the transport.
    const TextList queue = {"U7654321~12.50~e2e first~0~0~0~LRUSD~0",
                            "U7654321~7.50~e2e second~0~0~0~LRUSD~0"};
    bool checked = false;
    ASSERT_EQ(SendTransfer(
                  tab->Lr(), transport, tab->CurrentLogin(), queue, [&] { return checked = true; },
                  w.clock.Now())
                  .state,
              TransferState::Confirmed);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(tab->Lr().Answer().errors.empty()) << tab->Lr().ErrorReport();

    // The refresh sees the new balance, tells the user and fetches the history.
    tab->findChild<QCheckBox*>("getLastCheck")->setChecked(true);
    tab->UpdateFilterControls();
    const std::size_t beforeRefresh = host.urls.size();
    tab->RefreshBalance();
    ASSERT_EQ(host.notices.size(), 1u);
    const std::string oldUsd = Split(before[0], "~")[1];
    const std::string newUsd = Split(tab->BalanceRows()[0], "~")[1];
    EXPECT_DOUBLE_EQ(ParseAmount(oldUsd) - ParseAmount(newUsd), 20.0);
    EXPECT_EQ(host.notices[0], "Balance is changed [LR<U1234567>]\r\nLRUSD : " + oldUsd + "/" +
                                   newUsd + "\r\n");
    EXPECT_EQ(host.urls.size() - beforeRefresh, 2u);  // balance, then the last operations
    ASSERT_EQ(tab->HistoryRows().size(), 5u);
    const TextList latest = Split(tab->HistoryRows()[0], "~");
    EXPECT_EQ(latest[2], "-7.50");
    EXPECT_EQ(latest[1], "U7654321 (Payee Shop)");
    EXPECT_EQ(latest[7], "e2e second");
    EXPECT_TRUE(transportMessages.empty());
}

TEST(LrTabSandbox, AWrongSecretIsReportedAndAnUnreachableServerTellsTheUserOnce) {
    Sandbox sandbox;
    TabWorld w;
    w.clock.Set(std::time(nullptr));
    w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
    w.app.WriteString("LR", "LRHost", sandbox.HttpsHost());
    TrafficCounter counter;
    std::vector<std::string> transportMessages;
    TransportHooks hooks;
    hooks.showMessage = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.isHidden = [] { return false; };
    hooks.notifyUser = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.trafficChanged = [](const std::string&) {};
    CurlTransport transport(w.app.Settings(), counter, hooks, {std::chrono::milliseconds(3000),
                                                               std::chrono::seconds(5)});
    TransportHost host(transport);
    auto tab = std::make_unique<CLibertyReserveDlg>(w.app, host);
    tab->findChild<QLineEdit*>("accountEdit")->setText("U1234567");
    tab->findChild<QLineEdit*>("apiNameEdit")->setText("demoapi");
    tab->findChild<QLineEdit*>("secretEdit")->setText("wrong");
    tab->Login();
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].rfind("Code : 201, Message : Authentication failed \n", 0), 0u);
    EXPECT_FALSE(tab->IsLoggedIn());

    sandbox.Stop();
    tab->findChild<QLineEdit*>("secretEdit")->setText("demosecret");
    tab->Login();
    EXPECT_EQ(transportMessages.size(), 1u);  // the transport told the user
    EXPECT_EQ(w.ui.messages.size(), 1u);      // the tab adds nothing
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(tab->findChild<QLineEdit*>("accountEdit")->isEnabled());
}

}  // namespace
}  // namespace pw::test
