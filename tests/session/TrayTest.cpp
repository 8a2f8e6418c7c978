// The tray icon, its tip and the delayed run's balloons, as the window carries them out.

#include "session/Tray.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "session/Application.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

TEST(TrayTest, TheTipIsCutAt63BytesWithoutSplittingACharacter) {
    EXPECT_EQ(TrayTip("Kestrune"), "Kestrune");
    EXPECT_EQ(TrayTip(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(TrayTip(std::string(70, 'a')), std::string(63, 'a'));
    // "é" is two bytes; the 63rd byte would be the first half of the last one.
    const std::string accents = std::string(62, 'a') + "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(TrayTip(accents), std::string(62, 'a'));
    // A three-byte character across the limit goes whole.
    EXPECT_EQ(TrayTip(std::string(61, 'a') + "\xE2\x82\xAC" + "b"), std::string(61, 'a'));
}

TEST(TrayTest, BalloonsShowOnlyWhileTheWindowIsInTheTray) {
    test::ScriptedFrontEnd fe;
    ViewState view;
    ModelEvents events;
    TrayBalloons balloons(view, fe);
    events.Attach(balloons);

    events.DelayedLaunch("Running C:\\A\\a.exe -x");
    EXPECT_TRUE(fe.events.empty());
    SendToTray(view, fe);
    events.DelayedLaunch("Running C:\\A\\a.exe -x");
    RemoveTrayIcon(view, fe);
    events.DelayedLaunch("Running C:\\A\\b.exe");
    EXPECT_EQ(fe.events,
              (std::vector<std::string>{"tray add Kestrune", "hide", "minimise",
                                        "balloon Kestrune: Running C:\\A\\a.exe -x (30000)", "tray remove"}));
}

// The window in the tray, a delayed run started from the menu shows a balloon for its launch.
TEST(TrayTest, InTheTrayEachLaunchShowsABalloon) {
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app{*machine.platform, fe, clock, timers};
    ASSERT_TRUE(app.Startup(""));
    app.state().model.tables[TableKind::Delayed].Add({"a", "/bin/true -x", "1", "", ""}, true);
    app.SendToTray();
    app.RunDelayedApplications();
    timers.Advance(1000);
    EXPECT_NE(std::find(fe.events.begin(), fe.events.end(), "balloon Kestrune: Running /bin/true -x (30000)"),
              fe.events.end());
    app.Shutdown(CloseReason::Code);
}

}  // namespace
}  // namespace kestrune
