// Transfers run on a thread of their own: cancelled at once, reporting the bytes so far, and
// handing their messages to the waiting thread.
#include <chrono>
#include <thread>

#include "net/transfer.h"
#include "transport_fixture.h"

namespace pw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;

using CancelTest = TransportTest;

TEST_F(CancelTest, ACancelledTransferEndsAtOnceAndFailsWithTheCancelMessage) {
    // The window's tests cancel trickling answers of both operations; here the server has
    // not answered at all yet.
    TrustSandbox();
    BackgroundTransfer transfer(
        [&](TransferControl& control) {
            return T().Fetch(Box().HttpsUrl("/test/slow?ms=20000"), true, control);
        },
        true, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(transfer.Finished());
    const auto cancelled = Clock::now();
    transfer.Control().Cancel();
    EXPECT_EQ(transfer.Finish(), "");
    EXPECT_LT(Clock::now() - cancelled, std::chrono::milliseconds(500));
    EXPECT_THAT(Shown(), ElementsAre(kCancelledPaymentText));
}

TEST_F(CancelTest, ProgressCountsTheBytesAsTheyComeAndTheTransferFinishesNormally) {
    TrustSandbox();
    BackgroundTransfer transfer(
        [&](TransferControl& control) {
            return T().Fetch(Box().HttpsUrl("/test/trickle?bytes=6&ms=150"), true, control);
        },
        false, nullptr);
    std::vector<std::uint64_t> seen;
    while (!transfer.Finished()) {
        const std::uint64_t n = transfer.Control().Received();
        if (seen.empty() || seen.back() != n) seen.push_back(n);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(transfer.Finish(), "tttttt");
    EXPECT_GE(seen.size(), 4u);  // the count grew step by step
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(transfer.Control().Received(), 6u);
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_EQ(Received(), 6.0f);
}

TEST_F(CancelTest, DeferredActionsRunOnTheWaitingThreadInOrderBeforeTheResult) {
    std::vector<std::string> ran;
    std::thread::id ranOn;
    const bool outside = BackgroundTransfer::DeferToWaiter([] {});
    BackgroundTransfer transfer(
        [&](TransferControl&) {
            BackgroundTransfer::DeferToWaiter([&] { ran.push_back("message"); });
            BackgroundTransfer::DeferToWaiter([&] {
                ran.push_back("traffic");
                ranOn = std::this_thread::get_id();
            });
            return std::string("body");
        },
        false, nullptr);
    EXPECT_FALSE(outside);
    EXPECT_EQ(transfer.Finish(), "body");
    EXPECT_THAT(ran, ElementsAre("message", "traffic"));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(CancelTest, AControlCancelledBeforeTheStartSendsNothing) {
    TrustSandbox();
    TransferControl control;
    control.Cancel();
    EXPECT_EQ(T().Fetch(Box().HttpsUrl("/test/echo"), true, control), "");
    EXPECT_THAT(Shown(), ElementsAre(kCancelledText));
    EXPECT_EQ(Sent(), 0.0f);
}

}  // namespace
}  // namespace pw::test
