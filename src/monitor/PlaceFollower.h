#pragma once
// Keeps the window's location tables in step with their places when another program changes
// them, whether or not the change monitor runs: a place whose entries changed since the
// previous look, and whose table no longer shows them as they are, is rescanned. The
// program's own changes leave table and place agreeing, so they never cause a rescan.

#include <array>
#include <memory>
#include <vector>

#include "app/TableKind.h"
#include "monitor/PlaceSnapshot.h"
#include "platform/PlaceWatch.h"

namespace kestrune {

struct MainState;
struct Model;

struct PlaceFollowerState {
    bool snapshotTaken = false;
    PlaceSnapshot previous;
    // A place whose rescan could not be done yet (the settings document could not be written
    // first); it is tried again at the next look, whatever the watch says.
    std::array<bool, 5> pending{};
    std::unique_ptr<platform::PlaceWatch> watch;  // null: every look reads
};

// One look (the first only takes the snapshot). Nothing is done while the user is in the
// middle of a question or a dialog (`questionOpen`, as the front end knows it), during loading,
// or before a Slimline start has scanned the places; the change is then seen at a later look.
// Answers the tables rescanned. It takes the whole state: a rescan stores and reads the
// settings document, and the status line follows when the shown table changed.
std::vector<TableKind> FollowPlaceChanges(MainState& state, PlaceFollowerState& follower, bool questionOpen);

// Whether a location table's ticked rows are exactly the place's entries.
bool TableShowsPlace(const Model& model, TableKind kind, const std::vector<MonitorEntry>& entries);

}  // namespace kestrune
