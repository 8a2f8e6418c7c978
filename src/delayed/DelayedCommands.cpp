#include "delayed/DelayedCommands.h"

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "delayed/IdleSettings.h"
#include "locations/LocationChange.h"
#include "locations/Places.h"
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
    run.impact.EndRun();
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
    Table& delayed = state.table(TableKind::Delayed);
    const int count = delayed.Count();
    // Every delay the user typed is lost: asked first, with how many.
    if (count > 0 && !state.fe.AskYesNo(kAllIdleQuestionHead + std::to_string(count) + kAllIdleQuestionTail,
                                        MessageIcon::Exclamation))
        return;
    const BusyScope busy(state.events, true);
    for (int position = 1; position <= count; ++position)
        delayed.SetText(position, col::Delay, std::to_string(position - count - 1));
    state.settingsChanged = true;
    state.fe.SetStatus(kAllIdleDone);
}

namespace {

// A typed idle setting: its value, or nullopt once the user has been told the range.
std::optional<std::int16_t> AcceptIdleSetting(Prompts& prompts, IdleSetting setting, const std::string& answer) {
    const IdleSettingInput input = CheckIdleSetting(setting, answer);
    if (!input.value) prompts.ShowMessage(input.refusal + "\r\n" + kIdleSettingsNotChanged, MessageIcon::Exclamation);
    return input.value;
}

}  // namespace

void SetIdleSettings(Options& options, Prompts& prompts) {
    const std::string thresholdText =
        prompts.InputBox(kIdleThresholdPrompt, kTitle, std::to_string(options.idleThreshold));
    if (thresholdText.empty()) return;
    const auto threshold = AcceptIdleSetting(prompts, IdleSetting::Threshold, thresholdText);
    if (!threshold) return;
    const std::string secondsText = prompts.InputBox(kIdleSecondsPrompt, kTitle, std::to_string(options.idleSeconds));
    // An empty answer keeps the seconds; a refused one keeps the threshold too, so that nothing
    // half-typed is stored.
    const auto seconds = secondsText.empty() ? std::optional(options.idleSeconds)
                                             : AcceptIdleSetting(prompts, IdleSetting::Seconds, secondsText);
    if (!seconds) return;
    options.idleThreshold = *threshold;
    options.idleSeconds = *seconds;
}

void ToggleExitAfterDelayed(Options& options) { options.exitAfterDelayed = !options.exitAfterDelayed; }

void ToggleSkipRunning(Options& options) { options.skipRunning = !options.skipRunning; }

std::string SelfShortcutPath(const Paths& paths) {
    // Without the folder the name alone would be a path relative to wherever the program runs.
    if (paths.commonStartupFolder.empty()) return {};
    return AddBackslash(paths.commonStartupFolder) + kSelfShortcutName + kShortcutExtension;
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

Outcome RunNow(MainState& state, TableKind kind, int position, ImpactSampler* sampler) {
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
        if (sampler) sampler->Follow(state, table.Id(position), command, *started);
        const std::string priority = table.Text(position, col::DelayedPriority);
        if (!priority.empty()) ApplyPriorityToCommand(state, command, priority, *started);
    } else if (kind == TableKind::Process) {
        FillProcessTable(state, true, true);
    }
    return outcome;
}

}  // namespace kestrune
