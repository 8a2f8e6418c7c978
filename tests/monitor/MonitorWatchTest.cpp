// The monitor while another program changes the places quickly: between ticks, in the same
// interval, and not at all. The ticks that skip their look must still see every change.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/CommandLine.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/ChangeMonitor.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

constexpr const char* kPromptTail = "have registered to run at system start up - do you want to allow this?";

class MonitorWatchTest : public ::testing::Test {
protected:
    MonitorWatchTest()
        : outside(platform::CreatePlatform({machine.appFolder, machine.machineRoot})), state(*machine.platform, clock) {
        state.InProgramFolder(machine.appFolder).WithTimers(timers);
        monitor.timer = timers.Create(1000, [this] { OnMonitorTick(state, fe, monitor); });
        DetermineStartupFolders(state.services.platform, state.paths);
        std::filesystem::create_directories(state.paths.userStartupFolder);
        outside->registry().SetValue(RootKey::LocalMachine, kRunKey, {"Resident", ValueType::String, "/opt/res"});
        ScanPlaces(state);
        monitor.timer->Start();
        Tick();  // the first look only takes the snapshot
    }

    void Tick() { timers.Advance(1000); }
    // The other program works on its own view of the machine, as another process would.
    void Add(const std::string& name) {
        outside->registry().SetValue(RootKey::CurrentUser, kRunKey, {name, ValueType::String, "/opt/" + name});
    }
    void Remove(const std::string& name) { outside->registry().DeleteValue(RootKey::CurrentUser, kRunKey, name); }
    void AddShortcut(const std::string& name) {
        platform::ShortcutInfo link;
        link.target = "/opt/" + name;
        outside->shell().WriteShortcut(AddBackslash(state.paths.userStartupFolder) + name + ".lnk", link);
    }
    std::string Prompt(const std::string& lines) { return "The following programs\r\n" + lines + kPromptTail; }

    test::TestMachine machine;
    std::unique_ptr<platform::Platform> outside;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
    MonitorState monitor;
};

TEST_F(MonitorWatchTest, SeesEveryChangeAnOutsideProgramMakesInQuickSuccession) {
    // One entry after another, each within its own second: a prompt each time.
    for (int i = 1; i <= 20; ++i) {
        fe.monitorAnswers = {{true, false}};
        Add("app" + std::to_string(i));
        if (i % 5 == 0) AddShortcut("link" + std::to_string(i));
        Tick();
        const std::string link = i % 5 == 0 ? "/opt/link" + std::to_string(i) + "\r\n" : "";
        ASSERT_EQ(fe.monitorPrompts.size(), static_cast<size_t>(i));
        EXPECT_EQ(fe.monitorPrompts.back(), Prompt(link + "/opt/app" + std::to_string(i) + "\r\n"));
        Tick();  // nothing new
        ASSERT_EQ(fe.monitorPrompts.size(), static_cast<size_t>(i));
    }
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 20);

    // Added and taken out again before the next tick: nothing to ask.
    Add("flash");
    Remove("flash");
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 20u);

    // One out and one in within the same second keeps the count, so it is not reported; but
    // the look must have taken the newcomer in, or the next newcomer would bring it along.
    Remove("app3");
    Add("swapped");
    Tick();
    Tick();
    EXPECT_EQ(fe.monitorPrompts.size(), 20u);
    fe.monitorAnswers = {{false, false}};
    Add("late");
    Tick();
    ASSERT_EQ(fe.monitorPrompts.size(), 21u);
    EXPECT_EQ(fe.monitorPrompts.back(), Prompt("/opt/late\r\n"));
    EXPECT_FALSE(outside->registry().QueryValue(RootKey::CurrentUser, kRunKey, "late").has_value());

    // An entry taken out by the other program refreshes its table at the next tick.
    outside->registry().DeleteValue(RootKey::LocalMachine, kRunKey, "Resident");
    Tick();
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Count(), 0);
    EXPECT_EQ(fe.monitorPrompts.size(), 21u);
}

TEST_F(MonitorWatchTest, ATickWithNothingChangedDoesNotReadThePlaces) {
    ASSERT_NE(monitor.watch, nullptr);
    // A place the monitor reads through every tick would show a value written behind its
    // back only if it looked; the watch must tell it that nobody touched the places.
    Tick();
    EXPECT_FALSE(monitor.watch->MayHaveChanged());
    Add("seen");
    EXPECT_TRUE(monitor.watch->MayHaveChanged());
    EXPECT_FALSE(monitor.watch->MayHaveChanged());
}

TEST(PlaceWatch, AFolderThatAppearsLaterAndEntriesInItAreChangesOthersAreNot) {
    test::TestMachine machine;
    const std::string folder = machine.folder.Path() + "later/Startup";
    auto watch = machine.platform->WatchPlaces({folder}, {{RootKey::CurrentUser, std::string(kRunKey)}});
    ASSERT_NE(watch, nullptr);
    EXPECT_FALSE(watch->MayHaveChanged());
    // Files beside the registry's own files are nobody's start-up entries.
    test::WriteText(machine.machineRoot + "/notes.txt", "unrelated");
    EXPECT_FALSE(watch->MayHaveChanged());

    std::filesystem::create_directories(folder);
    EXPECT_TRUE(watch->MayHaveChanged());
    EXPECT_FALSE(watch->MayHaveChanged());
    test::WriteText(folder + "/App.lnk", "x");
    EXPECT_TRUE(watch->MayHaveChanged());
    std::filesystem::rename(folder + "/App.lnk", folder + "/Other.lnk");
    EXPECT_TRUE(watch->MayHaveChanged());
    std::filesystem::remove_all(machine.folder.Path() + "later");
    EXPECT_TRUE(watch->MayHaveChanged());
    EXPECT_FALSE(watch->MayHaveChanged());

    machine.platform->registry().SetValue(RootKey::CurrentUser, kRunKey, {"New", ValueType::String, "/opt/new"});
    EXPECT_TRUE(watch->MayHaveChanged());
    EXPECT_FALSE(watch->MayHaveChanged());
}

}  // namespace
}  // namespace kestrune
