#pragma once
// Watches the five start-up places once a second and asks the user whether programs that
// registered themselves may stay; disallowed entries are taken out of their places at once.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Outcome.h"
#include "app/RowFiles.h"
#include "app/RowPlace.h"
#include "app/TableKind.h"
#include "monitor/PlaceSnapshot.h"
#include "platform/PlaceWatch.h"

namespace kestrune {

struct MainState;
struct Options;

inline constexpr const char* kMonitorPromptHead = "The following programs";
inline constexpr const char* kMonitorPromptTail =
    "have registered to run at system start up - do you want to allow this?";
inline constexpr const char* kNewEntryMark = "[_]";
// Between an entry's name and its place in the list under the monitor's question.
inline constexpr const char* kPlaceSeparator = " \u2014 ";

// "Updater — HKCU Run": a new entry as the monitor's question lists it; an entry of another key
// than the table's main one also names that key ("Updater — HKLM Run,
// HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\Run (32-bit)").
std::string NewEntryWithPlace(TableKind kind, const std::string& name, PlaceKey key = PlaceKey::Main);

struct MonitorState {
    // Drives the monitor, one look a second; none for a monitor only looked at by hand.
    std::unique_ptr<Timer> timer;
    bool snapshotTaken = false;
    PlaceSnapshot previous;                       // tables 1 to 5
    std::unique_ptr<platform::PlaceWatch> watch;  // null: every tick looks (MonitorWatch.h)
};

// The monitor timer's tick: it asks through `prompts` whether new entries may stay. It takes
// the whole state: it reads the places, changes tables and places, stores the document and
// rescans what changed from outside.
void OnMonitorTick(MainState& state, Prompts& prompts, MonitorState& monitor);
// "Monitor changes": flips the option and starts or stops the timer.
void ToggleMonitor(Options& options, MonitorState& monitor);
// "Prevent delayed apps from registering": every Delayed row as a disallowed Known row; the
// status line says how many.
Outcome PreventDelayedAppsFromRegistering(RowParts parts);

}  // namespace kestrune
