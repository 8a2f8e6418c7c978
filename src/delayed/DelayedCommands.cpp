#include "delayed/DelayedCommands.h"

#include <cmath>
#include <limits>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/LocationChange.h"
#include "locations/ShellOps.h"
#include "procs/ProcessList.h"

namespace kestrune {

void RunDelayedCommand(MainState& state, DelayedRun& run) {
    if (run.runDelayedCaption == kRunDelayedCaption) {
        run.runDelayedCaption = kStopDelayedCaption;
        run.window.exitButtonVisible = false;
        state.events.DelayedWindowChanged();
        if (!run.holdsControls) {
            run.holdsControls = true;
            state.events.BeginBusy(false);
        }
        StartDelayedRun(state, run);
        return;
    }
    if (state.delayedRunTimer) state.delayedRunTimer->Stop();
    run.running = false;
    run.runDelayedCaption = kRunDelayedCaption;
    state.fe.SetStatus(kDelayedStopped);
    ReleaseControls(state, run);
}

void StartSlimlineDelayedRun(MainState& state, DelayedRun& run) {
    run.window.exitButtonVisible = true;
    state.events.DelayedWindowChanged();
    StartDelayedRun(state, run);
}

void MakeAllDelayedIdle(MainState& state) {
    const BusyScope busy(state.events, true);
    Table& delayed = state.table(TableKind::Delayed);
    const int count = delayed.Count();
    for (int position = 1; position <= count; ++position)
        delayed.SetText(position, col::Delay, std::to_string(position - count - 1));
    state.settingsChanged = true;
    state.fe.SetStatus(kAllIdleDone);
}

std::optional<std::int16_t> ReadIdleSetting(const std::string& answer) {
    const double value = LeadingNumber(answer);
    // Checked before rounding so that no huge or non-finite value reaches the conversion.
    if (!(std::fabs(value) < 1e9)) return std::nullopt;
    const std::int64_t whole = RoundHalfEven(value);
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

namespace {

// One idle setting from an input box: false when the command ends here (nothing typed, or a
// value refused); the setting changes only with an accepted value.
bool AskIdleSetting(MainState& state, const char* prompt, std::int16_t& setting) {
    const std::string answer = state.fe.InputBox(prompt, kTitle, std::to_string(setting));
    if (answer.empty()) return false;
    const auto value = ReadIdleSetting(answer);
    if (!value) {
        state.fe.ShowMessage(kIdleValueOutOfRange, MessageIcon::Exclamation);
        return false;
    }
    setting = *value;
    return true;
}

}  // namespace

void SetIdleSettings(MainState& state) {
    if (!AskIdleSetting(state, kIdleThresholdPrompt, state.options.idleThreshold)) return;
    AskIdleSetting(state, kIdleSecondsPrompt, state.options.idleSeconds);
}

void ToggleExitAfterDelayed(MainState& state) { state.options.exitAfterDelayed = !state.options.exitAfterDelayed; }

void ToggleSkipRunning(MainState& state) { state.options.skipRunning = !state.options.skipRunning; }

std::string SelfShortcutPath(MainState& state) {
    // Without the folder the name alone would be a path relative to wherever the program runs.
    if (state.commonStartupFolder.empty()) return {};
    return AddBackslash(state.commonStartupFolder) + kSelfShortcutName + kShortcutExtension;
}

std::string SelfShortcutTarget(MainState& state) {
    auto& system = state.platform.system();
    // Always the desktop program: the console program registering itself would start a
    // window-less copy at log-on.
    return state.appFolder + kDesktopProgramName + system.ProgramExtension();
}

void ToggleRunOnStartup(MainState& state) {
    state.options.runOnStartup = !state.options.runOnStartup;
    if (state.options.runOnStartup) {
        CreateShortcut(state.platform.shell(), state.commonStartupFolder, kSelfShortcutName, SelfShortcutTarget(state),
                       kSlimlineArgument);
        // The delayed run depends on it: the monitor must not offer to take it out again.
        NoteOwnPlaceChange(state, TableKind::CommonStartup, kSelfShortcutName, true, false);
        return;
    }
    if (state.table(TableKind::Delayed).Count() >= 1) {
        state.fe.ShowMessage(kNeedsRunOnStartup, MessageIcon::Information);
        state.options.runOnStartup = true;
        return;
    }
    const std::string shortcut = SelfShortcutPath(state);
    if (state.FileExists(shortcut) && state.platform.files().RemoveFile(shortcut))
        NoteOwnPlaceChange(state, TableKind::CommonStartup, kSelfShortcutName, false, false);
}

Outcome RunNow(MainState& state, TableKind kind, int position) {
    const Table& table = state.table(kind);
    if (position < 1 || position > table.Count()) return {};
    // A Startup-folder row keeps its arguments in their own column: the command is the target.
    const std::string command = table.Text(position, kind == TableKind::Known ? col::KnownPath : col::Path);
    if (command.empty()) return Outcome::Of(OutcomeStatus::NothingToDo, "the row has no command to run");
    const auto started = LaunchDelayedApp(state, command, state.options.skipRunning);
    // The status line and the log have said why.
    if (!started) return Outcome::Of(OutcomeStatus::Refused, "did not start " + command);
    Outcome outcome =
        Outcome::Of(OutcomeStatus::Done, "started " + command + " (pid " + std::to_string(*started) + ")");
    if (kind == TableKind::Delayed) {
        const std::string priority = table.Text(position, col::DelayedPriority);
        if (!priority.empty()) ApplyPriorityToCommand(state, command, priority, *started);
    } else if (kind == TableKind::Process) {
        FillProcessTable(state, true, true);
    }
    return outcome;
}

}  // namespace kestrune
