#include "procs/ProcessList.h"

#include "ProcsFixture.h"

namespace kestrune::test {
namespace {

class FillProcessTableTest : public ProcsFixture {
protected:
    std::vector<std::string> Row(int position) { return processTable().Row(position).texts; }
};

TEST_F(FillProcessTableTest, RunningProcessesBecomeUntickedRowsWithTheirPriorityAndHandle) {
    processes.Add(0, "System Idle Process", 0, "");
    processes.Add(4, "system idle process", 0, "");
    processes.Add(412, "editor.exe", 13, "C:\\Apps\\editor.exe");
    processes.Add(77, "svc.exe", 7, "");

    FillProcessTable(state, false, false);

    ASSERT_EQ(processTable().Count(), 2);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"editor.exe", "C:\\Apps\\editor.exe", "High", "412"}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"svc.exe", "", "Normal", "77"}));
    EXPECT_FALSE(processTable().Ticked(1));
    EXPECT_EQ(state.model.processSnapshot.size(), 4u);
}

TEST_F(FillProcessTableTest, TwoInstancesOfAStoredProgramTakeTheStoredRowAndOneNewRow) {
    AddStoredRow("Editor.EXE", "c:\\apps\\EDITOR.exe", "High");
    processes.Add(412, "editor.exe", 13, "C:\\Apps\\editor.exe");
    processes.Add(980, "editor.exe", 8, "C:\\Apps\\editor.exe");

    FillProcessTable(state, false, false);

    ASSERT_EQ(processTable().Count(), 2);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"Editor.EXE", "c:\\apps\\EDITOR.exe", "High", "412"}));
    EXPECT_TRUE(processTable().Ticked(1));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"editor.exe", "C:\\Apps\\editor.exe", "Normal", "980"}));
    EXPECT_FALSE(processTable().Ticked(2));

    // A second fill finds both rows again instead of appending more.
    FillProcessTable(state, false, true);
    EXPECT_EQ(processTable().Count(), 2);
}

TEST_F(FillProcessTableTest, ACopyOfTheProgramElsewhereIsNotTheStoredRow) {
    AddStoredRow("editor.exe", "C:\\Apps\\editor.exe", "High");
    processes.Add(5, "editor.exe", 8, "D:\\Other\\editor.exe");
    FillProcessTable(state, false, true);
    ASSERT_EQ(processTable().Count(), 2);
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    EXPECT_EQ(processTable().Text(2, col::Handle), "5");
    EXPECT_TRUE(processes.setByName.empty());
}

TEST_F(FillProcessTableTest, ApplyingChangesTreatsStoredAndUnstoredRowsDifferently) {
    struct Case {
        const char* label;
        bool ticked;
        std::string stored;
        int runningBase;
        std::string expectedText;
        bool expectSet;
    };
    const Case cases[] = {
        {"stored without priority takes the running one", true, "", 10, "Above Normal", false},
        {"stored and equal in another case", true, "above NORMAL", 10, "above NORMAL", false},
        {"stored and different is applied", true, "Low", 10, "Low", true},
        {"stored with an unknown text sets nothing", true, "Idle", 10, "Idle", false},
        {"unstored follows the process", false, "Low", 10, "Above Normal", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        processTable().Clear();
        processes.running.clear();
        processes.setByName.clear();
        processTable().Add({"app.exe", "/opt/app.exe", c.stored, ""}, c.ticked);
        processes.Add(31, "app.exe", c.runningBase, "/opt/app.exe");

        FillProcessTable(state, false, true);

        ASSERT_EQ(processTable().Count(), 1);
        EXPECT_EQ(processTable().Text(1, col::ProcessPriority), c.expectedText);
        EXPECT_EQ(processTable().Text(1, col::Handle), "31");
        if (c.expectSet) {
            ASSERT_EQ(processes.setByName.size(), 1u);
            EXPECT_EQ(processes.setByName[0], (std::pair<std::string, std::uint32_t>{"app.exe", 0x40}));
        } else {
            EXPECT_TRUE(processes.setByName.empty());
        }
    }
}

TEST_F(FillProcessTableTest, WithoutApplyingChangesAMatchedRowKeepsItsTexts) {
    processTable().Add({"app.exe", "/opt/app.exe", "Low", ""}, false);
    processes.Add(31, "app.exe", 13, "/opt/app.exe");
    FillProcessTable(state, false, false);
    EXPECT_EQ(processTable().Text(1, col::ProcessPriority), "Low");
    EXPECT_EQ(processTable().Text(1, col::Handle), "31");
    EXPECT_TRUE(processes.setByName.empty());
}

TEST_F(FillProcessTableTest, RowsOfEndedProcessesStayWithEmptyHandles) {
    AddStoredRow("a.exe", "/a.exe", "High");
    processes.Add(1, "a.exe", 13, "/a.exe");
    processes.Add(2, "b.exe", 8, "/b.exe");
    FillProcessTable(state, false, true);
    ASSERT_EQ(processTable().Count(), 2);

    processes.running.erase(processes.running.begin() + 1);
    FillProcessTable(state, true, true);
    EXPECT_EQ(Row(2), (std::vector<std::string>{"b.exe", "/b.exe", "Normal", ""}));
    EXPECT_EQ(processTable().Text(1, col::Handle), "1");

    processes.running.clear();
    FillProcessTable(state, true, true);
    EXPECT_TRUE(state.model.processSnapshot.empty());
    ASSERT_EQ(processTable().Count(), 2);
    EXPECT_EQ(processTable().Text(1, col::Handle), "");
    EXPECT_EQ(processTable().Text(2, col::Handle), "");
    EXPECT_EQ(processTable().Text(1, col::ProcessPriority), "High");
}

}  // namespace
}  // namespace kestrune::test
