#pragma once
// One worker thread that runs jobs in the order they were posted, so the requests made off the
// user-interface thread never overlap.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace pw {

class BackgroundQueue {
public:
    BackgroundQueue() = default;
    // Drops the jobs not yet started and waits for the running one.
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    void Post(std::function<void()> job);
    // True while no job is running or waiting.
    bool Idle() const;

private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace pw
