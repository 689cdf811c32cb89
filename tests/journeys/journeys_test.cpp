// The journeys of a user, one test each, through the program's own windows against the
// sandbox; each ends with a screenshot of the main window in the build folder.
#include <QAction>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "accounts/gui/history_view.h"
#include "journey_fixture.h"
#include "payments/gui/make_mass_payment.h"
#include "refs/saved_accounts.h"
#include "settings/gui/setting_dialog.h"
#include "settings/keys.h"
#include "store/text_list.h"

namespace pw::test {
namespace {

const char* const kPrefixes[] = {"LR", "PM", "VM", "EG", "GDP", "ECU"};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool AnyRowHolds(const RowList& rows, const std::string& text) {
    for (const std::string_view row : rows)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

void ClickOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

TEST_F(Journey, FirstStartLogsInOnAllSixTabs) {
    EXPECT_TRUE(std::filesystem::exists(base_ + "Set/Purseward.ini"));
    ASSERT_EQ(window_->Tabs()->count(), 6);
    for (int s = 0; s < 6; ++s) {
        Login(s);
        EXPECT_TRUE(Tab(s).IsLoggedIn()) << kPrefixes[s] << ": " << TakeMessages();
        EXPECT_FALSE(Tab(s).BalanceRows().empty()) << kPrefixes[s];
    }
    EXPECT_EQ(TakeMessages(), "");
    window_->Tabs()->setCurrentIndex(0);
    Screenshot("first_start");
}

TEST_F(Journey, AutoRefreshNoticesABalanceChangedOnTheServer) {
    Login(1);
    CAccountTab& pm = Tab(1);
    ASSERT_TRUE(pm.IsLoggedIn()) << TakeMessages();
    ui_.numbers.push_back(1);
    pm.RunCommand(TabCommand::AutoRefresh);
    ASSERT_TRUE(pm.RefreshTimer().IsActive());
    const long long before = Micro(pm);

    // The second member pays the demo account on the server's own interface.
    const std::string answer = Sandbox(
        "/acct/confirm.asp?AccountID=7654321&PassPhrase=second-pass&Payer_Account=U7654321"
        "&Payee_Account=U1234567&Amount=1.25&Memo=from+outside",
        true);
    ASSERT_NE(answer.find("PAYMENT_BATCH_NUM"), std::string::npos) << answer;

    clock_.Advance(60);
    EXPECT_EQ(Micro(pm) - before, 1250000);
    ASSERT_EQ(balloons_.size(), 1u);
    EXPECT_TRUE(balloons_[0].startsWith("Balance is changed [PM<1234567>]\r\n")) << balloons_[0].toStdString();
    EXPECT_EQ(sounds_.size(), 1u);
    EXPECT_TRUE(AnyRowHolds(pm.HistoryRows(), "from outside")) << "the history was fetched";
    EXPECT_EQ(TakeMessages(), "");
    Screenshot("auto_refresh");
}

TEST_F(Journey, APaymentOnEachFullTabMovesTheMoneyAndShowsInTheHistory) {
    const struct {
        int system;
        const char *to, *amount;
        long long costMicro;
    } cases[] = {
        {0, "U7654321", "12.50", 12500000},
        {1, "U7654321", "100", 100500000},  // and a fee of 0.5 percent
        {2, "VM100002", "2.25", 2250000},
        {3, "7654321", "90", 100000},  // 90 USD of gold at 900 an ounce
    };
    for (const auto& c : cases) {
        const std::string prefix = kPrefixes[c.system];
        Login(c.system);
        CAccountTab& tab = Tab(c.system);
        ASSERT_TRUE(tab.IsLoggedIn()) << prefix << ": " << TakeMessages();
        const long booked = Booked(prefix);
        const long long before = Micro(tab);
        Pay(tab, c.to, c.amount, "journey " + prefix);
        EXPECT_EQ(TakeMessages(), "") << prefix;
        EXPECT_EQ(Booked(prefix), booked + 1) << prefix;
        EXPECT_EQ(before - Micro(tab), c.costMicro) << prefix;
        EXPECT_TRUE(AnyRowHolds(tab.HistoryRows(), "journey " + prefix)) << prefix << " history";
    }
    Screenshot("payment");
}

TEST_F(Journey, AScheduledPaymentGoesOutWhenTheClockPassesItsDueTime) {
    Login(2);
    CAccountTab& vm = Tab(2);
    ASSERT_TRUE(vm.IsLoggedIn()) << TakeMessages();
    const long booked = Booked("VM");
    const long long before = Micro(vm);
    Pay(vm, "VM100002", "0.75", "journey later", 2);
    EXPECT_EQ(vm.ScheduleList().size(), 1u);
    clock_.Advance(60);
    EXPECT_EQ(Booked("VM"), booked) << "not due yet";
    EXPECT_EQ(vm.ScheduleList().size(), 1u);
    clock_.Advance(60);
    EXPECT_EQ(Booked("VM"), booked + 1);
    EXPECT_TRUE(vm.ScheduleList().empty());
    EXPECT_EQ(before - Micro(vm), 750000);
    clock_.Advance(120);
    EXPECT_EQ(Booked("VM"), booked + 1) << "sent once";
    EXPECT_EQ(TakeMessages(), "");
    Screenshot("scheduled_payment");
}

TEST_F(Journey, AMassPaymentImportedFromTheSampleFileIsSent) {
    for (int s : kFullSystems) {
        const std::string prefix = kPrefixes[s];
        const std::string sample = PW_SOURCE_DIR "/res/Sample/" + prefix + "_Import.csv";
        const std::string text = ReadAll(sample);
        const auto lines = static_cast<long>(Split(text, "\n").size()) - (text.back() == '\n');
        Login(s);
        CAccountTab& tab = Tab(s);
        ASSERT_TRUE(tab.IsLoggedIn()) << prefix << ": " << TakeMessages();
        const long booked = Booked(prefix);
        std::size_t imported = 0;
        const auto sent = WhenShown<CMakeMassPayment>([&](CMakeMassPayment& w) {
            ui_.openNames.push_back(sample);
            w.ImportAction()->trigger();
            imported = w.Queue().size();
            ClickOk(w);
        });
        tab.SelectBalanceRow(0);
        tab.RunCommand(TabCommand::MakeMassPayment);
        ASSERT_TRUE(*sent) << prefix;
        EXPECT_EQ(static_cast<long>(imported), lines) << prefix;
        EXPECT_EQ(Booked(prefix), booked + lines) << prefix;
        const std::string n = std::to_string(lines);
        EXPECT_NE(TakeMessages().find(n + " of " + n + " payment"), std::string::npos) << prefix;
    }
    Screenshot("mass_payment");
}

TEST_F(Journey, ExportAndReceiptFilesAreWritten) {
    for (int s : kFullSystems) {
        const std::string prefix = kPrefixes[s];
        Login(s);
        CAccountTab& tab = Tab(s);
        tab.findChild<QDateEdit*>("fromDate")->setDate(QDate(2009, 1, 1));
        FetchHistory(tab);
        ASSERT_FALSE(tab.HistoryRows().empty()) << prefix << ": " << TakeMessages();
        TakeMessages();

        const std::string csv = base_ + prefix + "_history.csv";
        ui_.saveNames.push_back(csv);
        tab.RunCommand(TabCommand::ExportCsv);
        EXPECT_NE(TakeMessages().find(csv), std::string::npos) << prefix;
        const TextList lines = Split(ReadAll(csv), "\r\n");
        EXPECT_EQ(lines.size(), tab.HistoryRows().size() + 2) << prefix << ": titles, rows, end";

        const std::string jpg = base_ + prefix + "_receipt.jpg";
        const auto saved = WhenShown<CHistoryView>([&](CHistoryView& v) {
            ui_.saveNames.push_back(jpg);
            QTest::mouseClick(v.findChild<QPushButton*>("saveButton"), Qt::LeftButton);
            v.reject();
        });
        auto* view = tab.findChild<QTableView*>("historyTable");
        const QRect cell = view->visualRect(view->model()->index(0, 0));
        ASSERT_TRUE(view->viewport()->rect().contains(cell.center())) << prefix;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_TRUE(*saved) << prefix << ": the record did not open";
        EXPECT_EQ(ReadAll(jpg).substr(0, 3), "\xFF\xD8\xFF") << prefix;
        EXPECT_EQ(TakeMessages(), "") << prefix;
    }
    Screenshot("export_receipt");
}

TEST_F(Journey, APasswordChangeAndARestartKeepEverySavedAccountReadable) {
    // Every tab keeps its demo account in its saved list, the login saved.
    std::vector<TextList> saved(6);
    for (int s = 0; s < 6; ++s) {
        const keys::SystemKeys& k = keys::KeysOf(s);
        TextList fields;
        const DemoLogin& d = kDemo[s];
        for (const char* key : {k.account, k.apiName, k.save, k.pin, k.pass}) {
            const std::string name = key;
            if (name.empty()) continue;
            fields.push_back(name == k.account ? d.account
                             : name == k.save  ? "true"
                             : name == k.pass  ? d.secret
                                               : d.apiName);
        }
        saved[s] = {JoinList(fields, "~")};
        Login(s);
        Tab(s).SetSavedAccounts(saved[s]);
        Tab(s).SaveState();
    }
    const auto changed = WhenShown<CSetting>([&](CSetting& d) {
        QTest::keyClicks(d.findChild<QLineEdit*>("edit1002"), "new run pass");
        ClickOk(d);
    });
    window_->OpenSettings();
    ASSERT_TRUE(*changed);
    EXPECT_NE(TakeMessages(), "") << "where the new master key is";
    // On disk, every saved list reads under the new password before anything else is saved.
    const SettingsStore onDisk(app_->SettingsPath(), "new run pass");
    for (int s : kFullSystems)
        EXPECT_EQ(ReadSavedAccounts(onDisk, SavedAccountKindOf(s)), saved[s]) << kPrefixes[s];

    Stop();
    ui_.passwords.push_back("new run pass");
    Start();
    EXPECT_EQ(ui_.passwordPrompts, 1);
    for (int s = 0; s < 6; ++s) {
        CAccountTab& tab = Tab(s);
        EXPECT_EQ(tab.SavedAccounts(), saved[s]) << kPrefixes[s];
        // The saved login is filled in: Login alone logs in.
        window_->Tabs()->setCurrentWidget(&tab);
        QTest::mouseClick(tab.findChild<QPushButton*>("loginButton"), Qt::LeftButton);
        EXPECT_TRUE(tab.IsLoggedIn()) << kPrefixes[s] << ": " << TakeMessages();
    }
    EXPECT_EQ(TakeMessages(), "");
    window_->Tabs()->setCurrentIndex(0);
    Screenshot("password_restart");
}

TEST_F(Journey, ServerFaultsGetAClearMessageAndLoseNothing) {
    Login(0);
    Login(1);
    CAccountTab& lr = Tab(0);
    CAccountTab& pm = Tab(1);
    ASSERT_TRUE(lr.IsLoggedIn() && pm.IsLoggedIn()) << TakeMessages();
    FetchHistory(lr);
    const RowList lrBalance = lr.BalanceRows(), lrHistory = lr.HistoryRows();

    // A server that cannot be talked to, met by a new tab (a tab takes its host when it
    // opens): an expired certificate, plain HTTP where TLS is expected, another system's
    // answers in place of e-gold's, a port where nothing listens.
    const std::string host = sandbox_->HttpsHost();
    const struct {
        const char* fault;
        int system;
        std::string host, shown;
    } servers[] = {
        {"expired certificate", 0, "127.0.0.1:" + std::to_string(sandbox_->ExpiredPort()),
         "certificate has expired"},
        {"not TLS", 0, sandbox_->HttpHost(), "wrong version number"},
        {"garbage", 3, host, "e-gold server could not be read; nothing was changed."},
        {"nobody there", 2, "127.0.0.1:1", "Couldn't connect to server"},
    };
    for (const auto& c : servers) {
        const keys::SystemKeys& k = keys::KeysOf(c.system);
        const std::string good = app_->GetString(k.section, k.host, "");
        app_->WriteString(k.section, k.host, c.host);
        window_->Tabs()->setCurrentWidget(&Tab(c.system));
        window_->OpenNewTab();
        auto* extra = qobject_cast<CAccountTab*>(window_->Tabs()->widget(window_->Tabs()->count() - 1));
        ASSERT_NE(extra, nullptr);
        Login(*extra, kDemo[c.system]);
        EXPECT_FALSE(extra->IsLoggedIn()) << c.fault;
        const std::string shown = TakeMessages();
        EXPECT_NE(shown.find(c.shown), std::string::npos) << c.fault << ": " << shown;
        window_->CloseCurrentTab();
        app_->WriteString(k.section, k.host, good);
        EXPECT_EQ(lr.BalanceRows(), lrBalance) << c.fault;
        EXPECT_EQ(lr.HistoryRows(), lrHistory) << c.fault;
    }

    // Transfers refused, or booked without a whole answer (cut short, a server too slow for
    // the transport's patience, an error status, nothing): told, and never sent again.
    const struct {
        const char* mode;
        int ms;
        long booked;
        const char* shown;
    } transfers[] = {
        {"refuse", 1000, 0, "Error : Transfer refused by the server"},
        {"empty", 1000, 0, "may have been made"},
        {"drop", 1000, 1, "may have been made"},
        {"stall", 30000, 1, "may have been made"},
        {"500", 1000, 1, "may have been made"},
    };
    for (const auto& c : transfers) {
        Arm("PM", c.mode, 1, c.ms);
        const long booked = Booked("PM");
        const long long before = Micro(pm);
        Pay(pm, "U7654321", "1.00", c.mode);
        const std::string shown = TakeMessages();
        EXPECT_NE(shown.find(c.shown), std::string::npos) << c.mode << ": " << shown;
        EXPECT_EQ(Booked("PM"), booked + c.booked) << c.mode;
        EXPECT_EQ(before - Micro(pm), c.booked * 1010000) << c.mode << ": the balance as it is";
        clock_.Advance(120);
        EXPECT_EQ(Booked("PM"), booked + c.booked) << c.mode << ": not sent again";
        TakeMessages();
    }
    // The saved state reads as before.
    EXPECT_EQ(app_->GetSecret("LR", "LRAccountLast"), kDemo[0].account);
    EXPECT_EQ(app_->GetSecret("PM", "PMAccountLast"), kDemo[1].account);
    Screenshot("faults");
}

}  // namespace
}  // namespace pw::test
