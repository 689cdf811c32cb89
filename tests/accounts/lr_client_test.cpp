// The Liberty Reserve client as the account tab drives it: traits, paging, history rows,
// transfers and account names, over a scripted transport.
#include "accounts/lr/lr_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "accounts/transfer_request.h"
#include "lr_test_util.h"
#include "settings/settings_store.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

using test::DocumentOf;
using test::ScriptedTransport;

constexpr std::time_t kNow = 1236265199;

std::string Pager(int size, int count, int number, int total) {
    return "<Pager><PageSize>" + std::to_string(size) + "</PageSize><PageCount>" +
           std::to_string(count) + "</PageCount><PageNumber>" + std::to_string(number) +
           "</PageNumber><TotalCount>" + std::to_string(total) + "</TotalCount></Pager>";
}

std::string Receipt(const std::string& id, const std::string& amount, const std::string& memo) {
    const bool in = amount[0] != '-';
    return "<Receipt><ReceiptId>" + id + "</ReceiptId><Date>2009-03-05 10:00:00</Date>"
           "<PayerName>" + std::string(in ? "Payee Shop" : "Demo User") + "</PayerName><PayeeName>" +
           (in ? "Demo User" : "Payee Shop") + "</PayeeName><Amount>" + amount +
           "</Amount><Fee>0.0100</Fee><ClosingBalance>490.0000</ClosingBalance><Transfer>"
           "<TransferId>T" + id + "</TransferId><TransferType>transfer</TransferType><Payer>" +
           (in ? "U7654321" : "U1234567") + "</Payer><Payee>" + (in ? "U1234567" : "U7654321") +
           "</Payee><CurrencyId>LRUSD</CurrencyId><Amount>" + amount + "</Amount><Memo>" + memo +
           "</Memo><Anonymous>false</Anonymous><Source>API</Source></Transfer></Receipt>";
}

std::string History(const std::string& body) {
    return "<HistoryResponse id=\"42\" date=\"2009-05-03 10:00:00\">" + body + "</HistoryResponse>";
}

class LrClientTest : public ::testing::Test {
protected:
    LrClient client{"127.0.0.1:9"};
    LoginFields login{"U1234567", "demoapi", "demosecret"};
    ScriptedTransport net;
    HistoryFilter filter;

    // What the tab's GetHistory does with the client.
    void FetchHistory() {
        client.Parse(net.HttpsGet(client.HistoryUrl(login, filter, 0, kNow)), RequestKind::Other,
                     true);
        for (const int page : client.FurtherPages(filter))
            client.Parse(net.HttpsGet(client.HistoryUrl(login, filter, page, kNow)),
                         RequestKind::Other, false);
    }
};

TEST_F(LrClientTest, TraitsOfTheTab) {
    const SystemTraits& t = client.Traits();
    EXPECT_EQ(t.prefix, "LR");
    EXPECT_EQ(t.systemName, "Liberty Reserve");
    EXPECT_TRUE(t.full);
    ASSERT_EQ(t.balanceColumns.size(), 3u);
    EXPECT_EQ(t.balanceColumns[1].name, "Value");
    EXPECT_EQ(t.balanceColumns[1].align, Align::Right);
    EXPECT_EQ(t.balanceColumns[2].defaultWidth, 150);
    ASSERT_EQ(t.historyColumns.size(), 10u);
    std::vector<std::string> names;
    std::vector<int> widths;
    for (const ColumnSpec& c : t.historyColumns) names.push_back(c.name), widths.push_back(c.defaultWidth);
    EXPECT_EQ(names, (std::vector<std::string>{"Date", "From/To", "Amount", "Fee", "Balance",
                                               "Currency", "Batch", "Memo", "Anonymous", "Source"}));
    EXPECT_EQ(widths, (std::vector<int>{110, 110, 50, 40, 60, 60, 60, 150, 70, 50}));
    EXPECT_EQ(t.historyColumns[1].align, Align::Left);
    EXPECT_EQ(t.historyColumns[7].align, Align::Left);
    EXPECT_EQ(t.historyColumns[4].align, Align::Right);
    EXPECT_EQ(t.historyColumns[0].align, Align::Center);
    EXPECT_EQ(t.currencies, (TextList{"LRUSD", "LREUR"}));
    EXPECT_EQ(t.balanceTableFile, "Balance.set");
    EXPECT_EQ(t.historyTableFile, "History.set");
    EXPECT_EQ(t.batchLabel, "LR-Batch #");
    EXPECT_EQ(t.scheduleFieldCount, 8);
    EXPECT_EQ(t.scheduleDueField, 4);
    for (std::size_t i = 0; i < t.historyColumns.size(); ++i)
        EXPECT_EQ(t.historyColumns[i].format, i >= 2 && i <= 4 ? "%.2f" : " ") << i;
    EXPECT_EQ(t.balanceColumns[1].format, "%.2f");
}

TEST_F(LrClientTest, GetLastFetchesOnePageWhateverThePagerSays) {
    filter.getLast = true;
    filter.count = 5;
    net.answers = {History(Pager(5, 26, 1, 130) + Receipt("1", "5.0000", "a"))};
    FetchHistory();
    ASSERT_EQ(net.urls.size(), 1u);
    EXPECT_NE(DocumentOf(net.urls[0]).find(
                  "<History><AccountId>U1234567</AccountId><Pager><PageSize>5</PageSize>"
                  "<PageNumber>1</PageNumber></Pager></History>"),
              std::string::npos);
    EXPECT_TRUE(client.FurtherPages(filter).empty());
    EXPECT_EQ(client.Answer().historyRows.size(), 1u);
}

TEST_F(LrClientTest, ThreePagesAreFetchedAndAppended) {
    filter.getLast = false;
    filter.byAccount = true;
    filter.counterpart = "U7654321";
    net.answers = {History(Pager(50, 3, 1, 5) + Receipt("1", "1.0000", "p1") + Receipt("2", "-2.0000", "p1")),
                   History(Pager(50, 3, 2, 5) + Receipt("3", "3.0000", "p2") + Receipt("4", "4.0000", "p2")),
                   History(Pager(50, 3, 3, 5) + Receipt("5", "5.0000", "p3"))};
    FetchHistory();
    ASSERT_EQ(net.urls.size(), 3u);
    EXPECT_EQ(DocumentOf(net.urls[0]).find("<Pager>"), std::string::npos);
    EXPECT_NE(DocumentOf(net.urls[1]).find("<Pager><PageSize>50</PageSize><PageNumber>2</PageNumber></Pager>"),
              std::string::npos);
    EXPECT_NE(DocumentOf(net.urls[2]).find("<Pager><PageSize>50</PageSize><PageNumber>3</PageNumber></Pager>"),
              std::string::npos);
    const RowList& rows = client.Answer().historyRows;
    ASSERT_EQ(rows.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Split(rows[i], "~")[6], std::to_string(i + 1));
}

TEST_F(LrClientTest, PagerThatAgreesOrIsShortAsksForNothingMore) {
    filter.getLast = false;
    filter.byBatch = true;
    filter.batch = "1";
    client.Parse(History(Pager(50, 1, 1, 1)), RequestKind::Other, true);
    EXPECT_TRUE(client.FurtherPages(filter).empty());
    client.Parse(History("<Pager><PageSize>50</PageSize><PageCount>3</PageCount></Pager>"),
                 RequestKind::Other, true);
    EXPECT_TRUE(client.FurtherPages(filter).empty());  // only two fields
    client.Parse(History(Pager(50, 4, 2, 1)), RequestKind::Other, true);
    EXPECT_EQ(client.FurtherPages(filter), (std::vector<int>{2, 3, 4}));
    // A page count from a broken server does not make the tab loop for ever.
    client.Parse(History("<Pager><PageSize>50</PageSize><PageCount>2000000000</PageCount>"
                         "<PageNumber>1</PageNumber><TotalCount>1</TotalCount></Pager>"),
                 RequestKind::Other, true);
    EXPECT_EQ(client.FurtherPages(filter).size(), static_cast<std::size_t>(kLrMaxPages - 1));
    client.Parse(History("<Pager><PageSize>50</PageSize><PageCount>x</PageCount>"
                         "<PageNumber>1</PageNumber><TotalCount>1</TotalCount></Pager>"),
                 RequestKind::Other, true);
    EXPECT_TRUE(client.FurtherPages(filter).empty());
}

TEST_F(LrClientTest, HistoryRowsFollowTheSignOfTheAmount) {
    client.Parse(History(Receipt("11", "-10.0000", "") + Receipt("12", "10.0000", "thanks") +
                         Receipt("13", "0.005", "x")),
                 RequestKind::Other, true);
    const RowList& rows = client.Answer().historyRows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              "2009-03-05 10:00:00~U7654321 (Payee Shop)~-10.00~0.0100~490.0000~LRUSD~11~ ~false~API");
    EXPECT_EQ(rows[1],
              "2009-03-05 10:00:00~U7654321 (Payee Shop)~10.00~0.0100~490.0000~LRUSD~12~thanks~false~API");
    EXPECT_EQ(Split(rows[2], "~")[2], "0.01");
    EXPECT_EQ(Split(rows[0], "~").size(), 10u);
}

TEST_F(LrClientTest, AmountsAreReadPastLeadingWhiteSpaceAndNeverAsInfinity) {
    const RowList t = {"T1~transfer~UPAYER~UPAYEE~LRUSD~10~m~false~API"};
    EXPECT_EQ(BuildHistoryRows({"1~d~Payer~Payee~\n -10.0000~0~1"}, t)[0],
              "d~UPAYEE (Payee)~-10.00~0~1~LRUSD~1~m~false~API");
    EXPECT_EQ(BuildHistoryRows({"1~d~Payer~Payee~\r\n\v\f+10.5~0~1"}, t)[0],
              "d~UPAYER (Payer)~10.50~0~1~LRUSD~1~m~false~API");
    EXPECT_EQ(BuildHistoryRows({"1~d~Payer~Payee~inf~0~1"}, t)[0],
              "d~UPAYEE (Payee)~0.00~0~1~LRUSD~1~m~false~API");
    EXPECT_EQ(Split(BuildHistoryRows({"1~d~Payer~Payee~nan~0~1"}, t)[0], "~")[2], "0.00");
}

TEST_F(LrClientTest, HistoryRowsSurviveShortRecords) {
    const RowList rows = BuildHistoryRows({"1", ""}, {"", "a~b"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(Split(rows[0], "~").size(), 10u);
    EXPECT_EQ(BuildHistoryRows({"1", "2"}, {"t"}).size(), 1u);
}

TEST_F(LrClientTest, BalanceAndErrorsOfOneAnswer) {
    client.Parse(
        "<BalanceResponse id=\"3\" date=\"2011-06-12 17:52:21\"><Balance><CurrencyId>LRUSD"
        "</CurrencyId><AccountId>U1234567</AccountId><Date>2011-12-06 17:52:21</Date>"
        "<Value>1000.5000</Value></Balance><Error><Code>12</Code><Text>Partly</Text>"
        "<Description>d</Description></Error></BalanceResponse>",
        RequestKind::Other, true);
    EXPECT_EQ(client.Answer().balanceRows,
              (TextList{"LRUSD~1000.5000~2011-12-06 17:52:21~U1234567"}));
    EXPECT_EQ(client.Answer().errors, (TextList{"12~Partly~d"}));
    EXPECT_EQ(client.ErrorReport(), "Code : 12, Message : Partly \n");
    client.Parse("", RequestKind::Other, true);  // a failed transport call
    EXPECT_TRUE(client.Answer().balanceRows.empty());
    EXPECT_TRUE(client.Answer().errors.empty());
    EXPECT_EQ(client.ErrorReport(), "");
}

TEST_F(LrClientTest, TwoQueuedTransfersMakeOneRequest) {
    net.answers = {"<TransferResponse id=\"1\" date=\"x\"></TransferResponse>"};
    int checks = 0;
    ASSERT_EQ(SendTransfer(
                  client, net, login,
                  {"U7654321~1.00~a~no~~no~LRUSD~no", "U1111111~2.00~b~no~~no~LREUR~no"},
                  [&] { return ++checks, true; }, kNow)
                  .state,
              TransferState::Unknown);
    EXPECT_EQ(checks, 1);
    ASSERT_EQ(net.urls.size(), 1u);
    const std::string doc = DocumentOf(net.urls[0]);
    std::size_t count = 0;
    for (std::size_t p = doc.find("<Transfer>"); p != std::string::npos; p = doc.find("<Transfer>", p + 1))
        ++count;
    EXPECT_EQ(count, 2u);
    EXPECT_TRUE(client.Answer().errors.empty());
}

TEST_F(LrClientTest, AccountNameLookups) {
    ScriptedUi ui;
    EXPECT_EQ(client.GetAccountName(net, login, "", kNow, ui), "");
    EXPECT_TRUE(net.urls.empty());

    net.answers = {"<AccountNameResponse id=\"7\" date=\"x\"><AccountName><AccountToRetrieve>"
                   "U7654321</AccountToRetrieve><Date>2009-05-03 10:00:00</Date><Name>Payee Shop"
                   "</Name></AccountName></AccountNameResponse>"};
    EXPECT_EQ(client.GetAccountName(net, login, "U7654321", kNow, ui), "Payee Shop");
    EXPECT_NE(DocumentOf(net.urls.back()).find("<AccountToRetrieve>U7654321</AccountToRetrieve>"),
              std::string::npos);
    EXPECT_TRUE(ui.messages.empty());

    net.answers = {"<AccountNameResponse id=\"8\" date=\"x\"><Error><Code>302</Code><Text>Account "
                   "not found</Text><Description>U999</Description></Error></AccountNameResponse>"};
    EXPECT_EQ(client.GetAccountName(net, login, "U999", kNow, ui), "");
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Code : 302, Message : Account not found \n"}));

    // Unreachable server: empty answer, no name, nothing more shown.
    EXPECT_EQ(client.GetAccountName(net, login, "U7654321", kNow, ui), "");
    EXPECT_EQ(ui.messages.size(), 1u);
    // Garbage answer.
    net.answers = {"\x01\xFF<AccountName><Name>unterminated"};
    EXPECT_EQ(client.GetAccountName(net, login, "U7654321", kNow, ui), "");
}

TEST(LrClientSettings, HostComesFromTheSettingsFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pw_lr_host_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string ini = (dir / "Purseward.ini").string();
    { std::ofstream(ini) << "[LR]\r\nLRHost=127.0.0.1:8443\r\n"; }
    SettingsStore settings(ini, "");
    EXPECT_EQ(MakeLibertyReserveClient(settings)->Host(), "127.0.0.1:8443");
    { std::ofstream(ini) << "[LR]\r\nLRHost=\r\n"; }
    EXPECT_EQ(SystemHost(settings, 0), "api.libertyreserve.com");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pw
