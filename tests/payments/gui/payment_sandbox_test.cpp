// Payments end to end: the real tabs of the four systems, the real transport and the sandbox,
// the clock seam set to real time and moved by hand. One journey per rule.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>
#include <functional>

#include "../../accounts/gui/tab_fixture.h"
#include "accounts/gui/account_tab_api.h"
#include "crypto/cipher.h"
#include "net/curl_transport.h"
#include "payments/gui/make_payment_dialog.h"
#include "payments/gui/payment_feature.h"
#include "payments/ole_date.h"
#include "payments/payment_outcome.h"
#include "payments/schedule.h"
#include "settings/keys.h"
#include "store/schedule_file.h"
#include "support/sandbox.h"

namespace pw {
namespace {

using test::Sandbox;

// The main window's requests through a real transport; transfers go through Exchange.
class PaymentHost : public test::TransportHost {
  public:
    using TransportHost::TransportHost;
    std::string prefix = "LR";
    std::function<void(const std::string& url)> beforeExchange;
    std::string HttpGet(const SecureString& url) override {
        urls.emplace_back(url);
        return transport.HttpGet(url);
    }
    Exchanged Exchange(const SecureString& url, bool secure) override {
        urls.emplace_back(url);
        if (beforeExchange) beforeExchange(std::string(url));
        return transport.Exchange(url, secure, nullptr);
    }
    std::string MakeTabTableName(const std::string& suffix) override {
        return suffix.empty() ? std::string() : prefix + "_" + suffix;
    }
};

struct Login {
    const char *account, *apiName, *secret;
};
const Login kLogins[] = {{"U1234567", "demoapi", "demosecret"},
                         {"1234567", "", "demo-pass"},
                         {"VM100001", "1234", "demopass"},
                         {"1234567", "", "demopass1"}};
const char* const kPrefixes[] = {"LR", "PM", "VM", "EG"};

// What the dialog is given: payee, amount, memo, and when scheduled the minutes from now and
// the retry flag.
struct Payment {
    std::string to, amount, memo;
    int inMinutes = -1;  // -1: send now
    bool retry = false;
};

class PaymentJourney : public ::testing::Test {
  public:
    static void SetUpTestSuite() { sandbox_ = new Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    void SetUp() override { Start(*sandbox_); }

    void Start(Sandbox& box) {
        box_ = &box;
        w_.clock.Set(std::time(nullptr));
        w_.app.WriteString("Setting", "CACertFile", box.CaPath());
        for (int s = 0; s < 4; ++s)
            w_.app.WriteString(keys::KeysOf(s).section, keys::KeysOf(s).host,
                               s == 3 ? box.EgHost() : box.HttpsHost());
        w_.app.WriteString("EG", "EGPriceHost", box.HttpHost());
        TransportHooks hooks;
        hooks.showMessage = [this](const std::string& m) { transportMessages_.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = hooks.showMessage;
        transport_ = std::make_unique<CurlTransport>(
            w_.app.Settings(), counter_, hooks,
            TransportTimeouts{std::chrono::milliseconds(5000), std::chrono::seconds(1)});
        host_ = std::make_unique<PaymentHost>(*transport_);
    }

    // A logged-in tab of the system with the payments installed; the dialog is filled by
    // payment_ and confirmed.
    std::unique_ptr<CAccountTab> OpenTab(int system) {
        host_->prefix = kPrefixes[system];
        std::unique_ptr<CAccountTab> tab(
            static_cast<CAccountTab*>(CreateAccountTab(system, w_.app, *host_, nullptr)));
        InstallPayments(*tab, w_.app, [this](CMakePayment& d) { return Fill(d); });
        const Login& l = kLogins[system];
        tab->findChild<QLineEdit*>("accountEdit")->setText(l.account);
        tab->findChild<QLineEdit*>("apiNameEdit")->setText(l.apiName);
        tab->findChild<QLineEdit*>("secretEdit")->setText(l.secret);
        tab->Login();
        EXPECT_TRUE(tab->IsLoggedIn()) << kPrefixes[system];
        return tab;
    }

    int Fill(CMakePayment& d) {
        d.show();
        d.ToEdit()->setText(QString::fromStdString(payment_.to));
        d.AmountEdit()->setText(QString::fromStdString(payment_.amount));
        d.MemoEdit()->setText(QString::fromStdString(payment_.memo));
        if (payment_.inMinutes >= 0) {
            d.ScheduleBox()->setChecked(true);
            const LocalDateTime t = LocalOf(w_.clock.Now() + payment_.inMinutes * 60);
            d.DateEdit()->setDate(QDate(t.year, t.month, t.day));
            d.TimeEdit()->setTime(QTime(t.hour, t.minute));
            d.RetryBox()->setChecked(payment_.retry);
        }
        d.accept();
        return d.result();
    }

    // Pays from balance row `row` of the tab.
    void Pay(CAccountTab& tab, int row, Payment p) {
        payment_ = std::move(p);
        tab.SelectBalanceRow(row);
        tab.RunCommand(TabCommand::MakePayment);
    }

    long Booked(const char* system) {
        return std::stol(
            transport_->HttpGet(box_->HttpUrl("/sandbox/booked?system=" + std::string(system))));
    }
    void Arm(const std::string& system, const std::string& mode, int count, int ms = 3000) {
        ASSERT_EQ(transport_->HttpGet(box_->HttpUrl(
                      "/sandbox/fault?system=" + system + "&mode=" + mode +
                      "&count=" + std::to_string(count) + "&ms=" + std::to_string(ms))),
                  "ok\n");
    }
    TextList FileRecords(CAccountTab& tab) {
        return LoadSchedule(w_.app.ProgramDir(), tab.AccountTag(), tab.Traits().scheduleFieldCount,
                            tab.Traits().scheduleDueField)
            .records;
    }
    static std::string Field(std::string_view record, std::size_t i) {
        return Split(record, "~").at(i);
    }
    // A balance cell as whole millionths.
    static long long Micro(const std::string& text) {
        const std::size_t dot = text.find('.');
        std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
        frac.resize(6, '0');
        return std::stoll(text.substr(0, dot)) * 1000000 + std::stoll(frac);
    }

    static inline Sandbox* sandbox_ = nullptr;
    Sandbox* box_ = nullptr;
    test::TabWorld w_;
    TrafficCounter counter_;
    std::vector<std::string> transportMessages_;
    std::unique_ptr<CurlTransport> transport_;
    std::unique_ptr<PaymentHost> host_;
    Payment payment_;
};

TEST_F(PaymentJourney, APaymentNowMovesTheMoneyOnEachTab) {
    const struct {
        int system, row, cell;
        Payment payment;
        long long costMicro;
    } cases[] = {
        {0, 0, 1, {"U7654321", "12,5", "e2e now"}, 12500000},
        {1, 0, 1, {"U7654321", "100", "e2e now"}, 100500000},  // 100 costs 100.50
        {2, 0, 1, {"VM100002", "2.25", "e2e now"}, 2250000},
        {3, 0, 1, {"7654321", "90", "e2e now"}, 100000},  // 90 USD of gold at 900: 0.1 oz
    };
    for (const auto& c : cases) {
        const char* prefix = kPrefixes[c.system];
        auto tab = OpenTab(c.system);
        const long booked = Booked(prefix);
        const std::string before = Field(tab->BalanceRows().at(c.row), c.cell);
        Pay(*tab, c.row, c.payment);
        EXPECT_TRUE(w_.ui.messages.empty()) << prefix << ": " << w_.ui.messages.front();
        EXPECT_EQ(Booked(prefix), booked + 1) << prefix;
        const std::string after = Field(tab->BalanceRows().at(c.row), c.cell);
        EXPECT_EQ(Micro(before) - Micro(after), c.costMicro)
            << prefix << " " << before << "/" << after;
        EXPECT_TRUE(tab->ScheduleList().empty());
        EXPECT_EQ(tab->Schedule().busy, 0);
    }
    EXPECT_TRUE(transportMessages_.empty()) << transportMessages_.front();
}

TEST_F(PaymentJourney, AWrongOrCancelledPaymentPasswordSendsNothingAndSaysSo) {
    std::string stored;
    ASSERT_TRUE(Encipher("paypass", "unlock", stored));
    w_.app.Pw().SetStoredPass2(stored);
    auto tab = OpenTab(1);
    const long booked = Booked("PM");
    w_.ui.passwords = {std::string("wrong")};
    Pay(*tab, 0, {"U7654321", "1.00", "wrong password"});
    Pay(*tab, 0, {"U7654321", "1.00", "prompt cancelled"});
    EXPECT_EQ(w_.ui.messages, (std::vector<std::string>{kPaymentNotSentText, kPaymentNotSentText}));
    EXPECT_EQ(Booked("PM"), booked);
    w_.ui.passwords = {std::string("paypass")};
    Pay(*tab, 0, {"U7654321", "1.00", "right password"});
    EXPECT_EQ(w_.ui.passwordPrompts, 3);
    EXPECT_EQ(Booked("PM"), booked + 1);
    EXPECT_EQ(w_.ui.messages.size(), 2u);
}

TEST_F(PaymentJourney, DueInAMinuteIsSavedMarkedBeforeItLeavesAndSentOnce) {
    auto tab = OpenTab(0);
    const long booked = Booked("LR");
    Pay(*tab, 0, {"U7654321", "1.00", "e2e later", 1, false});
    ASSERT_EQ(FileRecords(*tab).size(), 1u);
    EXPECT_EQ(Field(FileRecords(*tab)[0], 7), "no");
    EXPECT_EQ(Booked("LR"), booked) << "scheduled, not sent";

    // While the request runs, the file already holds the record failed without retry: a
    // program killed now and started again sends nothing.
    int looked = 0;
    host_->beforeExchange = [&](const std::string& url) {
        if (url.find("transfer.aspx") == std::string::npos) return;
        ++looked;
        const TextList onDisk = FileRecords(*tab);
        ASSERT_EQ(onDisk.size(), 1u);
        EXPECT_EQ(Field(onDisk[0], 7), "yes");
        EXPECT_EQ(Field(onDisk[0], 5), "no");
        auto restarted = std::make_shared<AccountSchedule>();
        restarted->records = onDisk;
        restarted->dueTimes = {Field(onDisk[0], 4)};
        int sentAfterRestart = 0;
        ScheduleCheckHooks hooks;
        hooks.send = [&](const std::string&) { return ++sentAfterRestart, TransferResult{}; };
        hooks.save = [] { return true; };
        hooks.message = [](const std::string&) {};
        RunScheduleCheck(restarted, *PaymentVariantOf(0),
                         OleSeconds(LocalOf(w_.clock.Now())) + 86400, hooks);
        EXPECT_EQ(sentAfterRestart, 0);
    };
    w_.clock.Advance(60);
    EXPECT_EQ(looked, 1);
    EXPECT_EQ(Booked("LR"), booked + 1);
    EXPECT_TRUE(FileRecords(*tab).empty());
    EXPECT_TRUE(tab->ScheduleList().empty());
    w_.clock.Advance(120);
    EXPECT_EQ(Booked("LR"), booked + 1);
    EXPECT_TRUE(w_.ui.messages.empty()) << w_.ui.messages.front();
}

TEST_F(PaymentJourney, ARefusedPaymentIsTriedAgainOnlyWithRetry) {
    auto tab = OpenTab(0);
    const long booked = Booked("LR");
    Pay(*tab, 0, {"U5000000", "1.00", "retry no", 0, false});
    Pay(*tab, 0, {"U5000000", "2.00", "retry yes", 0, true});
    w_.clock.Advance(60);
    ASSERT_EQ(w_.ui.messages.size(), 2u);
    EXPECT_EQ(w_.ui.messages[0].rfind("Code : 305, Message : ", 0), 0u) << w_.ui.messages[0];
    w_.clock.Advance(60);
    w_.clock.Advance(60);
    EXPECT_EQ(w_.ui.messages.size(), 4u) << "one message a minute for the record with retry";
    EXPECT_EQ(Booked("LR"), booked);
    const TextList onDisk = FileRecords(*tab);
    ASSERT_EQ(onDisk.size(), 2u);
    for (const std::string& r : onDisk) EXPECT_EQ(Field(r, 7), "yes") << r;
}

TEST_F(PaymentJourney, ABookedTransferWithoutItsAnswerIsNeverSentAgain) {
    auto tab = OpenTab(1);
    const struct {
        const char* mode;
        long booked;
    } cases[] = {{"drop", 1}, {"stall", 1}, {"500", 1}, {"empty", 0}};
    for (const auto& c : cases) {
        w_.ui.messages.clear();
        const long booked = Booked("PM");
        Arm("PM", c.mode, 3);
        Pay(*tab, 0, {"U7654321", "1.00", c.mode, 0, true});
        for (int i = 0; i < 3; ++i) w_.clock.Advance(60);
        Arm("PM", "none", 0);
        EXPECT_EQ(Booked("PM"), booked + c.booked) << c.mode;
        ASSERT_EQ(tab->ScheduleList().size(), 1u) << c.mode;
        EXPECT_EQ(Field(tab->ScheduleList()[0], 8), "yes") << c.mode;
        EXPECT_EQ(Field(tab->ScheduleList()[0], 6), "no") << c.mode << ": its retry is dropped";
        ASSERT_EQ(w_.ui.messages.size(), 1u) << c.mode;
        EXPECT_NE(w_.ui.messages[0].find("1.00 to U7654321 may have been made"), std::string::npos)
            << w_.ui.messages[0];
        // Out of the way for the next mode: the record is left failed, not due again.
        AccountSchedule& s = tab->Schedule();
        s.records.clear();
        s.dueTimes.clear();
    }
}

TEST_F(PaymentJourney, TwoTabsOnOneAccountShareTheScheduleAndSendOnce) {
    auto first = OpenTab(2);
    auto second = OpenTab(2);
    const long booked = Booked("VM");
    Pay(*second, 0, {"VM100002", "0.50", "due now", 0, false});
    Pay(*first, 0, {"VM100002", "0.75", "in ten minutes", 10, false});
    EXPECT_EQ(FileRecords(*first).size(), 2u) << "neither save drops the other's record";
    w_.clock.Advance(60);  // both tabs' checks run
    EXPECT_EQ(Booked("VM"), booked + 1);
    EXPECT_EQ(first->ScheduleList(), second->ScheduleList());
    ASSERT_EQ(FileRecords(*first).size(), 1u);
    EXPECT_EQ(Field(FileRecords(*first)[0], 2), "in ten minutes");
    EXPECT_TRUE(w_.ui.messages.empty()) << w_.ui.messages.front();
}

TEST(PaymentUnreachable, AServerThatCannotBeReachedLeavesTheRecordForLater) {
    Sandbox own;
    struct Journey : PaymentJourney {
        void TestBody() override {}
    } j;
    j.Start(own);
    auto tab = j.OpenTab(0);
    j.Pay(*tab, 0, {"U7654321", "3.00", "later", 0, false});
    const TextList scheduled = tab->ScheduleList();
    own.Stop();
    j.w_.clock.Advance(60);
    EXPECT_EQ(tab->ScheduleList(), scheduled) << "as it was";
    EXPECT_EQ(j.FileRecords(*tab), scheduled);
    ASSERT_EQ(j.w_.ui.messages.size(), 1u);
    EXPECT_NE(j.w_.ui.messages[0].find("3.00 to U7654321 was not sent"), std::string::npos)
        << j.w_.ui.messages[0];
    own.Restart();
    j.w_.clock.Advance(60);
    EXPECT_EQ(j.Booked("LR"), 1);
    EXPECT_TRUE(tab->ScheduleList().empty());
}

}  // namespace
}  // namespace pw
