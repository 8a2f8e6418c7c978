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

namespace kestrune {

struct MainState;
class Table;

struct RunEntry {
    std::int32_t delay = 0;
    std::string command;   // passed to the launch unchanged
    std::string priority;  // "" leaves the priority alone
};

// What the caller has to do once a step has ended the run. Closing down lives above the run,
// so the run never does it itself.
enum class AfterRun { Nothing, CloseDown, SendToTray };

struct DelayedRun {
    std::vector<RunEntry> entries;  // in run order
    std::int32_t currentIndex = 0;  // the next entry to launch
    bool idlePhase = false;
    // Timed phase: seconds since the run began; idle phase: consecutive idle seconds.
    std::int32_t elapsedSeconds = 0;
    std::unique_ptr<CpuMeter> cpuMeter;
    DelayedWindow window;
    // The caption of "Run delayed applications", which says what choosing it does.
    std::string runDelayedCaption = kRunDelayedCaption;

    // A run is going (its timer ticks reach it).
    bool running = false;
    // A step lets queued events run; a tick arriving meanwhile waits for the step to end, and
    // a run stopped or restarted meanwhile makes the step give up.
    bool inStep = false;
    int deferredTicks = 0;
    std::uint64_t generation = 0;
};

// The Delay column read as whole seconds: the leading number, rounded halves to even.
std::int32_t DelayOf(const std::string& text);
// One entry per ticked row, in table order.
std::vector<RunEntry> BuildRunEntries(const Table& delayed);
// Smallest delay first, by the exchange sort whose order of equal delays the program keeps.
void SortRunEntries(std::vector<RunEntry>& entries);

// Builds the entries, shows the window and starts delayedRunTimer; nothing when no row is ticked.
void StartDelayedRun(MainState& state, DelayedRun& run);
// delayedRunTimer's handler.
AfterRun OnDelayedRunTick(MainState& state, DelayedRun& run);
// Launches the next entry (passing over rows unticked in the window) and decides what follows.
AfterRun RunNextDelayed(MainState& state, DelayedRun& run);
// Starts a command minimised: the started process's id (0 when the system does not tell), or
// nothing when it was skipped as already running or failed to start.
std::optional<std::uint32_t> LaunchDelayedApp(MainState& state, const std::string& command, bool skipIfRunning);
// The end steps of a run.
AfterRun FinishDelayedRun(MainState& state, DelayedRun& run);
// Does what a finished run asks: sends the window to the tray, or calls `closeDown`.
void CarryOut(MainState& state, AfterRun after, const std::function<void()>& closeDown);

}  // namespace kestrune
