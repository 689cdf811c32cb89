// The Perfect Money client against the sandbox over HTTPS on 127.0.0.1: login balances, the
// history with each filter, a transfer that moves money, and the refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <memory>

#include "accounts/pm/pm_client.h"
#include "accounts/pm/pm_parser.h"
#include "accounts/pm/pm_requests.h"
#include "accounts/transfer_request.h"
#include "net/curl_transport.h"
#include "sandbox_session.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

namespace pw {
namespace {

class PmSandbox : public test::SandboxSession {
protected:
    void SetUp() override {
        Open("PM", "PMHost");
        client_ = MakePerfectMoneyClient(*settings_);
    }

    std::map<std::string, std::int64_t> Balances(const LoginFields& who) {
        const std::string page = transport_->HttpsGet(client_->BalanceUrl(who, std::time(nullptr)));
        pm::PmAnswer usual;
        EXPECT_TRUE(pm::ReadUsualInputs(page, 0, usual)) << page;  // read in one pass
        client_->Parse(page, RequestKind::Balance, true);
        EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
        std::map<std::string, std::int64_t> out;
        for (const std::string_view row : client_->Answer().balanceRows) {
            const TextList f = Split(row, "~");
            EXPECT_EQ(f.size(), 3u) << row;
            out[f[0]] = pm::ExactCents(f[1]).value_or(-999999);
        }
        return out;
    }

    TextList History(const HistoryFilter& f) {
        client_->Parse(transport_->HttpsGet(client_->HistoryUrl(demo_, f, 0, std::time(nullptr))),
                       RequestKind::History, true);
        EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
        return client_->Answer().historyRows.ToList();
    }

    // The error report of a raw query on path.
    std::string Refusal(const std::string& pathAndQuery) {
        client_->Parse(transport_->HttpsGet(sandbox_->HttpsUrl(pathAndQuery)), RequestKind::Other, true);
        EXPECT_TRUE(client_->Answer().balanceRows.empty() && client_->Answer().historyRows.empty())
            << pathAndQuery;
        return client_->ErrorReport();
    }

    std::unique_ptr<PmClient> client_;
    const LoginFields demo_{"1234567", "", "demo-pass"};
    const LoginFields second_{"7654321", "", "second-pass"};
};


TEST_F(PmSandbox, LoginShowsEveryAccountOfTheMember) {
    const auto b = Balances(demo_);
    EXPECT_EQ(b.size(), 3u);
    EXPECT_TRUE(b.count("U1234567") && b.count("E1234567") && b.count("G1234567"));
    EXPECT_EQ(b.at("G1234567"), 325);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(PmSandbox, HistoryHonoursEachFilter) {
    HistoryFilter all;
    all.from = {2007, 1, 1};
    all.to = {2026, 6, 30};
    const TextList rows = History(all);
    ASSERT_EQ(rows.size(), 3u);
    // Newest first; the memo with a comma and a line break arrives whole; "Memo: " cut.
    EXPECT_EQ(rows[0], "01/20/2026 16:45~E1234567~50.50~0.25~EUR~500003~plain ~77");
    EXPECT_EQ(Split(rows[1], "~")[6], "rent, November ");  // the line feed is a blank
    EXPECT_EQ(Split(rows[2], "~")[6], "first, second line ");

    struct Case {
        Date from, to;
        std::string counter, batch;
        TextList batches;
    } cases[] = {
        {{2025, 3, 15}, {2025, 3, 15}, "", "", {"500001"}},
        {{2025, 3, 16}, {2025, 11, 1}, "", "", {}},
        {{2007, 1, 1}, {2026, 6, 30}, "U7654321", "", {"500002", "500001"}},
        {{2007, 1, 1}, {2026, 6, 30}, " E7654321 ", "", {"500003"}},
        {{2007, 1, 1}, {2026, 6, 30}, "", "500002", {"500002"}},
        {{2007, 1, 1}, {2026, 6, 30}, "E7654321", "500002", {}},
    };
    for (const Case& c : cases) {
        HistoryFilter f;
        f.from = c.from;
        f.to = c.to;
        f.byAccount = !c.counter.empty();
        f.counterpart = c.counter;
        f.byBatch = !c.batch.empty();
        f.batch = c.batch;
        TextList batches;
        for (const std::string& row : History(f)) batches.push_back(Split(row, "~")[5]);
        EXPECT_EQ(batches, c.batches) << c.counter << c.batch;
    }
}

TEST_F(PmSandbox, TransferMovesMoneyAndIsInTheHistory) {
    const auto before = Balances(second_);
    const auto payeeBefore = Balances(demo_);
    const std::string memo = "x&Payee_Account=U1 #1+2=3 100%";
    ASSERT_EQ(SendTransfer(*client_, *transport_, second_,
                           {"U1234567~12.50~" + memo + "~INV 9~no~~no~U7654321~no"}, nullptr,
                           std::time(nullptr))
                  .state,
              TransferState::Confirmed);
    ASSERT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
    EXPECT_EQ(Balances(second_).at("U7654321"), before.at("U7654321") - 1250 - 6);
    EXPECT_EQ(Balances(demo_).at("U1234567"), payeeBefore.at("U1234567") + 1250);

    HistoryFilter f;
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    f.from = f.to = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
    f.byAccount = true;
    f.counterpart = "U7654321";
    const TextList rows = History(f);
    ASSERT_FALSE(rows.empty());
    const TextList c = Split(rows[0], "~");
    EXPECT_EQ(c[2], "12.50");
    EXPECT_EQ(c[6], memo + " ");  // the memo arrived as memo text
    EXPECT_EQ(c[7], "INV 9");
}

TEST_F(PmSandbox, RefusalsAreErrorAnswers) {
    // Not enough money, a wrong payer, an amount of three decimals: nothing moves.
    const auto before = Balances(demo_);
    for (const auto& [record, error] : std::vector<std::pair<std::string, std::string>>{
             {"U7654321~999999.00~m~~no~~no~U1234567~no", "Not enough money to pay"},
             {"U1234567~1.00~m~~no~~no~U7654321~no", "Invalid Payer_Account"},
             {"U7654321~1.234~m~~no~~no~U1234567~no", "Invalid Amount"},
             {"U0000000~1.00~m~~no~~no~U1234567~no", "Invalid Payee_Account"},
             {"E7654321~1.00~m~~no~~no~U1234567~no", "Wrong Payee_Account currency"}}) {
        ASSERT_EQ(
            SendTransfer(*client_, *transport_, demo_, {record}, nullptr, std::time(nullptr)).state,
            TransferState::Refused);
        EXPECT_EQ(client_->ErrorReport(), "Error : " + error + " \n") << record;
    }
    EXPECT_EQ(Balances(demo_), before);

    const std::string who = "AccountID=1234567&PassPhrase=demo-pass";
    const std::string range = "&startmonth=1&startday=1&startyear=2025&endmonth=2&endday=";
    const std::string login = "Error :  Can not login with passed AccountID and PassPhrase \n";
    struct Case {
        std::string query, report;
    } cases[] = {
        {"/acct/balance.asp?AccountID=1234567&PassPhrase=Demo-pass",
         "Error : Can not login with passed AccountID and PassPhrase \n"},
        {"/acct/balance.asp?AccountID=1234567", "Error : Missing parameter PassPhrase \n"},
        {"/acct/balance.asp?" + who + "&extra=1", "Error : Invalid parameter extra \n"},
        {"/acct/balance.asp?" + who + "&AccountID=1234567",
         "Error : Duplicate parameter AccountID \n"},
        {"/acct/historycsv.asp?AccountID=1234567&PassPhrase=x" + range + "28&endyear=2025", login},
        {"/acct/historycsv.asp?" + who + range + "31&endyear=2025", "Error :  Invalid date \n"},
        {"/acct/historycsv.asp?" + who + range + "29&endyear=2025", "Error :  Invalid date \n"},
        {"/acct/historycsv.asp?" + who + range + "x&endyear=2025", "Error :  Invalid date \n"},
        {"/acct/historycsv.asp?" + who + range + "05&endyear=2025", "Error :  Invalid date \n"},
        {"/acct/historycsv.asp?" + who + range + "5", "Error :  Missing parameter endyear \n"},
        {"/acct/historycsv.asp?" + who + range + "5&endyear=2025&desc=2",
         "Error :  Invalid desc \n"},
        {"/acct/historycsv.asp?" + who + range + "5&endyear=2025&batchfilter=1a",
         "Error :  Invalid batchfilter \n"},
        {"/acct/historycsv.asp?" + who + range + "5&endyear=2025&Desc=1",
         "Error :  Invalid parameter Desc \n"},
        {"/acct/confirm.asp?" + who +
             "&Payer_Account=U1234567&Payee_Account=U7654321&Amount=1&Memo=a&Payee_Account=U1",
         "Error : Duplicate parameter Payee_Account \n"},
        {"/acct/confirm.asp?" + who + "&Payer_Account=U1234567&Payee_Account=U7654321&Amount=-1",
         "Error : Invalid Amount \n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Refusal(c.query), c.report) << c.query;
    // An empty range is not an error.
    client_->Parse(transport_->HttpsGet(sandbox_->HttpsUrl("/acct/historycsv.asp?" + who + range +
                                                           "5&endyear=2000")),
                   RequestKind::History, true);
    EXPECT_TRUE(client_->Answer().errors.empty() && client_->Answer().historyRows.empty());
}

}  // namespace
}  // namespace pw
