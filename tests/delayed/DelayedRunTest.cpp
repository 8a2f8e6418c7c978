// The delayed run as it unfolds second by second: which command starts at which tick, what the
// status line and the log say, and how the run ends.

#include "delayed/DelayedRun.h"

#include <gmock/gmock.h>

#include "DelayedFixture.h"

namespace kestrune {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DelayedRunTest : public test::DelayedFixture {};

TEST_F(DelayedRunTest, EqualDelaysStartOneSecondApartAndCountFromTheStart) {
    AddDelayed("C:\\A\\late.exe", "30");
    AddDelayed("C:\\A\\first.exe", "5");
    AddDelayed("C:\\A\\second.exe", "5");
    StartDelayedRun(parts(), run);
    EXPECT_TRUE(run.timer->Running());
    EXPECT_FALSE(run.idlePhase);
    Seconds(40);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\first.exe", "C:\\A\\second.exe", "C:\\A\\late.exe"));
    EXPECT_THAT(LaunchSeconds(), ElementsAre(5, 6, 30));
    EXPECT_EQ(launcher().launches[0].show, platform::ShowWindow::Minimised);
    EXPECT_THAT(LogTexts(),
                ElementsAre("Running delayed applications...", "Running C:\\A\\first.exe", "Running C:\\A\\second.exe",
                            "Running C:\\A\\late.exe", "Finished running delayed applications."));
    EXPECT_FALSE(run.timer->Running());
    EXPECT_FALSE(run.window.visible);
    EXPECT_EQ(meter->queries, 0);
}

TEST_F(DelayedRunTest, StatusCountsTheSecondsOfTheTimedPhase) {
    AddDelayed("C:\\A\\a.exe", "3");
    StartDelayedRun(parts(), run);
    EXPECT_EQ(fe.LastStatus(), "Running delayed applications...");
    Seconds(2);
    EXPECT_EQ(fe.LastStatus(), "2 seconds have passed");
    Seconds(1);
    EXPECT_THAT(std::vector<std::string>(fe.statuses.end() - 3, fe.statuses.end()),
                ElementsAre("3 seconds have passed", "Running C:\\A\\a.exe", "Finished running delayed applications."));
}

// A console prints the status lines and the run's window as each comes, so a tick's lines must
// reach the status line when they are said, not once the tick is over.
TEST_F(DelayedRunTest, StatusLinesComeInStepWithTheWindowsChanges) {
    struct Recorder : ModelObserver {
        explicit Recorder(std::vector<std::string>& said) : said(said) {}
        void DelayedWindowChanged() override { said.push_back("window"); }
        std::vector<std::string>& said;
    };
    std::vector<std::string> said;
    Recorder recorder(said);
    state.model.events.Attach(recorder);
    fe.onStatus = [&said](const std::string& text) { said.push_back(text); };
    AddDelayed("C:\\A\\a.exe", "1");

    StartDelayedRun(parts(), run);
    Seconds(1);
    state.model.events.Detach(recorder);

    EXPECT_THAT(said, ElementsAre("window", "Running delayed applications...", "1 seconds have passed", "window",
                                  "Running C:\\A\\a.exe", "Finished running delayed applications.", "window"));
}

TEST_F(DelayedRunTest, NegativeDelaysWaitForTheirOwnRunOfIdleSeconds) {
    AddDelayed("C:\\A\\ten.exe", "10");
    AddDelayed("C:\\A\\minus1.exe", "-1");
    AddDelayed("C:\\A\\minus2.exe", "-2");
    StartDelayedRun(parts(), run);
    Seconds(10);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\ten.exe"));
    EXPECT_EQ(fe.LastStatus(), "Starting applications to be run when idle");
    EXPECT_TRUE(run.idlePhase);
    EXPECT_EQ(run.currentIndex, 0);

    // Idle from here on: the sixth idle tick launches each idle entry.
    Seconds(5);
    EXPECT_EQ(launcher().launches.size(), 1u);
    Seconds(1);
    Seconds(6);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\ten.exe", "C:\\A\\minus2.exe", "C:\\A\\minus1.exe"));
    EXPECT_THAT(LaunchSeconds(), ElementsAre(10, 16, 22));
    EXPECT_THAT(LogTexts(), ElementsAre("Running delayed applications...", "Running C:\\A\\ten.exe",
                                        "Starting applications to be run when idle", "Running C:\\A\\minus2.exe",
                                        "Running C:\\A\\minus1.exe", "Finished running delayed applications."));
    EXPECT_FALSE(run.timer->Running());
}

TEST_F(DelayedRunTest, IdleTicksRestartOnABusySecondAndIgnoreAFailedReading) {
    AddDelayed("C:\\A\\idle.exe", "-1");
    StartDelayedRun(parts(), run);
    EXPECT_TRUE(run.idlePhase);
    // Three idle, one busy (count restarts), one failed reading (nothing), then six idle.
    meter->readings = {3, 3, 3, 20, -1, 4, 4, 4, 4, 4, 4};
    Seconds(4);
    EXPECT_EQ(fe.LastStatus(), "CPU (20%) is not idle yet...");
    EXPECT_EQ(run.window.cpuCaption, "CPU 20%");
    Seconds(1);
    EXPECT_EQ(fe.LastStatus(), "CPU (20%) is not idle yet...");
    Seconds(5);
    EXPECT_EQ(fe.LastStatus(), "CPU (4%) idle for 4 second(s)");
    EXPECT_EQ(run.window.cpuValue, 4);
    EXPECT_EQ(run.window.cpuCaption, "CPU 4%");
    EXPECT_THAT(launcher().launches, IsEmpty());
    Seconds(1);
    EXPECT_THAT(LaunchSeconds(), ElementsAre(11));
}

TEST_F(DelayedRunTest, ZeroDelayNeverRunsWithoutAnIdlePhase) {
    AddDelayed("C:\\A\\zero.exe", "0");
    AddDelayed("C:\\A\\ten.exe", "10");
    StartDelayedRun(parts(), run);
    Seconds(30);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\ten.exe"));
    EXPECT_FALSE(run.timer->Running());
    EXPECT_EQ(meter->queries, 0);
}

TEST_F(DelayedRunTest, AllIdleStartsInTheIdlePhaseAtTheFirstEntry) {
    AddDelayed("C:\\A\\zero.exe", "0");
    AddDelayed("C:\\A\\neg.exe", "-5");
    StartDelayedRun(parts(), run);
    EXPECT_TRUE(run.idlePhase);
    EXPECT_EQ(run.currentIndex, 0);
    Seconds(1);
    EXPECT_EQ(fe.LastStatus(), "CPU (5%) idle for 0 second(s)");
    Seconds(11);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\neg.exe", "C:\\A\\zero.exe"));
    EXPECT_THAT(LaunchSeconds(), ElementsAre(6, 12));
    EXPECT_FALSE(run.timer->Running());
}

TEST_F(DelayedRunTest, IdleSettingsDecideWhatCountsAsIdle) {
    state.options.idleThreshold = 50;
    state.options.idleSeconds = 2;
    AddDelayed("C:\\A\\neg.exe", "-1");
    StartDelayedRun(parts(), run);
    meter->readings = {49, 49, 50, 10, 10, 10};
    Seconds(6);
    EXPECT_THAT(LaunchSeconds(), ElementsAre(6));
}

TEST_F(DelayedRunTest, ThresholdZeroNeverFindsTheProcessorIdle) {
    state.options.idleThreshold = 0;
    AddDelayed("C:\\A\\neg.exe", "-1");
    StartDelayedRun(parts(), run);
    meter->otherwise = 0;
    Seconds(60);
    EXPECT_THAT(launcher().launches, IsEmpty());
    EXPECT_TRUE(run.timer->Running());
}

TEST_F(DelayedRunTest, RowUntickedInTheWindowIsSkippedAndTheNextRunsAtOnce) {
    AddDelayed("C:\\A\\one.exe", "2");
    AddDelayed("C:\\A\\two.exe", "4");
    AddDelayed("C:\\A\\three.exe", "8");
    StartDelayedRun(parts(), run);
    ASSERT_EQ(run.window.RowCount(), 3);
    run.window.rows[1].ticked = false;  // the user unticks "two.exe"
    Seconds(8);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\one.exe", "C:\\A\\three.exe"));
    // three.exe starts at the step that passes over two.exe, whatever its own delay.
    EXPECT_THAT(LaunchSeconds(), ElementsAre(2, 4));
    EXPECT_EQ(run.window.rows[1].icon, "skip");
    EXPECT_EQ(run.window.rows[2].icon, "ticked");
    EXPECT_THAT(LogTexts(),
                ElementsAre("Running delayed applications...", "Running C:\\A\\one.exe", "Skipping C:\\A\\two.exe",
                            "Running C:\\A\\three.exe", "Finished running delayed applications."));
}

TEST_F(DelayedRunTest, UntickingAnIdleRowSkipsThatRowAfterTheTimedOnes) {
    // Run order -2, -1, 10: the idle entries come after the timed one, and the window's
    // highlight must follow the entry actually decided on.
    AddDelayed("C:\\A\\ten.exe", "10");
    AddDelayed("C:\\A\\minus1.exe", "-1");
    AddDelayed("C:\\A\\minus2.exe", "-2");
    StartDelayedRun(parts(), run);
    run.window.rows[1].ticked = false;  // minus1.exe
    Seconds(10 + 6 + 6);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\ten.exe", "C:\\A\\minus2.exe"));
    EXPECT_EQ(run.window.rows[1].icon, "skip");
    EXPECT_FALSE(run.timer->Running());
}

TEST_F(DelayedRunTest, SkippingIntoTheTimedEntriesEndsTheIdlePhaseWithoutRunningThemAgain) {
    AddDelayed("C:\\A\\five.exe", "5");
    AddDelayed("C:\\A\\minus.exe", "-1");
    StartDelayedRun(parts(), run);
    run.window.rows[0].ticked = false;  // minus.exe
    Seconds(5 + 6);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\five.exe"));
    EXPECT_FALSE(run.timer->Running());
}

TEST_F(DelayedRunTest, AHiddenWindowIgnoresItsTicks) {
    AddDelayed("C:\\A\\one.exe", "1");
    AddDelayed("C:\\A\\two.exe", "2");
    StartDelayedRun(parts(), run);
    run.window.rows[1].ticked = false;
    HideDelayedWindow(state.model.events, run.window);
    EXPECT_FALSE(run.window.visible);
    Seconds(2);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\one.exe", "C:\\A\\two.exe"));
    EXPECT_EQ(run.window.listPosition, 0);  // a hidden window is not advanced
}

TEST_F(DelayedRunTest, AlreadyRunningProgramIsSkippedWithoutPriorityChange) {
    state.options.skipRunning = true;
    state.model.processSnapshot = {{120, "notepad.exe", 8, "C:\\Windows\\notepad.exe"},
                                   {130, "Tool.EXE", 8, "c:\\program files\\tool\\tool.exe"}};
    AddDelayed("\"C:\\Program Files\\Tool\\tool.exe\" /quiet", "1", "High");
    AddDelayed("C:\\Other\\notepad.exe", "2", "High");  // same name, other path: not running
    StartDelayedRun(parts(), run);
    Seconds(2);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\Other\\notepad.exe"));
    EXPECT_THAT(LogTexts(),
                ElementsAre("Running delayed applications...", "Running \"C:\\Program Files\\Tool\\tool.exe\" /quiet",
                            "Skipping running process: \"C:\\Program Files\\Tool\\tool.exe\" /quiet",
                            "Running C:\\Other\\notepad.exe", "Finished running delayed applications."));
    EXPECT_TRUE(std::find(fe.statuses.begin(), fe.statuses.end(),
                          "Skipping \"C:\\Program Files\\Tool\\tool.exe\" /quiet") != fe.statuses.end());
    // Only the launched one had its priority set (High = 0x80).
    ASSERT_EQ(platform.scriptedProcesses.priorityByName.size(), 1u);
    EXPECT_EQ(platform.scriptedProcesses.priorityByName[0].first, "notepad.exe");
    EXPECT_EQ(platform.scriptedProcesses.priorityByName[0].second, 0x80u);
}

TEST_F(DelayedRunTest, ThePriorityReachesTheProcessTheRunStartedNotOnlyOthersOfItsName) {
    AddDelayed("C:\\Tools\\starter.exe /child", "1", "Low");
    AddDelayed("C:\\Tools\\plain.exe", "2");
    StartDelayedRun(parts(), run);
    Seconds(2);
    ASSERT_EQ(launcher().launches.size(), 2u);
    // By name the process may not be found yet; by the id the start answered it always is.
    EXPECT_THAT(platform.scriptedProcesses.priorityById, ElementsAre(std::make_pair(4001u, 0x40u)));
    EXPECT_THAT(platform.scriptedProcesses.priorityByName,
                ElementsAre(std::make_pair(std::string("starter.exe"), 0x40u)));
}

TEST_F(DelayedRunTest, WithoutTheOptionARunningProgramStartsAgain) {
    state.model.processSnapshot = {{130, "tool.exe", 8, "C:\\Tool\\tool.exe"}};
    AddDelayed("C:\\Tool\\tool.exe", "1");
    StartDelayedRun(parts(), run);
    Seconds(1);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\Tool\\tool.exe"));
}

TEST_F(DelayedRunTest, ALaunchFailureIsLoggedAndTheRunGoesOn) {
    launcher().failing = {"C:\\Gone\\gone.exe"};
    AddDelayed("C:\\Gone\\gone.exe", "1", "High");
    AddDelayed("C:\\A\\b.exe", "2");
    StartDelayedRun(parts(), run);
    Seconds(2);
    EXPECT_THAT(LogTexts(),
                ElementsAre("Running delayed applications...", "Running C:\\Gone\\gone.exe",
                            "Error running C:\\Gone\\gone.exe", "Error 2 - The system cannot find the file specified.",
                            "Running C:\\A\\b.exe", "Finished running delayed applications."));
    EXPECT_THAT(platform.scriptedProcesses.priorityByName, IsEmpty());
    EXPECT_THAT(fe.messages, IsEmpty());
}

TEST_F(DelayedRunTest, NoTickedRowStartsNothing) {
    AddDelayed("C:\\A\\a.exe", "1", "", false);
    StartDelayedRun(parts(), run);
    EXPECT_FALSE(run.timer->Running());
    EXPECT_FALSE(run.window.visible);
    EXPECT_THAT(LogTexts(), IsEmpty());
}

// The window shows it in a balloon while it is in the tray (TrayTest).
TEST_F(DelayedRunTest, EachLaunchIsAnnouncedWithItsCommand) {
    AddDelayed("C:\\A\\a.exe -x", "1");
    StartDelayedRun(parts(), run);
    Seconds(1);
    EXPECT_EQ(launches.texts, std::vector<std::string>{"Running C:\\A\\a.exe -x"});
}

TEST_F(DelayedRunTest, FinishingAppliesStoredPrioritiesAndSaysWhatFollows) {
    struct Case {
        bool exitAfter;
        bool slimline;
        AfterRun expected;
    };
    for (const Case& c : {Case{true, true, AfterRun::CloseDown}, Case{true, false, AfterRun::CloseDown},
                          Case{false, true, AfterRun::SendToTray}, Case{false, false, AfterRun::Nothing}}) {
        state.options.exitAfterDelayed = c.exitAfter;
        state.view.slimlineMode = c.slimline;
        state.model.processSnapshot = {{42, "keep.exe", 8, "C:\\K\\keep.exe"}};
        state.model.table(TableKind::Process).Clear();
        state.model.table(TableKind::Process).Add({"keep.exe", "C:\\K\\keep.exe", "Low", ""}, true);
        platform.scriptedProcesses.priorityByName.clear();
        // As a run started from the menu leaves them.
        state.model.events.BeginBusy(false);
        run.holdsControls = true;
        EXPECT_EQ(FinishDelayedRun(parts(), run), c.expected);
        EXPECT_FALSE(state.model.events.Busy().controls);
        EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
        // Applied whether or not it differs from the running priority (0x40 = Low).
        ASSERT_EQ(platform.scriptedProcesses.priorityByName.size(), 1u);
        EXPECT_EQ(platform.scriptedProcesses.priorityByName[0].second, 0x40u);
    }
}

TEST_F(DelayedRunTest, ExitAfterTheRunClosesDownThroughTheCaller) {
    state.options.exitAfterDelayed = true;
    AddDelayed("C:\\A\\a.exe", "1");
    StartDelayedRun(parts(), run);
    Seconds(3);
    EXPECT_EQ(closeDowns, 1);
}

TEST(DelayedEntriesTest, DelayTextReadsAsRoundedWholeSeconds) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"5", 5},
        {"-2", -2},
        {"2.5", 2},
        {"3.5", 4},
        {"-0.5", 0},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {" 7", 7},
        {"1e3", 1000},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(DelayOf(text), expected) << text;
}

TEST(DelayedEntriesTest, ExchangeSortLeavesEqualDelaysInItsOwnOrder) {
    std::vector<RunEntry> entries = {{3, "a", ""}, {1, "b", ""}, {1, "c", ""}, {2, "d", ""}, {1, "e", ""}};
    SortRunEntries(entries);
    std::vector<std::string> order;
    for (const auto& e : entries) order.push_back(e.command + std::to_string(e.delay));
    // i=0 swaps a<->b, then b<->... : the result the program has always produced.
    EXPECT_THAT(order, ElementsAre("b1", "c1", "e1", "d2", "a3"));
    std::vector<RunEntry> swapped = {{5, "x", ""}, {5, "y", ""}, {1, "z", ""}};
    SortRunEntries(swapped);
    EXPECT_EQ(swapped[0].command, "z");
    EXPECT_EQ(swapped[1].command, "y");  // not stable: y now stands before x
    EXPECT_EQ(swapped[2].command, "x");
}

}  // namespace
}  // namespace kestrune
