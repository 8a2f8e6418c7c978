#include "delayed/DelayedRun.h"

#include <cmath>
#include <limits>
#include <utility>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Table.h"
#include "app/Text.h"
#include "delayed/StartingPriority.h"
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

// Launches the next entry (passing over rows unticked in the window) and decides what follows.
void RunNext(DelayedRun& run, DelayedStep& step) {
    if (run.window.visible) {
        for (;;) {
            // The highlighted row is the entry about to be decided on, also when the idle phase
            // goes back to the first entries after the timed ones.
            run.window.listPosition = run.currentIndex;
            const bool ticked = run.window.Advance();
            step.windowChanged = true;
            if (!CurrentIsLaunchable(run) || ticked) break;
            step.skipped.push_back(Current(run).command);
            ++run.currentIndex;
        }
    }

    if (CurrentIsLaunchable(run)) {
        step.launch.push_back(Current(run));
        ++run.currentIndex;
    }

    if (run.idlePhase) {
        step.finished = run.currentIndex >= EntryCount(run) || Current(run).delay > 0;
    } else if (run.currentIndex >= EntryCount(run)) {
        run.currentIndex = 0;
        if (!run.entries.empty() && run.entries.front().delay < 0) {
            step.idlePhaseBegins = true;
            run.idlePhase = true;
            run.elapsedSeconds = 0;
        } else {
            step.finished = true;
        }
    }
}

void LaunchEntry(MainState& state, DelayedRun& run, const RunEntry& entry) {
    const std::string running = kRunning + entry.command;
    state.WriteLog(running);
    state.events.DelayedLaunch(running);
    const auto started = LaunchDelayedApp(state, entry.command, state.options.skipRunning);
    if (!started) return;
    run.impact.Follow(state, entry.row, entry.command, *started,
                      !HasOwnPriority(state.table(TableKind::Process), entry.command, entry.priority));
    if (!entry.priority.empty()) ApplyPriorityToCommand(state, entry.command, entry.priority, *started);
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
                           delayed.Text(position, col::DelayedPriority), delayed.Id(position)});
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

    FillDelayedWindow(state.events, run.window, run.entries);

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
    run.impact.BeginRun();
    if (state.delayedRunTimer) state.delayedRunTimer->Start();
}

DelayedStep AdvanceDelayedRun(DelayedRun& run, const RunConditions& conditions) {
    DelayedStep step;
    if (!run.running) return step;
    if (!run.idlePhase) {
        ++run.elapsedSeconds;
        step.status = std::to_string(run.elapsedSeconds) + kSecondsHavePassed;
        if (run.currentIndex >= 0 && run.currentIndex < EntryCount(run) && run.elapsedSeconds >= Current(run).delay)
            RunNext(run, step);
        return step;
    }

    const int usage = conditions.cpuUsage;
    if (usage == -1) return step;  // no reading: neither idle nor busy
    const std::string cpu = kCpuOpen + std::to_string(usage);
    run.window.SetCpu(usage);
    step.windowChanged = true;
    if (usage < conditions.idleThreshold) {
        step.status = cpu + kCpuIdleFor + std::to_string(run.elapsedSeconds) + kSeconds;
        ++run.elapsedSeconds;
        if (run.elapsedSeconds > conditions.idleSeconds) {
            run.elapsedSeconds = 0;
            RunNext(run, step);
        }
    } else {
        run.elapsedSeconds = 0;
        step.status = cpu + kCpuNotIdle;
    }
    return step;
}

AfterRun OnDelayedRunTick(MainState& state, DelayedRun& run) {
    if (!run.running) return AfterRun::Nothing;
    RunConditions conditions;
    conditions.idleThreshold = state.options.idleThreshold;
    conditions.idleSeconds = state.options.idleSeconds;
    if (run.idlePhase && run.cpuMeter) conditions.cpuUsage = run.cpuMeter->Query();
    if (conditions.cpuUsage != -1) run.impact.NoteCpu(conditions.cpuUsage);

    const DelayedStep step = AdvanceDelayedRun(run, conditions);
    if (!step.status.empty()) state.fe.SetStatus(step.status);
    if (step.windowChanged) state.events.DelayedWindowChanged();
    for (const std::string& command : step.skipped) state.WriteLog(kSkipping + command);
    for (const RunEntry& entry : step.launch) LaunchEntry(state, run, entry);
    if (step.idlePhaseBegins) LogAndShow(state, kStartingIdleApps);
    return step.finished ? FinishDelayedRun(state, run) : AfterRun::Nothing;
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
    const platform::LaunchResult result =
        state.platform.launcher().StartCommand(command, platform::ShowWindow::Minimised);
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
    run.impact.EndRun();
    run.runDelayedCaption = kRunDelayedCaption;
    LogAndShow(state, kFinishedDelayed);
    if (run.window.visible) HideDelayedWindow(state.events, run.window);
    ApplyStoredPriorities(state, false);
    ReleaseControls(state, run);
    if (state.options.exitAfterDelayed) return AfterRun::CloseDown;
    if (state.slimlineMode) return AfterRun::SendToTray;
    return AfterRun::Nothing;
}

void ReleaseControls(MainState& state, DelayedRun& run) {
    if (!run.holdsControls) return;
    run.holdsControls = false;
    state.events.EndBusy(false);
}

void CarryOut(AfterRun after, const std::function<void()>& closeDown, const std::function<void()>& sendToTray) {
    if (after == AfterRun::CloseDown && closeDown) closeDown();
    if (after == AfterRun::SendToTray && sendToTray) sendToTray();
}

}  // namespace kestrune
