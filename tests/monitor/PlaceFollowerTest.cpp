// The place follower against an emulated machine: another program changes a place, and the
// window's table follows unless the user is in the middle of a question.

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/PlaceFollower.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

class PlaceFollowerTest : public ::testing::Test {
protected:
    PlaceFollowerTest() : state(*machine.platform, clock) {
        state.InProgramFolder(machine.appFolder).BeginLog("test started").WithTimers(timers);
        DetermineStartupFolders(state.services.platform, state.paths);
        ScanPlaces(state);
        EXPECT_TRUE(Look().empty());  // the first look only takes the snapshot
    }

    std::vector<TableKind> Look(bool questionOpen = false) { return FollowPlaceChanges(state, follower, questionOpen); }
    void OtherProgramAddsRunValue(const std::string& name, const std::string& data) {
        state.services.platform.registry().SetValue(RootKey::CurrentUser, kRunKey, {name, ValueType::String, data});
    }
    int Rows() { return state.model.tables[TableKind::HKCU_Run].Count(); }

    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
    PlaceFollowerState follower;
};

TEST_F(PlaceFollowerTest, AChangeFromOutsideWaitsWhileAQuestionIsOpenAndIsFollowedAfterwards) {
    const int before = Rows();
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater --tray");

    // The rescan would renumber the rows the open question may be about.
    EXPECT_TRUE(Look(true).empty());
    EXPECT_EQ(Rows(), before);

    EXPECT_EQ(Look(), std::vector<TableKind>{TableKind::HKCU_Run});
    ASSERT_EQ(Rows(), before + 1);
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    bool found = false;
    for (int p = 1; p <= run.Count(); ++p) found = found || (run.Name(p) == "Updater" && run.Ticked(p));
    EXPECT_TRUE(found);
    // Seen once: the next look finds the table showing the place.
    EXPECT_TRUE(Look().empty());
}

TEST_F(PlaceFollowerTest, NothingIsFollowedWhileLoadingOrInSlimlineMode) {
    OtherProgramAddsRunValue("Updater", "/opt/upd/updater");
    state.model.loadingInProgress = true;
    EXPECT_TRUE(Look().empty());
    state.model.loadingInProgress = false;
    state.view.slimlineMode = true;
    EXPECT_TRUE(Look().empty());
    state.view.slimlineMode = false;
    EXPECT_EQ(Look(), std::vector<TableKind>{TableKind::HKCU_Run});
}

}  // namespace
}  // namespace kestrune
