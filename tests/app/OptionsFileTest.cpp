// settings.ini as the program reads it at start-up and writes it at shut-down.

#include <gtest/gtest.h>

#include "app/OptionsFile.h"
#include "support/CountingFiles.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using test::ReadText;
using test::WriteText;

class OptionsFileTest : public ::testing::Test {
protected:
    OptionsFileTest() : state(*machine.platform, clock) { state.InProgramFolder(machine.appFolder).WithIni(); }
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::TestState state;
};

TEST_F(OptionsFileTest, WritesEveryKeyInItsFixedOrder) {
    state.options.monitor = true;
    state.options.idleThreshold = 35;
    state.options.idleSeconds = 7;
    state.paths.profile = "Work";
    state.view.position = {2, 100, 200, 9000, 6000, 3};
    WriteOptions(state);
    EXPECT_EQ(ReadText(state.paths.iniPath),
              "[Options]\r\n"
              "Skip save on exit=0\r\n"
              "Run on startup=0\r\n"
              "Monitor=1\r\n"
              "Send to tray on close=0\r\n"
              "Exit after delayed run=0\r\n"
              "Ignore self-made changes=0\r\n"
              "Idle threshold=35\r\n"
              "Idle seconds=7\r\n"
              "Profile=Work\r\n"
              "Choose profile on startup=0\r\n"
              "Skip running=0\r\n"
              "Watch priorities=0\r\n"
              "Disable the Windows way=0\r\n"
              "[Position]\r\n"
              "Window state=2\r\n"
              "Top=100\r\n"
              "Left=200\r\n"
              "Width=9000\r\n"
              "Height=6000\r\n"
              "Last tab=3\r\n");
}

TEST_F(OptionsFileTest, ShutDownRewritesTheFileOnceForAllEighteenKeys) {
    WriteText(state.paths.iniPath, "[Options]\r\nMonitor=0\r\n");
    test::CountingPlatform counting(*machine.platform);
    test::TestState counted(counting, clock);
    counted.InProgramFolder(machine.appFolder).WithIni();
    counted.options.monitor = true;
    WriteOptions(counted);
    EXPECT_EQ(counting.counter.writes[state.paths.iniPath], 1);
    // The key already there keeps its place; the others follow in their fixed order.
    const std::string text = ReadText(state.paths.iniPath);
    EXPECT_EQ(text.find("[Options]\r\nMonitor=1\r\nSkip save on exit=0\r\n"), 0u) << text;
    // Without a window's bounds the position keys are left as they were (here: absent).
    EXPECT_NE(text.find("Watch priorities=0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("[Position]"), std::string::npos) << text;

    // A shut-down that changed nothing leaves the file as it is.
    WriteOptions(counted);
    EXPECT_EQ(counting.counter.writes[state.paths.iniPath], 1);
    counted.options.monitor = false;
    WriteOptions(counted);
    EXPECT_EQ(counting.counter.writes[state.paths.iniPath], 2);
}

TEST_F(OptionsFileTest, RoundTripsAndKeepsForeignSectionsAndKeys) {
    WriteText(state.paths.iniPath, "[Mine]\r\nColour=blue\r\n[Options]\r\nMonitor=0\r\nExtra=keep me\r\n");
    state.options.monitor = true;
    state.options.watchPriorities = true;
    state.paths.profile = "Home";
    WriteOptions(state);

    const std::string text = ReadText(state.paths.iniPath);
    EXPECT_NE(text.find("[Mine]\r\nColour=blue\r\n"), std::string::npos);
    EXPECT_NE(text.find("Extra=keep me"), std::string::npos);

    test::TestState again(*machine.platform, clock);
    again.InProgramFolder(machine.appFolder).WithIni();
    ReadOptions(again);
    EXPECT_TRUE(again.options.monitor);
    EXPECT_TRUE(again.options.watchPriorities);
    EXPECT_FALSE(again.options.skipSave);
    EXPECT_EQ(again.paths.profile, "Home");
}

// Reading takes the blanks and one pair of quotes off a value; a profile name that has them
// must still name the same document after a restart.
TEST_F(OptionsFileTest, AProfileWithBlanksOrQuotesAroundItReadsBackAsWritten) {
    for (const char* profile : {" Work", "Home ", "\"Play\"", "\"", "\"Half"}) {
        state.paths.profile = profile;
        WriteOptions(state);
        test::TestState again(*machine.platform, clock);
        again.InProgramFolder(machine.appFolder).WithIni();
        ReadOptions(again);
        EXPECT_EQ(again.paths.profile, profile);
    }
}

TEST_F(OptionsFileTest, OnlyTheTextOneSetsAFlag) {
    WriteText(state.paths.iniPath,
              "[options]\r\nmonitor=true\r\nSkip Save On Exit=yes\r\nRun on startup = 1 \r\nSkip running=01\r\n");
    ReadOptions(state);
    EXPECT_FALSE(state.options.monitor);
    EXPECT_FALSE(state.options.skipSave);
    EXPECT_TRUE(state.options.runOnStartup);  // keys and sections ignore case; blanks around "=" go
    EXPECT_FALSE(state.options.skipRunning);
}

TEST_F(OptionsFileTest, IdleSettingsFallBackToTwentyAndFive) {
    struct Case {
        const char* file;
        int threshold, seconds;
    } cases[] = {
        {"[Options]\r\n", 20, 5},
        {"[Options]\r\nIdle threshold=0\r\nIdle seconds=0\r\n", 20, 5},
        {"[Options]\r\nIdle threshold=30\r\nIdle seconds=12\r\n", 30, 12},
        {"[Options]\r\nIdle threshold=12.5\r\nIdle seconds=2.5\r\n", 12, 2},  // halves to even
        {"[Options]\r\nIdle threshold=99999\r\n", 20, 5},                     // beyond 16 bits
    };
    for (const Case& c : cases) {
        test::TestState s(*machine.platform, clock);
        s.InProgramFolder(machine.appFolder).WithIni();
        WriteText(s.paths.iniPath, c.file);
        ReadOptions(s);
        ApplyIdleDefaults(s.options);
        EXPECT_EQ(s.options.idleThreshold, c.threshold) << c.file;
        EXPECT_EQ(s.options.idleSeconds, c.seconds) << c.file;
    }
}

TEST_F(OptionsFileTest, PositionIsIgnoredWithoutWindowState) {
    WriteText(state.paths.iniPath, "[Position]\r\nTop=10\r\nLeft=20\r\nLast tab=4\r\n");
    ReadOptions(state);
    EXPECT_FALSE(state.view.positionRead);
    EXPECT_EQ(state.view.position.top, 0);
    EXPECT_EQ(state.view.position.lastTab, 0);

    WriteText(state.paths.iniPath, "[Position]\r\nWindow state=0\r\nTop=10\r\nLeft=20\r\nLast tab=4\r\n");
    ReadOptions(state);
    EXPECT_TRUE(state.view.positionRead);
    EXPECT_EQ(state.view.position.top, 10);
    EXPECT_EQ(state.view.position.left, 20);
    EXPECT_EQ(state.view.position.lastTab, 4);
}

TEST_F(OptionsFileTest, MissingFileLeavesEverythingClear) {
    ReadOptions(state);
    EXPECT_FALSE(state.options.monitor);
    EXPECT_EQ(state.paths.profile, "");
    EXPECT_FALSE(state.view.positionRead);
}

TEST(PrivateProfileTest, ValueExistsRemembersSectionAndFile) {
    test::TestMachine machine;
    const std::string file = machine.appFolder + "x.ini";
    WriteText(file, "[Position]\r\nWindow state=1\r\n[Other]\r\nEmpty=\r\n");
    PrivateProfile ini(machine.platform->files());
    EXPECT_FALSE(ini.ValueExists("Position", "", ""));  // only remembers
    EXPECT_TRUE(ini.ValueExists("", "Window state", file));
    EXPECT_FALSE(ini.ValueExists("Other", "Empty", ""));    // present but empty
    EXPECT_FALSE(ini.ValueExists("", "Window state", ""));  // the section remembered last is "Other" now
}

TEST(PrivateProfileTest, EveryKindOfLineEndEndsALine) {
    test::TestMachine machine;
    const std::string file = machine.appFolder + "x.ini";
    WriteText(file, "[Options]\rProfile=Work\r\rMonitor=1\nIdle seconds=7\r\n");
    PrivateProfile ini(machine.platform->files());
    EXPECT_EQ(ini.ReadValue("Options", "Profile", file), "Work");
    EXPECT_EQ(ini.ReadValue("Options", "Monitor", file), "1");
    EXPECT_EQ(ini.ReadValue("Options", "Idle seconds", file), "7");
}

TEST(PrivateProfileTest, AValueWithALineBreakIsRefusedRatherThanMadeIntoKeys) {
    test::TestMachine machine;
    const std::string file = machine.appFolder + "x.ini";
    PrivateProfile ini(machine.platform->files());
    ASSERT_TRUE(ini.WriteValue("Options", "Monitor", "0", file));
    EXPECT_FALSE(ini.WriteValue("Options", "Profile", "Work\r\nMonitor=1", file));
    EXPECT_FALSE(ini.WriteValue("Options", "Profile", "Work\nMonitor=1", file));
    EXPECT_EQ(ini.ReadValue("Options", "Monitor", file), "0");
    EXPECT_EQ(ReadText(file), "[Options]\r\nMonitor=0\r\n");
}

TEST(PrivateProfileTest, ValuesAreCutTo254Characters) {
    test::TestMachine machine;
    const std::string file = machine.appFolder + "x.ini";
    PrivateProfile ini(machine.platform->files());
    ini.WriteValue("Options", "Profile", std::string(300, 'p'), file);
    EXPECT_EQ(ini.ReadValue("Options", "Profile", file), std::string(254, 'p'));
    EXPECT_EQ(ini.ReadValue("Options", "Missing", file), "");
    EXPECT_EQ(ini.ReadValue("Options", "Profile", machine.appFolder + "none.ini"), "");
}

}  // namespace
}  // namespace kestrune
