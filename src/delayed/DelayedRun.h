#pragma once
// The delayed run: the ticked Delayed rows launched one after another, those with a positive
// delay that many seconds after the run began, those with a negative delay (and 0) one by one
// whenever the processor has been idle long enough. Driven by delayedRunTimer, one tick a second.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "delayed/CpuMeter.h"
#include "delayed/DelayedTexts.h"
#include "delayed/DelayedWindow.h"
#include "delayed/ImpactSampler.h"

namespace kestrune {

struct MainState;
class Table;

struct RunEntry {
    std::int32_t delay = 0;
    std::string command;   // passed to the launch unchanged
    std::string priority;  // "" leaves the priority alone
    RowId row = 0;         // the Delayed row it came from, which keeps its measured impact
};

// What the caller has to do once a step has ended the run. Closing down and the window's trip
// to the tray live above the run, so the run never does them itself.
enum class AfterRun { Nothing, CloseDown, SendToTray };

struct DelayedRun {
    std::vector<RunEntry> entries;  // in run order
    std::int32_t currentIndex = 0;  // the next entry to launch
    bool idlePhase = false;
    // Timed phase: seconds since the run began; idle phase: consecutive idle seconds.
    std::int32_t elapsedSeconds = 0;
    std::unique_ptr<CpuMeter> cpuMeter;
    DelayedWindow window;
    // Follows what each started program costs, and draws the run's timeline.
    ImpactSampler impact;
    // The caption of "Run delayed applications", which says what choosing it does.
    std::string runDelayedCaption = kRunDelayedCaption;

    // A run is going (its timer ticks reach it).
    bool running = false;
    // A run started from the menu keeps the controls busy until it ends or is stopped.
    bool holdsControls = false;
};

// What one tick of the run decided, for its caller to carry out in this order. The tick itself
// launches nothing and tells no view: it only moves the run and its window's model on.
struct DelayedStep {
    std::string status;                // the status line first ("" leaves it)
    std::vector<std::string> skipped;  // commands the window passed over, to log
    std::vector<RunEntry> launch;      // to start now, in order (one at most per tick)
    bool windowChanged = false;        // the window's model moved on
    bool idlePhaseBegins = false;      // after the launches: the idle applications come next
    bool finished = false;             // then the run's end steps (FinishDelayedRun)
};

// What a tick is decided on.
struct RunConditions {
    int cpuUsage = -1;  // percent; -1 without a reading (asked in the idle phase only)
    int idleThreshold = 0;
    int idleSeconds = 0;
};

// The Delay column read as whole seconds: the leading number, rounded halves to even.
std::int32_t DelayOf(const std::string& text);
// One entry per ticked row, in table order.
std::vector<RunEntry> BuildRunEntries(const Table& delayed);
// Smallest delay first, by the exchange sort whose order of equal delays the program keeps.
void SortRunEntries(std::vector<RunEntry>& entries);

// Builds the entries, shows the window and starts delayedRunTimer; nothing when no row is ticked.
void StartDelayedRun(MainState& state, DelayedRun& run);
// One second of the run: the state machine the timer advances.
DelayedStep AdvanceDelayedRun(DelayedRun& run, const RunConditions& conditions);
// delayedRunTimer's handler: reads the processor when the run needs it, advances the run and carries
// the step out (launches, log and status lines, the window, the end steps).
AfterRun OnDelayedRunTick(MainState& state, DelayedRun& run);
// Starts a command minimised: the started process's id (0 when the system does not tell), or
// nothing when it was skipped as already running or failed to start.
std::optional<std::uint32_t> LaunchDelayedApp(MainState& state, const std::string& command, bool skipIfRunning);
// The end steps of a run.
AfterRun FinishDelayedRun(MainState& state, DelayedRun& run);
// Frees the controls a run started from the menu kept busy.
void ReleaseControls(MainState& state, DelayedRun& run);
// Does what a finished run asks: calls `sendToTray` or `closeDown`.
void CarryOut(AfterRun after, const std::function<void()>& closeDown, const std::function<void()>& sendToTray);

}  // namespace kestrune
