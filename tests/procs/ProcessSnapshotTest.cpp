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

// The fields a record carries, in the order the process table shows them.
std::vector<std::string> Fields(const ProcessInfo& process) {
    return {process.name, std::to_string(process.id), std::to_string(process.basePriority), process.path};
}

TEST(ProcessSnapshotTest, KeepsNameHandlePriorityAndPathPerProcessInOrder) {
    const ProcessSnapshot snapshot = BuildProcessSnapshot(kRunning);
    ASSERT_EQ(snapshot.size(), 4u);
    EXPECT_EQ(Fields(snapshot[0]), (std::vector<std::string>{"System Idle Process", "0", "0", ""}));
    EXPECT_EQ(Fields(snapshot[1]), (std::vector<std::string>{"Editor.exe", "412", "8", "C:\\Apps\\Editor.exe"}));
    EXPECT_EQ(Fields(snapshot[2]), (std::vector<std::string>{"svc.exe", "77", "13", ""}));
    EXPECT_EQ(Fields(snapshot[3]), (std::vector<std::string>{"editor.exe", "980", "10", "c:\\apps\\editor.exe"}));
}

TEST(ProcessSnapshotTest, NoProcessGivesAnEmptySnapshot) {
    EXPECT_TRUE(BuildProcessSnapshot({}).empty());
    EXPECT_EQ(FindSnapshotProcess({}, "", ""), nullptr);
}

TEST(ProcessSnapshotTest, SeparatorsInsideNamesAndPathsBecomeSpaces) {
    const std::vector<ProcessInfo> odd = {{5, "bad\tname", 13, "/tmp/x\r\ny"}, {6, "next", 8, "/bin/next"}};
    const auto snapshot = BuildProcessSnapshot(odd);
    ASSERT_EQ(snapshot.size(), 2u);
    EXPECT_EQ(Fields(snapshot[0]), (std::vector<std::string>{"bad name", "5", "13", "/tmp/x  y"}));
    EXPECT_EQ(snapshot[1].basePriority, 8);
    const ProcessInfo* found = FindSnapshotProcess(snapshot, "bad name", "/tmp/x  y");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, 5u);
}

TEST(ProcessSnapshotTest, LookupsIgnoreCaseAndTakeTheFirstMatch) {
    const auto snapshot = BuildProcessSnapshot(kRunning);
    const ProcessInfo* editor = FindSnapshotProcess(snapshot, "EDITOR.EXE", "c:\\APPS\\editor.exe");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->id, 412u);
    EXPECT_EQ(editor->basePriority, 8);
    const ProcessInfo* svc = FindSnapshotProcess(snapshot, "svc.exe", "");
    ASSERT_NE(svc, nullptr);
    EXPECT_EQ(svc->id, 77u);
    // The path is part of the identity: another copy of the program is not this row's.
    EXPECT_EQ(FindSnapshotProcess(snapshot, "editor.exe", "D:\\editor.exe"), nullptr);
    EXPECT_EQ(FindSnapshotProcess(snapshot, "svc.exe", "C:\\svc.exe"), nullptr);
}

}  // namespace
}  // namespace kestrune
