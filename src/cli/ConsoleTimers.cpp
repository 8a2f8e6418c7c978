#include "cli/ConsoleTimers.h"

#include <algorithm>
#include <thread>

namespace kestrune::cli {

namespace {
using SteadyClock = std::chrono::steady_clock;
}

struct ConsoleTimers::Entry {
    std::chrono::milliseconds interval;
    std::function<void()> onTick;
    bool running = false;
    bool alive = true;  // false once its Timer is gone
    SteadyClock::time_point due;
};

class ConsoleTimers::ConsoleTimer final : public Timer {
public:
    explicit ConsoleTimer(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
    ~ConsoleTimer() override {
        entry_->running = false;
        entry_->alive = false;
    }
    // Starting a running timer starts its interval afresh, as a window timer does.
    void Start() override {
        entry_->running = true;
        entry_->due = SteadyClock::now() + entry_->interval;
    }
    void Stop() override { entry_->running = false; }
    bool Running() const override { return entry_->running; }

private:
    std::shared_ptr<Entry> entry_;
};

std::unique_ptr<Timer> ConsoleTimers::Create(int intervalMs, std::function<void()> onTick) {
    auto entry = std::make_shared<Entry>();
    entry->interval = std::chrono::milliseconds(std::max(1, intervalMs));
    entry->onTick = std::move(onTick);
    timers_.push_back(entry);
    return std::make_unique<ConsoleTimer>(entry);
}

bool ConsoleTimers::AnyRunning() const {
    return std::any_of(timers_.begin(), timers_.end(), [](const auto& e) { return e->alive && e->running; });
}

bool ConsoleTimers::RunUntil(const std::function<bool()>& done, std::optional<Duration> limit) {
    const auto end = limit ? std::optional(SteadyClock::now() + *limit) : std::nullopt;
    // Nothing to wait for when no timer runs and no time limit is set.
    constexpr auto kIdleWait = std::chrono::milliseconds(50);
    for (;;) {
        if (done()) return true;
        const auto now = SteadyClock::now();
        if (end && now >= end) return false;

        std::shared_ptr<Entry> next;
        for (const auto& entry : timers_) {
            if (entry->alive && entry->running && (!next || entry->due < next->due)) next = entry;
        }
        if (!next) {
            if (!end) return false;
            std::this_thread::sleep_until(std::min(*end, now + kIdleWait));
            continue;
        }
        if (end && next->due > *end) {
            std::this_thread::sleep_until(*end);
            return done();
        }
        std::this_thread::sleep_until(next->due);
        // The next tick is due one interval after this one was; a tick that came late does not
        // make the timer fire again at once to catch up.
        next->due += next->interval;
        if (const auto woke = SteadyClock::now(); next->due < woke) next->due = woke + next->interval;
        const auto keep = next;  // the tick may destroy the Timer that owns it
        keep->onTick();
    }
}

}  // namespace kestrune::cli
