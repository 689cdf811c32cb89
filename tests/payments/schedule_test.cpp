// The checks of a typed payment, the due-time order of the schedule and the schedule check
// with every outcome of a request, against scripted sends.
#include "payments/schedule.h"

#include <gtest/gtest.h>

#include "payments/ole_date.h"
#include "payments/payment_entry.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

TEST(Entry, ChecksInOrderWithTheirMessagesAndFocus) {
    const struct {
        PaymentEntry e;
        int system;
        std::string message;
        EntryField focus;
        std::string amountText;
    } cases[] = {
        {{"", "", "", "", "10.00"}, 0, Str(127), EntryField::To, ""},
        {{"U1", "", "", "", "10.00"}, 0, Str(128), EntryField::Amount, ""},
        {{"U1", "12,5", "", "", "100.00"}, 0, "", EntryField::None, "12.5"},
        {{"U1", "12abc", "", "", "100.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", "1e3", "", "", "10000.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", "12.345", "", "", "100.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", " ", "", "", "100.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", "0", "", "", "100.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", "-3", "", "", "100.00"}, 0, Str(129), EntryField::Amount, ""},
        {{"U1", "10", "", "", "10.00"}, 2, "", EntryField::None, "10"},
        {{"U1", "10.01", "", "", "10.00"}, 3, Str(129), EntryField::Amount, ""},
        {{"U1", "1", "", "", "garbage"}, 0, Str(129), EntryField::Amount, ""},
        // PM: the balance covers the amount with its fee; the record has "%.2f".
        {{"U1", "100", "", "", "100.00"}, 1, Str(129), EntryField::Amount, ""},
        {{"U1", "100", "", "", "100.50"}, 1, "", EntryField::None, "100.00"},
        {{"U1", "1", "a~b", "", "10.00"}, 0, "~", EntryField::Memo, "1"},
        {{"U~1", "1", "", "", "10.00"}, 0, "~", EntryField::To, "1"},
        {{"U1", "1", "", "id\n", "10.00"}, 3, "~", EntryField::PaymentId, "1"},
    };
    for (const auto& c : cases) {
        const EntryCheck check = CheckEntry(c.e, *PaymentVariantOf(c.system), "LRUSD");
        if (c.message.empty() || c.message == "~") {
            EXPECT_EQ(check.message.empty(), c.message.empty()) << c.e.amount << check.message;
        } else {
            EXPECT_EQ(check.message, c.message) << c.e.to << "/" << c.e.amount;
        }
        EXPECT_EQ(check.focus, c.focus) << c.e.to << "/" << c.e.amount;
        if (check.Ok()) {
            EXPECT_EQ(check.amountText, c.amountText);
        }
    }
}

TEST(Entry, PmFeeViewAndTheOverallAmount) {
    const FeeView v = PmFeeView("100,5");
    EXPECT_EQ(v.amount, "100.50");
    EXPECT_EQ(v.fee, "0.50");
    EXPECT_EQ(v.overall, "101.00");
    EXPECT_EQ(PmFeeView("1000000.01").overall, "1005000.01");
    EXPECT_EQ(PmFeeView("12abc").fee, "");
    const EntryCheck c = CheckEntry({"U1", "100", "", "", "100.50"}, *PaymentVariantOf(1), "U2");
    EXPECT_EQ(c.fee, 50);
    EXPECT_EQ(c.overall, 10050);
}

TEST(Entry, AScheduledRecordTooLongForTheFileIsRefused) {
    PaymentEntry e{"U1", "1", std::string(480, 'm'), "", "10.00", true};
    EXPECT_EQ(CheckEntry(e, *PaymentVariantOf(0), "LRUSD").message, kRecordTooLongText);
    e.scheduled = false;  // sent at once, it is never written to the file
    EXPECT_TRUE(CheckEntry(e, *PaymentVariantOf(0), "LRUSD").Ok());
    e.scheduled = true;
    e.memo.resize(440);
    EXPECT_TRUE(CheckEntry(e, *PaymentVariantOf(0), "LRUSD").Ok());
}

TEST(ScheduleOrder, AscendingDueTimesStableAndUnreadableLast) {
    TextList records{"a", "b", "c", "d", "e"};
    TextList due{"39878.503472", "x", "39878.500000", "39878.503472", "39000"};
    SortSchedule(records, due);
    EXPECT_EQ(records, (TextList{"e", "c", "a", "d", "b"}));
    EXPECT_EQ(due, (TextList{"39000", "39878.500000", "39878.503472", "39878.503472", "x"}));
    AccountSchedule s;
    const PaymentVariant& lr = *PaymentVariantOf(0);
    AddToSchedule(s, "U2~2~m~yes~39878.503472~no~LRUSD~no", lr);  // 12:05
    AddToSchedule(s, "U1~1~m~yes~39878.500000~no~LRUSD~no", lr);  // 12:00
    EXPECT_EQ(s.dueTimes, (TextList{"39878.500000", "39878.503472"}));
    EXPECT_EQ(Split(s.records[0], "~")[0], "U1");
}

// A schedule check against scripted sends: the outcomes come from a list, every save
// records what the list held at that moment.
class ScheduleCheck : public ::testing::Test {
  protected:
    const PaymentVariant& pm = *PaymentVariantOf(1);
    std::shared_ptr<AccountSchedule> s = std::make_shared<AccountSchedule>();
    std::vector<TransferState> outcomes;
    std::vector<std::string> sent, messages, quiet;
    std::vector<TextList> saves;
    bool saveWorks = true;
    int refreshes = 0;
    // seconds of 2009-03-06 12:00 local
    const std::int64_t noon = OleSeconds({2009, 3, 6, 12, 0, 0});

    void Add(const std::string& payee, const std::string& due, bool retry, bool failed = false) {
        AddToSchedule(*s,
                      payee + "~1.00~m~id~yes~" + due + "~" + (retry ? "yes" : "no") + "~U9~" +
                          (failed ? "yes" : "no"),
                      pm);
    }
    ScheduleCheckCounts Check(std::int64_t now) {
        ScheduleCheckHooks h;
        h.send = [this](const std::string& record) {
            sent.push_back(record);
            TransferResult r;
            r.state = outcomes.empty() ? TransferState::Confirmed : outcomes.front();
            if (!outcomes.empty()) outcomes.erase(outcomes.begin());
            if (r.state == TransferState::Refused) r.errorReport = "Error : Invalid Payee \n";
            if (r.state == TransferState::NotSent) r.exchange.text = "Couldn't connect";
            return r;
        };
        h.save = [this] {
            if (saveWorks) saves.push_back(s->records);
            return saveWorks;
        };
        h.message = [this](const std::string& m) { messages.push_back(m); };
        h.quietNotice = [this](const std::string& m) { quiet.push_back(m); };
        h.refresh = [this] { ++refreshes; };
        return RunScheduleCheck(s, pm, now, h);
    }
    std::string Field(std::size_t i, std::size_t f) { return Split(s->records.at(i), "~").at(f); }
};

TEST_F(ScheduleCheck, OnlyDueRecordsAreSentAndSentOnesLeave) {
    Add("U2", "39878.503472", false);  // 12:05
    Add("U1", "39878.500000", false);  // 12:00
    Check(noon + 60);                  // 12:01
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Split(sent[0], "~")[0], "U1");
    EXPECT_EQ(Split(sent[0], "~")[8], "no") << "the record goes out as it was";
    ASSERT_EQ(s->records.size(), 1u);
    EXPECT_EQ(Field(0, 0), "U2");
    // Before the request left, the file held the record failed without retry.
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(Split(saves[0][0], "~")[8], "yes");
    EXPECT_EQ(Split(saves[0][0], "~")[6], "no");
    EXPECT_EQ(saves[1].size(), 1u);
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(messages.empty());
    Check(noon + 59);  // nothing due before 12:05
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(ScheduleCheck, EachOutcomeGivesTheRecordItsFinalState) {
    const struct {
        TransferState state;
        bool retry;
        std::size_t left;
        const char* failed;
        const char* sendIfFailed;
        bool message;
    } cases[] = {
        {TransferState::Confirmed, true, 0, "", "", false},
        {TransferState::Refused, false, 1, "yes", "no", true},
        {TransferState::Refused, true, 1, "yes", "yes", true},
        {TransferState::NotSent, true, 1, "no", "yes", false},
        {TransferState::NotBuilt, false, 1, "no", "no", true},
        {TransferState::Unknown, true, 1, "yes", "no", true},
    };
    for (const auto& c : cases) {
        s = std::make_shared<AccountSchedule>();
        messages.clear();
        Add("U1", "39878.500000", c.retry);
        outcomes = {c.state};
        Check(noon);
        ASSERT_EQ(s->records.size(), c.left) << static_cast<int>(c.state);
        if (c.left) {
            EXPECT_EQ(Field(0, 8), c.failed) << static_cast<int>(c.state);
            EXPECT_EQ(Field(0, 6), c.sendIfFailed) << static_cast<int>(c.state);
        }
        EXPECT_EQ(messages.size(), c.message ? 1u : 0u) << static_cast<int>(c.state);
    }
    EXPECT_NE(messages.back().find("Look at the history"), std::string::npos);
    EXPECT_NE(messages.back().find("1.00 to U1"), std::string::npos);
    ASSERT_EQ(quiet.size(), 1u);
    EXPECT_NE(quiet[0].find("1.00 to U1 was not sent"), std::string::npos);
}

TEST_F(ScheduleCheck, RetryOnlyWhenAskedAndEveryMinute) {
    Add("U1", "39878.500000", true);
    Add("U2", "39878.500000", false);
    outcomes = {TransferState::Refused, TransferState::Refused};
    Check(noon);
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(messages.size(), 2u);
    outcomes = {TransferState::Refused};
    Check(noon + 60);
    ASSERT_EQ(sent.size(), 3u) << "only the record with retry is tried again";
    EXPECT_EQ(Split(sent[2], "~")[0], "U1");
    Check(noon + 120);
    EXPECT_EQ(sent.size(), 4u);
    ASSERT_EQ(s->records.size(), 1u);
    EXPECT_EQ(Field(0, 0), "U2");
}

TEST_F(ScheduleCheck, NothingIsSentWhenTheMarkCannotBeSavedOrWhileBusy) {
    Add("U1", "39878.500000", true);
    const std::string before = s->records[0];
    saveWorks = false;
    Check(noon);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(s->records[0], before);
    saveWorks = true;
    {
        const BusyScope dialogOpen(s);
        EXPECT_FALSE(Check(noon).ran);
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(Check(noon).ran);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(s->busy, 0);
}

TEST_F(ScheduleCheck, ACheckInsideTheCheckDoesNothingAndAddedRecordsSurvive) {
    Add("U1", "39878.500000", false);
    ScheduleCheckHooks h;
    int inner = 0;
    h.save = [] { return true; };
    h.message = [](const std::string&) {};
    h.send = [&](const std::string&) {
        // A timer fires inside the password prompt: the inner check is refused, and a
        // payment window adds an earlier record meanwhile.
        if (!RunScheduleCheck(s, pm, noon, h).ran) ++inner;
        AddToSchedule(*s, "U0~5.00~m~id~yes~39878.400000~no~U9~no", pm);
        TransferResult r;
        r.state = TransferState::Refused;
        return r;
    };
    RunScheduleCheck(s, pm, noon, h);
    EXPECT_EQ(inner, 1);
    ASSERT_EQ(s->records.size(), 2u);
    EXPECT_EQ(Field(0, 0), "U0");
    EXPECT_EQ(Field(1, 0), "U1");
    EXPECT_EQ(Field(1, 8), "yes") << "the refusal is written to the record, wherever it moved";
}

TEST_F(ScheduleCheck, FailedWithoutRetryUnreadableDueTimesAndBadAmountsAreNotSent) {
    Add("U1", "39878.500000", false, true);
    Add("U2", "not a time", true);
    Add("U3", "39878.500000", true);
    AddToSchedule(*s, "U4~1e3~m~id~yes~39878.500000~yes~U9~no", pm);
    Check(noon + 3600);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Split(sent[0], "~")[0], "U3");
    ASSERT_EQ(s->records.size(), 3u);
    EXPECT_EQ(messages, std::vector<std::string>{Str(129)});
    EXPECT_EQ(s->records[1], "U4~1e3~m~id~yes~39878.500000~no~U9~yes");
    Check(noon + 7200);
    EXPECT_EQ(messages.size(), 1u) << "not tried again";
}

TEST(PaymentReport, OneMessagePerOutcome) {
    const PaymentRecord r{"U7", "12.50", "", "", false, "", false, "LRUSD", false};
    TransferResult t;
    EXPECT_EQ(ImmediatePaymentReport(t, r), "The payment was not sent.");
    t.state = TransferState::NotSent;
    t.exchange.text = "Couldn't connect to server";
    EXPECT_EQ(ImmediatePaymentReport(t, r),
              "The payment of 12.50 to U7 was not sent: Couldn't connect to server");
    t.state = TransferState::Refused;
    t.errorReport = "Error : Not enough money to pay \n";
    EXPECT_EQ(ImmediatePaymentReport(t, r), t.errorReport);
    t.state = TransferState::Unknown;
    const std::string unknown = ImmediatePaymentReport(t, r);
    EXPECT_NE(unknown.find("12.50 to U7 may have been made"), std::string::npos);
    EXPECT_EQ(unknown.find("marked as failed"), std::string::npos);
    t.state = TransferState::Confirmed;
    t.errorReport.clear();
    EXPECT_EQ(ImmediatePaymentReport(t, r), "");
}

}  // namespace
}  // namespace pw
