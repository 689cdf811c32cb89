// The mass payment without widgets: Result Amount, preloading, the split at OK and the summary
// of a mass send.
#include "payments/mass_payment.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

const PaymentVariant& Lr() { return *PaymentVariantOf(0); }
const PaymentVariant& Pm() { return *PaymentVariantOf(1); }

TEST(MassPayment, ResultAmountIsExactAndCountsTheFeeOfEveryRow) {
    const TextList lr = {"U1~12.50~m~no~~no~LRUSD~no", "U2~1000000.01~m~yes~40000.5~no~LRUSD~yes",
                         "U3~0.10~m~no~~no~LRUSD~no", "U4~0.20~m~no~~no~LRUSD~no"};
    EXPECT_EQ(ResultAmount(lr, Lr()), 100001281);
    EXPECT_EQ(SendNowAmount(lr, Lr()), 1280);
    const TextList pm = {"U7~100~m~~no~~no~U1~no", "U7~100.50~m~~yes~40000.5~no~U1~no",
                         "U7~0.99~m~~no~~no~U1~no"};
    EXPECT_EQ(RecordCost(pm[0], Pm()), 10050);
    EXPECT_EQ(RecordCost(pm[1], Pm()), 10100);  // 100.50 + 0.50 (0.5025 rounded)
    EXPECT_EQ(ResultAmount(pm, Pm()), 10050 + 10100 + 99);
    EXPECT_EQ(SendNowAmount(pm, Pm()), 10050 + 99);
    // Deleting any row leaves a total that is not negative.
    for (std::size_t i = 0; i < pm.size(); ++i) {
        TextList less = pm;
        less.erase(less.begin() + static_cast<long>(i));
        EXPECT_GE(ResultAmount(less, Pm()), 0);
    }
    EXPECT_EQ(ResultAmount({}, Pm()), 0);
}

TEST(MassPayment, PreloadAndSplitKeepOtherPayersAndFailedMarks) {
    const TextList schedule = {"U1~1~a~yes~40000.1~no~LRUSD~no", "U2~2~b~yes~40000.2~no~LREUR~no",
                               "U3~3~c~yes~40000.3~yes~LRUSD~yes", "bad~record",
                               "U4~4~d~yes~40000.4~no~LRUSD~no"};
    const Preloaded p = PreloadScheduled(schedule, Lr(), "LRUSD");
    EXPECT_EQ(p.positions, (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_EQ(p.records, (TextList{schedule[0], schedule[2], schedule[4]}));

    // Cancel: the caller keeps the schedule. OK: row U1 stays scheduled, U3 (failed) stays,
    // U4's box was cleared, a new immediate row is added.
    const TextList queue = {schedule[0], schedule[2], "U4~4~d~no~~no~LRUSD~no",
                            "U5~5~e~no~~no~LRUSD~no"};
    const MassSplit split = SplitAtOk(schedule, p.positions, queue, Lr());
    EXPECT_EQ(split.schedule, (TextList{schedule[1], schedule[3], schedule[0], schedule[2]}));
    EXPECT_EQ(split.toSend, (TextList{queue[2], queue[3]}));
}

TEST(MassPayment, OneSummaryNamesEveryRecordNotSent) {
    const std::vector<MassOutcome> outcomes = {
        {"U1", "1", MassResult::Sent, ""},
        {"U2", "2.5", MassResult::Unknown, ""},
        {"U3", "3", MassResult::Refused, "Error : Invalid Payee_Account"},
        {"U2", "4", MassResult::Held, ""},
        {"U5", "5", MassResult::Skipped, ""},
        {"U6", "6", MassResult::NotSent, "Connection refused"},
        {"U7", "7", MassResult::Sent, ""},
        {"U8", "1e3", MassResult::BadAmount, ""},
    };
    EXPECT_EQ(MassSendSummary(outcomes),
              "2 of 8 payments sent.\n\n"
              "Refused by the payment system:\n U3  3.00 : Error : Invalid Payee_Account\n\n"
              "Outcome unknown: look at the history before sending these again:\n U2  2.50\n\n"
              "Not sent, because an earlier payment to the same payee has an unknown outcome:\n"
              " U2  4.00\n\n"
              "Not sent, the connection failed:\n U6  6.00 : Connection refused\n\n"
              "Not sent, the amount is not a plain number with at most two decimals:\n"
              " U8  1e3\n\n"
              "Not sent, the payment password was not given:\n U5  5.00");
    EXPECT_EQ(MassSendSummary({{"U1", "1", MassResult::Sent, ""}}), "1 of 1 payment sent.");
}

}  // namespace
}  // namespace pw
