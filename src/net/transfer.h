#pragma once
// A request that runs on a thread of its own while the thread that asked for it waits: the
// waiting side can cancel it at once and read how many bytes have come in so far.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pw {

// The failure texts of a request the user cancelled.
inline constexpr char kCancelledText[] = "The request was cancelled by the user.";
inline constexpr char kCancelledPaymentText[] =
    "The request was cancelled by the user. The payment may have reached the server: "
    "the history shows whether it did.";

// Cancel flag and progress of one transfer, shared between threads.
class TransferControl {
public:
    explicit TransferControl(bool sendsMoney = false) : sendsMoney_(sendsMoney) {}
    TransferControl(const TransferControl&) = delete;
    TransferControl& operator=(const TransferControl&) = delete;

    // Any thread. The transfer's wake-up runs, so a transfer waiting for the network stops.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    bool SendsMoney() const { return sendsMoney_; }
    // The failure text of this request when cancelled.
    const char* CancelText() const { return sendsMoney_ ? kCancelledPaymentText : kCancelledText; }

    void AddReceived(std::uint64_t bytes) { received_ += bytes; }
    std::uint64_t Received() const { return received_.load(); }

    // Set by the transfer while it waits for the network: called (under a lock) by Cancel.
    // An empty function removes it; after that returns, it is no longer called.
    void SetWakeup(std::function<void()> wakeup);

private:
    const bool sendsMoney_;
    std::atomic<bool> cancelled_{false};
    std::atomic<std::uint64_t> received_{0};
    std::mutex wakeLock_;
    std::function<void()> wakeup_;
};

// Runs one transfer on a new thread. What the transfer's thread hands to DeferToWaiter (the
// messages and the traffic text of the request) is kept and run by Finish on the waiting
// thread, in order, before the result is returned.
class BackgroundTransfer {
public:
    using Work = std::function<std::string(TransferControl&)>;
    // onFinished runs on the transfer's thread once work has returned.
    BackgroundTransfer(Work work, bool sendsMoney, std::function<void()> onFinished);
    // Cancels a transfer still running and waits for its thread.
    ~BackgroundTransfer();
    BackgroundTransfer(const BackgroundTransfer&) = delete;
    BackgroundTransfer& operator=(const BackgroundTransfer&) = delete;

    TransferControl& Control() { return control_; }
    bool Finished() const { return finished_.load(); }
    // Waits for the thread, runs the deferred actions here and returns the result (or throws
    // what the work threw). Once only.
    std::string Finish();

    // On the thread of a transfer: keeps fn for its waiter and returns true; false elsewhere.
    static bool DeferToWaiter(std::function<void()> fn);

private:
    void Run(Work work, std::function<void()> onFinished);

    TransferControl control_;
    std::atomic<bool> finished_{false};
    std::string result_;
    std::exception_ptr error_;
    std::vector<std::function<void()>> deferred_;  // only the transfer's thread adds
    std::thread thread_;
};

}  // namespace pw
