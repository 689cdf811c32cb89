#include "ui/base/clock.h"

#include <QTimer>

namespace pw {

std::tm Clock::LocalNow() const {
    const std::time_t t = Now();
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::tm Clock::UtcNow() const {
    const std::time_t t = Now();
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
}

namespace {

class QtTimer final : public Clock::Timer {
public:
    explicit QtTimer(std::function<void()> fn) {
        QObject::connect(&timer_, &QTimer::timeout, [fn = std::move(fn)] { fn(); });
    }
    void Start(int periodMs) override { timer_.start(periodMs); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    int PeriodMs() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

class WallClock final : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override {
        return std::make_unique<QtTimer>(std::move(onTimeout));
    }
};

}  // namespace

Clock& SystemClock() {
    static WallClock clock;
    return clock;
}

}  // namespace pw
