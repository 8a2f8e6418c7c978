#pragma once
// Comparing the tables with a wanted state: what the machine holds now in the state's form
// (for export), whether a wanted state makes sense at all, and each way the tables differ
// from it, worded for a reader who sees no table.

#include <optional>
#include <string>
#include <vector>

#include "app/Table.h"
#include "desired/DesiredState.h"

namespace kestrune {

inline constexpr const char* kStateMatches = "Kestrune state matches: ";
inline constexpr const char* kStateDrifts = "Kestrune state drifts: ";

enum class StateChange {
    Enable,   // a disabled row must be enabled
    Disable,  // an enabled row must be disabled
    Add,      // no row of that name: one is added (and enabled, for a place)
    Command,  // an enabled entry runs another command than wanted
    Update,   // a Delayed, Known or Process row differs in its fields
    Missing,  // an entry must be enabled, but neither the place nor the state gives its command
};

// An entry as it is or as it is wanted; which fields count depends on the table.
struct EntryFields {
    bool present = false;
    bool enabled = false;
    std::string path;
    std::string arguments;  // Startup folders
    std::string delay;      // Delayed
    std::string priority;   // Delayed, Process
    bool operator==(const EntryFields&) const = default;
};

struct StateDifference {
    TableKind kind = TableKind::HKCU_Run;
    std::string name;  // for Known, the path
    StateChange change = StateChange::Enable;
    bool unlisted = false;  // an "exact" place holds an enabled entry the state does not name
    EntryFields before;
    EntryFields after;
    RowId row = 0;  // the row the difference is about; 0 when there is none yet
};

// "enable", "disable", "add", "command", "update", "missing".
std::string_view ChangeWord(StateChange change);

// What the tables hold now: every location table as a "listed" (or `mode`) place, the Delayed
// and Known rows and the stored priorities, each sorted by name so that two descriptions of
// the same machine are equal.
DesiredState CaptureState(const Tables& tables, PlaceMode mode = PlaceMode::Listed);

// Why the state cannot be applied (an empty or unsafe name, a name given twice, an unknown
// priority, ...); nullopt when it can.
std::optional<std::string> ValidateDesiredState(const DesiredState& wanted);

// Each way the tables differ from the wanted state, disabling changes first (so that an
// unlisted entry is out of the way before one with its command is enabled).
std::vector<StateDifference> CompareState(const Tables& tables, const DesiredState& wanted);

// One difference in words: `HKCU Run "Updater": disabled, wanted enabled`.
std::string DescribeDifference(const StateDifference& difference);
// The line that comes first: whether the machine matches and, if not, the differences as far
// as they fit under `limit` characters.
std::string SummaryLine(const std::vector<StateDifference>& differences, std::size_t entriesChecked,
                        std::size_t limit = 2000);
// How many entries and rows the state names.
std::size_t CountWanted(const DesiredState& wanted);

}  // namespace kestrune
