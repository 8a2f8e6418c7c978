// The main window's rules: status lines per tab, context menus per table, the
// container folder, and the commands that route through them.

#include <gtest/gtest.h>

#include "session/Application.h"
#include "session/MainWindowRules.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

struct Session {
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app{*machine.platform, fe, clock, timers};
    MainState& s = app.state();
};

TEST(MainWindowRules, ATabClickShowsItsTablesStatus) {
    Session t;
    auto& run = t.s.model.tables[TableKind::HKCU_Run];
    run.Add({"a", "a.exe"}, true);
    run.Add({"b", "b.exe"}, false);
    run.Add({"c", "c.exe"}, true);
    t.s.model.tables[TableKind::Deleted].Add({"x", "x.exe"}, true);

    const std::pair<int, std::string> cases[] = {
        {1, "Kestrune from kestrune.org"},
        {5, "3 item(s) : 2 enabled, 1 disabled."},
        {2, "0 item(s) : 0 enabled, 0 disabled."},
        {8, "1 item(s)"},
    };
    for (const auto& [tab, status] : cases) {
        t.app.SelectTab(tab);
        EXPECT_EQ(t.fe.LastStatus(), status) << tab;
        EXPECT_EQ(t.s.view.currentTab, tab);
        EXPECT_EQ(t.s.view.position.lastTab, tab - 1);
    }
}

TEST(MainWindowRules, EveryVisitOfTheProcessTabRefillsIt) {
    Session t;
    t.app.SelectTab(10);
    ASSERT_GE(t.fe.statuses.size(), 2u);
    EXPECT_EQ(t.fe.statuses[t.fe.statuses.size() - 2], "Refreshing...");
    EXPECT_TRUE(t.fe.LastStatus().ends_with(" stored item(s) - refreshed")) << t.fe.LastStatus();
    EXPECT_FALSE(t.s.model.processRefreshNeeded);
    EXPECT_GT(t.s.model.tables[TableKind::Process].Count(), 0);  // this test runs as a process itself
    t.app.SelectTab(3);
    t.app.SelectTab(10);
    EXPECT_TRUE(t.fe.LastStatus().ends_with(" - refreshed"));
    EXPECT_EQ(t.s.view.position.lastTab, 9);
}

TEST(MainWindowRules, TickingARowMarksSettingsChangedAndUpdatesTheStatus) {
    Session t;
    t.s.model.tables[TableKind::Delayed].Add({"a", "a.exe", "5", "", ""}, true);
    t.app.SelectTab(7);
    t.app.OnRowTickChanged(TableKind::Delayed, 1, false);
    EXPECT_TRUE(t.s.model.settingsChanged);
    EXPECT_FALSE(t.s.model.tables[TableKind::Delayed].Ticked(1));
    EXPECT_EQ(t.fe.LastStatus(), "1 item(s) : 0 enabled, 1 disabled.");
}

// A process action's status line counts the table as the action left it, and a view catching
// up with the rows it changed finds the line up to date: it does not put it up again.
TEST(MainWindowRules, AProcessActionLeavesTheStatusLineUpToDate) {
    Session t;
    t.app.SelectTab(10);
    Table& processes = t.s.model.tables[TableKind::Process];
    const int row = processes.Add({"gone.exe", "/nowhere/gone.exe", "Normal", ""});
    t.app.SetPriorityOfSelected(TableKind::Process, {row}, 0x40);
    EXPECT_EQ(processes.Text(row, col::ProcessPriority), "Low");
    EXPECT_EQ(t.fe.LastStatus(), std::to_string(processes.Count()) + " processes, 0 stored item(s)");
    const size_t shown = t.fe.statuses.size();
    t.app.UpdateTableStatus();
    EXPECT_EQ(t.fe.statuses.size(), shown);
}

// Set Priority and End Process act on the rows of the Process table only: rows of another
// table handed to them are left alone, whatever their position.
TEST(MainWindowRules, ProcessActionsLeaveTheRowsOfAnotherTableAlone) {
    Session t;
    Table& run = t.s.model.tables[TableKind::HKCU_Run];
    const int row = run.Add({"run", "/x.exe"}, true);
    Table& processes = t.s.model.tables[TableKind::Process];
    processes.Add({"gone.exe", "/nowhere/gone.exe", "Normal", ""});
    t.app.SelectTab(Number(TableKind::HKCU_Run) + 1);
    const std::vector<std::string> process = processes.Row(row).texts;
    t.app.SetPriorityOfSelected(TableKind::HKCU_Run, {row}, 0x80);
    t.app.EndSelectedProcesses(TableKind::HKCU_Run, {row});
    EXPECT_EQ(run.Row(row).texts, (std::vector<std::string>{"run", "/x.exe"}));
    EXPECT_EQ(processes.Row(row).texts, process);
    EXPECT_EQ(processes.Count(), 1);
    EXPECT_TRUE(t.fe.messages.empty());
}

// A Process row's tick changes no place, but the priority watcher follows the stored rows.
TEST(MainWindowRules, ProcessTicksSwitchThePriorityWatcher) {
    Session t;
    Table& processes = t.s.model.tables[TableKind::Process];
    processes.Add({"a.exe", "/a", "High", "1"}, false);
    processes.Add({"b.exe", "/b", "Low", "2"}, false);
    const PriorityWatcher& watcher = t.app.priorityWatcher();
    t.app.OnRowTickChanged(TableKind::Process, 1, true);
    EXPECT_FALSE(watcher.Running());  // "Watch priorities" is off
    t.s.options.watchPriorities = true;
    t.app.OnRowTickChanged(TableKind::Process, 2, true);
    EXPECT_TRUE(watcher.Running());
    t.app.OnRowTickChanged(TableKind::Process, 1, false);
    EXPECT_TRUE(watcher.Running());  // one row is still ticked
    t.app.OnRowTickChanged(TableKind::Process, 2, false);
    EXPECT_FALSE(watcher.Running());
}

struct MenuCase {
    TableKind kind;
    bool deleteVisible, moveVisible, editVisible, recordVisible, priorityVisible, endVisible;
};

TEST(MainWindowRules, ContextMenuEntriesPerTable) {
    const MenuCase cases[] = {
        {TableKind::UserStartup, true, true, true, true, false, false},
        {TableKind::HKCU_Run, true, true, true, true, false, false},
        {TableKind::Delayed, true, true, true, true, false, false},
        {TableKind::Deleted, true, true, true, true, false, false},
        {TableKind::Known, true, false, false, false, false, false},
        {TableKind::Process, false, false, false, false, true, true},
    };
    for (const MenuCase& c : cases) {
        const ContextMenuRules r = ContextMenuFor(c.kind, 1);
        SCOPED_TRACE(std::string(KindName(c.kind)));
        EXPECT_EQ(r.deleteVisible, c.deleteVisible);
        EXPECT_EQ(r.moveVisible, c.moveVisible);
        EXPECT_EQ(r.editVisible, c.editVisible);
        EXPECT_EQ(r.recordVisible, c.recordVisible);
        EXPECT_EQ(r.priorityVisible, c.priorityVisible);
        EXPECT_EQ(r.endProcessVisible, c.endVisible);
        EXPECT_EQ(r.moveBackVisible, c.kind == TableKind::Deleted);
    }
}

TEST(MainWindowRules, SeveralSelectedRowsDisableSingleRowEntriesAndOwnTableIsNoMoveTarget) {
    for (int count : {0, 1, 2, 5}) {
        const ContextMenuRules r = ContextMenuFor(TableKind::HKLM_Run, count);
        const bool single = count <= 1;
        EXPECT_EQ(r.identifyEnabled, single) << count;
        EXPECT_EQ(r.copyEnabled, single) << count;
        EXPECT_EQ(r.editEnabled, single) << count;
        EXPECT_EQ(r.runEnabled, single) << count;
    }
    const ContextMenuRules run = ContextMenuFor(TableKind::HKLM_Run, 1);
    EXPECT_EQ(run.moveEnabled, (std::array<bool, 6>{true, true, false, true, true, true}));
    const ContextMenuRules deleted = ContextMenuFor(TableKind::Deleted, 1);
    EXPECT_EQ(deleted.moveEnabled, (std::array<bool, 6>{true, true, true, true, true, true}));
}

TEST(MainWindowRules, PriorityCheckFollowsTheSelectedRowIgnoringCase) {
    Table table(TableKind::Process);
    table.Add({"a.exe", "a.exe", "above normal", "1"});
    table.Add({"b.exe", "b.exe", "", "2"});
    EXPECT_EQ(CheckedPriorityEntry(table, {1}), 2);
    EXPECT_EQ(CheckedPriorityEntry(table, {2}), std::nullopt);
    EXPECT_EQ(CheckedPriorityEntry(table, {}), std::nullopt);
}

TEST(MainWindowRules, ContainerFolderDropsAFileNameAndItsArguments) {
    Table run(TableKind::HKLM_Run);
    run.Add({"a", "\"C:\\Program Files\\Tool\\tool.exe\" /quiet"});
    run.Add({"b", "C:\\Tools\\Folder"});
    run.Add({"c", ""});
    EXPECT_EQ(ContainerFolderOf(run, 1), "C:\\Program Files\\Tool\\");
    EXPECT_EQ(ContainerFolderOf(run, 2), "C:\\Tools\\Folder");
    EXPECT_EQ(ContainerFolderOf(run, 3), "");
    Table known(TableKind::Known);
    known.Add({"C:\\Apps\\x.exe -y"});
    EXPECT_EQ(ContainerFolderOf(known, 1), "C:\\Apps\\");
}

}  // namespace
}  // namespace kestrune
