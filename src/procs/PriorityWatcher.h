#pragma once
// The priority watcher: every five seconds it re-applies the stored priorities that the running
// programs lost. It runs while "Watch priorities" is set and the Process table stores (ticks) a
// row, and it is brought in line wherever either may have changed: a visit of the Process tab,
// a tick of a Process row, the end of start-up. The user's own switch of the option acts at
// once instead (Switch).

#include <memory>

#include "app/Clock.h"

namespace kestrune {

class Table;

class PriorityWatcher {
public:
    PriorityWatcher() = default;
    explicit PriorityWatcher(std::unique_ptr<Timer> timer) : timer_(std::move(timer)) {}

    // Stops the watcher when no Process row is ticked; otherwise starts it when the option is
    // set. One that already runs keeps its pace: following again never pushes its next tick
    // back. Without a timer (before start-up made one) nothing happens.
    void Follow(bool watchOption, const Table& processes);
    // The option was switched: on starts the watcher whatever the table stores (the next
    // Follow may stop it again), off stops it.
    void Switch(bool watchOption);
    void Stop();
    bool Running() const { return timer_ && timer_->Running(); }

private:
    std::unique_ptr<Timer> timer_;
};

}  // namespace kestrune
