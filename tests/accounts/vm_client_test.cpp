// The V-Money client without a server: the access token, the four documents byte for byte,
// the answer parser over many answers, the history rows with their sign, the record text.
#include "accounts/vm/vm_client.h"

#include <gtest/gtest.h>

#include <ctime>

#include "accounts/tab_logic.h"
#include "accounts/vm/vm_requests.h"

namespace pw {
namespace {

constexpr std::time_t kLastSecond = 1236297599;  // 2009-03-05 23:59:59 UTC
const LoginFields kDemo{"VM100001", "1234", "demopass"};
const std::string kToken = "15fb9ce8102e8d6d75fd40d2dd5b1b6f";  // of kLastSecond
const std::string kAuth =
    "<Auth><AccountId>VM100001</AccountId><Token>" + kToken + "</Token></Auth>";
const std::string kTypes =
    "<TransTypes><TransType>received</TransType><TransType>sent</TransType><TransType>fees"
    "</TransType><TransType>referrals</TransType><TransType>deposits</TransType><TransType>"
    "withdrawals</TransType></TransTypes>";

TEST(VmRequests, AccessTokenTakesDateAndHourAndDigestsLongTextsWhole) {
    const struct {
        std::string account, pin, password;
        std::time_t when;
        std::string token;
    } cases[] = {
        {"VM100001", "1234", "demopass", kLastSecond, kToken},
        {"VM100001", "1234", "demopass", kLastSecond + 1, "32e1274c1289721463ee50c51d81fb56"},
        {std::string(150, 'A'), std::string(60, '9'), std::string(300, 'p'), kLastSecond - 3599,
         "809d17c901d367f78b80f590bbc5777a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vm::AccessToken(c.account, c.pin, c.password, c.when), c.token) << c.when;
}

TEST(VmRequests, DocumentsByteForByte) {
    HistoryFilter dates;
    dates.from = {2009, 3, 5};
    dates.to = {2009, 12, 31};
    HistoryFilter batch = dates;
    batch.byBatch = true;
    batch.batch = "5000007";
    const struct {
        SecureString built;
        std::string expected;
    } cases[] = {
        {vm::BuildBalanceRequest(kDemo, kLastSecond),
         "<Request><Type>Balance</Type>" + kAuth + "</Request>"},
        {vm::BuildAccountStatusRequest(kDemo, "VM100002", kLastSecond),
         "<Request><Type>AccountStatus</Type>" + kAuth +
             "<LookupAccountId>VM100002</LookupAccountId></Request>"},
        {vm::BuildHistoryRequest(kDemo, dates, kLastSecond),
         "<Request><Type>History</Type>" + kAuth +
             "<StartDate>2009-03-05</StartDate><EndDate>2009-12-31</EndDate>" + kTypes +
             "</Request>"},
        {vm::BuildHistoryRequest(kDemo, batch, kLastSecond),
         "<Request><Type>History</Type>" + kAuth +
             "<StartDate>2009-03-05</StartDate><EndDate>2009-12-31</EndDate>" + kTypes +
             "<TransId>5000007</TransId></Request>"},
        {vm::BuildTransferRequest(kDemo,
                                  {"VM100002~10.50~Tom & <Jerry>~no~~no~VM100001 [USD]~no",
                                   "VM100003~1~second~no~~no~x~no"},
                                  nullptr, kLastSecond),
         "<Request><Type>Transfer</Type>" + kAuth +
             "<Transfers><Transfer><ID>1</ID><Payee>VM100002</Payee><Amount>10.50</Amount>"
             "<Memo>Tom &amp; &lt;Jerry&gt;</Memo></Transfer></Transfers></Request>"},
        {vm::BuildTransferRequest(
             kDemo, {"VM100002~1~m"}, [] { return false; }, kLastSecond),
         ""},
        {vm::BuildTransferRequest(kDemo, {}, nullptr, kLastSecond), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);

    VmClient client("127.0.0.1:4443");
    EXPECT_EQ(client.BalanceUrl(kDemo, kLastSecond),
              "https://127.0.0.1:4443/vai.php?request_data=%3CRequest%3E%3CType%3EBalance%3C%2F"
              "Type%3E%3CAuth%3E%3CAccountId%3EVM100001%3C%2FAccountId%3E%3CToken%3E" +
                  kToken + "%3C%2FToken%3E%3C%2FAuth%3E%3C%2FRequest%3E");
    EXPECT_EQ(client.TransferUrl(
                  kDemo, {"VM100002~1~m"}, [] { return false; }, kLastSecond),
              "");
}

TEST(VmParser, AnswersIntoErrorsBalancesTransactionsAndNames) {
    const std::string tx =
        "<Transaction><TransId>7</TransId><Memo>m</Memo><PaymentId>P1</PaymentId><ToFromAccount>"
        "<AccountId>VM2</AccountId><Name>Shop</Name></ToFromAccount><Timestamp>2009-03-05 10:00:00"
        "</Timestamp><Amount>5.00</Amount><TransType>sent</TransType></Transaction>";
    const struct {
        std::string answer;
        TextList errors, balances, transactions, names;
    } cases[] = {
        {"", {}, {}, {}, {}},
        {"<Balance>1.00</Balance>", {}, {}, {}, {}},  // no <Response>: nothing
        {"<Response><Status><Code>OK</Code><Message>Success</Message></Status>"
         "<Balance>750.00</Balance><Balance></Balance></Response>",
         {},
         {"USD~750.00~2009-03-05 23:59:59", "USD~ ~2009-03-05 23:59:59"},
         {},
         {}},
        {"<Response><Status><Code>AuthError</Code><Message>Bad token</Message></Status>"
         "<Status><Code>TransferFailed</Code></Status><Status><Code>PartialOK</Code><Message>x"
         "</Message></Status><Status><Code>error</Code><Message>lower</Message></Status></"
         "Response>",
         // Each search starts at the beginning of what is left: a Status without a Message
         // takes the next one's.
         {"AuthError~Bad token", "TransferFailed~x", "PartialOK~lower"},
         {},
         {},
         {}},
        {"<Response>" + tx + tx + "</Response>",
         {},
         {},
         {"7~m~P1~VM2 (Shop)~2009-03-05 10:00:00~5.00~sent",
          "7~m~P1~VM2 (Shop)~2009-03-05 10:00:00~5.00~sent"},
         {}},
        {"<Response><Transaction><TransId>8</TransId><ToFromAccount><AccountId>Fee Account"
         "</AccountId><Name>Fees</Name></ToFromAccount><Amount>0.25</Amount><TransType>fees"
         "</TransType></Transaction><Transaction><TransId>9</TransId><ToFromAccount><Name>n</Name>"
         "</ToFromAccount><Memo></Memo><Amount>1</Amount><TransType>received</TransType>"
         "</Transaction><Transaction><ToFromAccount><AccountId>VM3</AccountId><Name></Name>"
         "</ToFromAccount></Transaction></Response>",
         {},
         {},
         {"8~ ~ ~Fee Account~ ~0.25~fees", "9~ ~ ~ ~ ~1~received", " ~ ~ ~VM3 ( )~ ~ ~ "},
         {}},
        {"<Response><AccountName>Payee Store</AccountName><AccountName></AccountName></Response>",
         {},
         {},
         {},
         {"Payee Store", " "}},
        // Unclosed tags end every pass.
        {"<Response><Status><Code>Error", {}, {}, {}, {}},
        {"<Response><Balance>1.00<Balance>2.00</Balance>",
         {},
         {"USD~1.00<Balance>2.00~2009-03-05 23:59:59"},
         {},
         {}},
        {"<Response><Balance>1.00<AccountName>x<Transaction><TransId>1<ToFromAccount><AccountId>V",
         {},
         {},
         {" ~ ~ ~ ~ ~ ~ "},
         {}},
    };
    for (const auto& c : cases) {
        vm::VmAnswer a;
        a.errors = {"stale"};
        vm::ParseAnswer(c.answer, kLastSecond, a);
        EXPECT_EQ(a.errors, c.errors) << c.answer;
        EXPECT_EQ(a.balances, c.balances) << c.answer;
        EXPECT_EQ(a.transactions, c.transactions) << c.answer;
        EXPECT_EQ(a.accountNames, c.names) << c.answer;
    }
}

TEST(VmParser, PartiesKeepTheRowAtSevenFields) {
    const struct {
        std::string inner, party;
    } cases[] = {
        {"<AccountId>Fee Account</AccountId><Name>F</Name>", "Fee Account"},
        {"<AccountId>VM2</AccountId><Name>Shop</Name>", "VM2 (Shop)"},
        {"<AccountId>VM2</AccountId>", "VM2 ( )"},
        {"<Name>only</Name>", " "},
        {"", " "},
        {"<AccountId>VM2</AccountId><Name>A</Name><AccountId>VM3</AccountId><Name>B</Name>",
         "VM2 (A), VM3 (B)"},
        {"<AccountId>VM2", " "},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::PartyOf(c.inner), c.party) << c.inner;
}

TEST(VmRows, HistoryRowsInColumnOrderWithTheSignRule) {
    const struct {
        std::string raw, row;
    } cases[] = {
        {"7~memo~P1~VM2 (Shop)~2009-03-05 10:00:00~5.00~received",
         "2009-03-05 10:00:00~received~VM2 (Shop)~5.00~7~memo"},
        {"7~m~P~p~t~5.00~Sent", "t~Sent~p~-5.00~7~m"},
        {"7~m~P~p~t~0.25~fees", "t~fees~p~-0.25~7~m"},
        {"7~m~P~p~t~3~Withdrawals", "t~Withdrawals~p~-3~7~m"},
        {"7~m~P~p~t~3~referrals", "t~referrals~p~3~7~m"},
        {"7~m~P~p~t~-3.00~sent", "t~sent~p~-3.00~7~m"},  // one sign, not two
        {"7~m", " ~ ~ ~ ~7~m"},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::HistoryRows({c.raw}), (RowList{c.row})) << c.raw;
    RowList all, want;  // one list: each row's sign still from its own TransType
    for (int round = 0; round < 2; ++round)
        for (const auto& c : cases) all.push_back(c.raw), want.push_back(c.row);
    EXPECT_EQ(vm::HistoryRows(all), want);

    // The totals of the rows are exact in cents.
    TextList raw(10, "1~m~P~p~t~0.10~received");
    raw.push_back("1~m~P~p~t~0.30~sent");
    const Totals t = SumHistory(vm::HistoryRows(RowList(raw)), VMoneyTraits().historyAmountColumn);
    EXPECT_EQ(t.incomeCents, 100);
    EXPECT_EQ(t.outcomeCents, 30);
}

TEST(VmRows, RecordTextProblemsAndTraits) {
    const std::string row = "2009-03-05 10:00:00~sent~VM100002 (Payee Store)~-5.00~5000007~Order";
    EXPECT_EQ(RecordText(row, VMoneyTraits().record, false, 3),
              "Date : 2009-03-05 10:00:00\r\nTransType : sent\r\nFrom/To Account : VM100002 "
              "(Payee Store)\r\nAmount : -5.00\r\nBatch : 5000007\r\nMemo : Order\r\n");
    EXPECT_EQ(ReceiptImageName(VMoneyTraits().record, row), "VM_5000007.jpg");

    HistoryFilter batch;
    batch.byBatch = true;
    const struct {
        LoginFields login;
        std::string batch;
        int message;
    } cases[] = {{{"", "1", "p"}, "1", 132},
                 {{"a", "", "p"}, "1", 140},
                 {{"a", "1", ""}, "1", 112},
                 {{"a", "1", "p"}, "", 117},
                 {{"a", "1", "p"}, "9", 0}};
    for (const auto& c : cases) {
        batch.batch = c.batch;
        // The tab's checks in order: the login fields, then the batch option.
        HistoryFilter f = batch;
        TabMessage problem = LoginProblem(c.login, VMoneyTraits());
        const FilterCheck check = CheckHistoryFilter(f, VMoneyTraits(), false);
        if (problem.Empty() && !check.messages.empty()) problem = check.messages[0];
        EXPECT_EQ(problem, c.message);
    }

    const SystemTraits& t = VMoneyTraits();
    EXPECT_EQ(t.prefix, "VM");
    EXPECT_EQ(t.apiNameLabel, "Pin number");
    EXPECT_EQ(t.balanceTableFile, "VMBalance.set");
    EXPECT_EQ(t.historyTableFile, "VMHistory.set");
    ASSERT_EQ(t.historyColumns.size(), 6u);
    EXPECT_EQ(t.historyColumns[t.historyAmountColumn].name, "Amount");
    EXPECT_EQ(t.historyColumns[t.historyCounterpartColumn].name, "From/To");
    EXPECT_EQ(t.balanceColumns[0].defaultWidth, 100);
    EXPECT_EQ(t.balanceColumns[1].format, "%.2f");
    const ColumnSpec& amount = t.historyColumns[t.historyAmountColumn];
    EXPECT_TRUE(amount.format == "%.2f" && amount.colored && amount.bold);
    for (const ColumnSpec& c : t.historyColumns)
        EXPECT_TRUE(&c == &amount || (c.format == " " && !c.colored && !c.bold)) << c.name;
}

TEST(VmClient, ParseFillsTheFrameAnswer) {
    VmClient client("h");
    client.Parse(
        "<Response><Status><Code>TransferFailed</Code><Message>No money</Message>"
        "</Status><Transaction><TransId>1</TransId><Amount>2.00</Amount><TransType>sent"
        "</TransType></Transaction></Response>",
        kLastSecond);
    EXPECT_EQ(client.ErrorReport(), "Code : TransferFailed, Message : No money \n");
    ASSERT_EQ(client.Answer().historyRows.size(), 1u);
    EXPECT_EQ(client.Answer().historyRows[0], " ~sent~ ~-2.00~1~ ");
    client.Parse("", kLastSecond);
    EXPECT_TRUE(client.Answer().errors.empty());
    EXPECT_TRUE(client.Answer().historyRows.empty());
}

}  // namespace
}  // namespace pw
