// Scenarios about entries that must come back exactly as they went, and must never be written
// over another: other programs (the machine tool) register entries of the same names, and
// kestrunec disables, enables, deletes, moves back and renames them.

#include <gtest/gtest.h>

#include <string>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;

class ExactEntriesScenarioTest : public MachineScenario {
protected:
    void SetUp() override {
        MachineScenario::SetUp();
        if (!IsSkipped()) InitMachine();
    }

    std::string Link(const std::string& name) const {
        return Machine({"lnk", "show", userFolder + "/" + name + ".lnk", "--all"}).out;
    }
};

TEST_F(ExactEntriesScenarioTest, AnEntryOfTheSameNameIsNeverWrittenOver) {
    RegSet(kHkcuRun, "Updater", "/usr/bin/old-updater");
    Run({"disable", "4", "Updater"}, 0);
    // Another program registers its Updater again; the table shows the live one and the stored one.
    RegSet(kHkcuRun, "Updater", "/usr/bin/new-updater");
    const std::string said = Run({"enable", "4", "--row", "2"}, 1);
    EXPECT_NE(said.find("Updater already starts from HKCU Run; rename one of them first."), std::string::npos) << said;
    EXPECT_NE(RegList(kHkcuRun).find("/usr/bin/new-updater"), std::string::npos) << RegList(kHkcuRun);
    EXPECT_EQ(RegList(kHkcuRun).find("/usr/bin/old-updater"), std::string::npos);

    // Moving the live one onto an HKLM value of that name is refused and moves nothing.
    RegSet(kHklmRun, "Updater", "/usr/bin/machine-updater");
    Run({"move", "4", "--row", "1", "--to", "3"}, 1);
    EXPECT_NE(RegList(kHklmRun).find("/usr/bin/machine-updater"), std::string::npos) << RegList(kHklmRun);
    EXPECT_NE(RegList(kHkcuRun).find("/usr/bin/new-updater"), std::string::npos) << RegList(kHkcuRun);

    // A Startup shortcut the same way, whatever the letter case of the other file.
    ASSERT_EQ(Machine({"lnk", "create", userFolder + "/Notes.lnk", "--target", "/usr/bin/old-notes"}).status, 0);
    Run({"disable", "1", "Notes"}, 0);
    ASSERT_EQ(Machine({"lnk", "create", userFolder + "/Notes.lnk", "--target", "/usr/bin/new-notes"}).status, 0);
    Run({"enable", "1", "--row", "2"}, 1);
    EXPECT_EQ(Link("Notes").substr(0, Link("Notes").find('\n')), "/usr/bin/new-notes");
}

TEST_F(ExactEntriesScenarioTest, DeletedEntriesGoBackWhereTheyCameFromAsTheyWere) {
    ASSERT_EQ(Machine({"lnk", "create", userFolder + "/Sleeper.lnk", "--target", "/usr/bin/sleep", "--args", "300",
                       "--dir", "/tmp", "--show", "7", "--comment", "Naps"})
                  .status,
              0);
    const std::string before = Link("Sleeper");
    Run({"add", "Delayed", "--name", "Idle", "--path", "/usr/bin/true", "--delay", "-10", "--priority", "Low"}, 0);
    Run({"enable", "Delayed", "Idle"}, 0);

    Run({"delete", "1", "Sleeper"}, 0);
    Run({"delete", "Delayed", "Idle"}, 0);
    const std::string deleted = Run({"list", "Deleted", "--format", "csv"}, 0);
    EXPECT_NE(deleted.find("Name,Path,From"), std::string::npos) << deleted;
    EXPECT_NE(deleted.find("Sleeper,/usr/bin/sleep,User"), std::string::npos) << deleted;
    EXPECT_NE(deleted.find("Idle,/usr/bin/true,Delayed"), std::string::npos) << deleted;

    // Without --to each goes back to its own table, with the tick it had.
    Run({"move", "Deleted", "Sleeper"}, 0);
    Run({"move", "Deleted", "Idle"}, 0);
    EXPECT_EQ(Link("Sleeper"), before);
    const std::string user = Run({"list", "1", "--format", "csv"}, 0);
    EXPECT_NE(user.find("1,1,1,Sleeper,/usr/bin/sleep,300"), std::string::npos) << user;
    const std::string delayed = Run({"list", "Delayed", "--format", "csv"}, 0);
    EXPECT_NE(delayed.find("6,1,1,Idle,/usr/bin/true,-10,,Low"), std::string::npos) << delayed;
    EXPECT_EQ(Run({"list", "Deleted", "--format", "csv"}, 0).find("Sleeper"), std::string::npos);

    // A row of another table has nowhere to go back to.
    Run({"move", "4", "Anything"}, 2);
}

TEST_F(ExactEntriesScenarioTest, DisablingAndEnablingPutsBackWhatThePlaceHeld) {
    RegSet(kHkcuRun, "App", "\"%ProgramFiles%\\App\\app.exe\" -nohome", "REG_EXPAND_SZ");
    const std::string listed = RegList(kHkcuRun);
    Run({"disable", "4", "App"}, 0);
    EXPECT_EQ(RegList(kHkcuRun).find("App"), std::string::npos);
    Run({"enable", "4", "App"}, 0);
    EXPECT_EQ(RegList(kHkcuRun), listed);
    // An edit of its path keeps the type.
    Run({"edit", "4", "App", "--path", "\"%ProgramFiles%\\App\\app2.exe\""}, 0);
    EXPECT_NE(RegList(kHkcuRun).find("App\tREG_EXPAND_SZ\t\"%ProgramFiles%\\App\\app2.exe\""), std::string::npos)
        << RegList(kHkcuRun);

    ASSERT_EQ(Machine({"lnk", "create", userFolder + "/Clock.lnk", "--target", "/usr/bin/watch", "--args", "-n 60 date",
                       "--dir", "/var/tmp", "--icon", "/usr/bin/top", "--icon-index", "2", "--show", "7", "--comment",
                       "Shows the time", "--hotkey", "0x654"})
                  .status,
              0);
    const std::string link = Link("Clock");
    Run({"disable", "1", "Clock"}, 0);
    Run({"enable", "1", "Clock"}, 0);
    EXPECT_EQ(Link("Clock"), link);
}

TEST_F(ExactEntriesScenarioTest, RenamesHappenInThePlaceOrAreRefused) {
    RegSet(kHkcuRun, "SessionTimer", "/usr/bin/sleep 600");
    RegSet(kHkcuRun, "Other", "/usr/bin/other");
    Run({"edit", "4", "SessionTimer", "--name", "Timer2"}, 0);
    EXPECT_EQ(RegList(kHkcuRun).find("SessionTimer"), std::string::npos) << RegList(kHkcuRun);
    EXPECT_NE(RegList(kHkcuRun).find("Timer2\tREG_SZ\t/usr/bin/sleep 600"), std::string::npos) << RegList(kHkcuRun);

    const std::string said = Run({"edit", "4", "Timer2", "--name", "Other"}, 1);
    EXPECT_NE(said.find("Other already starts from HKCU Run; rename one of them first."), std::string::npos) << said;
    EXPECT_NE(RegList(kHkcuRun).find("Timer2"), std::string::npos);
    EXPECT_NE(RegList(kHkcuRun).find("Other\tREG_SZ\t/usr/bin/other"), std::string::npos);
    EXPECT_EQ(Run({"list", "4", "--format", "csv"}, 0).find(",Other,/usr/bin/sleep"), std::string::npos);

    // A place that refuses the change: the row keeps its name.
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);
    Run({"edit", "4", "Timer2", "--name", "Timer3"}, 1);
    ASSERT_EQ(Machine({"allow", kHkcuRun}).status, 0);
    EXPECT_NE(RegList(kHkcuRun).find("Timer2"), std::string::npos);
    EXPECT_EQ(RegList(kHkcuRun).find("Timer3"), std::string::npos);

    ASSERT_EQ(
        Machine({"lnk", "create", userFolder + "/Notes.lnk", "--target", "/usr/bin/env", "--comment", "N"}).status, 0);
    const std::string link = Link("Notes");
    Run({"edit", "1", "Notes", "--name", "Jottings"}, 0);
    EXPECT_EQ(Link("Jottings"), link);
    EXPECT_EQ(Machine({"lnk", "show", userFolder + "/Notes.lnk"}).status, 1);
}

}  // namespace
}  // namespace kestrune::cli
