#include "delayed/DelayedRun.h"

#include <cmath>
#include <limits>
#include <utility>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Table.h"
#include "app/Text.h"
#include "app/Tray.h"
#include "procs/ProcessList.h"

namespace kestrune {

namespace {

void LogAndShow(MainState& state, const std::string& text) {
    state.WriteLog(text);
    state.fe.SetStatus(text);
}

void StopTimer(MainState& state) {
    if (state.delayedRunTimer) state.delayedRunTimer->Stop();
}

int EntryCount(const DelayedRun& run) { return static_cast<int>(run.entries.size()); }

const RunEntry& Current(const DelayedRun& run) { return run.entries[static_cast<size_t>(run.currentIndex)]; }

// The entry at CurrentIndex may be launched now: it exists, and in the idle phase it is not
// one of the timed entries (those were launched before the idle phase began).
bool CurrentIsLaunchable(const DelayedRun& run) {
    if (run.currentIndex < 0 || run.currentIndex >= EntryCount(run)) return false;
    return !(run.idlePhase && Current(run).delay > 0);
}

// Marks a step in progress for as long as it lives.
class StepGuard {
public:
    explicit StepGuard(DelayedRun& run) : run_(run), wasInStep_(run.inStep) { run_.inStep = true; }
    ~StepGuard() { run_.inStep = wasInStep_; }
    StepGuard(const StepGuard&) = delete;
    StepGuard& operator=(const StepGuard&) = delete;

private:
    DelayedRun& run_;
    bool wasInStep_;
};

AfterRun TickOnce(MainState& state, DelayedRun& run) {
    if (!run.idlePhase) {
        ++run.elapsedSeconds;
        state.fe.SetStatus(std::to_string(run.elapsedSeconds) + kSecondsHavePassed);
        if (run.currentIndex >= 0 && run.currentIndex < EntryCount(run) && run.elapsedSeconds >= Current(run).delay)
            return RunNextDelayed(state, run);
        return AfterRun::Nothing;
    }

    const int usage = run.cpuMeter ? run.cpuMeter->Query() : -1;
    if (usage == -1) return AfterRun::Nothing;  // no reading: neither idle nor busy
    const std::string cpu = kCpuOpen + std::to_string(usage);
    if (usage < state.options.idleThreshold) {
        state.fe.SetStatus(cpu + kCpuIdleFor + std::to_string(run.elapsedSeconds) + kSeconds);
        ShowCPU(state, run.window, usage);
        ++run.elapsedSeconds;
        if (run.elapsedSeconds > state.options.idleSeconds) {
            run.elapsedSeconds = 0;
            return RunNextDelayed(state, run);
        }
    } else {
        run.elapsedSeconds = 0;
        state.fe.SetStatus(cpu + kCpuNotIdle);
        ShowCPU(state, run.window, usage);
    }
    return AfterRun::Nothing;
}

}  // namespace

std::int32_t DelayOf(const std::string& text) {
    const double value = LeadingNumber(text);
    // Far beyond any sensible delay; held at the 32-bit range rather than wrapped.
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value)) return 0;
    if (value <= kLow) return std::numeric_limits<std::int32_t>::min();
    if (value >= kHigh) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(RoundHalfEven(value));
}

std::vector<RunEntry> BuildRunEntries(const Table& delayed) {
    std::vector<RunEntry> entries;
    for (int position = 1; position <= delayed.Count(); ++position) {
        if (!delayed.Ticked(position)) continue;
        entries.push_back({DelayOf(delayed.Text(position, col::Delay)), delayed.Text(position, col::Path),
                           delayed.Text(position, col::DelayedPriority)});
    }
    return entries;
}

void SortRunEntries(std::vector<RunEntry>& entries) {
    // Not a stable sort: entries with equal delays come out in the order this exchange leaves
    // them, which is the order the program has always launched them in.
    for (size_t i = 0; i + 1 < entries.size(); ++i)
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j].delay < entries[i].delay) std::swap(entries[i], entries[j]);
}

void StartDelayedRun(MainState& state, DelayedRun& run) {
    run.entries.clear();
    run.elapsedSeconds = 0;
    run.entries = BuildRunEntries(state.table(TableKind::Delayed));
    if (run.entries.empty()) return;
    SortRunEntries(run.entries);

    ++run.generation;
    run.deferredTicks = 0;
    FillDelayedWindow(state, run.window, run.entries);

    run.currentIndex = 0;
    run.idlePhase = true;
    for (int i = 0; i < EntryCount(run); ++i) {
        if (run.entries[static_cast<size_t>(i)].delay > 0) {
            run.currentIndex = i;
            run.idlePhase = false;
            break;
        }
    }

    LogAndShow(state, kRunningDelayed);
    run.running = true;
    if (state.delayedRunTimer) state.delayedRunTimer->Start();
}

AfterRun OnDelayedRunTick(MainState& state, DelayedRun& run) {
    if (!run.running) return AfterRun::Nothing;
    if (run.inStep) {
        ++run.deferredTicks;
        return AfterRun::Nothing;
    }
    AfterRun after = TickOnce(state, run);
    while (after == AfterRun::Nothing && run.running && run.deferredTicks > 0) {
        --run.deferredTicks;
        after = TickOnce(state, run);
    }
    return after;
}

AfterRun RunNextDelayed(MainState& state, DelayedRun& run) {
    StepGuard guard(run);
    const std::uint64_t generation = run.generation;
    // Events let run during the step may have stopped this run or begun another one.
    const auto abandoned = [&] { return !run.running || run.generation != generation; };

    if (run.window.visible) {
        for (;;) {
            // The highlighted row is the entry about to be decided on, also when the idle phase
            // goes back to the first entries after the timed ones.
            run.window.listPosition = run.currentIndex;
            const bool ticked = AdvanceList(state, run.window);
            if (abandoned()) return AfterRun::Nothing;
            if (!CurrentIsLaunchable(run) || ticked) break;
            state.WriteLog(kSkipping + Current(run).command);
            ++run.currentIndex;
        }
    }

    if (CurrentIsLaunchable(run)) {
        const RunEntry entry = Current(run);
        const std::string running = kRunning + entry.command;
        state.WriteLog(running);
        ShowTrayBalloon(state, running);
        const auto started = LaunchDelayedApp(state, entry.command, state.options.skipRunning);
        ++run.currentIndex;
        if (started && !entry.priority.empty()) {
            ApplyPriorityToCommand(state, entry.command, entry.priority, *started);
            if (abandoned()) return AfterRun::Nothing;
        }
    }

    bool ends = false;
    if (run.idlePhase) {
        ends = run.currentIndex >= EntryCount(run) || Current(run).delay > 0;
    } else if (run.currentIndex >= EntryCount(run)) {
        run.currentIndex = 0;
        if (!run.entries.empty() && run.entries.front().delay < 0) {
            LogAndShow(state, kStartingIdleApps);
            run.idlePhase = true;
            run.elapsedSeconds = 0;
        } else {
            ends = true;
        }
    }
    return ends ? FinishDelayedRun(state, run) : AfterRun::Nothing;
}

std::optional<std::uint32_t> LaunchDelayedApp(MainState& state, const std::string& command, bool skipIfRunning) {
    if (skipIfRunning) {
        const SplitResult split = SplitCommandLine(command, false);
        const std::string fileName = FileNameOf(split.path);
        for (const platform::ProcessInfo& process : state.processSnapshot) {
            if (EqualsIgnoreCase(process.name, fileName) && EqualsIgnoreCase(process.path, split.path)) {
                state.WriteLog(kSkippingRunningProcess + command);
                state.fe.SetStatus(kSkipping + command);
                return std::nullopt;
            }
        }
    }
    state.fe.SetStatus(kRunning + command);
    const platform::LaunchResult result = state.platform.launcher().StartCommand(command, platform::ShowWindow::Minimised);
    if (!result.ok) {
        state.WriteLog(kErrorRunning + command);
        state.WriteLog(kError + std::to_string(result.errorNumber) + kErrorSeparator + result.errorText);
        return std::nullopt;
    }
    return result.processId;
}

AfterRun FinishDelayedRun(MainState& state, DelayedRun& run) {
    StopTimer(state);
    run.running = false;
    run.runDelayedCaption = kRunDelayedCaption;
    LogAndShow(state, kFinishedDelayed);
    if (run.window.visible) HideDelayedWindow(state, run.window);
    ApplyStoredPriorities(state, false);
    state.fe.SetControlsEnabled(true, false);
    if (state.options.exitAfterDelayed) return AfterRun::CloseDown;
    if (state.slimlineMode) return AfterRun::SendToTray;
    return AfterRun::Nothing;
}

void CarryOut(MainState& state, AfterRun after, const std::function<void()>& closeDown) {
    if (after == AfterRun::CloseDown && closeDown) closeDown();
    if (after == AfterRun::SendToTray) SendToTray(state);
}

}  // namespace kestrune
