// The Liberty Reserve client against the sandbox over HTTPS on 127.0.0.1: login, a three-page
// history, transfers that move money, account names, refusals and an unreachable server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "accounts/lr/lr_parser.h"
#include "accounts/lr/lr_client.h"
#include "accounts/lr/lr_requests.h"
#include "accounts/transfer_request.h"
#include "crypto/cipher.h"
#include "net/curl_transport.h"
#include "sandbox_session.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

// Ten-thousandths from a four-decimal text, exactly.
long long Units(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string t = negative ? text.substr(1) : text;
    const std::size_t dot = t.find('.');
    std::string frac = dot == std::string::npos ? "" : t.substr(dot + 1);
    frac.resize(4, '0');
    const long long v = std::stoll(t.substr(0, dot)) * 10000 + std::stoll(frac);
    return negative ? -v : v;
}

// "yyyy-dd-MM hh:mm:ss", as the interface writes dates, reordered to "yyyy-MM-dd hh:mm:ss" so
// that texts compare in time order.
std::string InTimeOrder(const std::string& yearDayMonth) {
    if (yearDayMonth.size() < 10) return yearDayMonth;
    return yearDayMonth.substr(0, 5) + yearDayMonth.substr(8, 2) + "-" +
           yearDayMonth.substr(5, 2) + yearDayMonth.substr(10);
}

class LrSandbox : public test::SandboxSession {
protected:
    void SetUp() override {
        Open("LR", "LRHost");
        client_ = MakeLibertyReserveClient(*settings_);
    }

    // Balances by currency after a login of who.
    std::map<std::string, long long> Balances(const LoginFields& who) {
        client_->Parse(transport_->HttpsGet(client_->BalanceUrl(who, std::time(nullptr))),
                       RequestKind::Other, true);
        EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
        std::map<std::string, long long> out;
        for (const std::string_view row : client_->Answer().balanceRows) {
            const TextList f = Split(row, "~");
            EXPECT_EQ(f.size(), 4u) << row;
            if (f.size() == 4) out[f[0]] = Units(f[1]);
        }
        return out;
    }

    // What the tab's GetHistory does.
    const RowList& FetchHistory(const LoginFields& who, const HistoryFilter& filter) {
        const std::time_t now = std::time(nullptr);
        const std::string answer = transport_->HttpsGet(client_->HistoryUrl(who, filter, 0, now));
        lr::LrAnswer direct;
        EXPECT_TRUE(lr::ReadUsualShape(answer, true, direct)) << answer;  // the server's shape is read in one pass
        client_->Parse(answer, RequestKind::Other, true);
        for (const int page : client_->FurtherPages(filter))
            client_->Parse(transport_->HttpsGet(client_->HistoryUrl(who, filter, page, now)),
                           RequestKind::Other, false);
        return client_->Answer().historyRows;
    }

    std::unique_ptr<LrClient> client_;
    const LoginFields demo_{"U1234567", "demoapi", "demosecret"};
    const LoginFields payee_{"U7654321", "payee", "payeesecret"};
};


TEST_F(LrSandbox, LoginShowsBothCurrencies) {
    const auto balances = Balances(demo_);
    EXPECT_EQ(balances.size(), 2u);
    EXPECT_TRUE(balances.count("LRUSD") && balances.count("LREUR"));
    EXPECT_EQ(Split(client_->Answer().balanceRows[0], "~")[0], "LRUSD");
    EXPECT_EQ(Split(client_->Answer().balanceRows[0], "~")[3], "U1234567");
    EXPECT_FALSE(client_->Lr().responseId.empty());
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LrSandbox, WrongSecretOrApiNameIsRefusedWithAnError) {
    for (const LoginFields& bad : {LoginFields{"U1234567", "demoapi", "wrong"},
                                   LoginFields{"U1234567", "other", "demosecret"},
                                   LoginFields{"U0000000", "demoapi", "demosecret"}}) {
        client_->Parse(transport_->HttpsGet(client_->BalanceUrl(bad, std::time(nullptr))),
                       RequestKind::Other, true);
        EXPECT_TRUE(client_->Answer().balanceRows.empty());
        ASSERT_EQ(client_->Answer().errors.size(), 1u);
        EXPECT_EQ(client_->ErrorReport(), "Code : 201, Message : Authentication failed \n");
    }
    // The token of two hours ago no longer opens the account.
    client_->Parse(transport_->HttpsGet(client_->BalanceUrl(demo_, std::time(nullptr) - 7300)),
                   RequestKind::Other, true);
    EXPECT_EQ(client_->Answer().errors.size(), 1u);
}

TEST_F(LrSandbox, HistoryOfThreePagesArrivesWhole) {
    HistoryFilter f;
    f.getLast = false;
    f.fromTo = true;
    f.from = {2009, 1, 1};
    f.to = {2009, 12, 31};
    const RowList rows = FetchHistory(demo_, f);
    ASSERT_FALSE(client_->Answer().pager.empty());
    EXPECT_EQ(client_->Answer().pager[0], "50~3~1~130");
    ASSERT_EQ(rows.size(), 130u);
    std::set<std::string> batches;
    std::string previous = "9999";
    bool emptyMemo = false;
    for (const std::string_view row : rows) {
        const TextList c = Split(row, "~");
        ASSERT_EQ(c.size(), 10u) << row;
        batches.insert(c[6]);
        EXPECT_LE(InTimeOrder(c[0]), previous);  // newest first
        previous = InTimeOrder(c[0]);
        // The counterpart of an outgoing receipt is the payee, of an incoming one the payer.
        EXPECT_TRUE(c[1] == "U7654321 (Payee Shop)" || c[1] == "U1111111 (Third Party Ltd)")
            << row;
        emptyMemo |= c[7] == " ";
    }
    EXPECT_EQ(batches.size(), 130u);
    EXPECT_TRUE(emptyMemo);
}

TEST_F(LrSandbox, GetLastAndDateAndCounterpartFilters) {
    HistoryFilter last;
    last.getLast = true;
    last.count = 5;
    EXPECT_EQ(FetchHistory(demo_, last).size(), 5u);
    EXPECT_TRUE(client_->FurtherPages(last).empty());

    HistoryFilter dates;
    dates.getLast = false;
    dates.fromTo = true;
    dates.from = {2009, 3, 5};
    dates.to = {2009, 3, 7};
    const RowList rows = FetchHistory(demo_, dates);
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.size(), 10u);
    for (const std::string_view row : rows) {
        const std::string date = InTimeOrder(Split(row, "~")[0]);
        EXPECT_GE(date, "2009-03-05 00:00:00");
        EXPECT_LE(date, "2009-03-07 23:59:59");
    }

    HistoryFilter who;
    who.getLast = false;
    who.byAccount = true;
    who.counterpart = "U7654321";
    const RowList mine = FetchHistory(demo_, who);
    EXPECT_EQ(mine.size(), 65u);
    for (const std::string_view row : mine) EXPECT_EQ(Split(row, "~")[1].substr(0, 8), "U7654321");

    HistoryFilter batch;
    batch.getLast = false;
    batch.byBatch = true;
    batch.batch = Split(mine[0], "~")[6];
    const RowList one = FetchHistory(demo_, batch);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], mine[0]);
}

TEST_F(LrSandbox, AnswersWriteDatesYearDayMonth) {
    // The first seeded receipts fall on 1 February 2009 (UTC): 00:00, 08:13 and 16:26.
    HistoryFilter day;
    day.getLast = false;
    day.fromTo = true;
    day.from = day.to = {2009, 2, 1};
    const RowList rows = FetchHistory(demo_, day);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Split(rows[0], "~")[0], "2009-01-02 16:26:00");
    EXPECT_EQ(Split(rows[2], "~")[0], "2009-01-02 00:00:00");

    // The balance's update time is this UTC moment, year, day, month, like the answer's own.
    const std::time_t before = std::time(nullptr);
    Balances(demo_);
    const std::time_t after = std::time(nullptr);
    const auto ydm = [](std::time_t t) {
        std::tm tm{};
        gmtime_r(&t, &tm);
        char buf[32];
        std::strftime(buf, sizeof buf, "%Y-%d-%m %H:%M:%S", &tm);
        return std::string(buf);
    };
    const std::string date = Split(client_->Answer().balanceRows[0], "~")[2];
    EXPECT_TRUE(date == ydm(before) || date == ydm(after)) << date;
}

TEST_F(LrSandbox, TokenIsCheckedExactlyAsTheClientBuildsIt) {
    const std::time_t now = std::time(nullptr);
    const auto balanceWithToken = [&](const std::string& token) {
        std::string doc(lr::BuildBalanceRequest(demo_, {"LRUSD"}, now));
        const std::size_t at = doc.find("<Token>") + 7;
        doc.replace(at, doc.find("</Token>") - at, token);
        client_->Parse(transport_->HttpsGet(lr::MakeUrl(client_->Host(), lr::kBalancePath, doc)),
                       RequestKind::Other, true);
        return client_->Answer().balanceRows.size() == 1 && client_->Answer().errors.empty();
    };
    std::string token = lr::AuthToken(demo_.secret, now);
    EXPECT_TRUE(balanceWithToken(token));
    for (char& c : token) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_FALSE(balanceWithToken(token)) << "the client writes upper-case hex";
    // The adjacent hours pass (a request built at 59:59 arrives in the next one); not further.
    EXPECT_TRUE(balanceWithToken(lr::AuthToken(demo_.secret, now - 3600)));
    EXPECT_FALSE(balanceWithToken(lr::AuthToken(demo_.secret, now - 7200))) << "two hours ago";

    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[16];
    std::strftime(date, sizeof date, "%Y%m%d", &utc);
    EXPECT_FALSE(balanceWithToken(PasswordHash(demo_.secret + ":" + date)))
        << "a token without the hour";
    EXPECT_FALSE(balanceWithToken(""));
    EXPECT_FALSE(balanceWithToken(std::string(64, '0')));
}

TEST_F(LrSandbox, QueuedTransfersMoveMoneyAndMemosCannotChangeThePayee) {
    const auto before = Balances(demo_);
    const auto payeeBefore = Balances(payee_);
    const std::string injected = "</Memo><Payee>U999</Payee>";
    const TextList queue = {"U7654321~10.50~" + injected + "~no~~no~LRUSD~no",
                            "U7654321~2.25~Tom & Jerry #1~no~~no~LREUR~no"};
    int checks = 0;
    ASSERT_EQ(
        SendTransfer(
            *client_, *transport_, demo_, queue, [&] { return ++checks, true; }, std::time(nullptr))
            .state,
        TransferState::Confirmed);
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
    ASSERT_EQ(client_->Lr().receipts.size(), 2u);
    ASSERT_EQ(client_->Lr().transfers.size(), 2u);
    EXPECT_EQ(Split(client_->Lr().transfers[0], "~")[3], "U7654321");
    EXPECT_EQ(Split(client_->Lr().receipts[0], "~")[4], "-10.5000");

    const auto after = Balances(demo_);
    EXPECT_EQ(after.at("LRUSD"), before.at("LRUSD") - 105000);
    EXPECT_EQ(after.at("LREUR"), before.at("LREUR") - 22500);
    const auto payeeAfter = Balances(payee_);
    EXPECT_EQ(payeeAfter.at("LRUSD"), payeeBefore.at("LRUSD") + 105000);
    EXPECT_EQ(payeeAfter.at("LREUR"), payeeBefore.at("LREUR") + 22500);

    // The payee's newest receipts carry the memos as text (as received: entities intact).
    HistoryFilter last;
    last.count = 2;
    const RowList rows = FetchHistory(payee_, last);
    ASSERT_EQ(rows.size(), 2u);
    std::set<std::string> memos;
    for (const std::string_view row : rows) {
        const TextList c = Split(row, "~");
        memos.insert(c[7]);
        EXPECT_EQ(c[1], "U1234567 (Demo User)");
        EXPECT_GT(Units(c[2] + "00"), 0);
    }
    // Decoded once: the memos as the payer wrote them.
    EXPECT_EQ(memos, (std::set<std::string>{"</Memo><Payee>U999</Payee>", "Tom & Jerry #1"}));
}

TEST_F(LrSandbox, RefusedTransfersLeaveTheBalancesAlone) {
    const auto before = Balances(demo_);
    const TextList queue = {"U7654321~1000000~too much~no~~no~LRUSD~no",
                            "U9999999~1.00~nobody~no~~no~LRUSD~no",
                            "U7654321~abc~bad amount~no~~no~LRUSD~no",
                            "U7654321~1.00~bad currency~no~~no~LRXYZ~no"};
    ASSERT_NE(SendTransfer(*client_, *transport_, demo_, queue, nullptr, std::time(nullptr)).state,
              TransferState::NotBuilt);
    const TextList& errors = client_->Answer().errors;
    ASSERT_EQ(errors.size(), 4u) << client_->ErrorReport();
    EXPECT_EQ(Split(errors[0], "~")[0], "303");
    EXPECT_EQ(Split(errors[1], "~")[0], "302");
    EXPECT_EQ(Split(errors[2], "~")[0], "301");
    EXPECT_EQ(Split(errors[3], "~")[0], "301");
    EXPECT_TRUE(client_->Lr().receipts.empty());
    EXPECT_EQ(Balances(demo_), before);

    // A failed payment check sends nothing at all.
    EXPECT_EQ(SendTransfer(
                  *client_, *transport_, demo_, {"U7654321~1.00~m~no~~no~LRUSD~no"},
                  [] { return false; }, std::time(nullptr))
                  .state,
              TransferState::NotBuilt);
    EXPECT_EQ(Balances(demo_), before);
}

TEST_F(LrSandbox, AccountNames) {
    ScriptedUi ui;
    EXPECT_EQ(client_->GetAccountName(*transport_, demo_, "U7654321", std::time(nullptr), ui),
              "Payee Shop");
    EXPECT_EQ(client_->GetAccountName(*transport_, demo_, "U9999999", std::time(nullptr), ui), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Code : 302, Message : Account not found \n");
}

TEST_F(LrSandbox, UnreachableServerGivesEmptyListsAndOneMessage) {
    LrClient gone("127.0.0.1:1");
    gone.Parse(transport_->HttpsGet(gone.BalanceUrl(demo_, std::time(nullptr))), RequestKind::Other,
               true);
    EXPECT_TRUE(gone.Answer().balanceRows.empty());
    EXPECT_TRUE(gone.Answer().errors.empty());
    EXPECT_EQ(shown_.size(), 1u);
}

}  // namespace
}  // namespace pw
