// When the priority watcher runs, against a timer that counts what it is asked to do: the
// desktop's timers start again from zero when started while running, so a second start would
// push the next tick back.

#include "procs/PriorityWatcher.h"

#include <gtest/gtest.h>

#include <memory>

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
    auto owned = std::make_unique<CountingTimer>();
    CountingTimer& timer = *owned;
    PriorityWatcher watcher(std::move(owned));

    watcher.Follow(true, processes);  // nothing stored
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(timer.stops, 0);  // one that does not run is left alone

    processes.SetTicked(1, true);
    watcher.Follow(false, processes);  // stored, but the option is off
    EXPECT_FALSE(timer.Running());
    watcher.Follow(true, processes);
    watcher.Follow(true, processes);
    EXPECT_TRUE(watcher.Running());
    EXPECT_EQ(timer.starts, 1);

    processes.SetTicked(1, false);
    watcher.Follow(true, processes);
    EXPECT_FALSE(watcher.Running());
    PriorityWatcher().Follow(true, processes);  // before start-up made the timer
}

// The user's switch acts at once, stored rows or not; the next Follow brings the rule back.
TEST(PriorityWatcherTest, TheOptionsSwitchActsAtOnce) {
    Table processes(TableKind::Process);
    auto owned = std::make_unique<CountingTimer>();
    CountingTimer& timer = *owned;
    PriorityWatcher watcher(std::move(owned));

    watcher.Switch(true);
    watcher.Switch(true);
    EXPECT_TRUE(watcher.Running());
    EXPECT_EQ(timer.starts, 1);
    watcher.Follow(true, processes);  // nothing stored after all
    EXPECT_FALSE(watcher.Running());
    watcher.Switch(true);
    watcher.Switch(false);
    EXPECT_FALSE(watcher.Running());
    EXPECT_FALSE(PriorityWatcher().Running());
}

}  // namespace
}  // namespace kestrune
