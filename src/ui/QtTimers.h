#pragma once
// The program's timers as QTimers on the user-interface thread.

#include "app/Clock.h"

namespace kestrune::ui {

class QtTimers final : public TimerFactory {
public:
    std::unique_ptr<Timer> Create(int intervalMs, std::function<void()> onTick) override;
};

}  // namespace kestrune::ui
