#include "procs/ProcessActions.h"

#include "ProcsFixture.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"

namespace kestrune::test {
namespace {

class ProcessActionsTest : public ProcsFixture {
protected:
    ProcessActionsTest() { ShowProcessTab(); }
    void Select(std::vector<int> rows) { fe.selection[Number(TableKind::Process)] = std::move(rows); }
    // The window's "Set Priority" and "End Process" on the selected rows of the Process table.
    void SetPriority(std::uint32_t priorityClass) {
        fe.ShowOutcome(SetPriorityOfRows(state, fe.selection[Number(TableKind::Process)], priorityClass, Status()));
    }
    void EndProcesses() {
        fe.ShowOutcome(EndProcessesOfRows(state, fe, fe.selection[Number(TableKind::Process)], Status()));
    }
    ProgressLine Status() {
        return [this](const std::string& text) { fe.SetStatus(text); };
    }
    // What the window does when it shows the current tab's status line, and on a visit of the
    // Process tab, which lists the running processes afresh first.
    void ShowStatus(bool refreshed = false) {
        fe.SetStatus(TableStatusText(state.model.tables, state.CurrentKind(), refreshed));
        state.priorityWatcher.Follow(state.options.watchPriorities, processTable());
    }
    void VisitProcessTab() {
        RefillProcessTable(state, Status());
        ShowStatus(true);
    }
};

TEST_F(ProcessActionsTest, SetPriorityOnAProgramThatDoesNotRunOnlyChangesTheRow) {
    AddStoredRow("a.exe", "/a.exe", "High");
    processTable().Add({"gone.exe", "/gone.exe", "Normal", "4242"});  // handle from an old listing
    Select({1, 2});

    SetPriority(0x4000);

    EXPECT_EQ(processTable().Text(1, col::ProcessPriority), "Below Normal");
    EXPECT_EQ(processTable().Text(2, col::ProcessPriority), "Below Normal");
    EXPECT_TRUE(processes.setById.empty());
    EXPECT_TRUE(processes.setByName.empty());
    EXPECT_TRUE(state.model.settingsChanged);  // the stored row changed
    EXPECT_EQ(fe.LastStatus(), "2 processes, 1 stored item(s)");
    EXPECT_FALSE(state.model.events.Busy().controls);
}

TEST_F(ProcessActionsTest, SetPriorityOnARunningProcessShowsWhatItTookAfterTheRefill) {
    processes.Add(31, "app.exe", 8, "/opt/app.exe");
    FillProcessTable(state, false, false);
    Select({1});

    SetPriority(0x80);

    EXPECT_EQ(processes.setById, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{31, 0x80}}));
    EXPECT_FALSE(state.model.processRefreshNeeded);
    EXPECT_EQ(processTable().Text(1, col::ProcessPriority), "High");
    EXPECT_EQ(fe.statuses[fe.statuses.size() - 2], "Refreshing...");
    EXPECT_EQ(fe.LastStatus(), "1 processes, 0 stored item(s) - refreshed");
}

TEST_F(ProcessActionsTest, EndProcessWithoutHandleNamesTheProgramAndAsksNothing) {
    AddStoredRow("notes.exe", "/notes.exe", "High");
    Select({1});
    EndProcesses();
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text, "notes.exe is not running.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(fe.questions.empty());
}

TEST_F(ProcessActionsTest, EndProcessRunsFromTheBottomRowUpWithOneQuestionEach) {
    processes.Add(11, "a.exe", 8, "/a.exe");
    processes.Add(12, "b.exe", 8, "/b.exe");
    processes.Add(13, "c.exe", 8, "/c.exe");
    FillProcessTable(state, false, false);
    Select({1, 2, 3});
    fe.yesNoAnswers = {true, false, true};

    EndProcesses();

    // Each question names its process below the question itself.
    EXPECT_EQ(fe.questions,
              (std::vector<std::string>{"Are you sure you wish to terminate this process?\r\nc.exe (pid 13)",
                                        "Are you sure you wish to terminate this process?\r\nb.exe (pid 12)",
                                        "Are you sure you wish to terminate this process?\r\na.exe (pid 11)"}));
    EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{13, 11}));
    // The refill after the action clears the handles of the ended ones.
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    EXPECT_EQ(processTable().Text(2, col::Handle), "12");
    EXPECT_EQ(processTable().Text(3, col::Handle), "");
    EXPECT_EQ(fe.LastStatus(), "3 processes, 0 stored item(s) - refreshed");
}

// An ended process may still be listed for a moment, without its path (as a Linux process is
// until its parent collects it); the refill must not give it a second row.
TEST_F(ProcessActionsTest, AnEndedProcessStillListedGetsNoSecondRow) {
    processes.endedStayListed = true;
    processes.Add(11, "a.exe", 8, "/a.exe");
    FillProcessTable(state, false, false);
    Select({1});
    fe.yesNoAnswers = {true};
    EndProcesses();
    ASSERT_EQ(processes.terminated, (std::vector<std::uint32_t>{11}));
    FillProcessTable(state, false, true);
    ASSERT_EQ(processTable().Count(), 1);
    EXPECT_EQ(processTable().Text(1, col::Path), "/a.exe");
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    // Gone from the list, the identifier may name a new process again.
    processes.running.clear();
    FillProcessTable(state, false, true);
    processes.Add(11, "b.exe", 8, "/b.exe");
    FillProcessTable(state, false, true);
    ASSERT_EQ(processTable().Count(), 2);
    EXPECT_EQ(processTable().Text(2, col::Handle), "11");
}

TEST_F(ProcessActionsTest, AProcessThatCannotBeEndedLosesItsHandleWithoutAMessage) {
    processes.Add(11, "a.exe", 8, "/a.exe");
    FillProcessTable(state, false, false);
    processes.refuseTermination = true;
    Select({1});
    fe.yesNoAnswers = {true};

    EndProcesses();

    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    EXPECT_TRUE(fe.messages.empty());
    EXPECT_EQ(fe.LastStatus(), "1 processes, 0 stored item(s)");
}

TEST_F(ProcessActionsTest, AnIdentifierNowUsedByAnotherProgramIsNotEnded) {
    processes.Add(11, "a.exe", 8, "/a.exe");
    FillProcessTable(state, false, false);
    processes.running[0] = {11, "precious.exe", 8, "/precious.exe"};
    Select({1});
    fe.yesNoAnswers = {true};

    EndProcesses();

    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(processes.running.size(), 1u);
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
}

TEST_F(ProcessActionsTest, ActionsOnlyTouchTheProcessTable) {
    state.view.currentTab = Number(TableKind::HKCU_Run) + 1;
    state.model.tables[TableKind::HKCU_Run].Add({"run", "/x.exe"}, true);
    fe.selection[Number(TableKind::HKCU_Run)] = {1};
    SetPriority(0x80);
    EndProcesses();
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Row(1).texts, (std::vector<std::string>{"run", "/x.exe"}));
    EXPECT_TRUE(fe.messages.empty());
}

TEST_F(ProcessActionsTest, WatcherOptionSwitchesTheTimerAndTheTabVisitSwitchesItBack) {
    ToggleWatchPriorities(state.options, state.priorityWatcher);
    EXPECT_TRUE(state.options.watchPriorities);
    EXPECT_TRUE(state.priorityWatcher.Running());

    // No stored row: the next visit of the Process tab turns the watcher off again.
    VisitProcessTab();
    EXPECT_FALSE(state.priorityWatcher.Running());
    EXPECT_EQ(fe.LastStatus(), "0 processes, 0 stored item(s) - refreshed");

    AddStoredRow("a.exe", "/a.exe", "High");
    ShowStatus();
    EXPECT_TRUE(state.priorityWatcher.Running());
    timers.Advance(5000);
    EXPECT_EQ(watcherTicks, 1);
    // Showing the status again must not push the next tick back.
    timers.Advance(4000);
    ShowStatus();
    timers.Advance(1000);
    EXPECT_EQ(watcherTicks, 2);

    ToggleWatchPriorities(state.options, state.priorityWatcher);
    EXPECT_FALSE(state.priorityWatcher.Running());
    ShowStatus();
    EXPECT_FALSE(state.priorityWatcher.Running());
}

// Counts from before the refill would disagree with the rows the tab then shows.
TEST_F(ProcessActionsTest, StatusCountsAreTakenAfterTheRefill) {
    processes.Add(1, "a.exe", 8, "/a.exe");
    processes.Add(2, "b.exe", 8, "/b.exe");
    VisitProcessTab();
    EXPECT_EQ(fe.LastStatus(), "2 processes, 0 stored item(s) - refreshed");
    processes.Add(3, "c.exe", 8, "/c.exe");
    VisitProcessTab();
    EXPECT_EQ(fe.LastStatus(), "3 processes, 0 stored item(s) - refreshed");
    EXPECT_EQ(processTable().Count(), 3);
    ShowStatus();
    EXPECT_EQ(fe.LastStatus(), "3 processes, 0 stored item(s)");
}

TEST_F(ProcessActionsTest, StatusOfTheOtherTabs) {
    state.view.currentTab = 0;
    ShowStatus();
    EXPECT_EQ(fe.LastStatus(), "Kestrune from kestrune.org");

    state.view.currentTab = Number(TableKind::Deleted) + 1;
    state.model.tables[TableKind::Deleted].Add({"x", "y"}, true);
    ShowStatus();
    EXPECT_EQ(fe.LastStatus(), "1 item(s)");

    state.view.currentTab = Number(TableKind::Delayed) + 1;
    state.model.tables[TableKind::Delayed].Add({"x"}, true);
    state.model.tables[TableKind::Delayed].Add({"y"}, false);
    state.model.tables[TableKind::Delayed].Add({"z"}, true);
    ShowStatus();
    EXPECT_EQ(fe.LastStatus(), "3 item(s) : 2 enabled, 1 disabled.");
}

}  // namespace
}  // namespace kestrune::test
