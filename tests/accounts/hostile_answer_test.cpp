// Answers from broken or hostile servers, across the six clients: a "~" in server text never
// splits a row, escaped XML values arrive decoded, an error is never shown as a result, an
// ERROR cut short still reaches the user, and big answers cost one pass.
#include <gtest/gtest.h>

#include <random>

#include "accounts/answer_text.h"
#include "accounts/ecu/ecu_client.h"
#include "accounts/eg/eg_client.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/lr/lr_client.h"
#include "accounts/lr/lr_parser.h"
#include "accounts/pm/pm_client.h"
#include "accounts/vm/vm_client.h"
#include "accounts/vm/vm_parser.h"

namespace pw {
namespace {

TextList Fields(std::string_view row) { return Split(row, "~"); }

TEST(XmlText, EntitiesAndReferencesAreDecodedOnceAndTheRestKept) {
    const struct {
        std::string raw, text;
    } cases[] = {
        {"Tom &amp; Jerry&apos;s &lt;shop&gt; &quot;1&quot;", "Tom & Jerry's <shop> \"1\""},
        {"&amp;amp;", "&amp;"},  // decoded once, not twice
        {"caf&#233; &#xE9;&#XE9; &#65;", "caf\xC3\xA9 \xC3\xA9\xC3\xA9 A"},
        {"&#x1F600;", "\xF0\x9F\x98\x80"},
        {"&#126;", "~"},
        {"&nbsp; &copy;", "&nbsp; &copy;"},  // unknown entities stay
        {"a & b &", "a & b &"},              // lone "&" stays
        {"&#; &#x; &#0; &#xD800; &#x110000; &#12 &#123456789012;",
         "&#; &#x; &#0; &#xD800; &#x110000; &#12 &#123456789012;"},
        {"&amp", "&amp"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeXmlText(c.raw), c.text) << c.raw;
    std::string row = "x~";
    AppendXmlField(row, "a&#126;b~c &amp;");
    EXPECT_EQ(row, "x~a-b-c &");
    EXPECT_EQ(RowField("~a~~"), "-a--");
}

TEST(XmlText, FieldsWrittenInPlaceAreTheDecodedTextWithoutTildes) {
    std::mt19937 rng(5);
    const std::string_view pieces[] = {"a", "~", "&", "&amp;", "&#126;", "&#x7E;", "&#233;", "&lt", ";", "&#", "x"};
    for (int round = 0; round < 5000; ++round) {
        std::string value;
        for (int k = static_cast<int>(rng() % 30); k > 0; --k) value += pieces[rng() % std::size(pieces)];
        std::string out(value.size() + 8, '#');
        char* const end = PutXmlField(out.data(), value);
        const std::string want = RowField(DecodeXmlText(value));
        EXPECT_EQ(std::string(out.data(), end), want) << value;
        EXPECT_EQ(out.substr(value.size()), std::string(8, '#')) << value;  // never longer than the value
    }
}

TEST(RowText, RowFieldsAreTheFirstFields) {
    std::mt19937 rng(9);
    for (int round = 0; round < 3000; ++round) {
        std::string row(rng() % 40, 'a');
        for (char& c : row) c = "ab~"[rng() % 3];
        EXPECT_EQ(RowFields<7>(row, " "), FirstFields<7>(row, " ")) << row;
        EXPECT_EQ(RowFields<2>(row), FirstFields<2>(row)) << row;
    }
}

const std::string kEveryEntity = "&lt;&gt;&amp;&quot;&apos; &#65;&#x42; &foo; R&D";
const std::string kEveryEntityText = "<>&\"' AB &foo; R&D";

TEST(XmlText, LibertyReserveAndVMoneyDecodeTheirValues) {
    lr::LrAnswer lr;
    lr::ParseAnswer("<HistoryResponse><Receipt><ReceiptId>1</ReceiptId><PayerName>Tom &amp; Jerry"
                    "</PayerName><Amount>1</Amount><Transfer><Payer>U1</Payer><Memo>" + kEveryEntity +
                        "</Memo></Transfer></Receipt></HistoryResponse>",
                    true, lr);
    ASSERT_EQ(lr.transfers.size(), 1u);
    EXPECT_EQ(lr.transfers[0], "U1~" + kEveryEntityText);
    EXPECT_EQ(lr.receipts[0], "1~Tom & Jerry~1");

    vm::VmAnswer vm;
    vm::ParseAnswer("<Response><Status><Code>Error</Code><Message>a &lt; b</Message></Status>"
                    "<Transaction><TransId>7</TransId><Memo>" + kEveryEntity + "</Memo>"
                    "<ToFromAccount><AccountId>VM1</AccountId><Name>Third &amp; Sons</Name>"
                    "</ToFromAccount><TransType>sent</TransType></Transaction>"
                    "<AccountName>Tom &amp; Jerry</AccountName></Response>",
                    0, vm);
    EXPECT_EQ(vm.errors, (TextList{"Error~a < b"}));
    ASSERT_EQ(vm.transactions.size(), 1u);
    EXPECT_EQ(vm.transactions[0], "7~" + kEveryEntityText + "~ ~VM1 (Third & Sons)~ ~ ~sent");
    EXPECT_EQ(vm.accountNames, (TextList{"Tom & Jerry"}));
    // An escaped tag inside a value is text, never an element.
    vm::ParseAnswer("<Response><Balance>&lt;Balance&gt;1</Balance></Response>", 0, vm);
    ASSERT_EQ(vm.balances.size(), 1u);
    EXPECT_EQ(Fields(vm.balances[0])[1], "<Balance>1");
}

// A "~" in any server text becomes "-" before it enters a row, on all six systems.
TEST(ServerTilde, NeverSplitsARow) {
    {
        VmClient vm("h");
        vm.Parse("<Response><Transaction><TransId>7</TransId><Memo>order~42</Memo><ToFromAccount>"
                 "<AccountId>VM~2</AccountId><Name>N~n</Name></ToFromAccount><Timestamp>2009-03-05"
                 "</Timestamp><Amount>5.00</Amount><TransType>sent</TransType></Transaction>"
                 "<Balance>1~2</Balance></Response>",
                 RequestKind::History, true);
        ASSERT_EQ(vm.Answer().historyRows.size(), 1u);
        EXPECT_EQ(Fields(vm.Answer().historyRows[0]),
                  (TextList{"2009-03-05", "sent", "VM-2 (N-n)", "-5.00", "7", "order-42"}));
        ASSERT_EQ(vm.Answer().balanceRows.size(), 1u);
        EXPECT_EQ(Fields(vm.Answer().balanceRows[0]).size(), 3u);
    }
    {
        EgClient eg("h", "p");
        eg.Parse("Date,Type,Batch,Metal,Weight,Acc,Name,USD,Cur,Rate,Memo\n"
                 "1/2/2009 10:11:12,Payment Sent,4,Gold,-0.5,7654321,Pay~ee Shop,450.00,USD,900.00,m~1\n",
                 RequestKind::History, true);
        ASSERT_EQ(eg.Answer().historyRows.size(), 1u);
        const TextList f = Fields(eg.Answer().historyRows[0]);
        ASSERT_EQ(f.size(), 10u);
        EXPECT_EQ(f[4], "-450.00");
        EXPECT_EQ(f[5], "7654321 (Pay-ee Shop)");
        EXPECT_EQ(f[9], "m-1");
        eg.Parse("<input type=hidden name=Gold~x_Ounces value=\"1~5\">", RequestKind::Balance, true);
        ASSERT_EQ(eg.Answer().balanceRows.size(), 1u);
        EXPECT_EQ(Fields(eg.Answer().balanceRows[0]).size(), 6u);
    }
    {
        LrClient lr("h");
        lr.Parse("<HistoryResponse><Receipt><ReceiptId>1</ReceiptId><Date>d</Date><PayerName>P~n"
                 "</PayerName><PayeeName>Q</PayeeName><Amount>2</Amount><Fee>0</Fee><ClosingBalance>"
                 "3</ClosingBalance><Transfer><TransferId>1</TransferId><TransferType>t</TransferType>"
                 "<Payer>U~1</Payer><Payee>U2</Payee><CurrencyId>LRUSD</CurrencyId><Amount>2</Amount>"
                 "<Memo>a~b~c</Memo><Anonymous>false</Anonymous><Source>API</Source></Transfer>"
                 "</Receipt></HistoryResponse>",
                 RequestKind::History, true);
        ASSERT_EQ(lr.Answer().historyRows.size(), 1u);
        EXPECT_EQ(Fields(lr.Answer().historyRows[0]),
                  (TextList{"d", "U-1 (P-n)", "2.00", "0", "3", "LRUSD", "1", "a-b-c", "false", "API"}));
        lr.Parse("<BalanceResponse><Balance><CurrencyId>LR~USD</CurrencyId><Value>1</Value></Balance>"
                 "</BalanceResponse>",
                 RequestKind::Balance, true);
        EXPECT_EQ(lr.Answer().balanceRows, (TextList{"LR-USD~1"}));
    }
    {
        PmClient pm("h");
        pm.Parse("<input name='U~1' type='hidden' value='1~0'>", RequestKind::Balance, true);
        ASSERT_EQ(pm.Answer().balanceRows.size(), 1u);
        const TextList f = Fields(pm.Answer().balanceRows[0]);
        ASSERT_EQ(f.size(), 3u);
        EXPECT_EQ(f[0], "U-1");
        EXPECT_EQ(f[1], "1-0");
    }
    {
        GdpClient gdp("h");
        gdp.Parse("<balance><USD>1~2</USD></balance>", RequestKind::Balance, true);
        ASSERT_EQ(gdp.Answer().balanceRows.size(), 1u);
        EXPECT_EQ(Fields(gdp.Answer().balanceRows[0])[1], "1-2");
    }
    {
        EcuClient ecu("h");
        ecu.Parse("1~/2~", RequestKind::Balance, true);
        ASSERT_EQ(ecu.Answer().balanceRows.size(), 2u);
        for (const std::string_view r : ecu.Answer().balanceRows) EXPECT_EQ(Fields(r).size(), 3u) << r;
    }
}

TEST(ErrorAnswers, AreNeverShownAsResultsAndNeverLost) {
    EcuClient ecu("h");
    ecu.Parse("ERROR Invalid/login", RequestKind::Balance, true);
    EXPECT_EQ(ecu.ErrorReport(), "Error : Invalid/login \n");
    EXPECT_TRUE(ecu.Answer().balanceRows.empty());

    PmClient pm("h");
    pm.Parse("<html><input name='ERROR' type='hidden' value='Invalid Pass", RequestKind::Balance, true);
    EXPECT_EQ(pm.ErrorReport(), "Error : Invalid Pass \n");
    pm.Parse("<html><input name='ERROR' type", RequestKind::Balance, true);
    EXPECT_EQ(pm.ErrorReport(), "Error :   \n");
}

// Big answers come back whole (their speed and growth are measured by bench/parsers_bench).
TEST(BigAnswers, VMoneyHistoryOfThreeMegabytesComesBackWhole) {
    std::string answer = "<Response>";
    int count = 0;
    while (answer.size() < (3u << 20)) {
        answer += "<Transaction><TransId>" + std::to_string(count++) + "</TransId><Memo>Invoice 17</Memo>"
                  "<PaymentId>P</PaymentId><ToFromAccount><AccountId>VM100002</AccountId><Name>Shop"
                  "</Name></ToFromAccount><Timestamp>2009-03-05 10:00:00</Timestamp><Amount>5.00"
                  "</Amount><TransType>sent</TransType></Transaction>";
    }
    answer += "</Response>";
    vm::VmAnswer a;
    vm::ParseAnswer(answer, 0, a);
    EXPECT_EQ(a.transactions.size(), static_cast<std::size_t>(count));
}

TEST(BigAnswers, GdpBalancesOfAMegabyteComeBackWhole) {
    std::string answer;
    int count = 0;
    while (answer.size() < (1u << 20)) {
        answer += "<balance><USD>1.00</USD><EUR>2.00</EUR><GBP>3.00</GBP></balance>";
        ++count;
    }
    gdp::Answer a;
    a = gdp::ParseAnswer(answer, 0);
    EXPECT_EQ(a.balanceRows.size(), 3u * static_cast<std::size_t>(count));
}

TEST(BigAnswers, InputPagesOfAMegabyteComeBackWhole) {
    std::string pm, eg;
    int count = 0;
    while (pm.size() < (1u << 20)) {
        pm += "<input name='U" + std::to_string(count) + "' type='hidden' value='1.00'>";
        eg += "<input type=hidden name=Gold_Ounces value=\"1.5\">";
        ++count;
    }
    pm::PmAnswer p;
    pm::ParseAnswer(pm, 0, p);
    EXPECT_EQ(p.inputs.size(), static_cast<std::size_t>(count));
    eg::EgAnswer e;
    eg::ParseAnswer(eg, {}, 0, e);
    EXPECT_EQ(e.balances.size(), static_cast<std::size_t>(count));
}

}  // namespace
}  // namespace pw
