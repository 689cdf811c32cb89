// The e-gold client without a network: request URLs byte for byte, the answer parser over many
// answers, the price line, history rows with their float rules; the traits' cells, record
// text and notice.
#include <gtest/gtest.h>

#include <string>

#include "accounts/eg/eg_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/eg/eg_requests.h"
#include "accounts/tab_logic.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1236265199;  // 2009-03-05 14:59:59 UTC
constexpr char kStamp[] = "2009-03-05 14:59:59";
const TextList kPrices = {"900.00", "12.50", "1100.00", "200.00"};
const LoginFields kLogin{"1234567", "", "demopass1"};

TEST(EgRequests, UrlsByteForByte) {
    HistoryFilter f;
    f.from = {2009, 1, 2};
    f.to = {2009, 12, 31};
    const std::string head =
        "https://eg:443/acct/historycsv.asp?AccountID=1234567&PassPhrase=demopass1"
        "&startmonth=1&startday=2&startyear=2009&endmonth=12&endday=31&endyear=2009"
        "&paymentsreceived=1&paymentsmade=1&inexchanges=1&outexchanges=1"
        "&bailments=1&redemptions=1&fees=1&incentives=1";
    EXPECT_EQ(eg::BalanceUrl("eg:443", kLogin),
              "https://eg:443/acct/balance.asp?AccountID=1234567&Passphrase=demopass1");
    EXPECT_EQ(eg::HistoryUrl("eg:443", kLogin, f), head + "&desc=1");
    f.byAccount = f.byBatch = true;
    f.counterpart = "7654321";
    f.batch = "40000001";
    EXPECT_EQ(eg::HistoryUrl("eg:443", kLogin, f),
              head + "&counterfilter=7654321&batchfilter=40000001&desc=1");
    f.byAccount = false;
    EXPECT_EQ(eg::HistoryUrl("eg:443", kLogin, f), head + "&batchfilter=40000001&desc=1");

    int checks = 0;
    const auto pass = [&checks] { return ++checks, true; };
    const TextList queue = {"7654321~12.50~Invoice 7~ID-1~no~~no~Gold~no", "5550001~1~x~y~no~~no~Silver~no"};
    EXPECT_EQ(eg::TransferUrl("eg", kLogin, queue, pass),
              "https://eg/acct/confirm.asp?AccountID=1234567&PassPhrase=demopass1"
              "&Payee_Account=7654321&Amount=12.50&PAY_IN=1&WORTH_OF=Gold&Memo=Invoice%207"
              "&IGNORE_RATE_CHANGE=y&PAYMENT_ID=ID-1");
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(eg::TransferUrl("eg", kLogin, queue, [] { return false; }), "");
    EXPECT_EQ(eg::TransferUrl("eg", kLogin, {}, pass), "");
    EXPECT_EQ(checks, 1);  // an empty queue asks for no password
    // A short record sends empty values rather than failing.
    EXPECT_EQ(eg::TransferUrl("eg", kLogin, {"7654321"}, nullptr),
              "https://eg/acct/confirm.asp?AccountID=1234567&PassPhrase=demopass1"
              "&Payee_Account=7654321&Amount=&PAY_IN=1&WORTH_OF=&Memo=&IGNORE_RATE_CHANGE=y"
              "&PAYMENT_ID=");
}

TEST(EgRequests, PriceHostFallsBackToTheInterfaceHostOnPort80) {
    const struct { const char *eg, *price, *want; } cases[] = {
        {"www.e-gold.com", "", "www.e-gold.com"},
        {"127.0.0.1:8443", "", "127.0.0.1"},
        {"[::1]:8443", "", "[::1]"},
        {"127.0.0.1:8443", "127.0.0.1:8080", "127.0.0.1:8080"},
    };
    for (const auto& c : cases) EXPECT_EQ(eg::PriceHost(c.eg, c.price), c.want) << c.eg;
    EXPECT_EQ(eg::PriceUrl("h:81"), "http://h:81/unsecure/metaldata.asp?LATEST=1");
}

TEST(EgParser, Prices) {
    const struct { const char* in; TextList want; } cases[] = {
        {"12/8/2026 10:00:00,900.00,12.50,1100.00,200.00\n", kPrices},
        {"x,912.345,0.1", {"912.34", "0.10"}},
        {"-=Error=- 404", {}},
        {"", {}},
        {"a,,junk,1e3", {"0.00", "0.00", "1000.00"}},
    };
    for (const auto& c : cases) EXPECT_EQ(eg::ParsePrices(c.in), c.want) << c.in;
}

std::string Row(const std::string& metal, const std::string& oz, const std::string& g,
                const std::string& rate, const std::string& usd) {
    return metal + "~" + oz + "~" + g + "~" + rate + "~" + usd + "~" + kStamp;
}

TEST(EgParser, AnswersGiveErrorsBalancesAndCsvRows) {
    const std::string big(300, 'v');
    const struct {
        std::string name, answer;
        TextList errors, balances, raw;
    } cases[] = {
        {"balance",
         "<html><form>\n<input type=hidden name=Gold_Ounces value=\"1.5\">\n"
         "<input type=hidden name=Gold_Grams value=\"46.65\">\n"
         "<input type=hidden name=Silver_Ounces value=\"0.123456\">\n"
         "<input type=hidden name=Rhodium_Ounces value=\"2\">\n"
         "<input type=hidden name=Palladium value=\"\">\n</form></html>",
         {},
         {Row("Gold", "1.5", "46.6545", "900.00", "1350.00"),
          Row("Silver", "0.123456", "3.8399", "12.50", "1.54"),
          Row("Rhodium", "2", "62.2060", "", "0.00"), Row("Palladium", " ", "0.0000", "200.00", "0.00")},
         {}},
        {"errors",
         "<p>x</p><input type=hidden name=ERROR value=\"Invalid AccountID or PassPhrase\">"
         "<input type=hidden name=ERROR value=\"\"><input type=hidden name=ERROR value=\"" + big + "\">",
         {"Invalid AccountID or PassPhrase", " ", big},
         {},
         {}},
        {"error without value", "<input type=hidden name=ERROR>", {""}, {}, {}},
        {"error without end marker", "<input type=hidden name=ERROR value=\"cut",
         {""}, {}, {}},
        {"name without blank", "<input type=hidden name=Gold_Ounces", {}, {}, {}},
        {"value without end marker",
         "<input type=hidden name=Gold_Ounces value=\"1.5\"><input type=hidden name=Silver_Ounces value=\"2",
         {}, {Row("Gold", "1.5", "46.6545", "900.00", "1350.00")}, {}},
        {"input without name or value", "<input type=hidden><input type=hidden>", {}, {}, {}},
        {"long name", "<input type=hidden name=" + big + " value=\"1\">", {},
         {Row(big, "1", "31.1030", "", "0.00")}, {}},
        {"csv",
         "Date,Type,Batch,Metal,Weight,Acc,Name,USD,Cur,Rate,Memo\n"
         "1/2/2009 10:11:12,Payment Received,40000001,Gold,0.500000,7654321,\"Payee Shop\",450.00,USD,900.00,\"Invoice, 17\"\r\n"
         "3/4/2009,Fee,7,Gold,-0.001,,,0.90,USD,900.00,x\n"
         "\r\n"
         "12/31/2009 1:2:3 extra,a,b\n"
         "last line without end",
         {}, {},
         {"01/02/2009 10:11:12~Payment Received~40000001~Gold~0.500000~7654321~Payee Shop~450.00~USD~900.00~Invoice~ 17\r",
          "3/4/2009~Fee~7~Gold~-0.001~~~0.90~USD~900.00~x", "\r", "12/31/2009 1:2:3 extra~a~b"}},
        {"first line dropped even when data", "1/1/2009 0:0:0,a\n2/2/2009 0:0:0,b\n", {}, {},
         {"02/02/2009 0:0:0~b"}},
        {"no records", "header\nNo Records Found.\n", {}, {}, {}},
        {"empty", "", {}, {}, {}},
    };
    for (const auto& c : cases) {
        eg::EgAnswer out;
        out.errors = {"stale"};
        eg::ParseAnswer(c.answer, kPrices, kNow, out);
        EXPECT_EQ(out.errors, c.errors) << c.name;
        EXPECT_EQ(out.balances, c.balances) << c.name;
        EXPECT_EQ(out.rawHistory, c.raw) << c.name;
    }
}

TEST(EgParser, PricesShorterThanTheMetalListLeaveRateEmpty) {
    eg::EgAnswer out;
    eg::ParseAnswer("<input type=hidden name=Platinum_Ounces value=\"1\">", {"900.00"}, kNow, out);
    EXPECT_EQ(out.balances, TextList{Row("Platinum", "1", "31.1030", "", "0.00")});
}

TEST(EgParser, DatesAndHistoryRows) {
    const struct { const char *in, *out; } dates[] = {
        {"1/2/2009 10:11:12", "01/02/2009 10:11:12"},
        {"12/31/09 23:59", "12/31/0009 23:59"},
        {"1/2/2009", "1/2/2009"},
        {"1/2/2009  10:11", "1/2/2009  10:11"},
        {"1-2-2009 10:11", "1-2-2009 10:11"},
        {"a/b/c t", "00/00/0000 t"},
    };
    for (const auto& d : dates) EXPECT_EQ(eg::RewriteDate(d.in), d.out) << d.in;

    const struct { const char *raw, *row; } rows[] = {
        {"D~Payment Made~77~Gold~-0.5~5550001~Third~450.00~USD~900.00~Rent",
         "D~Payment Made~Gold~-0.5~-450.00~5550001 (Third)~USD~900.00~77~Rent"},
        {"D~In~78~Silver~2~~~25.00~USD~12.50~m~extra",
         "D~In~Silver~2~25.00~~USD~12.50~78~m"},
        {"D~Fee~79~Gold~0~1~~0.00~USD~900.00~", "D~Fee~Gold~0~0.00~1~USD~900.00~79~"},
        {"D~short~1~2~3~4~5~6~7~8", ""},
        {"\r", ""},
    };
    TextList raws, want;
    for (const auto& r : rows) {
        EXPECT_EQ(eg::HistoryRow(r.raw), r.row) << r.raw;
        raws.push_back(r.raw);
        if (*r.row) want.push_back(r.row);
    }
    EXPECT_EQ(eg::HistoryRows(RowList(raws)), want);  // short lines are skipped, never shifted
    // The totals: Amount exactly 0 counts in Outcome with 0; sums are exact cents.
    const Totals t = SumHistory(RowList(want), EGoldTraits().historyAmountColumn);
    EXPECT_EQ(t.incomeCents, 2500);
    EXPECT_EQ(t.outcomeCents, 45000);
}

TEST(EgClient, TraitsGiveTheCellsTheNoticeAndTheMessages) {
    const SystemTraits& t = EGoldTraits();
    const TextList bal = Split(Row("Gold", "0.123456", "3.8399", "900.00", "111.11"), "~");
    const char* balWant[] = {" Gold", "0.123456", "3.8399", " 900.00", "111.11", " 2009-03-05 14:59:59"};
    ASSERT_EQ(t.balanceColumns.size(), std::size(balWant));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CellText(bal, i, t.balanceColumns[static_cast<std::size_t>(i)].format), balWant[i]) << i;
    const TextList hist = Split("D~T~Gold~-0.5~-450~A (B)~USD~912.345~77~M", "~");
    const char* histWant[] = {" D", " T", " Gold", "-0.500000", "-450.00", " A (B)", " USD", "912.35", " 77", " M"};
    ASSERT_EQ(t.historyColumns.size(), std::size(histWant));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(CellText(hist, i, t.historyColumns[static_cast<std::size_t>(i)].format), histWant[i]) << i;
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(t.historyColumns[i].colored, i == 3 || i == 4) << i;
        EXPECT_EQ(t.historyColumns[i].bold, i == 4) << i;
    }
    EXPECT_EQ(t.msgNoCounterpart.Text(),
              "You are checked option for select on EG-number, but don't entered it");
    EXPECT_EQ(t.msgNoAccount, TabMessage(132));
    EXPECT_EQ(RenderRecord(t.record, "d~Spend~Gold~0.5~450~7654321 (Shop)~USD~900~77~m", {true, 3}),
              "Date : d\r\nPayment Type : Spend\r\nFrom/To Account : 7654*** (Shop)\r\n"
              "Weight : 0.5 oz Gold\r\nAmount : 450\r\nCurrency : USD\r\nBatch : 77\r\nMemo : m");

    // The notice compares the Ounces as text, position by position, and reports the USD.
    const TextList old = {Row("Gold", "1.500000", "", "", "1350.00"), Row("Silver", "2", "", "", "25.00")};
    const struct { TextList now; std::string text; } cases[] = {
        {{Row("Gold", "1.500000", "", "", "1351.00"), Row("Silver", "2", "", "", "25.00")}, ""},
        {{Row("Gold", "1.400000", "", "", "1260.00"), Row("Silver", "2", "", "", "25.00")},
         "Balance is changed [EG<1234567>]\r\nGold : 1350.00/1260.00\r\n"},
        {{Row("Silver", "9", "", "", "1"), Row("Gold", "9", "", "", "2")}, ""},  // order swapped
        {{Row("Gold", "abc", "", "", "0.00")}, "Balance is changed [EG<1234567>]\r\nGold : 1350.00/0.00\r\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        const ChangeNotice n = BuildChangeNotice(RowList(old), RowList(c.now), t.prefix, "1234567", t.change);
        EXPECT_EQ(n.text, c.text);
        EXPECT_EQ(n.changed, !c.text.empty());
    }
}

TEST(EgClient, ParseFillsTheFrameAnswer) {
    EgClient client("eg", "eg");
    client.SetClock([] { return kNow; });
    client.Parse("<input type=hidden name=Gold_Ounces value=\"1.5\">", RequestKind::Balance, true);
    EXPECT_EQ(client.Answer().balanceRows, TextList{Row("Gold", "1.5", "46.6545", "", "0.00")});
    client.ReadPrices("stamp,900.00");
    client.Parse("<input type=hidden name=Gold_Ounces value=\"1.5\">", RequestKind::Balance, true);
    EXPECT_EQ(client.Answer().balanceRows, TextList{Row("Gold", "1.5", "46.6545", "900.00", "1350.00")});
    // The payment parts reach the transfer request through the frame's interface.
    AccountClient& frame = client;
    EXPECT_EQ(frame.TransferUrl(kLogin, {"7654321~1.00~m~P1~no~~no~Gold~no"}, nullptr, kNow),
              "https://eg/acct/confirm.asp?AccountID=1234567&PassPhrase=demopass1"
              "&Payee_Account=7654321&Amount=1.00&PAY_IN=1&WORTH_OF=Gold&Memo=m"
              "&IGNORE_RATE_CHANGE=y&PAYMENT_ID=P1");
    client.Parse("h\nD,T,1,Gold,-1,2,,3.00,USD,3.00,m\nshort\n", RequestKind::History, true);
    EXPECT_TRUE(client.Answer().balanceRows.empty());
    EXPECT_EQ(client.Answer().historyRows, TextList{"D~T~Gold~-1~-3.00~2~USD~3.00~1~m"});
    client.Parse("<input type=hidden name=ERROR value=\"No\">", RequestKind::Balance, true);
    EXPECT_EQ(client.ErrorReport(), "Error : No \n");
    EXPECT_TRUE(client.FurtherPages(HistoryFilter{}).empty());
}

}  // namespace
}  // namespace pw
