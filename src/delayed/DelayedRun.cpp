#include "delayed/DelayedRun.h"

#include <cmath>
#include <limits>
#include <utility>

#include "app/CommandLine.h"
#include "app/Table.h"
#include "app/Text.h"
#include "delayed/StartingPriority.h"

namespace kestrune {

namespace {

void LogAndShow(const RunParts& parts, const std::string& text) {
    parts.services.WriteLog(text);
    if (parts.status) parts.status(text);
}

void StopTimer(DelayedRun& run) {
    if (run.timer) run.timer->Stop();
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

void LaunchEntry(const RunParts& parts, DelayedRun& run, const RunEntry& entry) {
    const std::string running = kRunning + entry.command;
    parts.services.WriteLog(running);
    parts.model.events.DelayedLaunch(running);
    const DelayedLaunch launch =
        LaunchDelayedApp(parts.services, parts.model, entry.command, parts.options.skipRunning);
    if (parts.status) parts.status(launch.status);
    if (!launch.processId) return;
    const std::uint32_t started = *launch.processId;
    run.impact.Follow(parts.services, entry.row, entry.command, started,
                      !HasOwnPriority(parts.model.tables[TableKind::Process], entry.command, entry.priority));
    if (!entry.priority.empty()) ApplyPriorityToCommand(parts.services, entry.command, entry.priority, started);
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

void StartDelayedRun(const RunParts& parts, DelayedRun& run) {
    run.entries.clear();
    run.elapsedSeconds = 0;
    run.entries = BuildRunEntries(parts.model.tables[TableKind::Delayed]);
    if (run.entries.empty()) return;
    SortRunEntries(run.entries);

    FillDelayedWindow(parts.model.events, run.window, run.entries);

    run.currentIndex = 0;
    run.idlePhase = true;
    for (int i = 0; i < EntryCount(run); ++i) {
        if (run.entries[static_cast<size_t>(i)].delay > 0) {
            run.currentIndex = i;
            run.idlePhase = false;
            break;
        }
    }

    LogAndShow(parts, kRunningDelayed);
    run.running = true;
    run.impact.BeginRun();
    if (run.timer) run.timer->Start();
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

AfterRun OnDelayedRunTick(const RunParts& parts, DelayedRun& run) {
    if (!run.running) return AfterRun::Nothing;
    RunConditions conditions;
    conditions.idleThreshold = parts.options.idleThreshold;
    conditions.idleSeconds = parts.options.idleSeconds;
    if (run.idlePhase && run.cpuMeter) conditions.cpuUsage = run.cpuMeter->Query();
    if (conditions.cpuUsage != -1) run.impact.NoteCpu(conditions.cpuUsage);

    const DelayedStep step = AdvanceDelayedRun(run, conditions);
    if (!step.status.empty() && parts.status) parts.status(step.status);
    if (step.windowChanged) parts.model.events.DelayedWindowChanged();
    for (const std::string& command : step.skipped) parts.services.WriteLog(kSkipping + command);
    for (const RunEntry& entry : step.launch) LaunchEntry(parts, run, entry);
    if (step.idlePhaseBegins) LogAndShow(parts, kStartingIdleApps);
    return step.finished ? FinishDelayedRun(parts, run) : AfterRun::Nothing;
}

DelayedLaunch LaunchDelayedApp(Services& services, const Model& model, const std::string& command, bool skipIfRunning) {
    if (skipIfRunning) {
        const SplitResult split = SplitCommandLine(command, false);
        const std::string fileName = FileNameOf(split.path);
        for (const platform::ProcessInfo& process : model.processSnapshot) {
            if (EqualsIgnoreCase(process.name, fileName) && EqualsIgnoreCase(process.path, split.path)) {
                services.WriteLog(kSkippingRunningProcess + command);
                return {std::nullopt, kSkipping + command};
            }
        }
    }
    DelayedLaunch launch{std::nullopt, kRunning + command};
    const platform::LaunchResult result =
        services.platform.launcher().StartCommand(command, platform::ShowWindow::Minimised);
    if (!result.ok) {
        services.WriteLog(kErrorRunning + command);
        services.WriteLog(kError + std::to_string(result.errorNumber) + kErrorSeparator + result.errorText);
        return launch;
    }
    launch.processId = result.processId;
    return launch;
}

AfterRun FinishDelayedRun(const RunParts& parts, DelayedRun& run) {
    StopTimer(run);
    run.running = false;
    run.impact.EndRun();
    run.runDelayedCaption = kRunDelayedCaption;
    LogAndShow(parts, kFinishedDelayed);
    if (run.window.visible) HideDelayedWindow(parts.model.events, run.window);
    ApplyStoredPriorities(parts.services, parts.model, false);
    ReleaseControls(parts.model.events, run);
    if (parts.options.exitAfterDelayed) return AfterRun::CloseDown;
    if (parts.slimline) return AfterRun::SendToTray;
    return AfterRun::Nothing;
}

std::string StopDelayedRun(ModelEvents& events, DelayedRun& run) {
    StopTimer(run);
    run.running = false;
    run.impact.EndRun();
    run.runDelayedCaption = kRunDelayedCaption;
    ReleaseControls(events, run);
    return kDelayedStopped;
}

void ReleaseControls(ModelEvents& events, DelayedRun& run) {
    if (!run.holdsControls) return;
    run.holdsControls = false;
    events.EndBusy(false);
}

void CarryOut(AfterRun after, const std::function<void()>& closeDown, const std::function<void()>& sendToTray) {
    if (after == AfterRun::CloseDown && closeDown) closeDown();
    if (after == AfterRun::SendToTray && sendToTray) sendToTray();
}

}  // namespace kestrune
