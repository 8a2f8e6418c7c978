#pragma once
// Bringing the tables and the places to a wanted state with the commands a user would give:
// each entry is enabled or disabled as its tick would be (stored first, refusals reported and
// put back), so the change monitor takes every change for the program's own.

#include <vector>

#include "app/Outcome.h"
#include "desired/DesiredState.h"
#include "desired/StateCompare.h"
#include "locations/PlaceParts.h"

namespace kestrune {

inline constexpr const char* kNoCommandToEnable = "neither the place nor the state gives a command for ";
inline constexpr const char* kStateApplied = "Kestrune state applied: ";
inline constexpr const char* kStillDrifts = "Kestrune state still drifts after ";

struct AppliedChange {
    StateDifference difference;
    Outcome outcome;  // Done, or Refused with the reason among its messages and details
};

struct StateApplyResult {
    std::vector<AppliedChange> changes;
    // What still differs afterwards, as the tables show it: empty when the machine matches.
    std::vector<StateDifference> remaining;

    bool Changed() const;
    bool Matches() const { return remaining.empty(); }
};

// Carries out every difference between the tables and `wanted`; one that is refused does not
// stop the others. The settings document is written at the end when a row changed.
StateApplyResult ApplyDesiredState(PlaceParts parts, const DesiredState& wanted);

// "Kestrune state applied: 2 change(s), the machine matches", or what still drifts; one line.
std::string ApplySummaryLine(const StateApplyResult& result, std::size_t entriesChecked);

}  // namespace kestrune
