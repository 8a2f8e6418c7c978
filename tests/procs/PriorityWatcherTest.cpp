// When the priority watcher runs, against a timer that counts what it is asked to do: the
// desktop's timers start again from zero when started while running, so a second start would
// push the next tick back.

#include "procs/PriorityWatcher.h"

#include <gtest/gtest.h>

#include "app/Clock.h"
#include "app/Table.h"

namespace kestrune {
namespace {

struct CountingTimer : Timer {
    void Start() override {
        ++starts;
        running = true;
    }
    void Stop() override {
        ++stops;
        running = false;
    }
    bool Running() const override { return running; }
    bool running = false;
    int starts = 0, stops = 0;
};

TEST(PriorityWatcherTest, RunsWhileTheOptionIsSetAndARowIsStoredWithoutRestarting) {
    Table processes(TableKind::Process);
    processes.Add({"a.exe", "/a", "High", ""}, false);
    CountingTimer timer;

    FollowStoredPriorities(&timer, true, processes);  // nothing stored
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(timer.stops, 0);  // one that does not run is left alone

    processes.SetTicked(1, true);
    FollowStoredPriorities(&timer, false, processes);  // stored, but the option is off
    EXPECT_FALSE(timer.Running());
    FollowStoredPriorities(&timer, true, processes);
    FollowStoredPriorities(&timer, true, processes);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.starts, 1);

    processes.SetTicked(1, false);
    FollowStoredPriorities(&timer, true, processes);
    EXPECT_FALSE(timer.Running());
    FollowStoredPriorities(nullptr, true, processes);  // before start-up made the timer
}

}  // namespace
}  // namespace kestrune
