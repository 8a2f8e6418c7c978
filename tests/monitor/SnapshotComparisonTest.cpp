// Comparing two looks at the start-up places, without a machine or any program state.

#include "monitor/SnapshotComparison.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

MonitorEntry Entry(const std::string& name, const std::string& command) {
    MonitorEntry e;
    e.identity = name + "\t" + command;
    e.key = command;
    e.name = name;
    return e;
}

std::vector<std::string> Names(const std::vector<MonitorEntry>& entries) {
    std::vector<std::string> names;
    for (const MonitorEntry& e : entries) names.push_back(e.name);
    return names;
}

constexpr size_t kRun = 3;  // HKCU Run, the fourth place

TEST(SnapshotComparisonTest, NewAndGoneEntriesAreFoundInTheirOwnPlaces) {
    PlaceSnapshot before, now;
    before[0] = {Entry("Chat", "/opt/chat")};
    now[0] = {Entry("Chat", "/opt/chat"), Entry("Mail", "/opt/mail"), Entry("News", "/opt/news")};
    before[kRun] = {Entry("Updater", "/opt/upd"), Entry("Sync", "/opt/sync")};
    now[kRun] = {Entry("Sync", "/opt/sync")};

    const SnapshotDifference difference = CompareSnapshots(before, now);
    EXPECT_EQ(Names(difference[0].added), (std::vector<std::string>{"Mail", "News"}));
    EXPECT_FALSE(difference[0].fewer);
    EXPECT_TRUE(difference[0].gone.empty());
    EXPECT_TRUE(difference[kRun].fewer);
    EXPECT_EQ(Names(difference[kRun].gone), (std::vector<std::string>{"Updater"}));
    EXPECT_TRUE(difference[kRun].added.empty());
    for (size_t i : {1u, 2u, 4u}) {
        EXPECT_FALSE(difference[i].fewer) << i;
        EXPECT_TRUE(difference[i].added.empty() && difference[i].gone.empty()) << i;
    }
}

TEST(SnapshotComparisonTest, APlaceHoldingAsManyEntriesAsBeforeCountsAsUnchanged) {
    PlaceSnapshot before, now;
    before[kRun] = {Entry("Updater", "/opt/upd")};
    now[kRun] = {Entry("Updater", "/opt/upd --silent")};  // edited in place
    const SnapshotDifference difference = CompareSnapshots(before, now);
    EXPECT_FALSE(difference[kRun].fewer);
    EXPECT_TRUE(difference[kRun].added.empty());
    EXPECT_TRUE(difference[kRun].gone.empty());
}

TEST(SnapshotComparisonTest, AnEntryChangedWhileAnotherArrivedIsNewAndTheOldTextIsNotGone) {
    PlaceSnapshot before, now;
    before[kRun] = {Entry("Updater", "/opt/upd")};
    now[kRun] = {Entry("Updater", "/opt/upd --silent"), Entry("Sync", "/opt/sync")};
    const SnapshotDifference difference = CompareSnapshots(before, now);
    EXPECT_EQ(Names(difference[kRun].added), (std::vector<std::string>{"Updater", "Sync"}));
    EXPECT_EQ(difference[kRun].added[0].key, "/opt/upd --silent");
    EXPECT_TRUE(difference[kRun].gone.empty());
}

TEST(SnapshotComparisonTest, NamesThatDifferOnlyInCaseAreOtherEntries) {
    PlaceSnapshot before, now;
    before[1] = {Entry("Chat", "/opt/chat")};
    now[1] = {Entry("Chat", "/opt/chat"), Entry("CHAT", "/opt/chat")};
    EXPECT_EQ(Names(CompareSnapshots(before, now)[1].added), (std::vector<std::string>{"CHAT"}));

    // And a place that lost the original while keeping its other-case twin lost it.
    const SnapshotDifference back = CompareSnapshots(now, PlaceSnapshot{{{}, {Entry("CHAT", "/opt/chat")}}});
    EXPECT_TRUE(back[1].fewer);
    EXPECT_EQ(Names(back[1].gone), (std::vector<std::string>{"Chat"}));
}

TEST(SnapshotComparisonTest, RepeatedEntriesCountOnePerCopy) {
    PlaceSnapshot before, now;
    before[kRun] = {Entry("Sync", "/opt/sync"), Entry("Sync", "/opt/sync")};
    now[kRun] = {Entry("Sync", "/opt/sync")};
    // One copy left: the place holds fewer, but no entry's text is gone from it.
    const SnapshotDifference fewer = CompareSnapshots(before, now);
    EXPECT_TRUE(fewer[kRun].fewer);
    EXPECT_TRUE(fewer[kRun].gone.empty());

    PlaceSnapshot twice;
    twice[kRun] = {Entry("Mail", "/opt/mail"), Entry("Mail", "/opt/mail")};
    EXPECT_EQ(CompareSnapshots(PlaceSnapshot{}, twice)[kRun].added.size(), 2u);
}

}  // namespace
}  // namespace kestrune
