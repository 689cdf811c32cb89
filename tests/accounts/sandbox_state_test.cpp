// The simulator keeps its transfers between runs, forgets them with --reset, stops with
// --stop, and logs requests without their credentials.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "accounts/pm/pm_client.h"
#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "store/text_list.h"
#include "support/sandbox.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

class SandboxState : public ::testing::Test {
protected:
    // The U1234567 balance of the demo member on a simulator running on the folder.
    std::string Balance(test::Sandbox& sandbox) {
        SettingsStore settings(home_ / "Purseward.ini", "");
        settings.WriteString("Setting", "CACertFile", sandbox.CaPath());
        settings.WriteString("PM", "PMHost", sandbox.HttpsHost());
        TrafficCounter counter;
        CurlTransport transport(settings, counter, {});
        auto client = MakePerfectMoneyClient(settings);
        client->Parse(transport.HttpsGet(client->BalanceUrl(demo_, std::time(nullptr))),
                      RequestKind::Balance, true);
        for (const std::string_view row : client->Answer().balanceRows)
            if (row.rfind("U1234567~", 0) == 0) return Split(row, "~")[1];
        return "none";
    }
    void Pay(test::Sandbox& sandbox) {
        SettingsStore settings(home_ / "Purseward.ini", "");
        settings.WriteString("Setting", "CACertFile", sandbox.CaPath());
        TrafficCounter counter;
        CurlTransport transport(settings, counter, {});
        const std::string page = transport.HttpsGet(sandbox.HttpsUrl(
            "/acct/confirm.asp?AccountID=1234567&PassPhrase=demo-pass&Payer_Account=U1234567"
            "&Payee_Account=U7654321&Amount=12.00&Memo=kept&PAYMENT_ID=7"));
        ASSERT_NE(page.find("PAYMENT_BATCH_NUM"), std::string::npos) << page;
    }
    int Run(const std::string& args) {
        return std::system((std::string(PW_SANDBOX_PATH) + " --dir " + state_.Path() + " " +
                            args + " >/dev/null 2>&1")
                               .c_str());
    }
    test::Sandbox::Options Options() {
        test::Sandbox::Options o;
        o.dir = state_.Path();
        return o;
    }

    testing::TempDir state_, home_;
    const LoginFields demo_{"1234567", "", "demo-pass"};
};

TEST_F(SandboxState, TransfersOutliveARestartUntilReset) {
    std::string demo;
    {
        test::Sandbox first(Options());
        demo = Balance(first);
        Pay(first);
    }
    std::string paid;
    {
        test::Sandbox second(Options());
        paid = Balance(second);
    }
    EXPECT_NE(paid, demo);
    EXPECT_NE(paid, "none");

    const std::string log = testing::ReadAll(state_ / "requests.log");
    EXPECT_NE(log.find("/acct/confirm.asp?"), std::string::npos);
    EXPECT_NE(log.find("PassPhrase=***"), std::string::npos);
    EXPECT_EQ(log.find("demo-pass"), std::string::npos) << log;

    ASSERT_EQ(Run("--reset"), 0);
    test::Sandbox third(Options());
    EXPECT_EQ(Balance(third), demo);
}

TEST_F(SandboxState, StopEndsTheSimulatorOfTheFolder) {
    test::Sandbox running(Options());
    ASSERT_NE(Balance(running), "none");
    ASSERT_EQ(Run("--stop"), 0);
    EXPECT_EQ(Balance(running), "none");
    EXPECT_FALSE(std::filesystem::exists(state_ / "sandbox.pid"));
    EXPECT_EQ(Run("--help"), 0);
}

}  // namespace
}  // namespace pw
