// What each started program costs: the bands, following it through the run on its own timer,
// and where the measurement ends up (its Delayed row, the timeline, the settings document).

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "DelayedFixture.h"
#include "delayed/DelayedCommands.h"
#include "delayed/TimelinePicture.h"
#include "store/SettingsDocument.h"
#include "store/TreeDocument.h"

namespace kestrune::test {
namespace {

constexpr std::int64_t kMs = 10'000;  // 100-nanosecond units
constexpr std::uint64_t kKB = 1024;

TEST(ImpactBands, FollowTheProcessorTimeAndTheBytesMoved) {
    struct Case {
        std::int64_t cpuMs;
        std::uint64_t read, written;
        ImpactBand band;
    };
    const Case cases[] = {
        {0, 0, 0, ImpactBand::Low},
        {299, 0, 0, ImpactBand::Low},
        {300, 0, 0, ImpactBand::Medium},
        {1000, 0, 0, ImpactBand::Medium},  // "more than 1 s" is High
        {1001, 0, 0, ImpactBand::High},
        {0, 300 * kKB - 1, 0, ImpactBand::Low},
        {0, 200 * kKB, 100 * kKB, ImpactBand::Medium},  // read and written count together
        {0, 3 * 1024 * kKB, 0, ImpactBand::Medium},
        {0, 3 * 1024 * kKB, 1, ImpactBand::High},
        {10, 0, 4 * 1024 * kKB, ImpactBand::High},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BandOf(Impact{c.cpuMs, c.read, c.written, 5}), c.band)
            << c.cpuMs << " ms, " << c.read << " + " << c.written << " bytes";
    }
    EXPECT_EQ(BandOf(std::nullopt), ImpactBand::NotMeasured);
    EXPECT_STREQ(BandText(ImpactBand::NotMeasured), "Not measured");
    EXPECT_STREQ(BandText(ImpactBand::High), "High");
    EXPECT_EQ(ImpactFigures(Impact{1520, 30 * 1024 * kKB, 0, 2}),
              "1.52 s processor time, 30.0 MB read, 0.0 MB written in the first 2 s");
}

class ImpactTest : public DelayedFixture {
protected:
    ImpactTest() {
        run.impact.timer = timers.Create(kImpactIntervalMs, [this] { run.impact.Tick(state.model); });
    }
    // The process the launcher starts as the `nth` from now (its ids count up by one).
    ScriptedCost& Started(int nth) { return platform.scriptedProcesses.costs[launcher().nextId + nth]; }
    // A Delayed row whose program, once started, reports what the test scripts for it; rows
    // added this way before the run start in the order they were added.
    ScriptedCost& AddFollowed(const std::string& path, const std::string& delay) {
        AddDelayed(path, delay);
        return Started(++followed_);
    }
    // The program's last reading: it has cost `cost`, and the next tick finds it gone.
    void Ends(ScriptedCost& program, platform::ProcessCost cost) {
        program.cost = cost;
        program.ended = true;
        Ms(kImpactIntervalMs);
    }
    const std::optional<Impact>& ImpactOfRow(int position) {
        return state.model.table(TableKind::Delayed).Details(position).impact;
    }
    void Ms(int ms) { timers.Advance(ms); }

private:
    int followed_ = 0;
};

TEST_F(ImpactTest, AProgramIsFollowedUntilItEndsAndItsRowKeepsWhatItCost) {
    ScriptedCost& busy = AddFollowed("/opt/busy", "1");
    ScriptedCost& quiet = AddFollowed("/opt/quiet", "2");
    StartDelayedRun(parts(), run);
    state.model.settingsChanged = false;

    Seconds(1);  // busy starts
    busy.cost = {600 * kMs, 2 * 1024 * kKB, 0};
    Seconds(1);  // quiet starts; busy still going
    quiet.cost = {5 * kMs, 8 * kKB, 0};
    Ends(busy, {1500 * kMs, 5 * 1024 * kKB, 10 * kKB});

    EXPECT_FALSE(run.running) << "the run ended with its last start";
    ASSERT_TRUE(ImpactOfRow(1).has_value());
    EXPECT_EQ(*ImpactOfRow(1), (Impact{1500, 5 * 1024 * kKB, 10 * kKB, 2}));
    EXPECT_EQ(BandOf(ImpactOfRow(1)), ImpactBand::High);
    EXPECT_TRUE(state.model.settingsChanged) << "the measurement must reach the settings document";
    EXPECT_FALSE(ImpactOfRow(2).has_value()) << "still followed: nothing stored yet";
    EXPECT_TRUE(run.impact.Following());

    Ends(quiet, quiet.cost);
    EXPECT_EQ(BandOf(ImpactOfRow(2)), ImpactBand::Low);
    EXPECT_FALSE(run.impact.Following());
    EXPECT_FALSE(run.impact.timer->Running()) << "nothing left to read: the timer rests";

    const int readsAfter = quiet.reads;
    Ms(5000);
    EXPECT_EQ(quiet.reads, readsAfter) << "an ended program is read no more";
}

TEST_F(ImpactTest, AProgramIsFollowedForThirtySecondsAtMost) {
    ScriptedCost& daemon = AddFollowed("/opt/daemon", "1");
    StartDelayedRun(parts(), run);
    Seconds(1);
    daemon.cost = {200 * kMs, 0, 0};
    // The start falls between two readings: within one interval of the limit, either way.
    Ms(kFollowSeconds * 1000 - 2 * kImpactIntervalMs);
    EXPECT_FALSE(ImpactOfRow(1).has_value());
    daemon.cost = {400 * kMs, 0, 0};
    Ms(2 * kImpactIntervalMs);
    ASSERT_TRUE(ImpactOfRow(1).has_value());
    EXPECT_EQ(ImpactOfRow(1)->cpuMs, 400);
    EXPECT_EQ(ImpactOfRow(1)->followedSeconds, kFollowSeconds);
    daemon.cost = {5000 * kMs, 0, 0};
    Ms(1000);
    EXPECT_EQ(ImpactOfRow(1)->cpuMs, 400) << "what it did after its first 30 s is not its start-up";
}

TEST_F(ImpactTest, TheMeasurementFindsItsRowAfterASortAndIsDroppedForADeletedOne) {
    ScriptedCost& b = AddFollowed("/opt/b", "1");
    ScriptedCost& a = AddFollowed("/opt/a", "2");
    StartDelayedRun(parts(), run);
    Seconds(2);
    Table& delayed = state.model.table(TableKind::Delayed);
    delayed.Sort(col::Name, true);  // a before b
    ASSERT_EQ(delayed.Name(1), "a");
    Ends(b, {50 * kMs, 0, 0});
    EXPECT_FALSE(ImpactOfRow(1).has_value());
    ASSERT_TRUE(ImpactOfRow(2).has_value());
    EXPECT_EQ(ImpactOfRow(2)->cpuMs, 50);

    delayed.Remove(1);
    Ends(a, a.cost);  // must not land on the row that moved up
    EXPECT_EQ(ImpactOfRow(1)->cpuMs, 50);
}

TEST_F(ImpactTest, AProgramThatCannotBeFollowedKeepsWhatItsRowHad) {
    AddDelayed("/opt/gone", "1");
    EntryDetails before;
    before.impact = Impact{700, 0, 0, 4};
    state.model.table(TableKind::Delayed).SetDetails(1, before);
    StartDelayedRun(parts(), run);  // no cost scripted: the process is not there to follow
    Seconds(1);
    Ms(1000);
    EXPECT_EQ(ImpactOfRow(1), before.impact);
    ASSERT_EQ(run.impact.timeline().programs.size(), 1u);
    EXPECT_FALSE(run.impact.timeline().programs[0].impact.has_value());
}

TEST_F(ImpactTest, ClosingDownStoresWhatTheProgramsStillFollowedCostSoFar) {
    ScriptedCost& slow = AddFollowed("/opt/slow", "1");
    StartDelayedRun(parts(), run);
    Seconds(1);
    slow.cost = {320 * kMs, 0, 0};
    Ms(500);
    run.impact.FinishAll(state.model);
    ASSERT_TRUE(ImpactOfRow(1).has_value());
    EXPECT_EQ(BandOf(ImpactOfRow(1)), ImpactBand::Medium);
    EXPECT_FALSE(run.impact.timer->Running());
}

TEST_F(ImpactTest, RunNowOnADelayedRowIsFollowedToo) {
    ScriptedCost& now = AddFollowed("/opt/now", "10");
    const Outcome outcome = RunNow(state, state.options, TableKind::Delayed, 1, &run.impact);
    ASSERT_TRUE(outcome.Succeeded());
    Ends(now, {1200 * kMs, 0, 0});
    EXPECT_EQ(BandOf(ImpactOfRow(1)), ImpactBand::High);
}

TEST_F(ImpactTest, TheTimelineHoldsTheStartsTheBusyIntervalsAndTheIdleReadings) {
    ScriptedCost& first = AddFollowed("/opt/first", "1");
    AddFollowed("/opt/idle", "-1");
    meter->readings = {90, 10, 10};
    meter->otherwise = 10;
    state.options.idleSeconds = 1;
    StartDelayedRun(parts(), run);
    first.cost = {125 * kMs, 0, 0};  // half of the first interval after it started
    Seconds(1);
    Ms(250);
    first.ended = true;
    Seconds(4);

    const RunTimeline& timeline = run.impact.timeline();
    ASSERT_EQ(timeline.programs.size(), 2u);
    EXPECT_EQ(timeline.programs[0].name, "first");
    // The timeline's clock is the readings' one: a start lands within one interval of its second.
    EXPECT_NEAR(timeline.programs[0].startedMs, 1000, kImpactIntervalMs);
    ASSERT_FALSE(timeline.programs[0].busyPercent.empty());
    EXPECT_EQ(timeline.programs[0].busyPercent[0], 0) << "its cost at the start is no busy time";
    EXPECT_EQ(timeline.programs[1].name, "idle");
    EXPECT_GT(timeline.programs[1].startedMs, timeline.programs[0].startedMs);
    ASSERT_GE(timeline.cpu.size(), 2u);
    EXPECT_EQ(timeline.cpu[0].percent, 90);
    EXPECT_EQ(timeline.cpu[1].percent, 10);
    EXPECT_GE(timeline.lengthMs, timeline.programs[1].startedMs);
}

TEST_F(ImpactTest, TheTimelinesPictureNamesEachProgramWithItsBandAndParsesAsSvg) {
    ScriptedCost& heavy = AddFollowed("/opt/a&b<c>", "1");
    StartDelayedRun(parts(), run);
    Seconds(1);
    Ends(heavy, {2000 * kMs, 0, 0});
    const std::string svg = TimelineToSvg(DrawTimeline(run.impact.timeline()));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(svg.c_str())) << svg;
    std::vector<std::string> texts;
    for (const pugi::xpath_node& text : doc.select_nodes("//text")) texts.emplace_back(text.node().text().get());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "a&b<c>"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "High - 2.00 s CPU, 0.0 MB"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), kTimelineNoCpu), texts.end()) << "no idle phase in this run";
}

TEST_F(ImpactTest, TheLastMeasurementIsStoredWithTheRowAndAnOlderDocumentLoadsWithout) {
    AddDelayed("/opt/kept", "5");
    AddDelayed("/opt/new", "6");
    EntryDetails measured;
    measured.impact = Impact{1234, 5678, 90, 7};
    state.model.table(TableKind::Delayed).SetDetails(1, measured);
    TreeDocument doc;
    BuildSettingsDocument(state.model.tables, false, doc);
    const std::string written = doc.ToText();
    EXPECT_NE(written.find("<impact>"), std::string::npos) << written;

    const std::string path = state.paths.appFolder + "stored.xml";
    ASSERT_TRUE(doc.SaveXMLDocument(platform.files(), path));
    state.model.tables[TableKind::Delayed].Clear();
    state.paths.settingsDocumentPath = path;
    LoadSettingsDocument(state);
    ASSERT_EQ(state.model.table(TableKind::Delayed).Count(), 2);
    EXPECT_EQ(ImpactOfRow(1), measured.impact);
    EXPECT_FALSE(ImpactOfRow(2).has_value());
    EXPECT_EQ(state.model.table(TableKind::Delayed).Text(1, col::Delay), "5") << "the fixed fields still read by place";

    // Written before measurements were kept, or edited by hand into something unreadable.
    WriteText(path,
              "<Root><Delayed><item1><name>old</name><path>/opt/old</path><delay>3</delay><prev/>"
              "<active>1</active><priority/></item1><item2><name>odd</name><path>/opt/odd</path><delay>4</delay>"
              "<prev/><active>1</active><priority/><impact><cpu>x</cpu></impact></item2></Delayed></Root>");
    state.model.tables[TableKind::Delayed].Clear();
    LoadSettingsDocument(state);
    ASSERT_EQ(state.model.table(TableKind::Delayed).Count(), 2);
    EXPECT_FALSE(ImpactOfRow(1).has_value());
    EXPECT_FALSE(ImpactOfRow(2).has_value());
    EXPECT_EQ(state.model.table(TableKind::Delayed).Text(2, col::Delay), "4");
}

}  // namespace
}  // namespace kestrune::test
