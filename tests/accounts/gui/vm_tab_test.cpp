// The V-Money tab on the real V-Money client: its fields and filter, answers through a
// scripted main window, then a whole session against the sandbox over HTTPS.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QTableView>

#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/v_money_tab.h"
#include "accounts/transfer_request.h"
#include "accounts/vm/vm_client.h"
#include "net/curl_transport.h"
#include "support/sandbox.h"
#include "tab_fixture.h"
#include "ui/base/strings.h"

namespace pw::test {
namespace {

// The request document inside a V-Money URL.
std::string Document(const std::string& url) {
    const std::size_t at = url.find("request_data=");
    if (at == std::string::npos) return {};
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(url.substr(at + 13)))
        .toStdString();
}

std::string Status(const std::string& code, const std::string& message) {
    return "<Status><Code>" + code + "</Code><Message>" + message + "</Message></Status>";
}
std::string BalanceAnswer(const std::string& value) {
    return "<Response>" + Status("OK", "Done") + "<Balance>" + value + "</Balance></Response>";
}
std::string Tx(const std::string& id, const std::string& type, const std::string& amount,
               const std::string& party) {
    return "<Transaction><TransId>" + id + "</TransId><Memo>m" + id +
           "</Memo><PaymentId></PaymentId><ToFromAccount><AccountId>" + party +
           "</AccountId><Name>N</Name></ToFromAccount><Timestamp>2009-03-0" + id +
           " 10:00:00</Timestamp><Amount>" + amount + "</Amount><TransType>" + type +
           "</TransType></Transaction>";
}

void Fill(CVMoneyDlg& tab, const LoginFields& login) {
    tab.findChild<QLineEdit*>("accountEdit")->setText(QString::fromStdString(login.account));
    tab.findChild<QLineEdit*>("apiNameEdit")
        ->setText(QString::fromStdString(std::string(login.apiName)));
    tab.findChild<QLineEdit*>("secretEdit")
        ->setText(QString::fromStdString(std::string(login.secret)));
}

class VmTabTest : public ::testing::Test {
  protected:
    std::unique_ptr<CVMoneyDlg> MakeTab() { return std::make_unique<CVMoneyDlg>(w.app, w.host); }
    TabWorld w;
    const LoginFields demo_{"VM100001", "1234", "demopass"};
};

TEST_F(VmTabTest, FieldsAndFilterOptionsOfTheTab) {
    std::unique_ptr<AccountTabWidget> made(CreateAccountTab(2, w.app, w.host, nullptr));
    ASSERT_NE(dynamic_cast<CVMoneyDlg*>(made.get()), nullptr);
    EXPECT_EQ(made->accessibleName(), "V-Money");
    made.reset();

    // "From/To Date" is ticked and fixed even when the settings say otherwise.
    w.app.WriteInt("VM", "CheckFromToDate", 0);
    w.app.WriteInt("VM", "VM_CheckBatch", 1);
    w.app.WriteString("VM", "VM_FilterBatch", "5000007");
    w.app.WriteString("VM", "VM_FilterDateFrom", "01/02/2009");
    auto tab = MakeTab();
    tab->show();
    auto* fromTo = tab->findChild<QCheckBox*>("fromToCheck");
    EXPECT_TRUE(fromTo->isChecked());
    EXPECT_FALSE(fromTo->isEnabled());
    const struct {
        const char* name;
        bool visible, enabled;
    } controls[] = {{"apiNameEdit", true, true},
                    {"getLastCheck", false, false},
                    {"countEdit", false, false},
                    {"accountCheck", false, true},
                    {"counterpartEdit", false, true},
                    {"batchCheck", true, true},
                    {"batchEdit", true, true},
                    {"fromDate", true, true},
                    {"toDate", true, true}};
    for (const auto& c : controls) {
        auto* widget = tab->findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->isVisible(), c.visible) << c.name;
        EXPECT_TRUE(!c.visible || widget->isEnabled() == c.enabled) << c.name;
    }
    EXPECT_EQ(tab->findChild<QLineEdit*>("apiNameEdit")->accessibleName(), "Pin number");
    EXPECT_EQ(tab->findChild<QLineEdit*>("secretEdit")->echoMode(), QLineEdit::Password);
    auto* batch = tab->findChild<QLineEdit*>("batchEdit");
    EXPECT_EQ(batch->alignment(), Qt::AlignCenter);
    EXPECT_EQ(batch->text(), "5000007");
    EXPECT_TRUE(tab->findChild<QCheckBox*>("batchCheck")->isChecked());
    EXPECT_EQ(tab->findChild<QDateEdit*>("fromDate")->date(), QDate(2009, 2, 1));
    const HistoryFilter f = tab->CurrentFilter();
    EXPECT_TRUE(f.fromTo && !f.getLast && !f.byAccount);
}

TEST_F(VmTabTest, LoginChecksThePinAndShowsTheBalanceAtTheProgramsTime) {
    auto tab = MakeTab();
    const struct {
        LoginFields login;
        int message;
    } missing[] = {{{"", "1234", "p"}, 132}, {{"VM1", "", "p"}, 140}, {{"VM1", "1234", ""}, 112}};
    for (const auto& c : missing) {
        Fill(*tab, c.login);
        tab->Login();
        tab->GetHistory();
    }
    ASSERT_EQ(w.ui.messages.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(w.ui.messages[i], Str(missing[i / 2].message));
    EXPECT_TRUE(w.host.urls.empty());

    Fill(*tab, demo_);
    w.host.answers.push_back("<Response>" + Status("AuthError", "Invalid account or access token") +
                             "</Response>");
    tab->Login();
    ASSERT_EQ(w.ui.messages.size(), 7u);
    EXPECT_EQ(w.ui.messages[6], "Code : AuthError, Message : Invalid account or access token \n");
    EXPECT_FALSE(tab->IsLoggedIn());
    EXPECT_TRUE(tab->findChild<QLineEdit*>("apiNameEdit")->isEnabled());

    w.host.answers.push_back(BalanceAnswer("10.5"));
    tab->Login();
    ASSERT_TRUE(tab->IsLoggedIn());
    EXPECT_FALSE(tab->findChild<QLineEdit*>("apiNameEdit")->isEnabled());
    ASSERT_EQ(w.host.urls.size(), 2u);
    EXPECT_EQ(w.host.urls[1].rfind("https://www.v-money.net/vai.php?request_data=", 0), 0u);
    EXPECT_NE(Document(w.host.urls[1]).find("<AccountId>VM100001</AccountId>"), std::string::npos);
    EXPECT_EQ(tab->BalanceRows(), TextList{"USD~10.5~2009-03-05 12:00:00"});
    auto* model = tab->findChild<QTableView*>("balanceTable")->model();
    EXPECT_EQ(model->index(0, 1).data().toString(), "10.50");
}

TEST_F(VmTabTest, HistoryFiltersRowsMenuRecordAndRefresh) {
    auto tab = MakeTab();
    Fill(*tab, demo_);
    tab->findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 3, 1));
    tab->findChild<QDateEdit*>("toDate")->setDate(QDate(2009, 3, 5));
    auto* batchCheck = tab->findChild<QCheckBox*>("batchCheck");
    auto* batchEdit = tab->findChild<QLineEdit*>("batchEdit");

    // Batch ticked but empty: 117 and nothing sent; with a batch the document carries it.
    batchCheck->setChecked(true);
    tab->GetHistory();
    ASSERT_EQ(w.ui.messages, std::vector<std::string>{Str(117)});
    EXPECT_TRUE(w.host.urls.empty());
    const std::string tail = "<TransType>withdrawals</TransType></TransTypes>";
    const struct {
        bool byBatch;
        std::string ending;
    } filters[] = {{true, tail + "<TransId>5000007</TransId></Request>"},
                   {false, tail + "</Request>"}};
    batchEdit->setText("5000007");
    for (const auto& c : filters) {
        batchCheck->setChecked(c.byBatch);
        w.host.answers.push_back("<Response>" + Tx("1", "received", "2.00", "VM100002") +
                                 Tx("2", "Sent", "0.50", "VM100003") +
                                 Tx("3", "fees", "0.10", "Fee Account") + "</Response>");
        tab->GetHistory();
        const std::string doc = Document(w.host.urls.back());
        EXPECT_NE(doc.find("</Auth><StartDate>2009-03-01</StartDate><EndDate>2009-03-05</EndDate>"
                           "<TransTypes><TransType>received</TransType>"),
                  std::string::npos)
            << doc;
        EXPECT_EQ(doc.substr(doc.size() - c.ending.size()), c.ending);
    }
    EXPECT_EQ(w.ui.messages.size(), 1u);  // no 114 or 115 on this tab
    ASSERT_TRUE(tab->IsLoggedIn());       // rows while not logged in log in
    EXPECT_TRUE(tab->BalanceRows().empty());
    ASSERT_EQ(tab->HistoryRows().size(), 3u);
    EXPECT_EQ(tab->HistoryRows()[1], "2009-03-02 10:00:00~Sent~VM100003 (N)~-0.50~2~m2");
    EXPECT_EQ(tab->TotalsText(), "Income : 2.00 -=- Outcome : 0.60 -=- Difference : 1.40");
    auto* model = tab->findChild<QTableView*>("historyTable")->model();
    EXPECT_EQ(model->index(1, 3).data().toString(), "-0.50");
    EXPECT_TRUE(model->index(1, 3).data(Qt::FontRole).value<QFont>().bold());

    // "Get history for account" is disabled with a row and sends nothing when run.
    tab->SelectHistoryRow(0);
    std::vector<MenuItem> items = tab->HistoryMenu();
    ASSERT_NE(FindItem(items, TabCommand::HistoryForAccount), nullptr);
    EXPECT_FALSE(FindItem(items, TabCommand::HistoryForAccount)->enabled);
    const std::size_t sent = w.host.urls.size();
    tab->RunCommand(TabCommand::HistoryForAccount);
    EXPECT_EQ(w.host.urls.size(), sent);
    EXPECT_TRUE(tab->findChild<QCheckBox*>("fromToCheck")->isChecked());

    // The record text ends with a line break and masks the account.
    w.app.WriteInt("Setting", "HideLastDigit", 1);
    w.app.WriteInt("Setting", "HideLastDigitValue", 3);
    EXPECT_EQ(tab->SelectedRecordText(),
              "Date : 2009-03-01 10:00:00\r\nTransType : received\r\nFrom/To Account : "
              "VM100*** (N)\r\nAmount : 2.00\r\nBatch : 1\r\nMemo : m1\r\n");

    // A changed balance is told with the VM header and fetches the history; an unchanged or
    // failed refresh does neither.
    w.host.answers.push_back(BalanceAnswer("10.00"));
    tab->RefreshBalance();
    for (const std::string& answer : {BalanceAnswer("10.00"), std::string()}) {
        w.host.answers.push_back(answer);
        tab->RefreshBalance();
    }
    EXPECT_TRUE(w.host.notices.empty());
    w.host.answers.push_back(BalanceAnswer("12.50"));
    w.host.answers.push_back("<Response>" + Tx("4", "received", "2.50", "VM100002") +
                             "</Response>");
    const std::size_t before = w.host.urls.size();
    tab->RefreshBalance();
    ASSERT_EQ(w.host.notices.size(), 1u);
    EXPECT_EQ(w.host.notices[0], "Balance is changed [VM<VM100001>]\r\nUSD : 10.00/12.50\r\n");
    ASSERT_EQ(w.host.urls.size() - before, 2u);
    EXPECT_NE(Document(w.host.urls.back()).find("<Type>History</Type>"), std::string::npos);
    EXPECT_EQ(tab->HistoryRows().size(), 1u);

    // The filter is kept in the VM keys of the settings, nothing of the missing options.
    tab->SaveState();
    EXPECT_EQ(w.app.GetString("VM", "VM_FilterDateFrom", ""), "01/03/2009");
    EXPECT_EQ(w.app.GetString("VM", "VM_FilterBatch", ""), "5000007");
    EXPECT_EQ(w.app.GetInt("VM", "VM_CheckBatch", -1), 0);
    EXPECT_EQ(w.app.GetInt("VM", "CheckGetLast", -1), -1);
}

TEST(VmTabSandbox, LogInHistoryUnderEachFilterAndARefreshAfterAPayment) {
    Sandbox sandbox;
    TabWorld w;
    const auto sync = [&w] { w.clock.Set(std::time(nullptr)); };  // tokens of the current hour
    sync();
    w.app.WriteString("Setting", "CACertFile", sandbox.CaPath());
    w.app.WriteString("VM", "VMHost", sandbox.HttpsHost());
    TrafficCounter counter;
    std::vector<std::string> transportMessages;
    TransportHooks hooks;
    hooks.showMessage = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.isHidden = [] { return false; };
    hooks.notifyUser = [&](const std::string& m) { transportMessages.push_back(m); };
    hooks.trafficChanged = [](const std::string&) {};
    CurlTransport transport(w.app.Settings(), counter, hooks);
    TransportHost host(transport);
    auto tab = std::make_unique<CVMoneyDlg>(w.app, host);

    Fill(*tab, {"VM100001", "1234", "wrong"});
    tab->Login();
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0], "Code : AuthError, Message : Invalid account or access token \n");
    EXPECT_FALSE(tab->IsLoggedIn());

    Fill(*tab, {"VM100001", "1234", "demopass"});
    sync();
    tab->Login();
    ASSERT_TRUE(transportMessages.empty()) << transportMessages[0];
    ASSERT_EQ(w.ui.messages.size(), 1u) << w.ui.messages.back();
    ASSERT_TRUE(tab->IsLoggedIn());
    ASSERT_EQ(tab->BalanceRows().size(), 1u);
    const std::string oldValue = Split(tab->BalanceRows()[0], "~")[1];

    // Each filter: the dates of 2009, the dates and one batch, a batch ticked but empty.
    tab->findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 1, 1));
    tab->findChild<QDateEdit*>("toDate")->setDate(QDate(2009, 12, 31));
    sync();
    tab->GetHistory();
    ASSERT_EQ(tab->HistoryRows().size(), 48u) << w.ui.messages.back();
    const std::string sixth(tab->HistoryRows()[5]);
    auto* batchCheck = tab->findChild<QCheckBox*>("batchCheck");
    batchCheck->setChecked(true);
    tab->findChild<QLineEdit*>("batchEdit")->setText(QString::fromStdString(Split(sixth, "~")[4]));
    sync();
    tab->GetHistory();
    EXPECT_EQ(tab->HistoryRows(), TextList{sixth});
    tab->findChild<QLineEdit*>("batchEdit")->clear();
    const std::size_t sent = host.urls.size();
    tab->GetHistory();
    EXPECT_EQ(host.urls.size(), sent);
    ASSERT_EQ(w.ui.messages.size(), 2u);
    EXPECT_EQ(w.ui.messages[1], Str(117));
    EXPECT_EQ(tab->HistoryRows(), TextList{sixth});
    batchCheck->setChecked(false);

    // The payment dialogs reach the lookup and the transfer through the frame's client.
    AccountClient& client = tab->Client();
    sync();
    EXPECT_EQ(
        client.GetAccountName(transport, tab->CurrentLogin(), "VM100002", w.clock.Now(), w.ui),
        "Payee Store");
    EXPECT_EQ(client.TransferUrl(
                  tab->CurrentLogin(), {"VM100002~1.00~m"}, [] { return false; }, w.clock.Now()),
              "");
    EXPECT_EQ(client.TransferUrl(tab->CurrentLogin(), {"VM100002~1.00~m"}, nullptr, w.clock.Now())
                  .rfind("https://" + sandbox.HttpsHost() + "/vai.php?request_data=", 0),
              0u);

    SaveScreenshot(*tab, "vm_tab.png");

    // A payee pays 2.25 to the account; the refresh tells the user and fetches the history
    // of the shown dates, which now run up to tomorrow.
    VmClient payee(sandbox.HttpsHost());
    sync();
    ASSERT_EQ(
        SendTransfer(payee, transport, {"VM100002", "5678", "payeepass"},
                     {"VM100001~2.25~e2e refund~no~~no~VM100002 [USD]~no"}, nullptr, w.clock.Now())
            .state,
        TransferState::Confirmed);
    ASSERT_TRUE(payee.Answer().errors.empty()) << payee.ErrorReport();
    tab->findChild<QDateEdit*>("toDate")->setDate(QDate::currentDate().addDays(1));
    const std::size_t beforeRefresh = host.urls.size();
    sync();
    tab->RefreshBalance();
    ASSERT_EQ(host.notices.size(), 1u);
    const std::string newValue = Split(tab->BalanceRows()[0], "~")[1];
    EXPECT_EQ(ToCents(newValue) - ToCents(oldValue), 225);
    EXPECT_EQ(host.notices[0],
              "Balance is changed [VM<VM100001>]\r\nUSD : " + oldValue + "/" + newValue + "\r\n");
    EXPECT_EQ(host.urls.size() - beforeRefresh, 2u);  // balance, then the history
    ASSERT_GT(tab->HistoryRows().size(), 48u);
    const TextList latest = Split(tab->HistoryRows()[0], "~");
    ASSERT_EQ(latest.size(), 6u);
    EXPECT_EQ(latest[1], "received");
    EXPECT_EQ(latest[2], "VM100002 (Payee Store)");
    EXPECT_EQ(latest[3], "2.25");
    EXPECT_EQ(latest[5], "e2e refund");
    EXPECT_EQ(w.ui.messages.size(), 2u);
    EXPECT_TRUE(transportMessages.empty());
}

}  // namespace
}  // namespace pw::test
