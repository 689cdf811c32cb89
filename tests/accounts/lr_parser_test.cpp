// The answer parser: the extraction rules, damaged answers, and agreement with the plain
// remove-and-search-again procedure on many generated answers.
#include "accounts/lr/lr_parser.h"

#include "reference_parsers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace pw::lr {
namespace {

using SlowParser = reference::Lr;  // every search from the front of a shrinking text

LrAnswer Parse(const std::string& text) {
    LrAnswer a;
    ParseAnswer(text, true, a);
    return a;
}

void ExpectSame(const LrAnswer& a, const LrAnswer& b, const std::string& text) {
    EXPECT_EQ(a.responseId, b.responseId) << text;
    EXPECT_EQ(a.errors, b.errors) << text;
    EXPECT_EQ(a.balances, b.balances) << text;
    EXPECT_EQ(a.pagers, b.pagers) << text;
    EXPECT_EQ(a.accountNames, b.accountNames) << text;
    EXPECT_EQ(a.receipts, b.receipts) << text;
    EXPECT_EQ(a.transfers, b.transfers) << text;
}

std::string ReadSample(const char* name) {
    std::ifstream in(std::string(PW_TEST_DATA_DIR) + "/samples/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const char kReceipt[] =
    "<Receipt><ReceiptId>1000042</ReceiptId><Date>2009-03-05 10:00:00</Date>"
    "<PayerName>Demo User</PayerName><PayeeName>Payee Shop</PayeeName><Amount>-10.0000</Amount>"
    "<Fee>0.0000</Fee><ClosingBalance>490.0000</ClosingBalance><Transfer><TransferId>77"
    "</TransferId><TransferType>transfer</TransferType><Payer>U1234567</Payer><Payee>U7654321"
    "</Payee><CurrencyId>LRUSD</CurrencyId><Amount>10.0000</Amount><Memo></Memo><Anonymous>false"
    "</Anonymous><Source>API</Source></Transfer></Receipt>";

TEST(LrParser, SampleErrorAnswerGivesOneError) {
    const std::string sample = ReadSample("lr_balance_error.xml");
    ASSERT_FALSE(sample.empty());
    const LrAnswer a = Parse(sample);
    EXPECT_EQ(a.responseId, "1307901139");
    ASSERT_EQ(a.errors.size(), 1u);
    EXPECT_EQ(a.errors[0],
              "301~Invalid data format~CurrencyId element is empty or contains invalid data");
    EXPECT_TRUE(a.balances.empty());
    EXPECT_TRUE(a.receipts.empty());
}

TEST(LrParser, ReceiptWithTransferAndEmptyMemo) {
    const LrAnswer a = Parse(std::string("<HistoryResponse id=\"9\" date=\"2009-05-03 10:00:00\">") +
                             "<Pager><PageSize>50</PageSize><PageCount>3</PageCount><PageNumber>1"
                             "</PageNumber><TotalCount>130</TotalCount></Pager>" +
                             kReceipt + "</HistoryResponse>");
    EXPECT_EQ(a.responseId, "9");
    ASSERT_EQ(a.pagers.size(), 1u);
    EXPECT_EQ(a.pagers[0], "50~3~1~130");
    ASSERT_EQ(a.receipts.size(), 1u);
    EXPECT_EQ(a.receipts[0],
              "1000042~2009-03-05 10:00:00~Demo User~Payee Shop~-10.0000~0.0000~490.0000");
    ASSERT_EQ(a.transfers.size(), 1u);
    EXPECT_EQ(a.transfers[0], "77~transfer~U1234567~U7654321~LRUSD~10.0000~ ~false~API");
}

TEST(LrParser, MissingChildTakesTheNextOneLeftAnywhere) {
    // The first balance has no Date and AccountId: it takes those of the second, which then
    // has fewer fields, as the remove-and-search procedure does.
    const LrAnswer a = Parse(
        "<BalanceResponse id=\"1\" date=\"x\"><Balance><CurrencyId>LRUSD</CurrencyId><Value>1"
        "</Value></Balance><Balance><CurrencyId>LREUR</CurrencyId><Value>2</Value><Date>d</Date>"
        "<AccountId>U1</AccountId></Balance></BalanceResponse>");
    EXPECT_EQ(a.balances, (TextList{"LRUSD~1~d~U1", "LREUR~2"}));
}

TEST(LrParser, ValuesAreDecodedOnceAndEmptyRecordsCount) {
    const LrAnswer a = Parse(
        "<AccountNameResponse id=\"5\" date=\"x\"><AccountName><AccountToRetrieve>U7654321"
        "</AccountToRetrieve><Date>d</Date><Name>Tom &amp; Jerry</Name></AccountName>"
        "<Error></Error></AccountNameResponse>");
    EXPECT_EQ(a.accountNames, (TextList{"U7654321~d~Tom & Jerry"}));
    EXPECT_EQ(a.errors, (TextList{""}));
}

TEST(LrParser, ClearFlagEmptiesOrAppends) {
    LrAnswer a;
    ParseAnswer(ReadSample("lr_balance_error.xml"), true, a);
    ParseAnswer(ReadSample("lr_balance_error.xml"), false, a);
    EXPECT_EQ(a.errors.size(), 2u);
    ParseAnswer("", true, a);
    EXPECT_TRUE(a.errors.empty());
    EXPECT_EQ(a.responseId, "");
}

TEST(LrParser, MissingClosingTagEndsTheKindAndDropsThePartialRecord) {
    const std::string full = std::string("<HistoryResponse id=\"9\" date=\"x\">") + kReceipt +
                             kReceipt + "</HistoryResponse>";
    // Cut inside the second receipt's memo: the first receipt is kept whole.
    const std::size_t cut = full.rfind("<Memo>") + 6;
    const LrAnswer a = Parse(full.substr(0, cut));
    EXPECT_EQ(a.receipts.size(), 1u);
    EXPECT_EQ(a.transfers.size(), 1u);

    const LrAnswer b = Parse("<Error><Code>1</Code><Text>open");
    EXPECT_TRUE(b.errors.empty());
    const LrAnswer c = Parse("<Error><Code>1</Code><Text>t</Text></Error><Balance><Value>2");
    EXPECT_EQ(c.errors, (TextList{"1~t"}));
    EXPECT_TRUE(c.balances.empty());
}

TEST(LrParser, EveryTruncationTerminatesAndAgreesWithTheSlowProcedure) {
    const std::string full = std::string("<HistoryResponse id=\"9\" date=\"x\">") +
                             "<Pager><PageSize>50</PageSize><PageCount>3</PageCount></Pager>" +
                             kReceipt + kReceipt + "<Error><Code>7</Code></Error>" +
                             "</HistoryResponse>";
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const std::string cut = full.substr(0, n);
        ExpectSame(Parse(cut), SlowParser::Parse(cut), cut);
    }
}

TEST(LrParser, GarbageAndRandomBytesTerminate) {
    std::mt19937 rng(12345);
    const std::vector<std::string> pieces = {"<", ">", "</", "<Error>", "</Error>", "<Code>",
                                             "</Code>", "<Receipt>", "<Transfer>", "</Transfer>",
                                             "<Amount>", "</Amount>", "x", "\"", "Response id=\"",
                                             "<Balance>", "<Value>", "</Value>", std::string(1, '\0')};
    for (int round = 0; round < 300; ++round) {
        std::string s;
        const int len = static_cast<int>(rng() % 400);
        for (int i = 0; i < len; ++i) {
            if (rng() % 3 == 0) s += static_cast<char>(rng() % 256);
            else s += pieces[rng() % pieces.size()];
        }
        LrAnswer a;
        ParseAnswer(s, true, a);  // must return; the sanitizers watch the memory
        EXPECT_LE(a.receipts.size(), s.size());
    }
    const std::string html = "<html><body><h1>502 Bad Gateway</h1></body></html>";
    const LrAnswer a = Parse(html);
    EXPECT_TRUE(a.errors.empty() && a.balances.empty() && a.receipts.empty());
}

// Well-formed answers with records of every kind, children left out or reordered at random
// and empty values: the parser must agree with the slow procedure on every one.
std::string RandomAnswer(std::mt19937& rng) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> kinds = {
        {"Error", {"Code", "Text", "Description"}},
        {"Balance", {"CurrencyId", "Value", "Date", "AccountId"}},
        {"Pager", {"PageSize", "PageCount", "PageNumber", "TotalCount"}},
        {"AccountName", {"AccountToRetrieve", "Date", "Name"}},
        {"Receipt", {"ReceiptId", "Date", "PayerName", "PayeeName", "Amount", "Fee",
                     "ClosingBalance", "Transfer"}},
    };
    static const std::vector<std::string> transferChildren = {
        "TransferId", "TransferType", "Payer", "Payee", "CurrencyId", "Amount", "Memo",
        "Anonymous", "Source"};
    auto value = [&rng] {
        const int n = static_cast<int>(rng() % 4);
        std::string v;
        for (int i = 0; i < n; ++i) v += static_cast<char>('a' + rng() % 26);
        return rng() % 5 == 0 ? v + "&amp;" : v;
    };
    auto children = [&](const std::vector<std::string>& names, bool nested) {
        std::vector<std::string> order = names;
        if (rng() % 3 == 0) std::shuffle(order.begin(), order.end(), rng);
        std::string s;
        for (const std::string& c : order) {
            if (rng() % 6 == 0) continue;
            if (c == "Transfer" && nested) {
                s += "<Transfer>";
                for (const std::string& t : transferChildren)
                    if (rng() % 8 != 0) s += "<" + t + ">" + value() + "</" + t + ">";
                s += "</Transfer>";
            } else {
                s += "<" + c + ">" + value() + "</" + c + ">";
            }
        }
        return s;
    };
    std::string s = "<HistoryResponse id=\"" + value() + "\" date=\"2009-05-03 10:00:00\">";
    const int records = static_cast<int>(rng() % 8);
    for (int r = 0; r < records; ++r) {
        const auto& [name, names] = kinds[rng() % kinds.size()];
        s += "<" + name + ">" + children(names, name == "Receipt") + "</" + name + ">";
        if (rng() % 4 == 0) s += "text between";
    }
    return s + "</HistoryResponse>";
}

TEST(LrParser, AgreesWithTheSlowProcedureOnGeneratedAnswers) {
    std::mt19937 rng(2009);
    for (int round = 0; round < 3000; ++round) {
        const std::string s = RandomAnswer(rng);
        ExpectSame(Parse(s), SlowParser::Parse(s), s);
        if (HasFailure()) return;
    }
}

// A large answer is read whole; how its cost grows with its size is measured by
// bench/lr_parser_bench, not timed here.
TEST(LrParser, ReadsALargeAnswerWhole) {
    std::string large = "<HistoryResponse id=\"1\" date=\"x\">";
    for (int i = 0; i < 4000; ++i) large += kReceipt;
    large += "</HistoryResponse>";
    LrAnswer a;
    ParseAnswer(large, true, a);
    EXPECT_EQ(a.receipts.size(), 4000u);
    EXPECT_EQ(a.transfers.size(), 4000u);
}

}  // namespace
}  // namespace pw::lr
