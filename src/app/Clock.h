#pragma once
// Local time and timers, behind seams so that tests can drive them by hand.

#include <functional>
#include <memory>

namespace kestrune {

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

class SystemClock final : public Clock {
public:
    LocalTime Now() override;
};

// A repeating timer that fires on the user-interface thread.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> Create(int intervalMs, std::function<void()> onTick) = 0;
};

}  // namespace kestrune
