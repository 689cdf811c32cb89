// Mass payments end to end: the real tabs, the real transport and the sandbox. The shipped
// example lists pay each payee once; a PM list books its fees; a connection dropped after a
// booking is reported as unknown and stops only that payee; Cancel keeps the schedule byte for
// byte and a cleared "Shedule" box sends the row; the schedule view shows two accounts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <functional>

#include "../../accounts/gui/tab_fixture.h"
#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/tab_menus.h"
#include "accounts/tab_logic.h"
#include "crypto/cipher.h"
#include "net/curl_transport.h"
#include "payments/gui/make_mass_payment.h"
#include "payments/gui/mass_payment_feature.h"
#include "payments/gui/schedule_view.h"
#include "store/file_io.h"
#include "store/schedule_file.h"
#include "support/sandbox.h"

namespace pw::test {
namespace {

// A main window for one tab: requests through the real transport, which tells what became
// of each; the account tag carries the tab's prefix. beforeTransfer runs before each transfer
// request leaves (the tests arm sandbox faults there).
class SandboxHost : public TransportHost {
  public:
    SandboxHost(Transport& t, std::string prefix) : TransportHost(t), prefix_(std::move(prefix)) {}
    Exchanged Exchange(const SecureString& url, bool secure) override {
        urls.emplace_back(url);
        if (beforeTransfer) beforeTransfer(std::string(url));
        return transport.Exchange(url, secure, nullptr);
    }
    std::string HttpGet(const SecureString& url) override {
        urls.emplace_back(url);
        return transport.HttpGet(url);
    }
    std::string MakeTabTableName(const std::string& suffix) override {
        return suffix.empty() ? std::string() : prefix_ + "_" + suffix;
    }
    std::function<void(const std::string& url)> beforeTransfer;

  private:
    std::string prefix_;
};

struct Login {
    int system;
    const char* prefix;
    const char* account;
    const char* apiName;  // empty: the system has none
    const char* secret;
    const char* row;  // first cell of the payer's balance row
};
const Login kLogins[] = {
    {0, "LR", "U1234567", "demoapi", "demosecret", "LRUSD"},
    {1, "PM", "1234567", "", "demo-pass", "U1234567"},
    {2, "VM", "VM100001", "1234", "demopass", "USD"},
    {3, "EG", "1234567", "", "demopass1", "Gold"},
};

class MassSandboxTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { sandbox_ = new Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }
    void SetUp() override {
        w.clock.Set(std::time(nullptr));  // tokens are checked against the sandbox's clock
        w.app.WriteString("Setting", "CACertFile", sandbox_->CaPath());
        w.app.WriteString("LR", "LRHost", sandbox_->HttpsHost());
        w.app.WriteString("PM", "PMHost", sandbox_->HttpsHost());
        w.app.WriteString("VM", "VMHost", sandbox_->HttpsHost());
        w.app.WriteString("EG", "EGHost", sandbox_->EgHost());
        w.app.WriteString("EG", "EGPriceHost", sandbox_->HttpHost());
        hooks_.showMessage = [this](const std::string& m) { transportMessages.push_back(m); };
        hooks_.isHidden = [] { return false; };
        hooks_.notifyUser = [](const std::string&) {};
        hooks_.trafficChanged = [](const std::string&) {};
        transport_ = std::make_unique<CurlTransport>(w.app.Settings(), counter_, hooks_);
    }

    // Logs the tab of login in and selects the payer's balance row.
    CAccountTab& Open(const Login& login) {
        hosts_.push_back(std::make_unique<SandboxHost>(*transport_, login.prefix));
        tabs_.emplace_back(CreateAccountTab(login.system, w.app, *hosts_.back(), nullptr));
        auto* tab = qobject_cast<CAccountTab*>(tabs_.back().get());
        EXPECT_NE(tab, nullptr);
        tab->findChild<QLineEdit*>("accountEdit")->setText(login.account);
        if (*login.apiName) tab->findChild<QLineEdit*>("apiNameEdit")->setText(login.apiName);
        tab->findChild<QLineEdit*>("secretEdit")->setText(login.secret);
        tab->Login();
        EXPECT_TRUE(tab->IsLoggedIn())
            << login.prefix << (w.ui.messages.empty() ? "" : w.ui.messages[0]);
        tab->SelectBalanceRow(RowOf(*tab, login.row));
        return *tab;
    }
    static int RowOf(const CAccountTab& tab, const std::string& first) {
        for (std::size_t i = 0; i < tab.BalanceRows().size(); ++i)
            if (Split(tab.BalanceRows()[i], "~")[0] == first) return static_cast<int>(i);
        ADD_FAILURE() << "no balance row " << first;
        return -1;
    }
    static Cents Balance(const CAccountTab& tab, const Login& login) {
        const TextList cells =
            Split(tab.BalanceRows()[static_cast<std::size_t>(RowOf(tab, login.row))], "~");
        return ToCents(cells[login.system == 3 ? 4 : 1]);
    }
    int Booked(const char* system) {
        return std::atoi(
            transport_->HttpGet(sandbox_->HttpUrl(std::string("/sandbox/booked?system=") + system))
                .c_str());
    }
    void Fault(const char* system, const char* mode, int count) {
        EXPECT_EQ(transport_->HttpGet(sandbox_->HttpUrl(std::string("/sandbox/fault?system=") +
                                                        system + "&mode=" + mode +
                                                        "&count=" + std::to_string(count))),
                  "ok\n");
    }
    // Runs the mass payment of the tab with window (the user's part) and returns its result.
    void Mass(CAccountTab& tab, std::function<int(CMakeMassPayment&)> window) {
        InstallMassPayment(tab, w.app, [window](CMakeMassPayment& m) {
            m.show();
            return window(m);
        });
        tab.RunCommand(TabCommand::MakeMassPayment);
    }
    static int Ok(CMakeMassPayment& m) {
        m.accept();
        return m.result();
    }

    static inline Sandbox* sandbox_ = nullptr;
    TabWorld w;
    TrafficCounter counter_;
    TransportHooks hooks_;
    std::vector<std::string> transportMessages;
    std::unique_ptr<CurlTransport> transport_;
    std::vector<std::unique_ptr<SandboxHost>> hosts_;
    std::vector<std::unique_ptr<QWidget>> tabs_;
};

TEST_F(MassSandboxTest, EachShippedSamplePaysEachPayeeOnce) {
    const std::string samples = std::string(PW_TEST_DATA_DIR) + "/../../res/Sample/";
    std::filesystem::create_directories(w.dir.Path() + "Sample");
    for (const Login& login : kLogins) {
        const MassPaymentVariant& v = *MassPaymentVariantOf(login.system);
        const std::string file = w.dir.Path() + "Sample/" + v.csvFile;
        std::filesystem::copy_file(samples + v.csvFile, file);
        const CsvImport lines = ReadCsvPayments(file, v.CsvMinFields());
        ASSERT_FALSE(lines.payments.empty());
        Cents cost = 0;
        for (const CsvPayment& p : lines.payments)
            cost += p.cents + (v.Payment().fee ? PmFee(p.cents) : 0);

        CAccountTab& tab = Open(login);
        const Cents before = Balance(tab, login);
        const int booked = Booked(login.prefix);
        w.ui.messages.clear();
        w.ui.openNames = {file};
        Mass(tab, [&](CMakeMassPayment& m) {
            m.Import();
            EXPECT_EQ(m.Queue().size(), lines.payments.size()) << login.prefix;
            return Ok(m);
        });
        const std::string n = std::to_string(lines.payments.size());
        EXPECT_EQ(w.ui.messages,
                  (std::vector<std::string>{
                      CsvImportSummary(lines),
                      n + " of " + n + (n == "1" ? " payment" : " payments") + " sent."}))
            << login.prefix;
        EXPECT_EQ(Booked(login.prefix) - booked, static_cast<int>(lines.payments.size()))
            << login.prefix;
        // e-gold's balance row is the metal's USD value at the day's price.
        if (login.system != 3) {
            EXPECT_EQ(before - Balance(tab, login), cost) << login.prefix;
        }
    }
    EXPECT_TRUE(transportMessages.empty()) << transportMessages[0];
}

TEST_F(MassSandboxTest, PerfectMoneyBooksThreeTransfersWithTheirFees) {
    const Login& pm = kLogins[1];
    CAccountTab& tab = Open(pm);
    const Cents before = Balance(tab, pm);
    const int booked = Booked("PM");
    Mass(tab, [](CMakeMassPayment& m) {
        m.SetQueue({"U7654321~1.00~one~A1~no~~no~U1234567~no",
                    "U7654321~2.00~two~A2~no~~no~U1234567~no",
                    "U7654321~100.00~three~A3~no~~no~U1234567~no",
                    "U7654321~1e3~from an edited file~A4~no~~no~U1234567~no"});
        return Ok(m);
    });
    EXPECT_EQ(Booked("PM") - booked, 3);
    EXPECT_EQ(before - Balance(tab, pm), 10352);
    EXPECT_EQ(w.ui.messages.back(),
              "3 of 4 payments sent.\n\nNot sent, the amount is not a plain number with at most "
              "two decimals:\n U7654321  1e3");
}

TEST_F(MassSandboxTest, ADroppedAnswerIsUnknownAndStopsOnlyThatPayee) {
    const Login& vm = kLogins[2];
    CAccountTab& tab = Open(vm);
    const int booked = Booked("VM");
    int transfers = 0;
    hosts_.back()->beforeTransfer = [&](const std::string& url) {
        if (url.find("request_data=") != std::string::npos &&
            url.find("Transfer") != std::string::npos && ++transfers == 2)
            Fault("VM", "drop", 1);
    };
    const std::string from = "VM100001 [USD]";
    Mass(tab, [&](CMakeMassPayment& m) {
        m.SetQueue(
            {"VM100002~1.00~a~no~~no~" + from + "~no", "VM100003~2.00~b~no~~no~" + from + "~no",
             "VM100002~3.00~c~no~~no~" + from + "~no", "VM100003~4.00~d~no~~no~" + from + "~no"});
        return Ok(m);
    });
    // The second was booked and its answer lost; the third still went; the fourth, to the
    // payee of the lost one, was held back.
    EXPECT_EQ(transfers, 3);
    EXPECT_EQ(Booked("VM") - booked, 3);
    const std::string summary = w.ui.messages.back();
    EXPECT_EQ(summary.rfind("2 of 4 payments sent.", 0), 0u) << summary;
    EXPECT_NE(
        summary.find(
            "Outcome unknown: look at the history before sending these again:\n VM100003  2.00"),
        std::string::npos)
        << summary;
    EXPECT_NE(summary.find("unknown outcome:\n VM100003  4.00"), std::string::npos) << summary;
    Fault("VM", "none", 0);
}

TEST_F(MassSandboxTest, LibertyReserveSendsOneRequestAndNamesTheRefusedRecords) {
    const Login& lr = kLogins[0];
    CAccountTab& tab = Open(lr);
    const int booked = Booked("LR");
    const Cents before = Balance(tab, lr);
    Mass(tab, [](CMakeMassPayment& m) {
        m.SetQueue({"U7654321~1.00~a~no~~no~LRUSD~no", "U5000000~2.00~b~no~~no~LRUSD~no",
                    "U7654321~-4~d~no~~no~LRUSD~no", "U1111111~3.00~c~no~~no~LRUSD~no"});
        return Ok(m);
    });
    EXPECT_EQ(Booked("LR") - booked, 2);
    EXPECT_EQ(before - Balance(tab, lr), 400);
    const std::string summary = w.ui.messages.back();
    EXPECT_NE(summary.find("two decimals:\n U7654321  -4"), std::string::npos) << summary;
    EXPECT_EQ(summary.rfind(
                  "2 of 4 payments sent.\n\nRefused by the payment system:\n U5000000  2.00 : ", 0),
              0u)
        << summary;
}

TEST_F(MassSandboxTest, ACancelledPaymentPasswordSkipsThatRecordOnly) {
    const Login& eg = kLogins[3];
    CAccountTab& tab = Open(eg);
    std::string pass2;
    ASSERT_TRUE(Encipher("pay-pass", "unlock", pass2));
    w.app.Pw().SetStoredPass2(pass2);
    w.ui.passwords = {std::string("pay-pass"), std::nullopt, std::string("pay-pass")};
    const int booked = Booked("EG");
    Mass(tab, [](CMakeMassPayment& m) {
        m.SetQueue({"7654321~1.00~a~A~no~~no~Gold~no", "5550001~2.00~b~B~no~~no~Gold~no",
                    "5550001~3.00~c~C~no~~no~Gold~no"});
        return Ok(m);
    });
    EXPECT_EQ(w.ui.passwordPrompts, 3);
    EXPECT_EQ(Booked("EG") - booked, 2);
    EXPECT_EQ(
        w.ui.messages.back(),
        "2 of 3 payments sent.\n\nNot sent, the payment password was not given:\n 5550001  2.00");
}

TEST_F(MassSandboxTest, NothingIsSentWhenTheScheduleCannotBeSaved) {
    const Login& lr = kLogins[0];
    ASSERT_TRUE(SaveSchedule(w.dir.Path(), "LR_U1234567",
                             {"U7654321~5.00~first~yes~50000.500000~no~LRUSD~no",
                              "U7654321~9.00~euro~yes~50002.500000~no~LREUR~no"}));
    const std::string file = w.dir.Path() + "Set/LR_U1234567.sav";
    const std::string stored = ReadFile(file);
    CAccountTab& tab = Open(lr);
    const int booked = Booked("LR");
    Mass(tab, [](CMakeMassPayment& m) {
        // The preloaded row is to be sent now, with a new one.
        m.SetQueue({"U7654321~5.00~first~no~~no~LRUSD~no", "U1111111~1.00~new~no~~no~LRUSD~no"});
        SetWriteFunctionForTest([](int, const char*, std::size_t) -> long {
            errno = ENOSPC;
            return -1;
        });
        return Ok(m);
    });
    SetWriteFunctionForTest({});
    EXPECT_EQ(Booked("LR") - booked, 0);
    EXPECT_EQ(w.ui.messages.back(), "The schedule could not be saved, so no payment was sent.");
    EXPECT_EQ(ReadFile(file), stored);
    EXPECT_EQ(tab.ScheduleList().size(), 2u);
}

TEST_F(MassSandboxTest, CancelKeepsTheScheduleAndAClearedBoxSendsThePreloadedRow) {
    const Login& lr = kLogins[0];
    ASSERT_TRUE(SaveSchedule(w.dir.Path(), "LR_U1234567",
                             {"U7654321~5.00~first~yes~50000.500000~no~LRUSD~no",
                              "U1111111~2.50~second~yes~50001.500000~no~LRUSD~yes",
                              "U7654321~9.00~euro~yes~50002.500000~no~LREUR~no"}));
    const std::string file = w.dir.Path() + "Set/LR_U1234567.sav";
    const std::string stored = ReadFile(file);
    CAccountTab& tab = Open(lr);
    ASSERT_EQ(tab.ScheduleList().size(), 3u);

    Mass(tab, [](CMakeMassPayment& m) {
        EXPECT_EQ(m.Queue().size(), 2u);  // the LREUR payment belongs to another payer row
        EXPECT_EQ(m.ResultEdit()->text(), "7.50");
        m.reject();
        return m.result();
    });
    EXPECT_EQ(ReadFile(file), stored);
    EXPECT_EQ(tab.ScheduleList().size(), 3u);

    const int booked = Booked("LR");
    const Cents before = Balance(tab, lr);
    Mass(tab, [](CMakeMassPayment& m) {
        m.SetEditorRunner([](CMakePayment& d) {
            d.show();
            d.ScheduleBox()->setChecked(false);
            d.accept();
            return d.result();
        });
        m.List()->selectRow(0);
        QTest::keyClick(m.List(), Qt::Key_F4);
        return Ok(m);
    });
    EXPECT_EQ(Booked("LR") - booked, 1);
    EXPECT_EQ(before - Balance(tab, lr), 500);
    EXPECT_EQ(w.ui.messages.back(), "1 of 1 payment sent.");
    const ScheduleLoad left = LoadSchedule(w.dir.Path(), "LR_U1234567", 8, 4);
    EXPECT_EQ(left.records, (TextList{"U1111111~2.50~second~yes~50001.500000~no~LRUSD~yes",
                                      "U7654321~9.00~euro~yes~50002.500000~no~LREUR~no"}));
}

TEST_F(MassSandboxTest, TheScheduleViewShowsAnLrAndAPmAccount) {
    ASSERT_TRUE(SaveSchedule(w.dir.Path(), "LR_U1234567",
                             {"U7654321~5.00~rent~yes~50000.500000~no~LRUSD~no"}));
    ASSERT_TRUE(SaveSchedule(w.dir.Path(), "PM_1234567",
                             {"U7654321~7.00~fee~INV~yes~50000.250000~yes~U1234567~yes"}));
    CAccountTab& lr = Open(kLogins[0]);
    CAccountTab& pm = Open(kLogins[1]);
    CSheduleView view(w.dir.Path(), {lr.AccountTag(), pm.AccountTag()});
    QAbstractItemModel* m = view.List()->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(0, 0).data().toString(), " LR_U1234567");
    EXPECT_EQ(m->index(1, 0).data().toString(), " PM_1234567");
    EXPECT_EQ(m->index(1, 2).data().toString(), "7.00");
}

}  // namespace
}  // namespace pw::test
