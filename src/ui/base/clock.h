#pragma once
// The clock seam: the current time and timers. Production code uses SystemClock; tests use
// a clock they move by hand, which fires the due timers.
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

namespace pw {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;  // seconds since the epoch

    // A repeating timer. Start replaces an earlier period; Stop is harmless when stopped.
    class Timer {
    public:
        virtual ~Timer() = default;
        virtual void Start(int periodMs) = 0;
        virtual void Stop() = 0;
        virtual bool IsActive() const = 0;
        virtual int PeriodMs() const = 0;
    };
    // The callback runs on the thread that owns the clock (the user-interface thread).
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) = 0;

    // Calendar helpers on Now().
    std::tm LocalNow() const;
    std::tm UtcNow() const;
};

// Wall clock; timers are QTimers of the calling thread's event loop.
Clock& SystemClock();

}  // namespace pw
