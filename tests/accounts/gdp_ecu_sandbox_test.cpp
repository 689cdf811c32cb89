// The GDP and ECUMoney clients against the sandbox over HTTPS on 127.0.0.1.
#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <memory>

#include "accounts/ecu/ecu_client.h"
#include "accounts/gdp/gdp_client.h"
#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

namespace pw {
namespace {

class GdpEcuSandbox : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sandbox_ = new test::Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_gdpecu_e2e_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        settings_ = std::make_unique<SettingsStore>((dir_ / "Purseward.ini").string(), "");
        settings_->WriteString("Setting", "CACertFile", sandbox_->CaPath());
        settings_->WriteString("GDP", "GDPHost", sandbox_->HttpsHost());
        settings_->WriteString("ECU", "ECUHost", sandbox_->HttpsHost());
        TransportHooks hooks;
        hooks.showMessage = [this](const std::string& m) { shown_.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = [this](const std::string& m) { shown_.push_back(m); };
        transport_ = std::make_unique<CurlTransport>(*settings_, counter_, hooks);
        gdp_ = MakeGdpClient(*settings_);
        ecu_ = MakeEcuClient(*settings_);
    }
    void TearDown() override {
        EXPECT_TRUE(shown_.empty());
        std::filesystem::remove_all(dir_);
    }

    // Currency~value of each balance row.
    static TextList Values(const ParsedAnswer& a) {
        TextList out;
        for (const std::string_view row : a.balanceRows) {
            const TextList f = Split(row, "~");
            EXPECT_EQ(f.size(), 3u) << row;
            out.push_back(f[0] + "~" + f[1]);
        }
        return out;
    }

    static test::Sandbox* sandbox_;
    std::filesystem::path dir_;
    std::unique_ptr<SettingsStore> settings_;
    TrafficCounter counter_;
    std::vector<std::string> shown_;
    std::unique_ptr<CurlTransport> transport_;
    std::unique_ptr<GdpClient> gdp_;
    std::unique_ptr<EcuClient> ecu_;
    const LoginFields gdpDemo_{"GDP1001", "ST-77", "gdp+key&1"};
    const LoginFields ecuDemo_{"E1000100", "", "ecu pass#1"};
};

test::Sandbox* GdpEcuSandbox::sandbox_ = nullptr;

TEST_F(GdpEcuSandbox, GdpBalancesFollowTheCurrencyList) {
    const std::string first = transport_->HttpsGet(gdp_->BalanceUrl(gdpDemo_, 0));
    gdp_->Parse(first, RequestKind::Balance, true);
    EXPECT_TRUE(gdp_->Answer().errors.empty()) << gdp_->ErrorReport();
    EXPECT_EQ(Values(gdp_->Answer()), (TextList{"USD~125.50", "EUR~40.00", "GBP~7.25"}));

    // This account's answer holds GBP before USD and no EUR element.
    const std::string second = transport_->HttpsGet(gdp_->BalanceUrl({"GDP2002", "ST-88", "k2"}, 0));
    gdp_->Parse(second, RequestKind::Balance, true);
    EXPECT_EQ(Values(gdp_->Answer()), (TextList{"USD~3.10", "GBP~99.99"}));

    // The server's answers, errors too, take the direct path.
    const std::string refused = transport_->HttpsGet(gdp::BalanceUrl(sandbox_->HttpsHost(), {"GDP1001", "", "bad"}));
    for (const std::string& answer : {first, second, refused}) {
        gdp::Answer direct;
        EXPECT_TRUE(gdp::ReadUsualShape(answer, 0, direct)) << answer;
    }
}

TEST_F(GdpEcuSandbox, GdpRefusesWrongCredentialsAndUnknownParameters) {
    const std::string h = sandbox_->HttpsHost();
    const struct {
        SecureString url;
        std::string error;
    } cases[] = {
        {gdp::BalanceUrl(h, {"GDP1001", "ST-77", "gdp key&1"}), "Invalid account or API key"},
        {gdp::BalanceUrl(h, {"gdp1001", "ST-77", "gdp+key&1"}), "Invalid account or API key"},
        {gdp::HistoryUrl(h, {"GDP1001", "ST-88", "gdp+key&1"}), "Invalid store ID"},
        {gdp::BalanceUrl(h, gdpDemo_) + "&foo=1", "Unknown parameter foo"},
        {gdp::BalanceUrl(h, gdpDemo_) + "&store_id=ST-77", "Unknown parameter store_id"},
        {gdp::BalanceUrl(h, gdpDemo_) + "&history=1", "Ask for either balance or history"},
        {"https://" + h + "/api.htm?method=GET&apicheck=k2&balance=1&account=GDP2002",
         "Unknown method"},
    };
    for (const auto& c : cases) {
        gdp_->Parse(transport_->HttpsGet(c.url), RequestKind::Balance, true);
        EXPECT_EQ(gdp_->Answer().errors, TextList{c.error}) << c.url;
        EXPECT_TRUE(gdp_->Answer().balanceRows.empty()) << c.url;
    }
}

TEST_F(GdpEcuSandbox, GdpHistoryAnswers) {
    const std::string answer = transport_->HttpsGet(gdp_->HistoryUrl(gdpDemo_, {}, 0, 0));
    EXPECT_NE(answer.find("<history><item>"), std::string::npos) << answer;
    EXPECT_NE(answer.find("<batch>7002</batch>"), std::string::npos) << answer;
}

TEST_F(GdpEcuSandbox, EcuBalancesAndErrors) {
    ecu_->Parse(transport_->HttpsGet(ecu_->BalanceUrl(ecuDemo_, 0)), RequestKind::Balance, true);
    EXPECT_TRUE(ecu_->Answer().errors.empty()) << ecu_->ErrorReport();
    EXPECT_EQ(Values(ecu_->Answer()), (TextList{"USD~12.34", "EUR~5.67"}));

    const std::string h = sandbox_->HttpsHost();
    const struct {
        SecureString url;
        std::string error;
    } cases[] = {
        {ecu::BalanceUrl(h, {"E1000100", "", "ecu+pass#1"}), "Invalid login or password"},
        {ecu::BalanceUrl(h, {"e1000100", "", "ecu pass#1"}), "Invalid login or password"},
        {ecu::BalanceUrl(h, ecuDemo_) + "&endyear=2009", "Unknown parameter endyear"},
        {ecu::BalanceUrl(h, ecuDemo_) + "&login=E2000200", "Parameter login is given twice"},
    };
    for (const auto& c : cases) {
        ecu_->Parse(transport_->HttpsGet(c.url), RequestKind::Balance, true);
        EXPECT_EQ(ecu_->Answer().errors, TextList{c.error}) << c.url;
        EXPECT_TRUE(ecu_->Answer().balanceRows.empty()) << c.url;
    }
}

TEST_F(GdpEcuSandbox, EcuHistoryUpToTheYearAndImpossibleYears) {
    const std::string url(ecu_->HistoryUrl(ecuDemo_, {}, 0, 0));
    const std::string answer = transport_->HttpsGet(url);
    EXPECT_EQ(answer,
              "2008-11-30 08:00:00;E2000200;20.00;USD;5001;Opening\n"
              "2009-02-11 09:30:00;E2000200;-5.00;USD;5002;Coffee\n"
              "2009-06-01 12:00:00;E2000200;2.67;EUR;5003;Refund\n");
    ecu_->Parse(answer, RequestKind::History, true);
    EXPECT_TRUE(ecu_->Answer().errors.empty());

    const std::string base = url.substr(0, url.size() - 4);  // without "2009"
    for (const char* year : {"2008", "20x9", "209", "9999"}) {
        const std::string a = transport_->HttpsGet(base + year);
        if (std::string(year) == "2008") {
            EXPECT_EQ(a, "2008-11-30 08:00:00;E2000200;20.00;USD;5001;Opening\n");
        } else {
            EXPECT_EQ(a, "ERROR Invalid year") << year;
        }
    }
}

}  // namespace
}  // namespace pw
