// The start-up and shut-down sequences as a user of the program would see them: files in the
// program's folder, log lines, the window, the timers.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "locations/Places.h"
#include "locations/Scanning.h"
#include "session/Application.h"
#include "support/CountingFiles.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

using test::ReadText;
using test::WriteText;

struct Program {
    explicit Program(test::TestMachine& machine) : app(*machine.platform, fe, clock, timers) {}
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app;
};

// The desktop program's start: the tables are ready without a single program file read for an
// icon; the icons come afterwards.
TEST(StartupTest, DeferredIconsReadNoProgramBeforeFinishedLoadingAndFillInAfterwards) {
    test::TestMachine machine;
    const std::string tool = machine.machineRoot + "/tool.exe";
    WriteText(tool, "MZ tool");
    auto& registry = machine.platform->registry();
    registry.CreateKey(platform::RootKey::CurrentUser, kRunKey);
    registry.SetValue(platform::RootKey::CurrentUser, kRunKey, {"Tool", platform::ValueType::String, tool + " -min"});
    WriteText(machine.appFolder + "settings.xml",
              "<Root><Delayed><item_1><name>Tool</name><path>" + tool +
                  "</path><delay>5</delay><prev>User</prev><active>1</active><priority>Normal</priority></item_1>"
                  "</Delayed></Root>");

    test::CountingPlatform counting(*machine.platform);
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app(counting, fe, clock, timers);
    app.DeferIcons();
    int readsAtFinish = -1;
    fe.onStatus = [&](const std::string& text) {
        if (text == "Finished loading") readsAtFinish = counting.counter.reads[tool];
    };
    ASSERT_TRUE(app.Startup(""));
    EXPECT_EQ(readsAtFinish, 0);
    EXPECT_EQ(fe.LastStatus(), "Finished loading");
    const Table& run = app.state().model.tables[TableKind::HKCU_Run];
    const Table& delayed = app.state().model.tables[TableKind::Delayed];
    ASSERT_EQ(run.Count(), 1);
    ASSERT_EQ(delayed.Count(), 1);
    EXPECT_EQ(run.Icon(1), kDefaultIcon);
    EXPECT_TRUE(app.IconsDeferred());

    app.EndIconDeferral();
    ApplyRowIcons(app.state(), TableKind::HKCU_Run, 1, 1);
    ApplyRowIcons(app.state(), TableKind::Delayed, 1, 5);  // past the end is fine
    EXPECT_EQ(run.Icon(1), 2);
    EXPECT_EQ(delayed.Icon(1), 2);
    EXPECT_EQ(counting.counter.reads[tool], 1);  // once for both rows
}

TEST(StartupTest, PathsAndLogLinesComeFromTheProgramFolder) {
    test::TestMachine machine;
    {
        Program program(machine);
        ASSERT_TRUE(program.app.Startup("/SlimLine"));
        const MainState& s = program.app.state();
        EXPECT_EQ(s.paths.appFolder, machine.appFolder);
        EXPECT_EQ(s.paths.iniPath, machine.appFolder + "settings.ini");
        EXPECT_EQ(s.paths.logPath, machine.appFolder + "log.txt");
        EXPECT_TRUE(s.view.slimlineMode);
        program.app.CloseDown();
        EXPECT_EQ(program.fe.quitCalls, 1);
    }
    EXPECT_EQ(ReadText(machine.appFolder + "log.txt"),
              "07/12/2026 08:15:02 Starting Kestrune, Slimline mode = True\r\n"
              "07/12/2026 08:15:02 Exiting Kestrune\r\n");
}

TEST(StartupTest, SlimIsFoundAnywhereInAnyCase) {
    for (const char* commandLine : {"slim", "/SLIMLINE", "-x xSlIMy", "--profile a slim"}) {
        test::TestMachine machine;
        Program program(machine);
        ASSERT_TRUE(program.app.Startup(commandLine));
        EXPECT_TRUE(program.app.state().view.slimlineMode) << commandLine;
    }
    test::TestMachine machine;
    Program program(machine);
    ASSERT_TRUE(program.app.Startup("--sli-m"));
    EXPECT_FALSE(program.app.state().view.slimlineMode);
}

TEST(StartupTest, ASecondCopyOnlyLogsItsExit) {
    test::TestMachine machine;
    Program first(machine);
    ASSERT_TRUE(first.app.Startup(""));
    const std::string ini = "[Options]\r\nMonitor=1\r\n";
    WriteText(machine.appFolder + "settings.ini", ini);

    auto secondPlatform = platform::CreatePlatform({machine.appFolder, machine.machineRoot});
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    {
        Application second(*secondPlatform, fe, clock, timers);
        EXPECT_FALSE(second.Startup(""));
    }
    EXPECT_EQ(ReadText(machine.appFolder + "settings.ini"), ini);
    const std::string log = ReadText(machine.appFolder + "log.txt");
    EXPECT_EQ(log,
              "07/12/2026 08:15:02 Starting Kestrune, Slimline mode = False\r\n"
              "07/12/2026 08:15:02 Exiting Kestrune\r\n");
}

TEST(StartupTest, ALockLeftByACrashedCopyDoesNotBlock) {
    test::TestMachine machine;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto platform = platform::CreatePlatform({machine.appFolder, machine.machineRoot});
        _exit(platform->instanceLock().TryAcquire() ? 0 : 1);  // dies holding the lock
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    Program program(machine);
    EXPECT_TRUE(program.app.Startup(""));
}

TEST(StartupTest, WithoutSettingsTheWindowIsCentredOnTheFirstTab) {
    test::TestMachine machine;
    Program program(machine);
    ASSERT_TRUE(program.app.Startup(""));
    const auto& events = program.fe.events;
    EXPECT_NE(std::find(events.begin(), events.end(), "centre"), events.end());
    EXPECT_EQ(program.app.state().view.currentTab, 1);
    EXPECT_EQ(program.app.state().options.idleThreshold, 20);
    EXPECT_EQ(program.app.state().options.idleSeconds, 5);
    // Loading is over only once everything above is in place, and the status line says so.
    EXPECT_EQ(program.fe.LastStatus(), "Finished loading");
    EXPECT_FALSE(program.app.state().model.loadingInProgress);
}

// The profile stored in settings.ini is current again, and its own document fills the tables.
TEST(StartupTest, TheStoredProfileComesBackWithItsDocument) {
    test::TestMachine machine;
    WriteText(machine.appFolder + "settings.ini", "[Options]\r\nProfile=Work\r\n");
    WriteText(machine.appFolder + "profiles.txt", "Work\r\n");
    WriteText(machine.appFolder + "work.xml",
              "<Root><Delayed><item_1><name>Mail</name><path>/opt/mail</path><delay>5</delay><prev>User</prev>"
              "<active>1</active><priority>Normal</priority></item_1></Delayed></Root>");
    Program program(machine);
    ASSERT_TRUE(program.app.Startup(""));
    const MainState& s = program.app.state();
    EXPECT_EQ(s.paths.profile, "Work");
    EXPECT_EQ(s.paths.settingsDocumentPath, machine.appFolder + "work.xml");
    EXPECT_EQ(program.fe.caption, "Kestrune - v1.0.0 - Work");
    ASSERT_EQ(s.model.tables[TableKind::Delayed].Count(), 1);
    EXPECT_EQ(s.model.tables[TableKind::Delayed].Name(1), "Mail");
}

// A stored process row starts the priority watcher when "Watch priorities" is set, and only
// then; a read-only run never does.
TEST(StartupTest, AStoredProcessRowStartsThePriorityWatcher) {
    const std::string document =
        "<Root><Process><item_1><name>zz-not-running.exe</name><path>/nowhere/zz-not-running.exe</path>"
        "<priority>Low</priority></item_1></Process></Root>";
    const struct {
        bool watch, readOnly, running;
    } cases[] = {{false, false, false}, {true, false, true}, {true, true, false}};
    for (const auto& c : cases) {
        test::TestMachine machine;
        WriteText(machine.appFolder + "settings.ini",
                  std::string("[Options]\r\nWatch priorities=") + (c.watch ? "1" : "0") + "\r\n");
        WriteText(machine.appFolder + "settings.xml", document);
        Program program(machine);
        if (c.readOnly) program.app.OpenReadOnly();
        ASSERT_TRUE(program.app.Startup(""));
        EXPECT_EQ(program.app.state().model.tables[TableKind::Process].CountTicked(), 1);
        EXPECT_EQ(program.app.priorityWatcher().Running(), c.running) << c.watch << c.readOnly;
    }
}

TEST(StartupTest, TheLastTabAndTheMonitorComeBack) {
    test::TestMachine machine;
    WriteText(machine.appFolder + "settings.ini",
              "[Options]\r\nMonitor=1\r\n[Position]\r\nWindow state=0\r\nLast tab=4\r\n");
    Program program(machine);
    ASSERT_TRUE(program.app.Startup(""));
    EXPECT_EQ(program.app.state().view.currentTab, 5);
    EXPECT_TRUE(program.app.Monitoring());
    ASSERT_TRUE(program.app.Shutdown(CloseReason::User));
    EXPECT_FALSE(program.app.Monitoring());
}

TEST(ShutdownTest, TrayOnCloseTurnsOnlyTheUsersCloseIntoATripToTheTray) {
    test::TestMachine machine;
    WriteText(machine.appFolder + "settings.ini", "[Options]\r\nSend to tray on close=1\r\n");
    Program program(machine);
    ASSERT_TRUE(program.app.Startup(""));
    EXPECT_FALSE(program.app.Shutdown(CloseReason::User));
    EXPECT_TRUE(program.app.state().view.inTray);
    EXPECT_EQ(program.fe.events.back(), "minimise");
    EXPECT_EQ(ReadText(machine.appFolder + "settings.ini"), "[Options]\r\nSend to tray on close=1\r\n");
    EXPECT_TRUE(program.app.Shutdown(CloseReason::Code));
    EXPECT_NE(ReadText(machine.appFolder + "settings.ini").find("Skip save on exit=0"), std::string::npos);
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

// The road of one typical event: the user unticks a Run entry, the program exits, and the entry
// comes back unticked at the next start although the place no longer holds it.
TEST(SessionTest, AnUntickedRunEntrySurvivesARestartInTheDocument) {
    test::TestMachine machine;
    auto& registry = machine.platform->registry();
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    registry.SetValue(platform::RootKey::CurrentUser, run, {"Tray", platform::ValueType::String, "/usr/bin/env"});
    {
        Program program(machine);
        ASSERT_TRUE(program.app.Startup(""));
        const Table& table = program.app.state().model.tables[TableKind::HKCU_Run];
        ASSERT_EQ(table.Count(), 1);
        EXPECT_TRUE(table.Ticked(1));
        program.app.OnRowTickChanged(TableKind::HKCU_Run, 1, false);
        EXPECT_FALSE(registry.QueryValue(platform::RootKey::CurrentUser, run, "Tray"));
        program.app.CloseDown();
    }
    const std::string document = ReadText(machine.appFolder + "settings.xml");
    EXPECT_NE(document.find("<HKCU_Run>"), std::string::npos);
    EXPECT_NE(document.find("<name>Tray</name>"), std::string::npos);
    const std::string log = ReadText(machine.appFolder + "log.txt");
    EXPECT_NE(log.find("Deleting registry shortcut to /usr/bin/env"), std::string::npos);

    auto again = platform::CreatePlatform({machine.appFolder, machine.machineRoot});
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app(*again, fe, clock, timers);
    ASSERT_TRUE(app.Startup(""));
    const Table& table = app.state().model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.Name(1), "Tray");
    EXPECT_FALSE(table.Ticked(1));
}

TEST(SessionTest, SlimlineStartDoesNotScanThePlaces) {
    test::TestMachine machine;
    machine.platform->registry().SetValue(platform::RootKey::LocalMachine,
                                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                          {"Agent", platform::ValueType::String, "/usr/bin/env"});
    Program slim(machine);
    ASSERT_TRUE(slim.app.Startup("slimline"));
    EXPECT_EQ(slim.app.state().model.tables[TableKind::HKLM_Run].Count(), 0);
    slim.app.CloseDown();

    Program full(machine);
    ASSERT_TRUE(full.app.Startup(""));
    EXPECT_EQ(full.app.state().model.tables[TableKind::HKLM_Run].Count(), 1);
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

// Started with Windows through its own shortcut, the program runs the delayed applications and
// then leaves for the tray, or ends when "Exit after delayed app run" is set.
class SlimlineRunTest : public ::testing::TestWithParam<bool> {};

TEST_P(SlimlineRunTest, RunsTheDelayedApplicationsThenEndsAsTheOptionsSay) {
    const bool exitAfter = GetParam();
    test::TestMachine machine;
    const std::string marker = machine.folder.Path() + "ran";
    {
        Program setup(machine);
        ASSERT_TRUE(setup.app.Startup(""));
        MainState& s = setup.app.state();
        s.model.tables[TableKind::Delayed].Add({"Marker", "/bin/sh -c 'touch " + marker + "'", "1", "", ""}, true);
        s.model.settingsChanged = true;
        s.options.exitAfterDelayed = exitAfter;
        setup.app.CloseDown();
    }
    // Shut-down registered the program to start with Windows, since a delayed row is ticked.
    EXPECT_NE(ReadText(machine.appFolder + "settings.ini").find("Run on startup=1"), std::string::npos);

    Program slim(machine);
    ASSERT_TRUE(slim.app.Startup("slimline"));
    EXPECT_TRUE(slim.app.delayedWindow().visible);
    slim.timers.Advance(1000);
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) usleep(20000);
    EXPECT_TRUE(std::filesystem::exists(marker));
    const std::string log = ReadText(machine.appFolder + "log.txt");
    EXPECT_NE(log.find("Running /bin/sh -c 'touch " + marker + "'"), std::string::npos);
    EXPECT_NE(log.find("Finished running delayed applications."), std::string::npos);
    if (exitAfter) {
        EXPECT_EQ(slim.fe.quitCalls, 1);
        EXPECT_FALSE(slim.app.state().view.inTray);
    } else {
        EXPECT_EQ(slim.fe.quitCalls, 0);
        EXPECT_TRUE(slim.app.state().view.inTray);
    }
}

INSTANTIATE_TEST_SUITE_P(ExitOrTray, SlimlineRunTest, ::testing::Bool());

}  // namespace
}  // namespace kestrune
