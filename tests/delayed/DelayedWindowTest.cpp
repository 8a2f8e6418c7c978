// The delayed-run window's model as the run moves through it.

#include "delayed/DelayedWindow.h"

#include <gmock/gmock.h>

#include "DelayedFixture.h"

namespace kestrune {
namespace {

using ::testing::ElementsAre;

class DelayedWindowTest : public test::DelayedFixture {};

TEST_F(DelayedWindowTest, FillingShowsOneTickedRowPerEntry) {
    DelayedWindow window;
    window.rows.push_back({"old", "1", "old", false, kIconSkip});
    window.listPosition = 2;
    FillDelayedWindow(state.model.events, window,
                      {{-1, "\"C:\\Program Files\\App\\app.exe\" -min", ""}, {7, "C:\\Tools\\run.bat", "High"}});
    ASSERT_EQ(window.RowCount(), 2);
    EXPECT_EQ(window.rows[0].name, "app.exe");
    EXPECT_EQ(window.rows[0].delay, "-1");
    EXPECT_EQ(window.rows[0].path, "\"C:\\Program Files\\App\\app.exe\" -min");
    EXPECT_EQ(window.rows[1].name, "run.bat");
    for (const DelayedRow& row : window.rows) {
        EXPECT_TRUE(row.ticked);
        EXPECT_EQ(row.icon, "unticked");
    }
    EXPECT_EQ(window.listPosition, 0);
    EXPECT_EQ(window.progressValue, 0);
    EXPECT_EQ(window.progressCaption, "0%");
    EXPECT_EQ(window.progressLine, "Waiting to run applications...");
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.visible);
}

TEST_F(DelayedWindowTest, AdvancingMovesTheProgressRowByRow) {
    DelayedWindow window;
    FillDelayedWindow(state.model.events, window, {{1, "C:\\a.exe", ""}, {2, "C:\\b.exe", ""}, {3, "C:\\c.exe", ""}});
    window.rows[1].ticked = false;
    struct Redraws : ModelObserver {
        int count = 0;
        void DelayedWindowChanged() override { ++count; }
    } redraws;
    state.model.events.Attach(redraws);
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        const int before = redraws.count;
        const bool ticked = AdvanceList(state.model.events, window);
        EXPECT_EQ(redraws.count, before + 1);  // every step is drawn
        seen.push_back(std::to_string(ticked) + " " + window.progressLine + " " + window.progressCaption + " " +
                       std::to_string(window.selectedRow));
    }
    state.model.events.Detach(redraws);
    EXPECT_THAT(seen, ElementsAre("1 a.exe - 1 out of 3 33% 1", "0 b.exe - 2 out of 3 67% 2",
                                  "1 c.exe - 3 out of 3 100% 3", "0 c.exe - 3 out of 3 100% 3"));
    EXPECT_EQ(window.progressValue, 100);
    EXPECT_EQ(window.rows[0].icon, "ticked");
    EXPECT_EQ(window.rows[1].icon, "skip");
    EXPECT_EQ(window.rows[2].icon, "ticked");
}

TEST_F(DelayedWindowTest, ProgressRoundsHalvesToEven) {
    DelayedWindow window;
    std::vector<RunEntry> entries(8, RunEntry{1, "C:\\x.exe", ""});
    FillDelayedWindow(state.model.events, window, entries);
    std::vector<int> values;
    for (int i = 0; i < 8; ++i) {
        AdvanceList(state.model.events, window);
        values.push_back(window.progressValue);
    }
    EXPECT_THAT(values, ElementsAre(12, 25, 38, 50, 62, 75, 88, 100));
}

}  // namespace
}  // namespace kestrune
