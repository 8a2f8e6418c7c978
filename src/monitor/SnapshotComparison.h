#pragma once
// What changed in the start-up places between two looks. Places are compared by how many
// entries they hold: one that holds more has new entries (those whose text as read is not
// among the previous ones, compared exactly, so an entry renamed only in case is a new one);
// one that holds fewer has lost entries; one that holds as many as before counts as unchanged,
// even when an entry in it was edited.

#include <array>
#include <vector>

#include "monitor/PlaceSnapshot.h"

namespace kestrune {

struct PlaceDifference {
    bool fewer = false;               // the place holds fewer entries than before
    std::vector<MonitorEntry> added;  // when it holds more: the new entries, in the order read
    std::vector<MonitorEntry> gone;   // when it holds fewer: the previous entries no longer there
};

// In table order, as the snapshots are.
using SnapshotDifference = std::array<PlaceDifference, std::tuple_size_v<PlaceSnapshot>>;

SnapshotDifference CompareSnapshots(const PlaceSnapshot& before, const PlaceSnapshot& now);

}  // namespace kestrune
