// Request documents of the Liberty Reserve client: exact texts, stamp and token, escaping.
#include "accounts/lr/lr_requests.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "accounts/lr/lr_client.h"
#include "accounts/transfer_request.h"
#include "lr_test_util.h"

namespace pw {
namespace {

using test::DocumentOf;

// 2009-03-05 14:59:59 UTC
constexpr std::time_t kNow = 1236265199;
constexpr char kToken14[] = "0133145D95C6EEB906B91DBA8A1C3CDD06BDB751B525BA0806E3EB9E2B78E8DC";
constexpr char kToken15[] = "EFBEF420BBD5C6CC3902E7574E25A161B1C78D764B75918B5B4CF0184694C938";

class LrRequests : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        oldTz_ = tz ? tz : "";
        hadTz_ = tz != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_) setenv("TZ", oldTz_.c_str(), 1); else unsetenv("TZ");
        tzset();
    }
    LoginFields login{"U1234567", "demoapi", "demosecret"};
    const std::string head_ = std::string("<Auth><ApiName>demoapi</ApiName><Token>") + kToken14 +
                              "</Token></Auth>";

private:
    std::string oldTz_;
    bool hadTz_ = false;
};

TEST_F(LrRequests, StampAndTokenComeFromOneClockReading) {
    EXPECT_EQ(lr::RequestStamp(kNow), "050309145959");
    EXPECT_EQ(lr::AuthToken("demosecret", kNow), kToken14);
    // The next second is a new UTC hour: a new token.
    EXPECT_EQ(lr::AuthToken("demosecret", kNow + 1), kToken15);
    EXPECT_EQ(lr::AuthToken("demosecret", kNow - 3599), kToken14);
}

TEST_F(LrRequests, StampFollowsTheLocalZoneAndTokenStaysUtc) {
    setenv("TZ", "EST5", 1);  // UTC-5, no daylight saving
    tzset();
    EXPECT_EQ(lr::RequestStamp(kNow), "050309095959");
    EXPECT_EQ(lr::AuthToken("demosecret", kNow), kToken14);
}

TEST_F(LrRequests, LongSecretWordsAreHashedWhole) {
    const std::string longSecret(5000, 'x');
    const std::string a = lr::AuthToken(longSecret, kNow);
    const std::string b = lr::AuthToken(longSecret + "y", kNow);
    EXPECT_EQ(a.size(), 64u);
    EXPECT_NE(a, b);
}

TEST_F(LrRequests, BalanceDocumentListsEveryCurrency) {
    EXPECT_EQ(lr::BuildBalanceRequest(login, {"LRUSD", "LREUR"}, kNow),
              "<BalanceRequest id=\"U1234567_050309145959\">" + head_ +
                  "<Balance><CurrencyId>LRUSD</CurrencyId><AccountId>U1234567</AccountId></Balance>"
                  "<Balance><CurrencyId>LREUR</CurrencyId><AccountId>U1234567</AccountId></Balance>"
                  "</BalanceRequest>");
}

TEST_F(LrRequests, HistoryGetLastSendsOnlyAccountAndPager) {
    HistoryFilter f;
    f.getLast = true;
    f.count = 5;
    f.fromTo = f.byAccount = f.byBatch = true;  // ignored under "Get last"
    f.counterpart = "U7654321";
    f.batch = "77";
    const std::string expected = "<HistoryRequest id=\"U1234567_050309145959\">" + head_ +
                                 "<History><AccountId>U1234567</AccountId><Pager><PageSize>5"
                                 "</PageSize><PageNumber>1</PageNumber></Pager></History>"
                                 "</HistoryRequest>";
    EXPECT_EQ(lr::BuildHistoryRequest(login, f, 0, kNow), expected);
    EXPECT_EQ(lr::BuildHistoryRequest(login, f, 3, kNow), expected);
}

TEST_F(LrRequests, HistoryFiltersWriteYearDayMonthAndPagerOnlyAfterPageZero) {
    HistoryFilter f;
    f.getLast = false;
    f.fromTo = true;
    f.from = {2009, 3, 5};
    f.to = {2009, 3, 7};
    f.byAccount = true;
    f.counterpart = "U7654321";
    f.byBatch = true;
    f.batch = "1000042";
    const std::string filters =
        "<History><AccountId>U1234567</AccountId><From>2009-05-03 00:00:00</From>"
        "<Till>2009-07-03 23:59:59</Till><CorrespondingAccountId>U7654321"
        "</CorrespondingAccountId><ReceiptId>1000042</ReceiptId>";
    const std::string open = "<HistoryRequest id=\"U1234567_050309145959\">" + head_;
    EXPECT_EQ(lr::BuildHistoryRequest(login, f, 0, kNow),
              open + filters + "</History></HistoryRequest>");
    EXPECT_EQ(lr::BuildHistoryRequest(login, f, 2, kNow),
              open + filters +
                  "<Pager><PageSize>50</PageSize><PageNumber>2</PageNumber></Pager>"
                  "</History></HistoryRequest>");

    f.fromTo = f.byBatch = false;
    EXPECT_EQ(lr::BuildHistoryRequest(login, f, 0, kNow),
              open +
                  "<History><AccountId>U1234567</AccountId><CorrespondingAccountId>U7654321"
                  "</CorrespondingAccountId></History></HistoryRequest>");
}

TEST_F(LrRequests, TransferCarriesOneElementPerQueuedRecord) {
    const TextList queue = {"U7654321~10.50~Invoice 7~no~~no~LRUSD~no",
                            "U1111111~2~~no~~no~LREUR~no"};
    int checks = 0;
    const std::string doc(lr::BuildTransferRequest(
        login, queue, [&] { return ++checks, true; }, kNow));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(doc,
              "<TransferRequest id=\"U1234567_050309145959\">" + head_ +
                  "<Transfer><TransferId></TransferId><TransferType>transfer</TransferType>"
                  "<Payer>U1234567</Payer><Payee>U7654321</Payee><CurrencyId>LRUSD</CurrencyId>"
                  "<Amount>10.50</Amount><Memo>Invoice 7</Memo><Anonymous>false</Anonymous>"
                  "</Transfer>"
                  "<Transfer><TransferId></TransferId><TransferType>transfer</TransferType>"
                  "<Payer>U1234567</Payer><Payee>U1111111</Payee><CurrencyId>LREUR</CurrencyId>"
                  "<Amount>2</Amount><Memo></Memo><Anonymous>false</Anonymous></Transfer>"
                  "</TransferRequest>");
}

TEST_F(LrRequests, FailedPaymentCheckGivesNoDocumentAndNoUrl) {
    const TextList queue = {"U7654321~1~m~no~~no~LRUSD~no"};
    EXPECT_EQ(lr::BuildTransferRequest(login, queue, [] { return false; }, kNow), "");
    LrClient client("127.0.0.1:1");
    EXPECT_EQ(client.TransferUrl(login, queue, [] { return false; }, kNow), "");
    test::ScriptedTransport net;
    EXPECT_EQ(SendTransfer(
                  client, net, login, queue, [] { return false; }, kNow)
                  .state,
              TransferState::NotBuilt);
    EXPECT_TRUE(net.urls.empty());
}

TEST_F(LrRequests, AccountNameDocument) {
    EXPECT_EQ(lr::BuildAccountNameRequest(login, "U7654321", kNow),
              "<AccountNameRequest id=\"U1234567_050309145959\">" + head_ +
                  "<AccountName><AccountId>U1234567</AccountId><AccountToRetrieve>U7654321"
                  "</AccountToRetrieve></AccountName></AccountNameRequest>");
}

TEST(LrEscaping, XmlEntitiesAndPercentEncoding) {
    EXPECT_EQ(lr::XmlEscape("a&b<c>d\"e'f~g"), "a&amp;b&lt;c&gt;d&quot;e&apos;f~g");
    EXPECT_EQ(lr::PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(lr::PercentEncode("a b&c#d+e/f?g=h%\xC3\xA9"),
              "a%20b%26c%23d%2Be%2Ff%3Fg%3Dh%25%C3%A9");
}

TEST_F(LrRequests, MemoCannotAddElementsAndUrlKeepsItWhole) {
    LrClient client("127.0.0.1:8443");
    const TextList queue = {"U7654321~1.00~</Memo><Payee>U999</Payee>&x=1#frag~no~~no~LRUSD~no"};
    const std::string url(client.TransferUrl(login, queue, nullptr, kNow));
    ASSERT_EQ(url.rfind("https://127.0.0.1:8443/xml/transfer.aspx?req=", 0), 0u);
    const std::string query = url.substr(url.find("?req=") + 5);
    EXPECT_EQ(query.find_first_of("&#<>\" "), std::string::npos) << query;
    const std::string doc = DocumentOf(url);
    EXPECT_NE(doc.find("<Memo>&lt;/Memo&gt;&lt;Payee&gt;U999&lt;/Payee&gt;&amp;x=1#frag</Memo>"),
              std::string::npos)
        << doc;
    EXPECT_EQ(doc.find("<Payee>U999"), std::string::npos);
    EXPECT_NE(doc.find("<Payee>U7654321</Payee>"), std::string::npos);
}

TEST_F(LrRequests, OrdinaryValuesReachTheServerUnchanged) {
    LrClient client("api.example");
    const std::string url(client.BalanceUrl(login, kNow));
    EXPECT_EQ(url.rfind("https://api.example/xml/balance.aspx?req=", 0), 0u);
    EXPECT_EQ(DocumentOf(url), lr::BuildBalanceRequest(login, {"LRUSD", "LREUR"}, kNow));
    HistoryFilter f;
    EXPECT_EQ(client.HistoryUrl(login, f, 0, kNow).rfind("https://api.example/xml/history.aspx?req=", 0),
              0u);
    EXPECT_EQ(client.AccountNameUrl(login, "U1", kNow).rfind("https://api.example/xml/accountname.aspx?req=", 0),
              0u);
}

}  // namespace
}  // namespace pw
