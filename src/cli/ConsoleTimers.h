#pragma once
// Real-time timers for the console: a small event loop that fires each running timer when its
// interval has passed and sleeps in between.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Clock.h"

namespace kestrune::cli {

class ConsoleTimers final : public TimerFactory {
public:
    using Duration = std::chrono::steady_clock::duration;

    std::unique_ptr<Timer> Create(int intervalMs, std::function<void()> onTick) override;

    // Runs the timers until `done` answers true (checked before each wait and after each tick)
    // or, when given, `limit` has passed. Answers whether `done` ended the loop.
    bool RunUntil(const std::function<bool()>& done, std::optional<Duration> limit = std::nullopt);

    // Whether any timer is running (a loop without one would only sleep).
    bool AnyRunning() const;

private:
    struct Entry;
    class ConsoleTimer;
    std::vector<std::shared_ptr<Entry>> timers_;
};

}  // namespace kestrune::cli
