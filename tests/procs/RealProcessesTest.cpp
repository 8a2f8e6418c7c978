// The process table against real child processes on this machine's own platform. Each test
// copies a small program under a name of its own, so that setting a priority by name reaches
// only the children it started.

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>

#include "procs/Priority.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

extern char** environ;

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;

class RealProcessesTest : public ::testing::Test {
protected:
    RealProcessesTest() {
        programName = "kchild" + std::to_string(::getpid());
        programPath = machine.folder.Path() + programName;
        fs::copy_file("/bin/sleep", programPath);
        fs::permissions(programPath, fs::perms::owner_all);
        state.LogIn(machine.appFolder).BeginLog("test").WithTimers(timers, {.priority = [this] {
                                                                       OnPriorityTimerTick(state);
                                                                   }});
        state.view.currentTab = Number(TableKind::Process) + 1;
    }

    ~RealProcessesTest() override {
        for (pid_t child : children) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }

    pid_t StartChild() {
        char arg0[] = "sleep";
        char arg1[] = "120";
        char* argv[] = {arg0, arg1, nullptr};
        pid_t child = 0;
        EXPECT_EQ(::posix_spawn(&child, programPath.c_str(), nullptr, nullptr, argv, environ), 0);
        children.push_back(child);
        // The child is listed once it has replaced the spawning copy of this program.
        const bool listsAnything = !state.services.platform.processes().List().empty();
        for (int i = 0; listsAnything && i < 200 && !Listed(child); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return child;
    }

    std::optional<platform::ProcessInfo> Listed(pid_t child) {
        for (auto& p : state.services.platform.processes().List())
            if (p.id == static_cast<std::uint32_t>(child) && p.name.find(programName) != std::string::npos) return p;
        return std::nullopt;
    }

    // Skips the test where this platform does not list the running processes.
    bool PlatformListsChildren(pid_t child) { return Listed(child).has_value(); }

    std::vector<int> RowsOfProgram() {
        std::vector<int> rows;
        Table& table = state.model.tables[TableKind::Process];
        for (int position = 1; position <= table.Count(); ++position)
            if (table.Name(position).find(programName) != std::string::npos) rows.push_back(position);
        return rows;
    }

    std::string RunningPriorityOf(pid_t child) {
        const auto info = Listed(child);
        return info ? PriorityTextFromBase(info->basePriority) : "not listed";
    }

    bool Ended(pid_t child) {
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                std::erase(children, child);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    TestMachine machine;
    ScriptedFrontEnd fe;
    FixedClock clock;
    ManualTimers timers{clock};
    TestState state{*machine.platform, clock};
    std::string programName, programPath;
    std::vector<pid_t> children;
};

TEST_F(RealProcessesTest, TwoInstancesOfOneProgramWithOneStoredRow) {
    const pid_t first = StartChild();
    const pid_t second = StartChild();
    if (!PlatformListsChildren(first)) GTEST_SKIP() << "this platform lists no running processes";
    const auto info = *Listed(first);
    Table& table = state.model.tables[TableKind::Process];
    table.Add({info.name, info.path, "", ""}, true);

    FillProcessTable(state, false, false);

    const auto rows = RowsOfProgram();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], 1);
    EXPECT_TRUE(table.Ticked(rows[0]));
    EXPECT_FALSE(table.Ticked(rows[1]));
    EXPECT_EQ(table.Text(rows[1], col::Path), info.path);
    const std::set<std::string> handles = {table.Text(rows[0], col::Handle), table.Text(rows[1], col::Handle)};
    EXPECT_EQ(handles, (std::set<std::string>{std::to_string(first), std::to_string(second)}));
}

TEST_F(RealProcessesTest, StoredPriorityIsAppliedAtStartUpAndKeptByTheWatcher) {
    const pid_t child = StartChild();
    if (!PlatformListsChildren(child)) GTEST_SKIP() << "this platform lists no running processes";
    ASSERT_EQ(RunningPriorityOf(child), "Normal");
    const auto info = *Listed(child);
    state.model.tables[TableKind::Process].Add({info.name, info.path, "Below Normal", ""}, true);
    state.options.watchPriorities = true;

    // The start-up order: fill, apply once, then the watcher.
    FillProcessTable(state, false, false);
    ApplyStoredPriorities(state.services, state.model, false);
    state.priorityWatcher.Follow(state.options.watchPriorities, state.model.tables[TableKind::Process]);
    ASSERT_TRUE(state.priorityWatcher.Running());

    EXPECT_EQ(RunningPriorityOf(child), "Below Normal");
    EXPECT_GT(::getpriority(PRIO_PROCESS, static_cast<id_t>(child)), 0);

    // Another program puts it back to normal; the next watcher tick notices. Raising a
    // priority needs CAP_SYS_NICE on Linux, so an ordinary user can only check the first half.
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(child), 0) != 0 && (errno == EACCES || errno == EPERM))
        GTEST_SKIP() << "raising a process's priority is not permitted to this user";
    ASSERT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(child)), 0);
    ASSERT_EQ(RunningPriorityOf(child), "Normal");
    timers.Advance(5000);
    EXPECT_EQ(RunningPriorityOf(child), "Below Normal");
    EXPECT_NE(ReadText(state.paths.logPath).find("Setting priority for " + info.name + " to Below Normal"),
              std::string::npos);
}

TEST_F(RealProcessesTest, EndProcessEndsARunningChild) {
    const pid_t child = StartChild();
    const pid_t other = StartChild();
    if (!PlatformListsChildren(child)) GTEST_SKIP() << "this platform lists no running processes";
    FillProcessTable(state, false, false);
    Table& table = state.model.tables[TableKind::Process];
    int row = 0;
    for (int position : RowsOfProgram())
        if (table.Text(position, col::Handle) == std::to_string(child)) row = position;
    ASSERT_GT(row, 0);
    fe.yesNoAnswers = {true};
    const std::string name = table.Name(row);

    fe.ShowOutcome(EndProcessesOfRows(state, fe, {row}, [this](const std::string& text) { fe.SetStatus(text); }));

    EXPECT_NE(fe.LastStatus().find(" - refreshed"), std::string::npos);
    ASSERT_TRUE(Ended(child));
    EXPECT_TRUE(Listed(other).has_value());
    // This test is the child's parent, so the ended child stays listed until it is reaped.
    FillProcessTable(state, false, true);
    std::set<std::string> handles;
    for (int position : RowsOfProgram()) handles.insert(table.Text(position, col::Handle));
    EXPECT_EQ(handles, (std::set<std::string>{"", std::to_string(other)}));
    EXPECT_EQ(fe.questions, std::vector<std::string>{"Are you sure you wish to terminate this process?\r\n" + name +
                                                     " (pid " + std::to_string(child) + ")"});
}

}  // namespace
}  // namespace kestrune::test
