// The V-Money client against the sandbox over HTTPS on 127.0.0.1: login, histories under
// every filter, transfers that move money, account lookups; and the documents the sandbox's
// XML interfaces (V-Money and Liberty Reserve) refuse as a real server would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <memory>

#include "accounts/vm/vm_parser.h"
#include "accounts/lr/lr_client.h"
#include "accounts/lr/lr_requests.h"
#include "accounts/tab_logic.h"
#include "accounts/transfer_request.h"
#include "accounts/vm/vm_client.h"
#include "accounts/vm/vm_requests.h"
#include "net/curl_transport.h"
#include "sandbox_session.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

class VmSandbox : public test::SandboxSession {
protected:
    void SetUp() override {
        Open("VM", "VMHost");
        client_ = MakeVMoneyClient(*settings_);
    }

    // The balance in cents after a login of who; -1 when refused.
    std::int64_t Balance(const LoginFields& who) {
        client_->Parse(transport_->HttpsGet(client_->BalanceUrl(who, std::time(nullptr))), true);
        if (client_->Answer().balanceRows.size() != 1) return -1;
        const TextList f = Split(client_->Answer().balanceRows[0], "~");
        EXPECT_EQ(f.size(), 3u);
        EXPECT_EQ(f[0], "USD");
        return ToCents(f[1]);
    }

    const RowList& History(const LoginFields& who, const HistoryFilter& filter) {
        const std::string answer = transport_->HttpsGet(client_->HistoryUrl(who, filter, 0, std::time(nullptr)));
        vm::VmAnswer direct;
        EXPECT_TRUE(vm::ReadUsualShape(answer, 0, direct)) << answer;  // the server's shape is read in one pass
        client_->Parse(answer, true);
        return client_->Answer().historyRows;
    }

    static HistoryFilter Year2009() {
        HistoryFilter f;
        f.from = {2009, 1, 1};
        f.to = {2009, 12, 31};
        return f;
    }

    std::unique_ptr<VmClient> client_;
    const LoginFields demo_{"VM100001", "1234", "demopass"};
    const LoginFields payee_{"VM100002", "5678", "payeepass"};
};


TEST_F(VmSandbox, LoginAndWrongCredentials) {
    EXPECT_GT(Balance(demo_), 0);
    EXPECT_TRUE(client_->Answer().errors.empty());
    for (const LoginFields& bad :
         {LoginFields{"VM100001", "1234", "wrong"}, LoginFields{"VM100001", "4321", "demopass"},
          LoginFields{"VM999999", "1234", "demopass"}}) {
        EXPECT_EQ(Balance(bad), -1);
        EXPECT_EQ(client_->ErrorReport(),
                  "Code : AuthError, Message : Invalid account or access token \n");
    }
    EXPECT_TRUE(shown_.empty());
}

TEST_F(VmSandbox, HistoryHonoursDatesBatchAndKinds) {
    const RowList all = History(demo_, Year2009());
    ASSERT_EQ(all.size(), 48u) << client_->ErrorReport();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const TextList c = Split(all[i], "~");
        ASSERT_EQ(c.size(), 6u) << all[i];
        if (i > 0) {
            EXPECT_LT(c[0], Split(all[i - 1], "~")[0]);  // newest first
        }
        const bool out = c[1] == "sent" || c[1] == "fees" || c[1] == "withdrawals";
        EXPECT_EQ(c[3][0] == '-', out) << all[i];
        const bool party = c[1] == "fees" ? c[2] == "Fee Account"
                                          : c[2] == "VM100002 (Payee Store)" ||
                                                c[2] == "VM100003 (Third & Sons)";
        EXPECT_TRUE(party) << all[i];
    }

    HistoryFilter days;
    days.from = {2009, 2, 1};
    days.to = {2009, 2, 2};
    const RowList two = History(demo_, days);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(Split(two[0], "~")[0], "2009-02-02 01:00:00");
    EXPECT_EQ(Split(two[1], "~")[0], "2009-02-01 00:00:00");

    HistoryFilter batch = Year2009();
    batch.byBatch = true;
    batch.batch = Split(all[5], "~")[4];
    const RowList one = History(demo_, batch);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], all[5]);

    // A document asking for fees alone gets fees alone.
    std::string doc(vm::BuildHistoryRequest(demo_, Year2009(), std::time(nullptr)));
    const std::size_t a = doc.find("<TransTypes>") + 12;
    doc.replace(a, doc.find("</TransTypes>") - a, "<TransType>fees</TransType>");
    client_->Parse(transport_->HttpsGet(vm::MakeUrl(client_->Host(), doc)), true);
    EXPECT_EQ(client_->Answer().historyRows.size(), 8u);
    for (const std::string_view row : client_->Answer().historyRows)
        EXPECT_EQ(Split(row, "~")[1], "fees");
}

TEST_F(VmSandbox, TransfersMoveMoneyExactlyAndRefusalsMoveNothing) {
    const std::int64_t before = Balance(demo_), payeeBefore = Balance(payee_);
    int checks = 0;
    ASSERT_EQ(SendTransfer(
                  *client_, *transport_, demo_,
                  {"VM100002~10.50~Tom & Jerry <1>~no~~no~VM100001 [USD]~no",
                   "VM100002~99~never sent~no~~no~x~no"},
                  [&] { return ++checks, true; }, std::time(nullptr))
                  .state,
              TransferState::Confirmed);
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(client_->Answer().errors.empty()) << client_->ErrorReport();
    EXPECT_EQ(Balance(demo_), before - 1050);
    EXPECT_EQ(Balance(payee_), payeeBefore + 1050);
    HistoryFilter today;
    std::tm tm{};
    const std::time_t now = std::time(nullptr);
    gmtime_r(&now, &tm);
    today.from = today.to = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
    const RowList rows = History(payee_, today);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(Split(rows[0], "~")[2], "VM100001 (Demo Holder)");
    EXPECT_EQ(Split(rows[0], "~")[3], "10.50");
    EXPECT_EQ(Split(rows[0], "~")[5], "Tom & Jerry <1>");  // decoded once, as the payer wrote it

    const std::pair<std::string, std::string> refused[] = {
        {"VM100002~1000000~too much", "TransferFailed"},
        {"VM999999~1.00~nobody", "TransferFailed"},
        {"VM100001~1.00~myself", "TransferFailed"},
        {"VM100002~1.234~three decimals", "RequestError"},
        {"VM100002~abc~not a number", "RequestError"},
        {"VM100002~-1~negative", "RequestError"},
    };
    for (const auto& [record, code] : refused) {
        ASSERT_EQ(
            SendTransfer(*client_, *transport_, demo_, {record}, nullptr, std::time(nullptr)).state,
            TransferState::Refused);
        ASSERT_EQ(client_->Answer().errors.size(), 1u) << record;
        EXPECT_EQ(Split(client_->Answer().errors[0], "~")[0], code) << record;
    }
    EXPECT_EQ(SendTransfer(
                  *client_, *transport_, demo_, {"VM100002~1.00~m"}, [] { return false; },
                  std::time(nullptr))
                  .state,
              TransferState::NotBuilt);
    EXPECT_EQ(Balance(demo_), before - 1050);
}

TEST_F(VmSandbox, AccountLookups) {
    ScriptedUi ui;
    const std::time_t now = std::time(nullptr);
    EXPECT_EQ(client_->GetAccountName(*transport_, demo_, "VM100002", now, ui), "Payee Store");
    EXPECT_EQ(client_->GetAccountName(*transport_, demo_, "", now, ui), "");
    EXPECT_EQ(client_->GetAccountName(*transport_, demo_, "VM999999", now, ui), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Code : LookupFailed, Message : Account VM999999 not found \n");
}

// Replaces the first from in doc; the test fails when it is missing.
std::string Edit(std::string doc, const std::string& from, const std::string& to) {
    const std::size_t at = doc.find(from);
    EXPECT_NE(at, std::string::npos) << from << " in " << doc;
    if (at != std::string::npos) doc.replace(at, from.size(), to);
    return doc;
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST_F(VmSandbox, StrictDocumentsOfBothInterfaces) {
    // The tokens are good for the UTC hour they were built in: keep the table clear of its end.
    while (std::time(nullptr) % 3600 > 3590) ::usleep(200000);
    const std::time_t now = std::time(nullptr);
    const LoginFields lrDemo{"U1234567", "demoapi", "demosecret"};
    HistoryFilter lrDates;
    lrDates.getLast = false;
    lrDates.fromTo = true;
    lrDates.from = {2009, 2, 1};
    lrDates.to = {2009, 2, 1};
    HistoryFilter feb31 = lrDates;
    feb31.from = {2009, 2, 31};

    const std::string vmBalance(vm::BuildBalanceRequest(demo_, now));
    const std::string vmToken = vm::AccessToken("VM100001", "1234", "demopass", now);
    const std::string vmHistory(vm::BuildHistoryRequest(demo_, Year2009(), now));
    const std::string vmTransfer(
        vm::BuildTransferRequest(demo_, {"VM100002~0.01~m"}, nullptr, now));
    const std::string lrBalance(lr::BuildBalanceRequest(lrDemo, {"LRUSD"}, now));
    const std::string lrToken = lr::AuthToken("demosecret", now);
    const std::string lrHistory(lr::BuildHistoryRequest(lrDemo, lrDates, 0, now));
    const std::string lrTransfer(
        lr::BuildTransferRequest(lrDemo, {"U7654321~0.01~m~no~~no~LRUSD~no"}, nullptr, now));
    const std::string lrId = "U1234567_" + lr::RequestStamp(now);

    struct Case {
        bool vm;
        const char* path;  // LR only
        std::string doc;
        bool accepted;
        const char* what;
        const char* code = "";  // of the refusal
    };
    const Case cases[] = {
        {true, "", vmBalance, true, "the document as built"},
        {true, "", vmHistory, true, "the history as built"},
        {true, "", Edit(vmBalance, vmToken, Upper(vmToken)), false, "upper-case token",
         "AuthError"},
        {true, "", std::string(vm::BuildBalanceRequest(demo_, now - 3600)), true,
         "token of the past hour"},
        {true, "", std::string(vm::BuildBalanceRequest(demo_, now - 7200)), false,
         "token of two hours ago", "AuthError"},
        {true, "", "junk" + vmBalance, false, "junk before the root", "RequestError"},
        {true, "", vmBalance + "junk", false, "junk after the root", "RequestError"},
        {true, "", Edit(vmBalance, "</Request>", ""), false, "unclosed root", "RequestError"},
        {true, "", Edit(vmBalance, "</Token>", "</Tokn>"), false, "wrong closing tag",
         "RequestError"},
        {true, "", Edit(vmBalance, "</Auth>", "</Auth><Extra>1</Extra>"), false, "unknown element",
         "RequestError"},
        {true, "", Edit(vmBalance, "</Auth>", "</Auth><Auth></Auth>"), false, "repeated element",
         "RequestError"},
        {true, "", Edit(vmBalance, "Balance</Type>", "Bogus</Type>"), false, "unknown type",
         "RequestError"},
        {true, "", Edit(vmHistory, "2009-01-01", "2009-02-31"), false, "31 February",
         "RequestError"},
        {true, "", Edit(vmHistory, "2009-01-01", "2009-1-01"), false, "date of wrong shape",
         "RequestError"},
        {true, "", Edit(vmHistory, ">fees<", ">gifts<"), false, "unknown kind", "RequestError"},
        {true, "", Edit(vmTransfer, "<Memo>m", "<Memo>Tom & Jerry"), false, "bare &",
         "RequestError"},
        {true, "", Edit(vmTransfer, "<Memo>m", "<Memo>a < b"), false, "bare <", "RequestError"},
        {true, "", Edit(vmTransfer, "<Memo>m", "<Memo>a<b"), false, "bare < before a name",
         "RequestError"},
        {true, "", Edit(vmTransfer, "0.01", "0.011"), false, "three decimals", "RequestError"},
        {false, lr::kBalancePath, lrBalance, true, "the document as built"},
        {false, lr::kHistoryPath, lrHistory, true, "the history as built"},
        {false, lr::kBalancePath, Edit(lrBalance, lrToken, Lower(lrToken)), false,
         "lower-case token", "201"},
        {false, lr::kBalancePath, Edit(lrBalance, lrToken, lr::AuthToken("demosecret", now - 3600)),
         true, "token of the past hour"},
        {false, lr::kBalancePath, Edit(lrBalance, lrToken, lr::AuthToken("demosecret", now + 3600)),
         true, "token of the next hour"},
        {false, lr::kBalancePath, Edit(lrBalance, lrToken, lr::AuthToken("demosecret", now - 7200)),
         false, "token of two hours ago", "201"},
        {false, lr::kBalancePath, " x" + lrBalance, false, "junk before the root", "100"},
        {false, lr::kBalancePath, Edit(lrBalance, "</BalanceRequest>", ""), false, "unclosed root",
         "100"},
        {false, lr::kBalancePath, Edit(lrBalance, lrId, "U1234567"), false, "id without stamp",
         "100"},
        {false, lr::kBalancePath, Edit(lrBalance, lrId, "U1234567_310209120000"), false,
         "stamp of 31 February", "100"},
        {false, lr::kBalancePath, Edit(lrBalance, "</Auth>", "</Auth><Extra/>"), false,
         "unknown element", "100"},
        {false, lr::kHistoryPath, std::string(lr::BuildHistoryRequest(lrDemo, feb31, 0, now)),
         false, "31 February", "301"},
        {false, lr::kTransferPath, Edit(lrTransfer, ">transfer<", ">bogus<"), false,
         "TransferType bogus", "301"},
        {false, lr::kTransferPath, Edit(lrTransfer, ">false<", ">maybe<"), false, "Anonymous maybe",
         "301"},
        {false, lr::kTransferPath, Edit(lrTransfer, "<Memo>m", "<Memo>Tom & Jerry"), false,
         "bare &", "100"},
        {false, lr::kTransferPath, Edit(lrTransfer, "<Memo>m", "<Memo>a < b"), false, "bare <",
         "100"},
        {false, lr::kTransferPath, Edit(lrTransfer, "0.01", "0.00001"), false, "five decimals",
         "301"},
    };
    LrClient lr(sandbox_->HttpsHost());
    for (const Case& c : cases) {
        if (c.vm) {
            client_->Parse(transport_->HttpsGet(vm::MakeUrl(client_->Host(), c.doc)), true);
            const bool data =
                !client_->Answer().balanceRows.empty() || !client_->Answer().historyRows.empty();
            EXPECT_EQ(client_->Answer().errors.empty() && data, c.accepted)
                << "V-Money, " << c.what << ": " << client_->ErrorReport();
            if (!c.accepted && !client_->Answer().errors.empty()) {
                EXPECT_EQ(Split(client_->Answer().errors[0], "~")[0], c.code) << c.what;
            }
        } else {
            lr.Parse(transport_->HttpsGet(lr::MakeUrl(lr.Host(), c.path, c.doc)), RequestKind::Balance, true);
            const bool data =
                !lr.Lr().balances.empty() || !lr.Lr().pagers.empty() || !lr.Lr().receipts.empty();
            EXPECT_EQ(lr.Answer().errors.empty() && data, c.accepted)
                << "Liberty Reserve, " << c.what << ": " << lr.ErrorReport();
            if (!c.accepted && !lr.Answer().errors.empty()) {
                EXPECT_EQ(Split(lr.Answer().errors[0], "~")[0], c.code) << c.what;
            }
        }
    }
    EXPECT_TRUE(shown_.empty());
}

}  // namespace
}  // namespace pw
