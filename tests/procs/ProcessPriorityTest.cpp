#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"

#include "ProcsFixture.h"

namespace kestrune::test {
namespace {

using ProcessPriorityTest = ProcsFixture;

TEST_F(ProcessPriorityTest, StartUpAppliesEveryStoredRowWhoseProgramRuns) {
    AddStoredRow("a.exe", "/a.exe", "High");
    AddStoredRow("b.exe", "/b.exe", "Low");                      // not running
    AddStoredRow("c.exe", "/c.exe", "Normal");                   // already at that priority: still set
    AddStoredRow("d.exe", "/d.exe", "Whatever");                 // unknown text: logged, nothing set
    processTable().Add({"e.exe", "/e.exe", "High", ""}, false);  // not stored
    processes.Add(1, "a.exe", 8, "/a.exe");
    processes.Add(2, "A.EXE", 8, "/elsewhere/A.EXE");
    processes.Add(3, "c.exe", 8, "/c.exe");
    processes.Add(4, "d.exe", 8, "/d.exe");
    processes.Add(5, "e.exe", 8, "/e.exe");
    RefreshProcessSnapshot(state.services, state.model);

    ApplyStoredPriorities(state.services, state.model, false);

    EXPECT_EQ(LogTexts(),
              (std::vector<std::string>{"Setting priority for a.exe to High", "Setting priority for c.exe to Normal",
                                        "Setting priority for d.exe to Whatever"}));
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {{"a.exe", 0x80}, {"c.exe", 0x20}};
    EXPECT_EQ(processes.setByName, expected);
    // Set by name: the copy elsewhere goes along.
    EXPECT_EQ(processes.running[1].basePriority, 13);
}

TEST_F(ProcessPriorityTest, WatcherTickReappliesOnlyWhereTheRunningPriorityDrifted) {
    AddStoredRow("a.exe", "/a.exe", "high");
    AddStoredRow("b.exe", "/b.exe", "Below Normal");
    processes.Add(1, "a.exe", 13, "/a.exe");
    processes.Add(2, "b.exe", 8, "/b.exe");

    OnPriorityTimerTick(state);

    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Setting priority for b.exe to Below Normal"});
    EXPECT_EQ(processTable().Text(2, col::Handle), "2");
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    EXPECT_EQ(processes.running[1].basePriority, 6);

    // Someone puts it back; the next tick notices from a fresh listing.
    processes.running[1].basePriority = 8;
    OnPriorityTimerTick(state);
    EXPECT_EQ(processes.running[1].basePriority, 6);
    EXPECT_EQ(LogTexts().size(), 2u);
    OnPriorityTimerTick(state);
    EXPECT_EQ(LogTexts().size(), 2u);
}

TEST_F(ProcessPriorityTest, CommandPriorityGoesToEveryProcessOfTheProgramFile) {
    ApplyPriorityToCommand(state.services, "\"C:\\Program Files\\Tool\\tool.exe\" /quiet", "above normal");
    ApplyPriorityToCommand(state.services, "C:\\Tools\\other.exe -x", "");
    ApplyPriorityToCommand(state.services, "C:\\Tools\\other.exe", "Fast");
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {{"tool.exe", 0x8000}};
    EXPECT_EQ(processes.setByName, expected);
}

TEST_F(ProcessPriorityTest, SetByHandleAsksOnlyTheProcessWithThatIdentifier) {
    processes.Add(12, "a.exe", 8, "");
    processes.Add(120, "a.exe", 8, "");
    EXPECT_EQ(SetPriorityByHandle(state.services, "12", 0x80), 1);
    EXPECT_EQ(SetPriorityByHandle(state.services, "13", 0x80), 0);
    EXPECT_EQ(SetPriorityByHandle(state.services, "12abc", 0x80), 0);
    EXPECT_EQ(SetPriorityByHandle(state.services, "", 0x80), 0);
    EXPECT_EQ(processes.setById, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{12, 0x80}}));
    EXPECT_EQ(SetPriorityByName(state.services, "A.exe", 0x40), 2);
}

TEST_F(ProcessPriorityTest, RefusedPrivilegeIsLoggedWithItsErrorNumber) {
    processes.privilegeErrors["SeDebugPrivilege"] = 1300;
    EXPECT_TRUE(EnablePrivilege(state.services, "SeIncreaseBasePriorityPrivilege"));
    EXPECT_FALSE(EnablePrivilege(state.services, "SeDebugPrivilege"));
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Priveledge error: SeDebugPrivilege 1300"});
}

}  // namespace
}  // namespace kestrune::test
