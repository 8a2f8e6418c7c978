// The programs the delayed run starts begin at the starting class and go back to Normal once
// they have been followed; a class the user stored or chose for a program is never undone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DelayedFixture.h"
#include "delayed/DelayedCommands.h"
#include "delayed/StartingPriority.h"

namespace kestrune::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

constexpr std::uint32_t kIdle = static_cast<std::uint32_t>(platform::PriorityClass::Idle);
constexpr std::uint32_t kNormal = static_cast<std::uint32_t>(platform::PriorityClass::Normal);
constexpr std::uint32_t kHigh = static_cast<std::uint32_t>(platform::PriorityClass::High);

class StartingPriorityTest : public DelayedFixture {
protected:
    StartingPriorityTest() {
        run.impact.timer = timers.Create(kImpactIntervalMs, [this] { run.impact.Tick(state.model); });
    }
    // The `nth` process the launcher starts from now: followed, and listed as running.
    ScriptedCost& Starts(int nth, const std::string& path) {
        const std::uint32_t id = launcher().nextId + static_cast<std::uint32_t>(nth);
        platform.scriptedProcesses.running.push_back({id, FileNameOf(path), 8, path});
        return platform.scriptedProcesses.costs[id];
    }
    void Ms(int ms) { timers.Advance(ms); }
    std::uint32_t IdOf(int nth) const { return 4000u + static_cast<std::uint32_t>(nth); }
    std::vector<std::pair<std::uint32_t, std::uint32_t>>& ById() { return platform.scriptedProcesses.priorityById; }
    int BaseOf(std::uint32_t id) {
        for (const auto& process : platform.scriptedProcesses.running)
            if (process.id == id) return process.basePriority;
        return -1;
    }
};

TEST_F(StartingPriorityTest, AStartedProgramRunsLowWhileFollowedAndNormalAfterUnlessItEnded) {
    AddDelayed("/opt/daemon", "1");
    AddDelayed("/opt/quick", "-1");
    Starts(1, "/opt/daemon");
    ScriptedCost& quick = Starts(2, "/opt/quick");
    meter->otherwise = 0;
    state.options.idleSeconds = 1;
    StartDelayedRun(parts(), run);
    Seconds(1);
    EXPECT_THAT(ById(), ElementsAre(Pair(IdOf(1), kIdle))) << "lowered as soon as it started";
    EXPECT_EQ(BaseOf(IdOf(1)), 4);

    Seconds(3);  // the idle entry starts and ends while the first is still followed
    ASSERT_EQ(ById().size(), 2u);
    EXPECT_EQ(ById()[1], std::make_pair(IdOf(2), kIdle));
    quick.ended = true;
    Ms(kImpactIntervalMs);
    EXPECT_EQ(ById().size(), 2u) << "an ended program is not asked again";

    Ms(kFollowSeconds * 1000);
    EXPECT_THAT(ById(), ElementsAre(Pair(IdOf(1), kIdle), Pair(IdOf(2), kIdle), Pair(IdOf(1), kNormal)));
    EXPECT_EQ(BaseOf(IdOf(1)), 8);
}

TEST_F(StartingPriorityTest, AStoredOrChosenClassWins) {
    AddDelayed("/opt/own", "1", "High");
    AddDelayed("/opt/watched", "2");
    AddDelayed("/opt/changed", "3");
    AddDelayed("/opt/typo", "4", "Quick");  // names no class: asks for none
    state.model.table(TableKind::Process).Add({"WATCHED", "/opt/watched", "Above Normal", ""}, true);
    state.model.table(TableKind::Process).Add({"typo", "/opt/typo", "Low", ""}, false);  // not stored
    for (int nth = 1; nth <= 4; ++nth) Starts(nth, state.model.table(TableKind::Delayed).Text(nth, col::Path));
    StartDelayedRun(parts(), run);
    Seconds(4);
    EXPECT_THAT(ById(), ElementsAre(Pair(IdOf(1), kHigh), Pair(IdOf(3), kIdle), Pair(IdOf(4), kIdle)));

    // The user sets a class on the third while it is low.
    platform.scriptedProcesses.SetPriorityClass(IdOf(3), kHigh);
    ById().clear();
    Ms(kFollowSeconds * 1000);
    EXPECT_THAT(ById(), ElementsAre(Pair(IdOf(4), kNormal)));
    EXPECT_EQ(BaseOf(IdOf(1)), 13);
    EXPECT_EQ(BaseOf(IdOf(3)), 13);
}

TEST_F(StartingPriorityTest, ClosingDownPutsBackWhatIsStillLowAndRunNowIsNeverLowered) {
    AddDelayed("/opt/long", "1");
    AddDelayed("/opt/now", "10");
    Starts(1, "/opt/long");
    StartDelayedRun(parts(), run);
    Seconds(1);
    ASSERT_EQ(BaseOf(IdOf(1)), 4);
    run.impact.FinishAll(state.model);
    EXPECT_EQ(BaseOf(IdOf(1)), 8) << "nobody would put it back once the program has closed";

    ById().clear();
    Starts(1, "/opt/now");
    ASSERT_TRUE(RunNow(state, state.options, TableKind::Delayed, 2, &run.impact).Succeeded());
    EXPECT_TRUE(run.impact.Following());
    EXPECT_TRUE(ById().empty()) << "the user asked for it now";
}

}  // namespace
}  // namespace kestrune::test
