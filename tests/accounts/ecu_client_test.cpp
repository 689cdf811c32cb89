// The ECUMoney client: request URLs, the answer parser, traits.
#include "accounts/ecu/ecu_client.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1260108309;  // 2009-12-06 14:05:09 UTC
constexpr char kStamp[] = "2009-12-06 14:05:09";

TEST(EcuRequests, UrlsCarryOnlyLoginPasswordAndTheFixedYear) {
    const LoginFields login{"E1000100", "", "ecu pass#1"};
    EXPECT_EQ(ecu::BalanceUrl("h:1", login),
              "https://h:1/sci/balance.pl?login=E1000100&password=ecu%20pass%231");
    EXPECT_EQ(ecu::HistoryUrl("h:1", login),
              "https://h:1/sci/history.pl?login=E1000100&password=ecu%20pass%231&endyear=2009");
    EcuClient client("h:1");
    HistoryFilter none;
    none.getLast = false;
    HistoryFilter all;
    all.count = 50;
    all.fromTo = true;
    all.from = {2009, 1, 2};
    all.to = {2009, 3, 4};
    all.byAccount = true;
    all.counterpart = "E2000200";
    all.byBatch = true;
    all.batch = "5002";
    for (const HistoryFilter& f : {none, all, HistoryFilter{}})
        EXPECT_EQ(client.HistoryUrl(login, f, 2, kNow), ecu::HistoryUrl("h:1", login));
}

TEST(EcuParser, ErrorsAndBalances) {
    using K = ecu::AnswerKind;
    const struct {
        const char* name;
        K kind;
        std::string answer;
        TextList errors;
        TextList rows;  // currency~value; the stamp is added
    } cases[] = {
        {"through a 32-bit float", K::Balance, "12.345/0", {}, {"USD~12.35", "EUR~0.00"}},
        {"float decides the last digit", K::Balance, " 7.005/abc", {}, {"USD~7.01", "EUR~0.00"}},
        {"no slash: nothing", K::Balance, "12.34", {}, {}},
        {"empty answer", K::Balance, "", {}, {}},
        // An error is never shown as a result: no balances from an answer with "ERROR ".
        {"error with one slash gives no rows", K::Balance, "ERROR Invalid/login",
         {"Invalid/login"}, {}},
        {"error after the pieces gives no rows", K::Balance, "1/2ERROR x", {"1/2x"}, {}},
        {"two markers, two errors", K::Balance, "ERROR a ERROR b", {"a ERROR b", "a b"}, {}},
        {"marker alone", K::Balance, "ERROR ", {" "}, {}},
        {"marker needs its blank", K::Balance, "ERROR:x", {}, {}},
        {"more pieces than currencies", K::Balance, "1/2/3/4", {}, {"USD~1.00", "EUR~2.00"}},
        // A piece's number ends at its "/" whatever follows.
        {"numbers cut by the slash", K::Balance, "1e/2e/3", {}, {"USD~1.00", "EUR~2.00"}},
        {"empty pieces", K::Balance, "/", {}, {"USD~0.00", "EUR~0.00"}},
        {"beyond the float range", K::Balance, "1e300/-1e300", {},
         {"USD~340282346638528859811704183484516925440.00",
          "EUR~-340282346638528859811704183484516925440.00"}},
        {"history: no rows", K::History, "12.34/5.67", {}, {}},
        {"history: errors only", K::History, "ERROR x/y", {"x/y"}, {}},
    };
    for (const auto& c : cases) {
        const ecu::Answer a = ecu::ParseAnswer(c.answer, c.kind, kNow);
        EXPECT_EQ(a.errors, c.errors) << c.name;
        TextList rows;
        for (const std::string& r : c.rows) rows.push_back(r + "~" + kStamp);
        EXPECT_EQ(a.balanceRows, rows) << c.name;
    }
}

TEST(EcuParser, ManyMarkersGiveTheFirstErrorsAndNoBalances) {
    std::string markers;
    for (int i = 0; i < 200000; ++i) markers += "ERROR ";
    const ecu::Answer a = ecu::ParseAnswer(markers + "1/2", ecu::AnswerKind::Balance, kNow);
    ASSERT_EQ(a.errors.size(), ecu::kMaxErrors);
    EXPECT_EQ(a.errors.back(), markers.substr(6 * ecu::kMaxErrors) + "1/2");
    EXPECT_TRUE(a.balanceRows.empty());
}

TEST(EcuClient, BalanceAndHistoryAnswers) {
    EcuClient client("h");
    client.Parse("ERROR Invalid login or password", RequestKind::Balance, true);
    EXPECT_EQ(client.ErrorReport(), "Error : Invalid login or password \n");
    EXPECT_TRUE(client.Answer().balanceRows.empty());
    client.Parse("1/2", RequestKind::Balance, true);
    EXPECT_EQ(client.Answer().balanceRows.size(), 2u);
    EXPECT_TRUE(client.Answer().errors.empty());
    client.Parse("1/2", RequestKind::History, true);
    EXPECT_TRUE(client.Answer().balanceRows.empty());
}

TEST(EcuTraits, TablesColumnsAndMessages) {
    const SystemTraits& t = EcuTraits();
    EXPECT_EQ(t.prefix, "ECU");
    EXPECT_EQ(t.systemIndex, 5);
    EXPECT_FALSE(t.full);
    EXPECT_FALSE(t.hasApiName);
    EXPECT_EQ(t.balanceTableFile, "ECUBalance.set");
    EXPECT_EQ(t.historyTableFile, "ECUHistory.set");
    EXPECT_EQ(t.currencies, (TextList{"USD", "EUR"}));
    ASSERT_EQ(t.historyColumns.size(), 10u);
    EXPECT_EQ(t.historyColumns[9].name, "Source");
    EXPECT_EQ(t.msgNoAccount, 132);
    EXPECT_EQ(t.msgNoSecret, 112);
    EXPECT_EQ(t.msgNoCounterpart,
              TabMessage("You are checked option for select on ECU-number, but don't entered it"));
    EXPECT_EQ(t.balanceColumns[1].format, "%.2f");
    EXPECT_TRUE(t.historyColumns[2].colored && t.historyColumns[2].bold);
    testing::TempDir dir;
    SettingsStore settings(dir / "Purseward.ini", "");
    EXPECT_EQ(SystemHost(settings, 5), "www.ecumoney.com");
}

}  // namespace
}  // namespace pw
