// The e-gold client against the sandbox over HTTPS and plain HTTP on 127.0.0.1: prices, login,
// histories under every filter, spends that move metal, and the refusals of a strict server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <memory>

#include "accounts/eg/eg_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/eg/eg_requests.h"
#include "accounts/transfer_request.h"
#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

class EgSandbox : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sandbox_ = new test::Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_eg_e2e_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        settings_ = std::make_unique<SettingsStore>((dir_ / "Purseward.ini").string(), "");
        settings_->WriteString("Setting", "CACertFile", sandbox_->CaPath());
        settings_->WriteString("EG", "EGHost", sandbox_->EgHost());
        settings_->WriteString("EG", "EGPriceHost", sandbox_->HttpHost());
        TransportHooks hooks;
        hooks.showMessage = [this](const std::string& m) { shown_.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = [this](const std::string& m) { shown_.push_back(m); };
        transport_ = std::make_unique<CurlTransport>(*settings_, counter_, hooks);
        client_ = MakeEGoldClient(*settings_);
        client_->ReadPrices(transport_->HttpGet(client_->PriceUrl()));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Ounces by metal after a balance request of who.
    std::map<std::string, std::string> Ounces(const LoginFields& who) {
        client_->Parse(transport_->HttpsGet(client_->BalanceUrl(who, 0)), RequestKind::Balance, true);
        EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
        std::map<std::string, std::string> out;
        for (const std::string_view row : client_->Answer().balanceRows) out[Split(row, "~")[0]] = Split(row, "~")[1];
        return out;
    }

    const RowList& History(const LoginFields& who, const HistoryFilter& f) {
        client_->Parse(transport_->HttpsGet(client_->HistoryUrl(who, f, 0, 0)), RequestKind::History, true);
        EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
        return client_->Answer().historyRows;
    }

    static HistoryFilter Range(Date from, Date to) {
        HistoryFilter f;
        f.from = from;
        f.to = to;
        return f;
    }

    static test::Sandbox* sandbox_;
    std::filesystem::path dir_;
    std::unique_ptr<SettingsStore> settings_;
    TrafficCounter counter_;
    std::vector<std::string> shown_;
    std::unique_ptr<CurlTransport> transport_;
    std::unique_ptr<EgClient> client_;
    const LoginFields demo_{"1234567", "", "demopass1"};
    const LoginFields payee_{"7654321", "", "payeepass2"};
    const LoginFields third_{"5550001", "", "thirdpass3"};
};

test::Sandbox* EgSandbox::sandbox_ = nullptr;

TEST_F(EgSandbox, PricesAndLogin) {
    EXPECT_EQ(client_->Prices(), (TextList{"900.00", "12.50", "1100.00", "200.00"}));
    const std::string page = transport_->HttpsGet(client_->BalanceUrl(demo_, 0));
    eg::EgAnswer usual;
    EXPECT_TRUE(eg::ReadUsualBalances(page, client_->Prices(), 0, usual)) << page;  // read in one pass
    client_->Parse(page, RequestKind::Balance, true);
    const RowList& rows = client_->Answer().balanceRows;
    ASSERT_EQ(rows.size(), 4u) << client_->ErrorReport();
    const char* want[][5] = {{"Gold", "1.500000", "46.6545", "900.00", "1350.00"},
                             {"Silver", "100.000000", "3110.3000", "12.50", "1250.00"},
                             {"Platinum", "0.250000", "7.7758", "1100.00", "275.00"},
                             {"Palladium", "0.000000", "0.0000", "200.00", "0.00"}};
    for (std::size_t i = 0; i < 4; ++i) {
        const TextList f = Split(rows[i], "~");
        ASSERT_EQ(f.size(), 6u);
        for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(f[k], want[i][k]) << rows[i];
    }
    EXPECT_TRUE(shown_.empty());
    // Without a price host the page is asked on port 80 of the interface's host.
    settings_->WriteString("EG", "EGPriceHost", "");
    EXPECT_EQ(MakeEGoldClient(*settings_)->PriceUrl(), "http://127.0.0.1/unsecure/metaldata.asp?LATEST=1");
}

TEST_F(EgSandbox, HistoryHonoursEveryFilter) {
    const HistoryFilter all = Range({2009, 1, 1}, {2009, 12, 31});
    const RowList rows = History(demo_, all);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows.front(), "03/20/2009 16:45:00~Incentive~Gold~0.002000~1.80~7654321 (Payee Shop)~USD~900.00~40000008~Incentive");
    EXPECT_EQ(rows.back(), "01/02/2009 10:11:12~Payment Received~Gold~0.500000~450.00~7654321 (Payee Shop)~USD~900.00~40000001~Invoice 17");
    EXPECT_EQ(Split(rows[6], "~")[4], "-90.00");
    EXPECT_EQ(Split(rows[1], "~")[4], "-0.90");  // metal that left shows a negative amount

    const auto count = [&](HistoryFilter f) { return History(demo_, f).size(); };
    HistoryFilter f = all;
    f.byAccount = true;
    f.counterpart = "7654321";
    EXPECT_EQ(count(f), 2u);
    f.byBatch = true;
    f.batch = "40000008";
    EXPECT_EQ(count(f), 1u);
    f.byAccount = false;
    f.batch = "40000003";
    EXPECT_EQ(count(f), 1u);
    EXPECT_EQ(count(Range({2009, 2, 1}, {2009, 2, 20})), 4u);  // both ends inclusive
    EXPECT_EQ(count(Range({2009, 2, 2}, {2009, 2, 19})), 2u);
    EXPECT_EQ(count(Range({2010, 1, 1}, {2010, 1, 31})), 0u);  // "No Records Found."
    EXPECT_EQ(count(Range({2009, 3, 1}, {2009, 1, 1})), 0u);
}

TEST_F(EgSandbox, SpendMovesMetalAndAppearsInBothHistories) {
    const auto before = Ounces(payee_), thirdBefore = Ounces(third_);
    ASSERT_EQ(before.at("Palladium"), "1.000000");
    int checks = 0;
    const TextList queue = {"5550001~20.50~Order #5 & co 1+1=2%~P-9~no~~no~Palladium~no"};
    ASSERT_EQ(SendTransfer(
                  *client_, *transport_, payee_, queue, [&] { return ++checks, true; },
                  std::time(nullptr))
                  .state,
              TransferState::Confirmed);
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
    EXPECT_EQ(Ounces(payee_).at("Palladium"), "0.897500");  // 20.50 / 200.00 = 0.1025 oz
    EXPECT_EQ(Ounces(third_).at("Palladium"), "0.102500");
    EXPECT_EQ(Ounces(third_).at("Gold"), thirdBefore.at("Gold"));

    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    const Date today{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
    HistoryFilter f = Range(today, today);
    f.byAccount = true;
    f.counterpart = "7654321";
    const RowList got = History(third_, f);
    ASSERT_EQ(got.size(), 1u);
    const TextList row = Split(got[0], "~");
    EXPECT_EQ(row[1], "Payment Received");
    EXPECT_EQ(row[3], "0.102500");
    EXPECT_EQ(row[4], "20.50");
    EXPECT_EQ(row[9], "Order #5 & co 1+1=2%");
    f.counterpart = "5550001";
    ASSERT_EQ(History(payee_, f).size(), 1u);
    EXPECT_EQ(Split(client_->Answer().historyRows[0], "~")[4], "-20.50");
    // A cancelled password prompt sends nothing.
    EXPECT_EQ(SendTransfer(
                  *client_, *transport_, payee_, queue, [] { return false; }, std::time(nullptr))
                  .state,
              TransferState::NotBuilt);
    EXPECT_EQ(Ounces(payee_).at("Palladium"), "0.897500");
}

TEST_F(EgSandbox, StrictServerRefusesWithErrorInputs) {
    const std::string host = "https://" + sandbox_->EgHost();
    const std::string bal = host + "/acct/balance.asp?AccountID=1234567";
    const std::string hist = host + "/acct/historycsv.asp?AccountID=1234567&PassPhrase=demopass1"
                             "&endmonth=1&endday=31&endyear=2009&paymentsreceived=1&paymentsmade=1"
                             "&inexchanges=1&outexchanges=1&bailments=1&redemptions=1&fees=1&incentives=1";
    const std::string spend = host + "/acct/confirm.asp?AccountID=1234567&PassPhrase=demopass1"
                              "&PAY_IN=1&Memo=&IGNORE_RATE_CHANGE=y&PAYMENT_ID=";
    const struct { const char* name; std::string url, error; } cases[] = {
        {"wrong passphrase", bal + "&Passphrase=wrong", "Invalid AccountID or PassPhrase"},
        {"unknown account", host + "/acct/balance.asp?AccountID=1&Passphrase=demopass1", "Invalid AccountID or PassPhrase"},
        {"balance with PassPhrase", bal + "&PassPhrase=demopass1", "Unknown parameter PassPhrase"},
        {"unknown parameter", bal + "&Passphrase=demopass1&extra=1", "Unknown parameter extra"},
        {"repeated parameter", bal + "&Passphrase=demopass1&Passphrase=x", "Repeated parameter Passphrase"},
        {"missing parameter", bal, "Missing parameter Passphrase"},
        {"30 February", hist + "&startmonth=2&startday=30&startyear=2009", "Invalid start date"},
        {"29 February 2009", hist + "&startmonth=2&startday=29&startyear=2009", "Invalid start date"},
        {"month 13", hist + "&startmonth=13&startday=1&startyear=2009", "Invalid start date"},
        {"kind flag 2", hist + "&startmonth=1&startday=1&startyear=2009&desc=2", "Invalid value of desc"},
        {"three decimals", spend + "&Payee_Account=7654321&Amount=1.234&WORTH_OF=Gold", "Invalid Amount"},
        {"bare point", spend + "&Payee_Account=7654321&Amount=5.&WORTH_OF=Gold", "Invalid Amount"},
        {"negative amount", spend + "&Payee_Account=7654321&Amount=-1&WORTH_OF=Gold", "Invalid Amount"},
        {"unknown metal", spend + "&Payee_Account=7654321&Amount=1&WORTH_OF=gold", "Invalid WORTH_OF"},
        {"unknown payee", spend + "&Payee_Account=999&Amount=1&WORTH_OF=Gold", "Invalid Payee_Account"},
        {"insufficient", spend + "&Payee_Account=7654321&Amount=999999&WORTH_OF=Gold", "Insufficient funds"},
    };
    for (const auto& c : cases) {
        client_->Parse(transport_->HttpsGet(c.url), RequestKind::Other, true);
        ASSERT_FALSE(client_->Answer().errors.empty()) << c.name;
        EXPECT_EQ(client_->Answer().errors.front(), c.error) << c.name;
        EXPECT_TRUE(client_->Answer().balanceRows.empty()) << c.name;
        EXPECT_TRUE(client_->Answer().historyRows.empty()) << c.name;
        EXPECT_EQ(client_->ErrorReport().rfind("Error : " + c.error + " \n", 0), 0u) << c.name;
    }
    // The history and spend requests spell it "PassPhrase"; "Passphrase" there is refused.
    std::string url(client_->HistoryUrl(demo_, Range({2009, 1, 1}, {2009, 1, 2}), 0, 0));
    url.replace(url.find("PassPhrase"), 10, "Passphrase");
    client_->Parse(transport_->HttpsGet(url), RequestKind::History, true);
    EXPECT_EQ(client_->Answer().errors.front(), "Unknown parameter Passphrase");
    EXPECT_EQ(Ounces(demo_).at("Gold"), "1.500000");  // nothing moved
    EXPECT_TRUE(shown_.empty());
}

}  // namespace
}  // namespace pw
