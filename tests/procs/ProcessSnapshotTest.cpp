#include "procs/ProcessSnapshot.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using platform::ProcessInfo;

const std::vector<ProcessInfo> kRunning = {
    {0, "System Idle Process", 0, ""},
    {412, "Editor.exe", 8, "C:\\Apps\\Editor.exe"},
    {77, "svc.exe", 13, ""},
    {980, "editor.exe", 10, "c:\\apps\\editor.exe"},
};

TEST(ProcessSnapshotTest, JoinsNameHandlePriorityAndPathPerProcess) {
    EXPECT_EQ(ListWmiProcesses(kRunning),
              "System Idle Process\t0\t0\r\nEditor.exe\t412\t8\r\nsvc.exe\t77\t13\r\neditor.exe\t980\t10");
    const std::vector<std::string> expected = {
        "System Idle Process\t0\t0\t",
        "Editor.exe\t412\t8\tC:\\Apps\\Editor.exe",
        "svc.exe\t77\t13\t",
        "editor.exe\t980\t10\tc:\\apps\\editor.exe",
    };
    EXPECT_EQ(BuildProcessSnapshot(kRunning), expected);
}

TEST(ProcessSnapshotTest, NoProcessGivesOneEmptyElement) {
    EXPECT_EQ(ListWmiProcesses({}), "");
    EXPECT_EQ(BuildProcessSnapshot({}), std::vector<std::string>{""});
    EXPECT_EQ(ListProcessPaths({}, true), std::vector<std::string>{""});
}

TEST(ProcessSnapshotTest, PathListStartsEmptyAndCarriesIdsOnRequest) {
    const std::vector<std::string> plain = {"", "", "C:\\Apps\\Editor.exe", "", "c:\\apps\\editor.exe"};
    EXPECT_EQ(ListProcessPaths(kRunning, false), plain);
    const auto withIds = ListProcessPaths(kRunning, true);
    EXPECT_EQ(withIds[2], "C:\\Apps\\Editor.exe\t412");
    EXPECT_EQ(FindPathOfProcessId(withIds, "980"), "c:\\apps\\editor.exe");
    EXPECT_EQ(FindPathOfProcessId(withIds, "77"), "");
    EXPECT_EQ(FindPathOfProcessId(withIds, "5"), "");
}

TEST(ProcessSnapshotTest, SeparatorsInsideNamesAndPathsCannotShiftFields) {
    const std::vector<ProcessInfo> odd = {{5, "bad\tname", 13, "/tmp/x\r\ny"}, {6, "next", 8, "/bin/next"}};
    const auto snapshot = BuildProcessSnapshot(odd);
    ASSERT_EQ(snapshot.size(), 2u);
    EXPECT_EQ(snapshot[0], "bad name\t5\t13\t/tmp/x  y");
    EXPECT_EQ(FindSnapshotPriority(snapshot, "6"), "8");
    EXPECT_EQ(FindSnapshotHandle(snapshot, "bad name", "/tmp/x  y"), "5");
}

TEST(ProcessSnapshotTest, LookupsIgnoreCaseAndTakeTheFirstMatch) {
    const auto snapshot = BuildProcessSnapshot(kRunning);
    EXPECT_EQ(FindSnapshotHandle(snapshot, "EDITOR.EXE", "c:\\APPS\\editor.exe"), "412");
    EXPECT_EQ(FindSnapshotHandle(snapshot, "svc.exe", ""), "77");
    // The path is part of the identity: another copy of the program is not this row's.
    EXPECT_FALSE(FindSnapshotHandle(snapshot, "editor.exe", "D:\\editor.exe"));
    EXPECT_FALSE(FindSnapshotHandle(snapshot, "svc.exe", "C:\\svc.exe"));
    EXPECT_EQ(FindSnapshotPriority(snapshot, "980"), "10");
    EXPECT_EQ(FindSnapshotPriority(snapshot, "98"), "");
    EXPECT_FALSE(FindSnapshotHandle({""}, "", ""));
}

}  // namespace
}  // namespace kestrune
