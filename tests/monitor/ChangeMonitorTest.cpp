// The change monitor against an emulated machine, with the test playing the other programs
// that register themselves between two ticks.

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "locations/LocationChange.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/ChangeMonitor.h"
#include "platform/StartupApproval.h"
#include "support/LogReader.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

class ChangeMonitorTest : public ::testing::Test {
protected:
    ChangeMonitorTest() : state(*machine.platform, clock) {
        state.InProgramFolder(machine.appFolder).BeginLog("test started").WithTimers(timers);
        monitor.timer = timers.Create(1000, [this] { OnMonitorTick(state, fe, monitor); });
        DetermineStartupFolders(state.services.platform, state.paths);
        ScanPlaces(state);
        monitor.timer->Start();
        Tick();  // the first tick only takes the snapshot
    }

    void Tick() { timers.Advance(1000); }
    void OtherProgramAddsRunValue(const std::string& name, const std::string& data) {
        state.services.platform.registry().SetValue(RootKey::CurrentUser, kRunKey, {name, ValueType::String, data});
    }
    std::string OtherProgramAddsShortcut(const std::string& name, const std::string& target) {
        const std::string file = AddBackslash(state.paths.commonStartupFolder) + name + ".lnk";
        platform::ShortcutInfo info;
        info.target = target;
        state.services.platform.shell().WriteShortcut(file, info);
        return file;
    }
    bool RunValueExists(const std::string& name) {
        return state.services.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name).has_value();
    }

    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
    MonitorState monitor;
};

TEST_F(ChangeMonitorTest, NewEntriesAreReportedOnceWithThePromptText) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater --tray");
    OtherProgramAddsShortcut("Chat", "/opt/chat/chat");
    fe.monitorAnswers = {{true, false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_EQ(fe.monitorPrompts[0],
              "The following programs\r\n/opt/chat/chat\r\n/opt/upd/updater --tray\r\n"
              "have registered to run at system start up - do you want to allow this?");
    // Under the question's own text: each entry by name, with the place it registered in.
    EXPECT_EQ(fe.monitorEntries[0], (std::vector<std::string>{"Chat \u2014 Common", "Updater \u2014 HKCU Run"}));
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 1u);  // not again

    // OK: both stay and are added ticked.
    EXPECT_TRUE(RunValueExists("Updater"));
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 1);
    EXPECT_EQ(run.Name(1), "Updater");
    EXPECT_TRUE(run.Ticked(1));
    const Table& common = state.model.tables[TableKind::CommonStartup];
    ASSERT_EQ(common.Count(), 1);
    EXPECT_EQ(common.Name(1), "Chat");
    EXPECT_TRUE(common.Ticked(1));
    EXPECT_NE(test::ReadText(state.paths.logPath).find("Allowing change: /opt/upd/updater --tray[_]4"),
              std::string::npos);
    EXPECT_EQ(state.model.tables[TableKind::Known].Count(), 0);
}

// The log says when a change was noticed: the moment of the tick that found it, however long
// the monitor had been watching before.
TEST_F(ChangeMonitorTest, AnAllowedChangeIsLoggedAtTheTickThatFoundIt) {
    timers.Advance(90'000);  // a minute and a half of quiet ticks
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    fe.monitorAnswers = {{true, false}};
    Tick();
    const auto log = test::ReadLog(state.paths.logPath);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].stamp, "07/12/2026 08:15:02");  // the fixture's first line, before any tick
    EXPECT_EQ(log[1].stamp, "07/12/2026 08:16:34");
    EXPECT_EQ(log[1].text, "Allowing change: /opt/upd/updater[_]4");
}

// With "Ignore self-made changes" off, the program's own disabling is a removal like any other:
// the table is read again from its place and the document, and the disabled row must be there.
TEST_F(ChangeMonitorTest, TheRescanAfterADisablingKeepsTheDisabledRow) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    fe.monitorAnswers = {{true, false}};
    Tick();  // allowed: the row comes in ticked
    Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 1);

    run.SetTicked(1, false);
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::HKCU_Run, 1));
    Tick();
    EXPECT_FALSE(RunValueExists("Updater"));
    ASSERT_EQ(run.Count(), 1) << "the rescan dropped the disabled row";
    EXPECT_EQ(run.Name(1), "Updater");
    EXPECT_FALSE(run.Ticked(1));
}

TEST_F(ChangeMonitorTest, CancelTakesTheEntriesOutAndLeavesTheTables) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    const std::string link = OtherProgramAddsShortcut("Chat", "/opt/chat/chat");
    fe.monitorAnswers = {{false, true}};
    Tick();
    EXPECT_FALSE(RunValueExists("Updater"));
    EXPECT_FALSE(state.services.FileExists(link));
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 0);
    EXPECT_EQ(state.model.tables[TableKind::CommonStartup].Count(), 0);
    // Remembered as disallowed.
    const Table& known = state.model.tables[TableKind::Known];
    ASSERT_EQ(known.Count(), 2);
    EXPECT_FALSE(known.Ticked(1));
    EXPECT_FALSE(known.Ticked(2));

    // The same program registering again goes without a prompt.
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_FALSE(RunValueExists("Updater"));
}

TEST_F(ChangeMonitorTest, AnAllowedScriptBecomesAFileRowThatDisablesWithoutLosingTheFile) {
    const std::string script = AddBackslash(state.paths.commonStartupFolder) + "Sync.cmd";
    test::WriteText(script, "robocopy a b\r\n");
    fe.monitorAnswers = {{true, false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_NE(fe.monitorPrompts[0].find(script), std::string::npos) << fe.monitorPrompts[0];
    const Table& common = state.model.tables[TableKind::CommonStartup];
    ASSERT_EQ(common.Count(), 1);
    EXPECT_EQ(common.Name(1), "Sync.cmd");
    ASSERT_TRUE(common.Details(1).file.has_value());

    state.model.tables[TableKind::CommonStartup].SetTicked(1, false);
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::CommonStartup, 1));
    EXPECT_FALSE(state.services.FileExists(script));
    EXPECT_EQ(test::ReadText(common.Details(1).file->keptAt), "robocopy a b\r\n");
}

TEST_F(ChangeMonitorTest, RememberingAnOkAllowsTheProgramSilentlyLater) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    fe.monitorAnswers = {{true, true}};
    Tick();
    const Table& known = state.model.tables[TableKind::Known];
    ASSERT_EQ(known.Count(), 1);
    EXPECT_EQ(known.Text(1, col::KnownPath), "/opt/upd/updater");
    EXPECT_TRUE(known.Ticked(1));

    state.services.platform.registry().DeleteValue(RootKey::CurrentUser, kRunKey, "Updater");
    Tick();
    OtherProgramAddsRunValue("Updater2", "/OPT/UPD/UPDATER");
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_TRUE(RunValueExists("Updater2"));
}

TEST_F(ChangeMonitorTest, ChangesMadeByKestruneItselfAreNotReported) {
    state.options.ignoreSelf = true;
    Table& run = state.model.tables[TableKind::HKCU_Run];
    run.Add({"Mine", "/usr/bin/mine"}, true);
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::HKCU_Run, 1));
    Tick();
    EXPECT_TRUE(fe.monitorPrompts.empty());
    run.SetTicked(1, false);
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::HKCU_Run, 1));
    Tick();
    EXPECT_TRUE(fe.monitorPrompts.empty());
    EXPECT_EQ(run.Count(), 1);  // no rescan: the removal was the program's own
}

TEST_F(ChangeMonitorTest, ASwapOfOneEntryForAnotherIsNotReported) {
    OtherProgramAddsRunValue("First", "/opt/first");
    fe.monitorAnswers = {{true, false}};
    Tick();
    state.services.platform.registry().DeleteValue(RootKey::CurrentUser, kRunKey, "First");
    OtherProgramAddsRunValue("Second", "/opt/second");
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 1u);
}

TEST_F(ChangeMonitorTest, AProgramRegisteringRightAfterADenialIsStillReported) {
    OtherProgramAddsRunValue("First", "/opt/first");
    fe.monitorAnswers = {{false, false}, {false, false}};
    Tick();
    OtherProgramAddsRunValue("Second", "/opt/second");
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 2u);
    EXPECT_NE(fe.monitorPrompts[1].find("/opt/second"), std::string::npos);
    EXPECT_FALSE(RunValueExists("Second"));
}

TEST_F(ChangeMonitorTest, OnlyTheEntriesTheUserWasAskedAboutAreRemoved) {
    state.model.tables[TableKind::Known].Add({"/opt/friend"}, true);
    OtherProgramAddsRunValue("Friend", "/opt/friend");
    OtherProgramAddsRunValue("Stranger", "/opt/stranger");
    fe.monitorAnswers = {{false, false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_EQ(fe.monitorPrompts[0].find("/opt/friend"), std::string::npos);
    EXPECT_FALSE(RunValueExists("Stranger"));
    EXPECT_TRUE(RunValueExists("Friend"));  // allowed by its Known row, never asked about
}

TEST_F(ChangeMonitorTest, ADisallowedProgramTakesItsTicksNewcomersButNotKestrunesOwn) {
    state.options.ignoreSelf = true;
    state.model.tables[TableKind::Known].Add({"/opt/bad"}, false);
    Table& run = state.model.tables[TableKind::HKCU_Run];
    run.Add({"Mine", "/usr/bin/mine"}, true);
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::HKCU_Run, 1));
    OtherProgramAddsRunValue("Bad", "/opt/bad");
    OtherProgramAddsRunValue("Tagalong", "/opt/tagalong");
    Tick();
    EXPECT_TRUE(fe.monitorPrompts.empty());
    EXPECT_FALSE(RunValueExists("Bad"));
    EXPECT_FALSE(RunValueExists("Tagalong"));
    EXPECT_TRUE(RunValueExists("Mine"));
}

// The tick asks whoever it is given (the console's answers, say), never the window it runs in.
TEST_F(ChangeMonitorTest, TheQuestionGoesToThePromptsTheTickIsGiven) {
    test::ScriptedFrontEnd asker;
    asker.monitorAnswers = {{false, false}};
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    monitor.timer->Stop();
    OnMonitorTick(state, asker, monitor);

    ASSERT_EQ(asker.monitorPrompts.size(), 1u);
    EXPECT_EQ(asker.monitorEntries[0], std::vector<std::string>{"Updater \u2014 HKCU Run"});
    EXPECT_TRUE(fe.monitorPrompts.empty());
    EXPECT_FALSE(RunValueExists("Updater"));
}

TEST_F(ChangeMonitorTest, PreventingDelayedAppsCountsOnlyNewKnownRows) {
    Table& delayed = state.model.tables[TableKind::Delayed];
    delayed.Add({"a", "/opt/a", "5"}, true);
    delayed.Add({"b", "/opt/b", "5"}, true);
    state.model.tables[TableKind::Known].Add({"/OPT/A"}, true);
    fe.ShowOutcome(PreventDelayedAppsFromRegistering(state));
    EXPECT_EQ(fe.LastStatus(), "Added 1 application(s) to known list");
    const Table& known = state.model.tables[TableKind::Known];
    ASSERT_EQ(known.Count(), 2);
    EXPECT_FALSE(known.Ticked(1));  // the ticked match is unticked
    EXPECT_FALSE(known.Ticked(2));
    fe.ShowOutcome(PreventDelayedAppsFromRegistering(state));
    EXPECT_EQ(fe.LastStatus(), "No delayed applications to add to the known list");
}

// The session ends (or the program is closed) with the question open: nothing is decided, the
// entry stays, and the next start asks again before anything else.
TEST_F(ChangeMonitorTest, AQuestionLeftOpenIsNoAnswerAndIsAskedAgainAtTheNextStart) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater --tray");
    fe.monitorAnswers = {{.keep = false, .remember = true, .answered = false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_TRUE(RunValueExists("Updater"));
    EXPECT_EQ(state.model.tables[TableKind::Known].Count(), 0);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Count(), 0);
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 1u) << "asked twice in one session";

    // The next start: the places scanned afresh, a monitor that has seen nothing yet.
    state.model.tables.ClearAll();
    ScanPlaces(state);
    MonitorState restarted;
    fe.monitorAnswers = {{.keep = false, .remember = false}};
    OnMonitorTick(state, fe, restarted);
    ASSERT_EQ(fe.monitorPrompts.size(), 2u);
    EXPECT_NE(fe.monitorPrompts[1].find("/opt/upd/updater --tray"), std::string::npos);
    EXPECT_FALSE(RunValueExists("Updater"));
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 0);
    // Removed, but kept where the user can bring it back.
    const Table& deleted = state.model.tables[TableKind::Deleted];
    ASSERT_EQ(deleted.Count(), 1);
    EXPECT_EQ(deleted.Name(1), "Updater");
    EXPECT_EQ(deleted.Text(1, col::Path), "/opt/upd/updater --tray");

    // Answered now: a further start does not ask.
    MonitorState again;
    OnMonitorTick(state, fe, again);
    EXPECT_EQ(fe.monitorPrompts.size(), 2u);
}

// Allowed at the next start, the entry keeps the one row the scan gave it.
TEST_F(ChangeMonitorTest, AnOpenQuestionAllowedAtTheNextStartAddsNoSecondRow) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    fe.monitorAnswers = {{.keep = false, .remember = false, .answered = false}};
    Tick();
    state.model.tables.ClearAll();
    ScanPlaces(state);
    MonitorState restarted;
    fe.monitorAnswers = {{.keep = true, .remember = false}};
    OnMonitorTick(state, fe, restarted);
    ASSERT_EQ(fe.monitorPrompts.size(), 2u);
    EXPECT_TRUE(RunValueExists("Updater"));
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 1);
}

TEST_F(ChangeMonitorTest, ThirtyTwoBitNewcomersAreAskedAboutByTheirKeyAndApprovalChangesAreNot) {
    auto& registry32 = state.services.platform.registry().InView(platform::RegistryView::Bits32);
    ASSERT_TRUE(registry32.CreateKey(RootKey::LocalMachine, kRunKey).Ok());
    ASSERT_TRUE(
        registry32.SetValue(RootKey::LocalMachine, kRunKey, {"Agent32", ValueType::String, "/opt/agent32"}).Ok());
    fe.monitorAnswers = {{false, false}};
    Tick();
    ASSERT_EQ(fe.monitorEntries.size(), 1u);
    EXPECT_EQ(
        fe.monitorEntries[0],
        (std::vector<std::string>{"Agent32 \u2014 HKLM Run, "
                                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run "
                                  "(32-bit)"}));
    EXPECT_FALSE(registry32.QueryValue(RootKey::LocalMachine, kRunKey, "Agent32").has_value())
        << "Cancel takes it out of the key it registered in";

    // Task Manager switching an entry off changes no place: nothing to ask about.
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    fe.monitorAnswers = {{true, false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 2u);
    auto& registry = state.services.platform.registry();
    ASSERT_TRUE(registry.CreateKey(RootKey::CurrentUser, platform::kApprovedRunKey).Ok());
    ASSERT_TRUE(registry
                    .SetValue(RootKey::CurrentUser, platform::kApprovedRunKey,
                              platform::EncodeStartupApproval("Updater", true, platform::FileTimeNow()))
                    .Ok());
    Tick();
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 2u);
    EXPECT_TRUE(RunValueExists("Updater"));
}

}  // namespace
}  // namespace kestrune
