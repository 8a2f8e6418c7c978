// The menu commands around the delayed run, the Slimline start and "Run now".

#include "app/Version.h"
#include "delayed/DelayedCommands.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "DelayedFixture.h"

namespace kestrune {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DelayedCommandsTest : public test::DelayedFixture {
protected:
    std::vector<std::string> Delays() {
        std::vector<std::string> out;
        const Table& t = state.model.table(TableKind::Delayed);
        for (int p = 1; p <= t.Count(); ++p) out.push_back(t.Text(p, col::Delay));
        return out;
    }
};

TEST_F(DelayedCommandsTest, RunDelayedStartsThenStopsByItsCaption) {
    AddDelayed("C:\\A\\a.exe", "5");
    run.window.exitButtonVisible = true;
    RunDelayedCommand(parts(), run);
    EXPECT_EQ(run.runDelayedCaption, "Stop running delayed applications");
    EXPECT_FALSE(run.window.exitButtonVisible);
    EXPECT_TRUE(state.model.events.Busy().controls);
    EXPECT_FALSE(state.model.events.Busy().runDelayed);
    EXPECT_TRUE(run.timer->Running());
    Seconds(2);

    RunDelayedCommand(parts(), run);
    EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
    EXPECT_FALSE(run.timer->Running());
    EXPECT_EQ(fe.LastStatus(), "Delayed applications stopped.");
    EXPECT_FALSE(state.model.events.Busy().controls);
    EXPECT_TRUE(run.window.visible);  // stopping leaves the window as it is
    EXPECT_THAT(LogTexts(), ElementsAre("Running delayed applications..."));
    Seconds(10);
    EXPECT_THAT(launcher().launches, IsEmpty());

    // A new start counts from zero again.
    RunDelayedCommand(parts(), run);
    Seconds(4);
    EXPECT_THAT(launcher().launches, IsEmpty());
    Seconds(1);
    EXPECT_EQ(launcher().launches.size(), 1u);
    EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
    EXPECT_FALSE(state.model.events.Busy().controls);
}

TEST_F(DelayedCommandsTest, RunDelayedWithNothingTickedStaysInItsStopState) {
    AddDelayed("C:\\A\\a.exe", "5", "", false);
    RunDelayedCommand(parts(), run);
    EXPECT_EQ(run.runDelayedCaption, "Stop running delayed applications");
    EXPECT_TRUE(state.model.events.Busy().controls);
    EXPECT_FALSE(run.timer->Running());
    RunDelayedCommand(parts(), run);
    EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
    EXPECT_FALSE(state.model.events.Busy().controls);
}

TEST_F(DelayedCommandsTest, StopBetweenTwoLaunchesEndsTheRunThere) {
    AddDelayed("C:\\A\\a.exe", "1");
    AddDelayed("C:\\A\\b.exe", "2");
    AddDelayed("C:\\A\\c.exe", "-1");
    RunDelayedCommand(parts(), run);
    Seconds(1);
    ASSERT_THAT(launcher().Commands(), ElementsAre("C:\\A\\a.exe"));
    // "Stop" between two ticks: nothing runs inside a step any more, so there is no step to
    // abandon, and the run's state is whole when the command reaches it.
    RunDelayedCommand(parts(), run);
    EXPECT_FALSE(run.running);
    EXPECT_FALSE(run.timer->Running());
    EXPECT_FALSE(state.model.events.Busy().controls);
    Seconds(5);
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\A\\a.exe"));
    EXPECT_THAT(LogTexts(), ElementsAre("Running delayed applications...", "Running C:\\A\\a.exe"));
    EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
    // A tick that was already due when the run stopped changes nothing either.
    EXPECT_EQ(OnDelayedRunTick(parts(), run), AfterRun::Nothing);
    EXPECT_EQ(launcher().launches.size(), 1u);
}

TEST_F(DelayedCommandsTest, AStepDecidesWhatToLaunchAndItsCallerLaunchesIt) {
    AddDelayed("C:\\A\\a.exe", "1");
    AddDelayed("C:\\A\\idle.exe", "-1");
    StartDelayedRun(parts(), run);

    const DelayedStep first = AdvanceDelayedRun(run, {-1, 20, 0});
    EXPECT_EQ(first.status, "1 seconds have passed");
    ASSERT_EQ(first.launch.size(), 1u);
    EXPECT_EQ(first.launch[0].command, "C:\\A\\a.exe");
    EXPECT_TRUE(first.windowChanged);
    EXPECT_TRUE(first.idlePhaseBegins);
    EXPECT_FALSE(first.finished);
    EXPECT_THAT(launcher().launches, IsEmpty());  // deciding is not launching

    // In the idle phase a tick without a reading decides nothing at all.
    const DelayedStep unread = AdvanceDelayedRun(run, {-1, 20, 0});
    EXPECT_TRUE(unread.status.empty());
    EXPECT_TRUE(unread.launch.empty());
    EXPECT_FALSE(unread.windowChanged);

    const DelayedStep busy = AdvanceDelayedRun(run, {90, 20, 0});
    EXPECT_EQ(busy.status, "CPU (90%) is not idle yet...");
    EXPECT_TRUE(busy.launch.empty());
    EXPECT_EQ(run.window.cpuCaption, "CPU 90%");

    const DelayedStep idle = AdvanceDelayedRun(run, {5, 20, 0});
    EXPECT_EQ(idle.status, "CPU (5%) idle for 0 second(s)");
    ASSERT_EQ(idle.launch.size(), 1u);
    EXPECT_EQ(idle.launch[0].command, "C:\\A\\idle.exe");
    EXPECT_TRUE(idle.finished);
    EXPECT_THAT(launcher().launches, IsEmpty());
    EXPECT_THAT(LogTexts(), ElementsAre("Running delayed applications..."));
}

TEST_F(DelayedCommandsTest, SlimlineStartShowsTheExitButtonAndEndsInTheTray) {
    state.view.slimlineMode = true;
    AddDelayed("C:\\A\\a.exe", "1");
    StartSlimlineDelayedRun(parts(), run);
    EXPECT_TRUE(run.window.exitButtonVisible);
    EXPECT_EQ(run.runDelayedCaption, "Run delayed applications");
    EXPECT_FALSE(state.model.events.Busy().controls);
    Seconds(1);
    EXPECT_EQ(tripsToTray, 1);
    EXPECT_EQ(closeDowns, 0);
}

TEST_F(DelayedCommandsTest, SlimlineStartWithExitAfterRunClosesDown) {
    state.view.slimlineMode = true;
    state.options.exitAfterDelayed = true;
    AddDelayed("C:\\A\\a.exe", "-1");
    StartSlimlineDelayedRun(parts(), run);
    Seconds(6);
    EXPECT_EQ(closeDowns, 1);
    EXPECT_EQ(tripsToTray, 0);
}

TEST_F(DelayedCommandsTest, SlimlineStartWithNothingTickedTakesNoEndSteps) {
    state.view.slimlineMode = true;
    state.options.exitAfterDelayed = true;
    StartSlimlineDelayedRun(parts(), run);
    Seconds(5);
    EXPECT_EQ(closeDowns, 0);
    EXPECT_EQ(tripsToTray, 0);
}

TEST_F(DelayedCommandsTest, AllIdleNumbersTheRowsFromMinusN) {
    AddDelayed("C:\\A\\a.exe", "10");
    AddDelayed("C:\\A\\b.exe", "abc");
    AddDelayed("C:\\A\\c.exe", "-7", "", false);
    fe.yesNoAnswers = {false, true};
    state.model.settingsChanged = false;
    EXPECT_EQ(MakeAllDelayedIdle(state.model, fe).status, OutcomeStatus::Cancelled);
    // Asked first, naming how many delays go; No keeps every one of them.
    ASSERT_EQ(fe.questions.size(), 1u);
    EXPECT_NE(fe.questions[0].find("all 3 delayed application(s)"), std::string::npos) << fe.questions[0];
    EXPECT_THAT(Delays(), ElementsAre("10", "abc", "-7"));
    EXPECT_FALSE(state.model.settingsChanged);
    fe.ShowOutcome(MakeAllDelayedIdle(state.model, fe));
    EXPECT_THAT(Delays(), ElementsAre("-3", "-2", "-1"));
    EXPECT_TRUE(state.model.settingsChanged);
    EXPECT_EQ(fe.LastStatus(), "All delayed items have been set to run when idle");
    EXPECT_FALSE(state.model.events.Busy().controls);
    EXPECT_FALSE(state.model.events.Busy().runDelayed);
}

TEST_F(DelayedCommandsTest, IdleSettingsAreAskedOneAfterTheOtherAndRefusedOutsideTheirRange) {
    struct Case {
        std::vector<std::string> answers;
        std::int16_t threshold;
        std::int16_t seconds;
        size_t questions;
        const char* refusal;  // the start of the message, or nullptr
    };
    const char* threshold =
        "The CPU threshold must be a whole number from 1 to 100 (percent).\r\n"
        "The idle settings have not been changed.";
    const char* seconds =
        "The idle time must be a whole number of seconds from 1 to 32767.\r\n"
        "The idle settings have not been changed.";
    const Case cases[] = {
        {{"30", "8"}, 30, 8, 2, nullptr},
        {{" 1 ", "32767"}, 1, 32767, 2, nullptr},  // spaces around a number are no matter
        {{"100", "+9"}, 100, 9, 2, nullptr},
        {{"", "unused"}, 20, 5, 1, nullptr},  // Cancel ends the command
        {{"45", ""}, 45, 5, 2, nullptr},      // an empty second answer keeps the seconds
        // Typing "abc" once stored 0, after which no idle entry ever started.
        {{"abc", "unused"}, 20, 5, 1, threshold},
        {{"0", "unused"}, 20, 5, 1, threshold},
        {{"101", "unused"}, 20, 5, 1, threshold},
        {{"500", "unused"}, 20, 5, 1, threshold},
        {{"12.5", "unused"}, 20, 5, 1, threshold},  // a whole number
        {{"40000", "unused"}, 20, 5, 1, threshold},
        {{"1e99", "unused"}, 20, 5, 1, threshold},
        {{"99999999999999999999", "unused"}, 20, 5, 1, threshold},
        // A refused second answer keeps the first one out as well.
        {{"15", "-32769"}, 20, 5, 2, seconds},
        {{"15", "0"}, 20, 5, 2, seconds},
        {{"15", "-3"}, 20, 5, 2, seconds},
        {{"15", "x"}, 20, 5, 2, seconds},
        {{"15", "32768"}, 20, 5, 2, seconds},
    };
    for (const Case& c : cases) {
        state.options.idleThreshold = 20;
        state.options.idleSeconds = 5;
        fe.questions.clear();
        fe.messages.clear();
        fe.inputAnswers.assign(c.answers.begin(), c.answers.end());
        SetIdleSettings(state.options, fe);
        const std::string label = c.answers[0] + "/" + c.answers[1];
        EXPECT_EQ(state.options.idleThreshold, c.threshold) << label;
        EXPECT_EQ(state.options.idleSeconds, c.seconds) << label;
        ASSERT_EQ(fe.questions.size(), c.questions) << label;
        EXPECT_EQ(fe.questions[0], "Please enter the CPU threshold for what should be considered as 'idle' (1-100):");
        if (c.questions > 1) {
            EXPECT_EQ(fe.questions[1], "Please enter the time in seconds the CPU should be 'idle' for:");
        }
        ASSERT_EQ(fe.messages.size(), c.refusal ? 1u : 0u) << label;
        if (c.refusal) {
            EXPECT_EQ(fe.messages[0].text, c.refusal) << label;
            EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
        }
    }
}

class RunOnStartupTest : public DelayedCommandsTest {
protected:
    RunOnStartupTest() {
        folder = platform.machine.folder.Path() + "common startup/";
        std::filesystem::create_directories(folder);
        state.paths.commonStartupFolder = folder;
    }
    std::string folder;
};

TEST_F(RunOnStartupTest, CheckingRegistersTheProgramInSlimlineMode) {
    fe.ShowOutcome(ToggleRunOnStartup(state, state.options));
    EXPECT_TRUE(state.options.runOnStartup);
    const std::string link = folder + "Kestrune.lnk";
    ASSERT_EQ(platform.recordingShell.written.count(link), 1u);
    const auto& info = platform.recordingShell.written[link];
    auto& system = platform.system();
    // On Linux the program file has no extension; on Windows it is ".exe".
    EXPECT_EQ(info.target, state.paths.appFolder + kDesktopProgramName + system.ProgramExtension());
    EXPECT_EQ(info.arguments, "slimline");
    EXPECT_EQ(SelfShortcutPath(state.paths), link);
}

TEST_F(RunOnStartupTest, UncheckingIsRefusedWhileDelayedAppsExist) {
    state.options.runOnStartup = true;
    AddDelayed("C:\\A\\a.exe", "5", "", false);
    test::WriteText(folder + "Kestrune.lnk", "link");
    const Outcome outcome = ToggleRunOnStartup(state, state.options);
    EXPECT_EQ(outcome.status, OutcomeStatus::Refused);
    fe.ShowOutcome(outcome);
    EXPECT_TRUE(state.options.runOnStartup);
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text,
              "Kestrune needs to be set to start up with Windows\r\nin order to run the delayed applications.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(std::filesystem::exists(folder + "Kestrune.lnk"));
}

TEST_F(RunOnStartupTest, UncheckingWithoutDelayedAppsRemovesTheShortcut) {
    state.options.runOnStartup = true;
    test::WriteText(folder + "Kestrune.lnk", "link");
    test::WriteText(folder + "Other.lnk", "link");
    fe.ShowOutcome(ToggleRunOnStartup(state, state.options));
    EXPECT_FALSE(state.options.runOnStartup);
    EXPECT_FALSE(std::filesystem::exists(folder + "Kestrune.lnk"));
    EXPECT_TRUE(std::filesystem::exists(folder + "Other.lnk"));
    EXPECT_THAT(fe.messages, IsEmpty());
    // Unchecking again with no shortcut left is harmless.
    state.options.runOnStartup = true;
    fe.ShowOutcome(ToggleRunOnStartup(state, state.options));
    EXPECT_FALSE(state.options.runOnStartup);
}

TEST_F(DelayedCommandsTest, RunNowLaunchesTheRowAndAppliesItsPriority) {
    AddDelayed("C:\\Apps\\tool.exe /x", "5", "Below Normal");
    fe.ShowOutcome(RunNow(state, state.options, TableKind::Delayed, 1));
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\Apps\\tool.exe /x"));
    ASSERT_EQ(platform.scriptedProcesses.priorityByName.size(), 1u);
    EXPECT_EQ(platform.scriptedProcesses.priorityByName[0].first, "tool.exe");
    EXPECT_EQ(platform.scriptedProcesses.priorityByName[0].second, 0x4000u);
    EXPECT_EQ(fe.LastStatus(), "Running C:\\Apps\\tool.exe /x");

    // A folder row starts its target without the arguments column.
    state.model.table(TableKind::UserStartup).Add({"Tool", "C:\\Apps\\tool.exe", "/min"}, true);
    fe.ShowOutcome(RunNow(state, state.options, TableKind::UserStartup, 1));
    EXPECT_EQ(launcher().Commands().back(), "C:\\Apps\\tool.exe");
}

TEST_F(DelayedCommandsTest, RunNowOnAProcessRowRefreshesTheProcessTable) {
    platform.scriptedProcesses.running = {{77, "svc.exe", 8, "C:\\S\\svc.exe"}};
    state.model.table(TableKind::Process).Add({"svc.exe", "C:\\S\\svc.exe", "", ""}, false);
    fe.ShowOutcome(RunNow(state, state.options, TableKind::Process, 1));
    EXPECT_THAT(launcher().Commands(), ElementsAre("C:\\S\\svc.exe"));
    EXPECT_EQ(state.model.table(TableKind::Process).Text(1, col::Handle), "77");
}

TEST_F(DelayedCommandsTest, RunNowSkipsARunningProgramAndAnEmptyCommand) {
    state.options.skipRunning = true;
    state.model.processSnapshot = {{9, "tool.exe", 8, "C:\\Apps\\tool.exe"}};
    AddDelayed("C:\\Apps\\tool.exe", "5", "High");
    AddDelayed("", "5");
    // Neither counts as started.
    EXPECT_EQ(RunNow(state, state.options, TableKind::Delayed, 1).status, OutcomeStatus::Refused);
    EXPECT_EQ(RunNow(state, state.options, TableKind::Delayed, 2).status, OutcomeStatus::NothingToDo);
    EXPECT_THAT(launcher().launches, IsEmpty());
    EXPECT_THAT(platform.scriptedProcesses.priorityByName, IsEmpty());
    EXPECT_THAT(LogTexts(), ElementsAre("Skipping running process: C:\\Apps\\tool.exe"));
}

}  // namespace
}  // namespace kestrune
