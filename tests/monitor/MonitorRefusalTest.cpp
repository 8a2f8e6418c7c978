// The change monitor when the system refuses to take a disallowed entry out: the refusal is
// logged once, and the user is not asked about the entry again until it changes.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/CommandLine.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/ChangeMonitor.h"
#include "support/LogReader.h"
#include "support/RefusingPlatform.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

class MonitorRefusalTest : public ::testing::Test {
protected:
    MonitorRefusalTest() : state(platform, clock) {
        state.InProgramFolder(machine.appFolder).BeginLog("test started").WithTimers(timers);
        monitor.timer = timers.Create(1000, [this] { OnMonitorTick(state, fe, monitor); });
        machine.platform->registry().CreateKey(RootKey::LocalMachine, kRunKey);
        DetermineStartupFolders(state.services.platform, state.paths);
        std::filesystem::create_directories(state.paths.commonStartupFolder);
        ScanPlaces(state);
        monitor.timer->Start();
        Tick();  // the first tick only takes the snapshot
    }

    void Tick() { timers.Advance(1000); }
    // Lines of the log that contain `text`.
    int LogLinesWith(const std::string& text) { return test::LogLinesWith(state.paths.logPath, text); }

    test::TestMachine machine;
    test::RefusingPlatform platform{*machine.platform, RootKey::LocalMachine, machine.machineRoot};
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
    MonitorState monitor;
};

TEST_F(MonitorRefusalTest, AnHklmValueThatCannotBeRemovedIsAskedAboutOnceUntilItChanges) {
    auto& registry = machine.platform->registry();
    ASSERT_TRUE(registry.SetValue(RootKey::LocalMachine, kRunKey, {"Intruder", ValueType::String, "/opt/in"}).Ok());
    fe.monitorAnswers = {{false, false}};
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_TRUE(registry.QueryValue(RootKey::LocalMachine, kRunKey, "Intruder"));
    const std::string failure =
        "Could not remove Intruder from HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run: Error 5";
    EXPECT_EQ(LogLinesWith(failure), 1);

    for (int i = 0; i < 5; ++i) Tick();  // the scripted front end fails on an unexpected prompt
    EXPECT_EQ(fe.monitorPrompts.size(), 1u);
    EXPECT_EQ(platform.registryRefusals.refusals, 1);
    EXPECT_EQ(LogLinesWith(failure), 1);

    // It goes and comes back: that is a change, and the user is asked again.
    ASSERT_TRUE(registry.DeleteValue(RootKey::LocalMachine, kRunKey, "Intruder").Ok());
    Tick();
    ASSERT_TRUE(registry.SetValue(RootKey::LocalMachine, kRunKey, {"Intruder", ValueType::String, "/opt/in"}).Ok());
    fe.monitorAnswers = {{false, false}};
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 2u);
}

TEST_F(MonitorRefusalTest, AShortcutInAFolderThatRefusesIsTriedOnceForADisallowedProgram) {
    state.model.tables[TableKind::Known].Add({"/opt/bad"}, false);
    platform::ShortcutInfo link;
    link.target = "/opt/bad";
    const std::string file = AddBackslash(state.paths.commonStartupFolder) + "Bad.lnk";
    ASSERT_TRUE(state.services.platform.shell().WriteShortcut(file, link));
    for (int i = 0; i < 4; ++i) Tick();
    EXPECT_TRUE(fe.monitorPrompts.empty());
    EXPECT_TRUE(state.services.FileExists(file));
    EXPECT_EQ(platform.fileRefusals.refusals, 1);
    EXPECT_EQ(LogLinesWith("Could not remove " + file), 1);
}

}  // namespace
}  // namespace kestrune
