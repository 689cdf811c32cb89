// The Perfect Money client without a server: request URLs byte for byte, the answer parser over
// many answers, history rows, record texts and the date rules of the history filter.
#include "accounts/pm/pm_client.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "accounts/pm/pm_parser.h"
#include "accounts/pm/pm_requests.h"
#include "accounts/tab_logic.h"
#include "accounts/transfer_request.h"
#include "lr_test_util.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1700000000;  // 2023-11-14 22:13:20 UTC
constexpr char kStamp[] = "2023-11-14 22:13:20";

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(PW_TEST_DATA_DIR) + "/samples/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

HistoryFilter Filter(Date from, Date to) {
    HistoryFilter f;
    f.from = from;
    f.to = to;
    return f;
}

TEST(PmRequests, UrlsByteForByte) {
    const LoginFields who{"1234567", "", "pass word"};
    HistoryFilter both = Filter({2007, 1, 1}, {2026, 12, 8});
    both.byAccount = true;
    both.counterpart = "  U7654321 ";
    both.byBatch = true;
    both.batch = " 500001";
    HistoryFilter unticked = both;
    unticked.byAccount = unticked.byBatch = false;
    const TextList queue = {"U7654321~12.50~x&Payee_Account=U1~INV 7~no~~no~U1234567~no",
                            "U9~1.00~second~~no~~no~U1234567~no"};
    struct Case {
        SecureString url;
        std::string expected;
    } cases[] = {
        {pm::BalanceUrl("h:8443", who),
         "https://h:8443/acct/balance.asp?AccountID=1234567&PassPhrase=pass%20word"},
        {pm::HistoryUrl("h", who, both),
         "https://h/acct/historycsv.asp?AccountID=1234567&PassPhrase=pass%20word&startmonth=1"
         "&startday=1&startyear=2007&endmonth=12&endday=8&endyear=2026&counterfilter=U7654321"
         "&batchfilter=500001&desc=1"},
        {pm::HistoryUrl("h", who, unticked),
         "https://h/acct/historycsv.asp?AccountID=1234567&PassPhrase=pass%20word&startmonth=1"
         "&startday=1&startyear=2007&endmonth=12&endday=8&endyear=2026&desc=1"},
        {pm::TransferUrl("h", who, queue, nullptr),
         "https://h/acct/confirm.asp?AccountID=1234567&PassPhrase=pass%20word"
         "&Payer_Account=U1234567&Payee_Account=U7654321&Amount=12.50"
         "&Memo=x%26Payee_Account%3DU1&PAYMENT_ID=INV%207"},
        {pm::TransferUrl("h", who, queue, [] { return false; }), ""},
        {pm::TransferUrl("h", who, {}, nullptr), ""},
        {pm::TransferUrl("h", who, {"U1~1e3~m~~no~~no~U2~no"}, nullptr), ""},
        {pm::TransferUrl("h", who, {"U1~1.00~m"}, nullptr), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.url, c.expected);
}

TEST(PmRequests, QueryValueChangesOnlyWhatWouldChangeTheQuery) {
    EXPECT_EQ(QueryValue("U123-4_5.6~(x)/!*'"), "U123-4_5.6~(x)/!*'");
    EXPECT_EQ(QueryValue("a&b=c#d+e%f g"), "a%26b%3Dc%23d%2Be%25f%20g");
    EXPECT_EQ(QueryValue("\t\x7f\xc3\xa9"), "%09%7F%C3%A9");
    // A long memo goes out whole.
    const std::string memo(600, 'm');
    EXPECT_EQ(QueryValue(memo), memo);
}

TEST(PmRequests, DateRules) {
    const Date today{2026, 12, 8};
    EXPECT_EQ(pm::FromDateNotInFuture({2026, 12, 9}, today), today);
    EXPECT_EQ(pm::FromDateNotInFuture({2027, 1, 1}, today), today);
    EXPECT_EQ(pm::FromDateNotInFuture({2026, 12, 8}, today), today);
    EXPECT_EQ(pm::FromDateNotInFuture({2025, 12, 31}, today), (Date{2025, 12, 31}));

    const pm::DateRange earlier{{2026, 11, 1}, {2026, 11, 30}};
    const pm::AccountBoxDates ticked = pm::OnAccountBoxClicked(true, {earlier, {}}, today);
    EXPECT_EQ(ticked.shown, (pm::DateRange{{2007, 1, 1}, today}));
    EXPECT_EQ(ticked.old, earlier);
    EXPECT_EQ(pm::OnAccountBoxClicked(false, ticked, today).shown, earlier);

    HistoryFilter shown = Filter(earlier.from, earlier.to);
    shown.byBatch = true;
    const pm::HistoryForAccount h =
        pm::ForAccountOfRow("d~U7654321 (Shop)~1.00~0~USD~5~m~p", shown, today);
    EXPECT_TRUE(h.filter.byAccount && !h.filter.byBatch);
    EXPECT_EQ(h.filter.counterpart, "U7654321 (Shop)");
    EXPECT_EQ(h.filter.from, (Date{2007, 1, 1}));
    EXPECT_EQ(h.filter.to, today);
    EXPECT_EQ(h.dates.old, earlier);

    // The client's history request never asks from a day after today (UTC).
    PmClient client("h");
    const std::string url(
        client.HistoryUrl({"1", "", "p"}, Filter({2099, 5, 5}, {2099, 5, 5}), 0, kNow));
    EXPECT_NE(url.find("&startmonth=11&startday=14&startyear=2023&endmonth=5"), std::string::npos)
        << url;
}

TEST(PmParser, Answers) {
    const std::string longMemo(300, 'x');
    struct Case {
        std::string name, answer;
        TextList errors, inputs, csv;
    } cases[] = {
        {"empty", "", {}, {}, {}},
        {"error answer", "Error: Invalid Amount", {" Invalid Amount"}, {}, {}},
        {"error answer keeps all", "Error:a\n<input name='x' type='h' value='1'>",
         {"a\n<input name='x' type='h' value='1'>"}, {}, {}},
        {"balance sample", Sample("pm_balance.html"), {},
         {std::string("U9999999~10.00~") + kStamp, std::string("E9999999~8.57~") + kStamp,
          std::string("G9999999~7.13~") + kStamp},
         {}},
        {"confirm refused", Sample("pm_confirm_error.html"), {"Invalid Amount"}, {}, {}},
        {"empty error and value", "<input name='ERROR' type='hidden' value=''><input name='' v "
                                  "value=''>",
         {" "}, {std::string(" ~ ~") + kStamp}, {}},
        // An ERROR input cut short is still an error: what arrived of its text, or " ".
        {"error input without end", "<input name='ERROR' type='hidden' value='x", {"x"}, {}, {}},
        {"error input without value", "<input name='ERROR' type='hidden'", {" "}, {}, {}},
        {"error cut after its value marker", "<input name='ERROR' type='hidden' value='", {" "},
         {}, {}},
        {"name without end", "<input name='U1'>", {}, {}, {}},
        {"value without end", "<input name='U1' type='hidden' value='1", {}, {}, {}},
        {"long value whole", "<input name='PAYMENT_ID' type='hidden' value='" + longMemo + "'>", {},
         {"PAYMENT_ID~" + longMemo + "~" + kStamp}, {}},
        {"csv",
         "Time,Type,Batch,Currency,Amount,Fee,Payer Account,Payee Account,Payment ID,Memo\n"
         "03/15/2025 10:30,Income,500001,USD,25.00,0.13,U7,U1,INV-1,first, second\r\n"
         "line\n"
         "11/02/2025 08:05,Spend,500002,USD,-10.00,0.05,U1,U7,,Order 7 Memo: rent, Nov\n"
         "01/20/2026 16:45,Income,500003,EUR,50.50,0.25,E7,E1,77," + longMemo + "\n"
         "short,line\n"
         "12/01/2026 00:00,Income,5,USD,1.00,0,a,b,c,not taken without line feed",
         {}, {},
         {"03/15/2025 10:30~Income~500001~USD~25.00~0.13~U7~U1~INV-1~first, second  line ",
          "11/02/2025 08:05~Spend~500002~USD~-10.00~0.05~U1~U7~~rent, Nov ",
          "01/20/2026 16:45~Income~500003~EUR~50.50~0.25~E7~E1~77~" + longMemo + " short,line "}},
        {"short header dropped, not a record", "head\n1,2,3,4,5,6,7,8,9,m\n", {}, {},
         {"1~2~3~4~5~6~7~8~9~m "}},
        {"short records skipped", "h,h,h,h,h,h,h,h,h,h\nonly,three,fields\n", {}, {}, {}},
        {"no records", "No Records Found.", {}, {}, {}},
        {"no records anywhere", "h,h,h,h,h,h,h,h,h,h\n1,2,3,4,5,6,7,8,9,No Records Found\n", {},
         {}, {}},
        {"Error: later is not an error", "h,h,h,h,h,h,h,h,h,h\n1,2,3,4,5,6,7,8,9,Error: x\n", {},
         {}, {"1~2~3~4~5~6~7~8~9~Error: x "}},
        {"Error: later in a page", "<p>Error: x</p>", {}, {}, {}},
        {"a tilde splits no field", "h,h,h,h,h,h,h,h,h,h\n1,2,3,4,5,6,7,8,P~9,a~b\n", {}, {},
         {"1~2~3~4~5~6~7~8~P-9~a-b "}},
        // "Memo: " is looked for once line breaks are blanks; only the first one counts.
        {"memo marker ended by a line break",
         "h,h,h,h,h,h,h,h,h,h\n1,2,3,4,5,6,7,8,9,a Memo:\r\nrest,x\n1,2,3,4,5,6,7,8,9,b Memo:\n", {},
         {}, {"1~2~3~4~5~6~7~8~9~ rest,x ", "1~2~3~4~5~6~7~8~9~"}},
        {"memo marker needs its blank", "h,h,h,h,h,h,h,h,h,h\n1,2,3,4,5,6,7,8,9,Memo:x Memo: y Memo: z\n",
         {}, {}, {"1~2~3~4~5~6~7~8~9~y Memo: z "}},
    };
    for (const Case& c : cases) {
        pm::PmAnswer a;
        a.errors = {"stale"};
        pm::ParseAnswer(c.answer, kNow, a);
        EXPECT_EQ(a.errors, c.errors) << c.name;
        EXPECT_EQ(a.inputs, c.inputs) << c.name;
        EXPECT_EQ(a.csv, c.csv) << c.name;
        // The table rows built as the records are read are those of the records.
        pm::PmAnswer rows;
        pm::ParseAnswer(c.answer, kNow, rows, CsvRows::History);
        EXPECT_EQ(rows.historyRows, pm::HistoryRows(a.csv)) << c.name;
    }
}

TEST(PmParser, ErrorReportKeepsTheBlank) {
    PmClient client("h");
    client.Parse("Error: Invalid Amount", RequestKind::Balance, true);
    EXPECT_EQ(client.ErrorReport(), "Error :  Invalid Amount \n");
    client.Parse(Sample("pm_confirm_error.html"), RequestKind::Transfer, true);
    EXPECT_EQ(client.ErrorReport(), "Error : Invalid Amount \n");
}

TEST(PmRows, HistoryRowsRecordTextAndTotals) {
    const TextList csv = {"d1~Income~500001~USD~25.00~0.13~U7~U1~INV-1~a, b",
                          "d2~Spend~500002~USD~-10.05~0.05~U1~U7~~memo~with~tildes",
                          "d3~too~few"};
    const RowList rows = pm::HistoryRows(RowList(csv));
    // A memo that still holds "~" cannot move the payment ID out of its column.
    ASSERT_EQ(rows, (TextList{"d1~U1~25.00~0.13~USD~500001~a, b~INV-1",
                              "d2~U7~-10.05~0.05~USD~500002~memo-with-tildes~"}));
    const RecordDescription& record = PerfectMoneyTraits().record;
    EXPECT_EQ(RenderRecord(record, rows[0], {}),
              "Date : d1\r\nFrom/To Account : U1\r\nAmount : 25.00\r\nCurrency : USD\r\n"
              "Batch : 500001\r\nMemo : a, b\r\nPayment ID : INV-1");
    EXPECT_NE(RenderRecord(record, rows[1], {}).find("Memo : memo-with-tildes\r\nPayment ID : "),
              std::string::npos);
    EXPECT_EQ(ReceiptImageName(record, rows[0]), "PM_500001.jpg");
    EXPECT_EQ(pm::AccountTag("1234567"), "PM_1234567");

    const Totals t = SumHistory(RowList(rows), PerfectMoneyTraits().historyAmountColumn);
    EXPECT_EQ(t.incomeCents, 2500);
    EXPECT_EQ(t.outcomeCents, 1005);
    for (const auto& [text, cents] : std::vector<std::pair<std::string, std::optional<std::int64_t>>>{
             {"0.10", 10}, {"1000000.10", 100000010}, {"-10.05", -1005}, {"7", 700},
             {"-0.01", -1}, {"1.234", std::nullopt}, {"1e3", std::nullopt}, {"", std::nullopt},
             {" 1", std::nullopt}})
        EXPECT_EQ(pm::ExactCents(text), cents) << text;
}

TEST(PmTraits, ColumnsFilesAndMessages) {
    const SystemTraits& t = PerfectMoneyTraits();
    EXPECT_EQ(t.prefix, "PM");
    EXPECT_EQ(t.balanceTableFile, "PMBalance.set");
    EXPECT_EQ(t.historyTableFile, "PMHistory.set");
    ASSERT_EQ(t.historyColumns.size(), 8u);
    EXPECT_EQ(t.historyColumns[7].name, "PaymentID");
    EXPECT_EQ(t.balanceColumns[0].name, "Account No");
    EXPECT_EQ(t.balanceColumns[0].defaultWidth, 100);
    EXPECT_EQ(LoginProblem({"", "", "p"}, t), 132);
    EXPECT_EQ(LoginProblem({"1", "", ""}, t), 112);
    EXPECT_TRUE(LoginProblem({"1", "", "p"}, t).Empty());
    EXPECT_EQ(t.msgNoCounterpart, 133);
    EXPECT_EQ(t.msgNoBatch, 117);
    // Formats and colours: only the numbers have "%.2f"; Amount alone is coloured and bold.
    std::vector<std::tuple<std::string, bool, bool>> history, balance;
    for (const ColumnSpec& c : t.historyColumns) history.emplace_back(c.format, c.colored, c.bold);
    for (const ColumnSpec& c : t.balanceColumns) balance.emplace_back(c.format, c.colored, c.bold);
    using F = std::tuple<std::string, bool, bool>;
    const F text{" ", false, false}, number{"%.2f", false, false};
    EXPECT_EQ(history, (std::vector<F>{text, text, {"%.2f", true, true}, number, text, text,
                                       text, text}));
    EXPECT_EQ(balance, (std::vector<F>{text, number, text}));
    EXPECT_EQ(t.record.prefix, "PM");
    EXPECT_EQ(t.record.lines.size(), 7u);
    EXPECT_FALSE(t.hasApiName);
}

TEST(PmClient, TransferSendsOnlyTheFirstRecord) {
    test::ScriptedTransport net;
    net.answers = {Sample("pm_confirm_error.html")};
    PmClient client("h");
    const TextList queue = {"U2~1.00~m~~no~~no~U1~no", "U3~2.00~m~~no~~no~U1~no"};
    EXPECT_EQ(SendTransfer(
                  client, net, {"1", "", "p"}, queue, [] { return false; }, std::time(nullptr))
                  .state,
              TransferState::NotBuilt);
    EXPECT_TRUE(net.urls.empty());
    EXPECT_EQ(SendTransfer(client, net, {"1", "", "p"}, queue, nullptr, std::time(nullptr)).state,
              TransferState::Refused);
    ASSERT_EQ(net.urls.size(), 1u);
    EXPECT_NE(net.urls[0].find("&Payee_Account=U2&Amount=1.00"), std::string::npos);
    EXPECT_EQ(client.Answer().errors, TextList{"Invalid Amount"});
}

}  // namespace
}  // namespace pw
