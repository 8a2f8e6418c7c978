#pragma once
// A wanted start-up state: for some places the entries that must be enabled or disabled there,
// and optionally the Delayed rows, the Known rules and the stored process priorities. An
// administrator keeps one in a file and has every machine brought to it; the program can also
// describe its own machine in the same form.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

inline constexpr int kStateVersion = 1;

enum class PlaceMode {
    Listed,  // only the entries named are managed
    Exact,   // an enabled entry the state does not name is disabled (kept restorable)
};

// One entry of a start-up place, matched to the place's rows by name, ignoring case.
struct WantedEntry {
    std::string name;
    // The command (Run keys) or the shortcut's target (Startup folders); nullopt leaves the
    // entry's present command alone.
    std::optional<std::string> path;
    std::optional<std::string> arguments;  // Startup folders only
    bool enabled = true;
};

struct WantedPlace {
    PlaceMode mode = PlaceMode::Listed;
    std::vector<WantedEntry> entries;
};

struct WantedDelayed {
    std::string name;
    std::string path;
    long long delay = 1;   // seconds; negative: only when idle
    std::string priority;  // "" or one of the priority texts
    bool enabled = true;
};

struct WantedKnown {
    std::string path;
    bool allowed = true;
};

// A stored priority: the program of that name (and path, when given) is kept at it.
struct WantedProcess {
    std::string name;
    std::string path;
    std::string priority;
};

struct DesiredState {
    // Only the five location tables are places.
    std::map<TableKind, WantedPlace> places;
    // An absent section is not managed; the rows it names are added or brought up to date,
    // and rows it does not name are left alone.
    std::optional<std::vector<WantedDelayed>> delayed;
    std::optional<std::vector<WantedKnown>> known;
    std::optional<std::vector<WantedProcess>> processes;
};

}  // namespace kestrune
