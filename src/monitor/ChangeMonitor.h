#pragma once
// Watches the five start-up places once a second and asks the user whether programs that
// registered themselves may stay; disallowed entries are taken out of their places at once.

#include <array>
#include <string>
#include <vector>

#include "app/TableKind.h"
#include "platform/PlaceWatch.h"

namespace kestrune {

struct MainState;

inline constexpr const char* kMonitorPromptHead = "The following programs";
inline constexpr const char* kMonitorPromptTail =
    "have registered to run at system start up - do you want to allow this?";
inline constexpr const char* kNewEntryMark = "[_]";

// One entry of a place as the monitor sees it.
struct MonitorEntry {
    std::string identity;   // compared between ticks: the entry exactly as read
    std::string key;        // the entry's path: the shortcut's target or the value's data
    std::string name;       // the shortcut's name (file name without extension) or the value's name
    std::string arguments;  // a shortcut's arguments
    std::string file;       // a shortcut's file
};

struct MonitorState {
    bool snapshotTaken = false;
    std::array<std::vector<MonitorEntry>, 5> previous;  // tables 1 to 5
    std::unique_ptr<platform::PlaceWatch> watch;        // null: every tick looks (MonitorWatch.h)
};

// The monitor timer's tick.
void OnMonitorTick(MainState& state, MonitorState& monitor);
// "Monitor changes": flips the option and starts or stops the timer.
void ToggleMonitor(MainState& state);
// "Prevent delayed apps from registering": every Delayed row as a disallowed Known row.
void PreventDelayedAppsFromRegistering(MainState& state);

}  // namespace kestrune
