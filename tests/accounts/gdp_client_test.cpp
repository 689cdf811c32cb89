// The GDP client: query values, request URLs, the answer parser, traits and trace texts.
#include "accounts/gdp/gdp_client.h"

#include <gtest/gtest.h>

#include "accounts/query_value.h"
#include "settings/settings_store.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1260108309;  // 2009-12-06 14:05:09 UTC
constexpr char kStamp[] = "2009-12-06 14:05:09";

TEST(QueryValue, EncodesOnlyWhatWouldChangeTheQuery) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"GDP1001", "GDP1001"},
        {"a/b?c:d@e~!$'()*,;-._", "a/b?c:d@e~!$'()*,;-._"},
        {"a b", "a%20b"},
        {"k&x=1#f", "k%26x%3D1%23f"},
        {"1+1%", "1%2B1%25"},
        {"\t\r\n\x7f", "%09%0D%0A%7F"},
        {std::string("a\0b", 3), "a%00b"},
        {"\xC3\xA9", "%C3%A9"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(QueryValue(c.in), c.out) << c.in;
    EXPECT_EQ(SecretForms("gdp+key&1"),
              (std::vector<SecureString>{"gdp+key&1", "gdp%2Bkey%261", "gdp+key&amp;1"}));
    EXPECT_EQ(SecretForms("a b<"),
              (std::vector<SecureString>{"a b<", "a%20b<", "a%20b%3C", "a b&lt;"}));
    EXPECT_EQ(SecretForms("plain"), (std::vector<SecureString>{"plain"}));
    EXPECT_TRUE(SecretForms("").empty());
}

TEST(GdpRequests, BalanceAndHistoryUrls) {
    const LoginFields login{"GDP1001", "ST 77", "k+1&x"};
    EXPECT_EQ(gdp::BalanceUrl("h:8443", login),
              "https://h:8443/api.htm?method=get&apicheck=k%2B1%26x&balance=1&account=GDP1001");
    EXPECT_EQ(gdp::HistoryUrl("h:8443", login),
              "https://h:8443/api.htm?method=get&apicheck=k%2B1%26x&history=1&account=GDP1001"
              "&store_id=ST%2077");
    // The client sends no filter, page or time: every filter gives the same request.
    GdpClient client("h:8443");
    HistoryFilter f;
    f.getLast = false;
    f.byAccount = true;
    f.counterpart = "GDP2002";
    EXPECT_EQ(client.HistoryUrl(login, f, 3, 0), gdp::HistoryUrl("h:8443", login));
    EXPECT_EQ(client.BalanceUrl(login, 0), gdp::BalanceUrl("h:8443", login));
}

TEST(GdpParser, ErrorsAndBalancesInCurrencyOrder) {
    const struct {
        const char* name;
        std::string answer;
        TextList errors;
        TextList rows;  // currency~value; the stamp is added
    } cases[] = {
        {"all three", "<balance><USD>1.00</USD><EUR>2.00</EUR><GBP>3.00</GBP></balance>", {},
         {"USD~1.00", "EUR~2.00", "GBP~3.00"}},
        {"list order, not answer order", "<balance><GBP>3.00</GBP><USD>1.00</USD></balance>", {},
         {"USD~1.00", "GBP~3.00"}},
        {"error and balance both count", "<error>Bad key</error><balance><USD>5</USD></balance>",
         {"Bad key"}, {"USD~5"}},
        {"error inside the balance part", "<balance><error>x</error><EUR>1</EUR></balance>",
         {"x"}, {"EUR~1"}},
        {"empty values become a blank", "<error></error><balance><USD></USD></balance>", {" "},
         {"USD~ "}},
        {"two errors in order", "<error>a</error>text<error>b</error>", {"a", "b"}, {}},
        {"unclosed error ends the pass", "<error>a</error><error>open", {"a"}, {}},
        {"unclosed currency gives no row", "<balance><USD>1.00<EUR>2</EUR></balance>", {},
         {"EUR~2"}},
        {"closing tag before opening", "</USD><balance><USD>7</USD>", {}, {"USD~7"}},
        {"two balance parts", "<balance><USD>1</USD></balance><balance><USD>2</USD></balance>",
         {}, {"USD~1", "USD~2"}},
        {"currency outside a balance part", "<USD>1</USD>", {}, {}},
        {"unknown currency", "<balance><CHF>1</CHF></balance>", {}, {}},
        {"lower-case tags are other elements", "<Balance><usd>1</usd></Balance>", {}, {}},
        {"empty answer", "", {}, {}},
    };
    for (const auto& c : cases) {
        const gdp::Answer a = gdp::ParseAnswer(c.answer, kNow);
        EXPECT_EQ(a.errors, c.errors) << c.name;
        TextList rows;
        for (const std::string& r : c.rows) rows.push_back(r + "~" + kStamp);
        EXPECT_EQ(a.balanceRows, rows) << c.name;
    }
}

TEST(GdpParser, UsualAnswersTakeTheDirectPathAndGiveTheSameRows) {
    std::string big;
    std::size_t parts = 0;
    for (; big.size() < 100000; ++parts) big += "<balance><USD>10.00</USD><EUR>8.57</EUR><GBP>7.13</GBP></balance>";
    const struct {
        std::string answer;
        bool direct;
    } cases[] = {
        {big, true},
        {"<?xml version=\"1.0\"?>\n<response><balance><USD>1</USD><EUR>2</EUR><GBP>3</GBP></balance></response>", true},
        {"<response><balance><GBP>9</GBP><USD>3</USD></balance></response>", true},
        {"<balance>\n <EUR>~x~</EUR> <USD></USD>\n</balance><balance><USD>a<b>c</USD><EUR>2</EUR></balance>", true},
        {"<response><error>Invalid account or API key</error></response>", true},
        {"<error>a</error><balance><USD>1</USD></balance><error>b</error>", true},
        {"<balance><USD>1</USD><EU<error>x</error>R>2</EUR></balance>", true},  // joined into a tag
        {"<balance><error>x</error></balance>", true},
        {"", true},
        {"<balance></balance><balance></balance>", true},
        {"<balance><USD>1</USD><EUR>2</EUR></balance><balance><USD>3</USD></balance>", false},
        {"<balance><USD>1</USD></balance><balance><EUR>2</EUR><USD>3</USD></balance>", false},
        {"<balance><USD>1</USD><USD>2</USD></balance>", false},
        {"<balance><USD>1<EUR>2</EUR></USD></balance>", false},
        {"<USD>0</USD><balance><USD>1</USD></balance>", false},
        {"<balance><USD>1</balance>", false},
        {"</USD><balance><USD>7</USD>", false},
        {"<balance><USD>1</USD></EUR></balance>", false},
        {"<balance><USD>1</USD><error>x</error><balance><USD>2</USD>", true},
        {"<error>open<balance><USD>1</USD>", true},
    };
    for (const auto& c : cases) {
        gdp::Answer direct;
        ASSERT_EQ(gdp::ReadUsualShape(c.answer, kNow, direct), c.direct) << c.answer;
        const gdp::Answer general = gdp::ReadAnyShape(c.answer, kNow);
        const gdp::Answer parsed = gdp::ParseAnswer(c.answer, kNow);
        EXPECT_EQ(parsed.errors, general.errors) << c.answer;
        EXPECT_EQ(parsed.balanceRows, general.balanceRows) << c.answer;
        if (!c.direct) {
            EXPECT_TRUE(direct.errors.empty() && direct.balanceRows.empty()) << c.answer;
            continue;
        }
        EXPECT_EQ(direct.errors, general.errors) << c.answer;
        EXPECT_EQ(direct.balanceRows, general.balanceRows) << c.answer;
    }
    gdp::Answer direct;
    ASSERT_TRUE(gdp::ReadUsualShape(big, kNow, direct));
    EXPECT_EQ(direct.balanceRows.size(), 3 * parts);
    EXPECT_EQ(direct.balanceRows.back(), std::string("GBP~7.13~") + kStamp);
}

TEST(GdpParser, TildeAnywhereInAValueOfAnyLengthIsDashed) {
    // Values up to and past the 32 bytes that are moved whole, a "~" at every place in them
    // (or none); the tail of "~" keeps the value far enough from the answer's end to be read
    // past it, and must not be taken for part of it.
    for (std::size_t n = 1; n <= 34; ++n)
        for (std::size_t t = 0; t <= n; ++t) {
            std::string value(n, '7'), want(n, '7');
            if (t < n) value[t] = '~', want[t] = '-';
            const std::string answer = "<balance><EUR>" + value + "</EUR></balance>~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~";
            gdp::Answer direct;
            ASSERT_TRUE(gdp::ReadUsualShape(answer, kNow, direct)) << answer;
            EXPECT_EQ(direct.balanceRows, RowList({"EUR~" + want + "~" + kStamp})) << answer;
        }
}

TEST(GdpParser, EndsOnLongRunsOfUnclosedTags) {
    std::string answer;
    for (int i = 0; i < 2000; ++i) answer += "<error><balance><USD><EUR><GBP>";
    const gdp::Answer a = gdp::ParseAnswer(answer, kNow);
    EXPECT_TRUE(a.errors.empty());
    EXPECT_TRUE(a.balanceRows.empty());
}

TEST(GdpClient, ReportsErrorsAndReplacesRowsOnEveryParse) {
    GdpClient client("h");
    client.Parse("<error>Invalid account or API key</error><error>Second</error>", RequestKind::Balance, true);
    EXPECT_EQ(client.ErrorReport(),
              "Error : Invalid account or API key \nError : Second \n");
    client.Parse("<balance><GBP>9</GBP></balance>", RequestKind::Balance, false);
    EXPECT_TRUE(client.Answer().errors.empty());
    ASSERT_EQ(client.Answer().balanceRows.size(), 1u);
    EXPECT_EQ(Split(client.Answer().balanceRows[0], "~")[0], "GBP");
    EXPECT_TRUE(client.FurtherPages(HistoryFilter{}).empty());
}

TEST(GdpTraits, TablesColumnsAndLabels) {
    const SystemTraits& t = GdpTraits();
    EXPECT_EQ(t.prefix, "GDP");
    EXPECT_EQ(t.systemIndex, 4);
    EXPECT_FALSE(t.full);
    EXPECT_EQ(t.balanceTableFile, "GBPBalance.set");
    EXPECT_EQ(t.historyTableFile, "GBPHistory.set");
    EXPECT_EQ(t.currencies, (TextList{"USD", "EUR", "GBP"}));
    ASSERT_EQ(t.historyColumns.size(), 8u);
    EXPECT_EQ(t.historyColumns[7].name, "Memo");
    EXPECT_EQ(t.balanceColumns[1].align, Align::Right);
    EXPECT_EQ(t.balanceColumns[1].format, "%.2f");
    EXPECT_TRUE(t.historyColumns[2].colored && t.historyColumns[2].bold);
    EXPECT_EQ(t.historyColumns[4].format, "%.2f");
    EXPECT_EQ(t.msgNoAccount, 132);
    EXPECT_EQ(t.apiNameLabel, "Store ID");
    EXPECT_EQ(t.secretLabel, "GDP-Key");
    EXPECT_EQ(t.batchLabel, "GDP-Batch #");
}

TEST(GdpTraces, LoginAndHistoryTexts) {
    const std::vector<std::string> login(gdp::kLoginTraces.begin(), gdp::kLoginTraces.end());
    EXPECT_EQ(login, (std::vector<std::string>{
                         "OnBnClickedButton1:start", "OnBnClickedButton1:SaveDlgValue",
                         "OnBnClickedButton1:FormXML_Balance", "OnBnClickedButton1:SendData",
                         "OnBnClickedButton1:TransformXML", "OnBnClickedButton1:BalanceReceived",
                         "OnBnClickedButton1:SetTimer", "OnBnClickedButton1:ShowBanner",
                         "OnBnClickedButton1:FillTable_Account"}));
    EXPECT_STREQ(gdp::kHistorySendData, "OnBnClickedButton2:SendData");
}

TEST(GdpHost, FromTheSettingsOrBuiltIn) {
    testing::TempDir dir;
    SettingsStore settings(dir / "Purseward.ini", "");
    EXPECT_EQ(SystemHost(settings, 4), "www.gdpay.com");
    settings.WriteString("GDP", "GDPHost", "127.0.0.1:4443");
    EXPECT_EQ(MakeGdpClient(settings)->BalanceUrl({"a", "s", "k"}, 0).substr(0, 26),
              "https://127.0.0.1:4443/api");
}

}  // namespace
}  // namespace pw
