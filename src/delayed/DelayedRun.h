#pragma once
// The delayed run: the ticked Delayed rows launched one after another, those with a positive
// delay that many seconds after the run began, those with a negative delay (and 0) one by one
// whenever the processor has been idle long enough. Driven by the run's own timer, one tick a
// second.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Model.h"
#include "app/Options.h"
#include "app/Services.h"
#include "delayed/CpuMeter.h"
#include "delayed/DelayedTexts.h"
#include "delayed/DelayedWindow.h"
#include "delayed/ImpactSampler.h"
#include "procs/ProcessList.h"

namespace kestrune {

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
    // Ticks once a second while the run goes (the session creates it with the other timers).
    std::unique_ptr<Timer> timer;
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

// What a run works on and through: the tables and the machine, the options it reads (the idle
// settings, "Skip running", "Exit after delayed run"), whether the window is in Slimline mode,
// and where it says what it does. It says it as it goes: a tick's status lines interleave with
// the changes of the run's window, which the views follow as they happen.
struct RunParts {
    Model& model;
    Services& services;
    const Options& options;
    bool slimline = false;
    ProgressLine status;
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

// Builds the entries, shows the window and starts the run's timer; nothing when no row is ticked.
void StartDelayedRun(const RunParts& parts, DelayedRun& run);
// One second of the run: the state machine the timer advances.
DelayedStep AdvanceDelayedRun(DelayedRun& run, const RunConditions& conditions);
// The timer's handler: reads the processor when the run needs it, advances the run and carries
// the step out (launches, log and status lines, the window, the end steps).
AfterRun OnDelayedRunTick(const RunParts& parts, DelayedRun& run);

// A command started minimised, or why not.
struct DelayedLaunch {
    // The started process's id (0 when the system does not tell); nothing when the command
    // was skipped as already running or failed to start.
    std::optional<std::uint32_t> processId;
    // The status line it leaves: the command being run, or being skipped.
    std::string status;
};
// Starts a command minimised, as the run does; the log says what failed.
DelayedLaunch LaunchDelayedApp(Services& services, const Model& model, const std::string& command, bool skipIfRunning);
// The end steps of a run.
AfterRun FinishDelayedRun(const RunParts& parts, DelayedRun& run);
// Ends a run before its last entry (the menu's second click): its timer stops and the
// controls are free. The status line it leaves.
std::string StopDelayedRun(ModelEvents& events, DelayedRun& run);
// Frees the controls a run started from the menu kept busy.
void ReleaseControls(ModelEvents& events, DelayedRun& run);
// Does what a finished run asks: calls `closeDown` or `sendToTray`.
void CarryOut(AfterRun after, const std::function<void()>& closeDown, const std::function<void()>& sendToTray);

}  // namespace kestrune
