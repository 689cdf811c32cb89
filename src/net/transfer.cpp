#include "net/transfer.h"

#include <utility>

namespace pw {
namespace {
thread_local std::vector<std::function<void()>>* tDeferred = nullptr;
}  // namespace

void TransferControl::Cancel() {
    cancelled_ = true;
    std::lock_guard<std::mutex> lock(wakeLock_);
    if (wakeup_) wakeup_();
}

void TransferControl::SetWakeup(std::function<void()> wakeup) {
    std::lock_guard<std::mutex> lock(wakeLock_);
    wakeup_ = std::move(wakeup);
}

BackgroundTransfer::BackgroundTransfer(Work work, bool sendsMoney,
                                       std::function<void()> onFinished)
    : control_(sendsMoney) {
    thread_ = std::thread(&BackgroundTransfer::Run, this, std::move(work), std::move(onFinished));
}

BackgroundTransfer::~BackgroundTransfer() {
    if (thread_.joinable()) {
        control_.Cancel();
        thread_.join();
    }
}

void BackgroundTransfer::Run(Work work, std::function<void()> onFinished) {
    tDeferred = &deferred_;
    try {
        result_ = work(control_);
    } catch (...) {
        error_ = std::current_exception();
    }
    tDeferred = nullptr;
    finished_ = true;
    if (onFinished) onFinished();
}

std::string BackgroundTransfer::Finish() {
    if (thread_.joinable()) thread_.join();
    std::vector<std::function<void()>> deferred = std::move(deferred_);
    deferred_.clear();
    for (auto& fn : deferred) fn();
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    return std::move(result_);
}

bool BackgroundTransfer::DeferToWaiter(std::function<void()> fn) {
    if (tDeferred == nullptr) return false;
    tDeferred->push_back(std::move(fn));
    return true;
}

}  // namespace pw
