#include "ui/base/fake_seams.h"

#include <algorithm>

namespace pw {

struct ManualClock::State {
    std::function<void()> fn;
    int periodMs = 0;
    bool active = false;
    long long elapsedMs = 0;
};

class ManualTimer final : public Clock::Timer {
public:
    ManualTimer(ManualClock* clock, std::function<void()> fn) : clock_(clock) {
        state_.fn = std::move(fn);
        clock_->timers_.push_back(&state_);
    }
    ~ManualTimer() override {
        auto& v = clock_->timers_;
        v.erase(std::remove(v.begin(), v.end(), &state_), v.end());
    }
    void Start(int periodMs) override {
        state_.periodMs = periodMs;
        state_.active = true;
        state_.elapsedMs = 0;
    }
    void Stop() override { state_.active = false; }
    bool IsActive() const override { return state_.active; }
    int PeriodMs() const override { return state_.periodMs; }

private:
    ManualClock* clock_;
    ManualClock::State state_;
};

std::unique_ptr<Clock::Timer> ManualClock::CreateTimer(std::function<void()> onTimeout) {
    return std::make_unique<ManualTimer>(this, std::move(onTimeout));
}

void ManualClock::Advance(int seconds) {
    for (int s = 0; s < seconds; ++s) {
        ++now_;
        // Copy: a callback may create or destroy timers.
        std::vector<State*> snapshot = timers_;
        for (State* st : snapshot) {
            if (std::find(timers_.begin(), timers_.end(), st) == timers_.end()) continue;
            if (!st->active || st->periodMs <= 0) continue;
            st->elapsedMs += 1000;
            if (st->elapsedMs >= st->periodMs) {
                st->elapsedMs = 0;
                st->fn();
            }
        }
    }
}

}  // namespace pw
