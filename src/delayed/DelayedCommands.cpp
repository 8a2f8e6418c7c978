#include "delayed/DelayedCommands.h"

#include "app/CommandLine.h"
#include "app/Text.h"
#include "app/Version.h"
#include "delayed/IdleSettings.h"
#include "locations/LocationChange.h"
#include "locations/Places.h"
#include "locations/ShellOps.h"
#include "procs/ProcessList.h"

namespace kestrune {

void RunDelayedCommand(const RunParts& parts, DelayedRun& run) {
    ModelEvents& events = parts.model.events;
    if (run.runDelayedCaption == kRunDelayedCaption) {
        run.runDelayedCaption = kStopDelayedCaption;
        run.window.exitButtonVisible = false;
        events.DelayedWindowChanged();
        if (!run.holdsControls) {
            run.holdsControls = true;
            events.BeginBusy(false);
        }
        StartDelayedRun(parts, run);
        return;
    }
    const std::string stopped = StopDelayedRun(events, run);
    if (parts.status) parts.status(stopped);
}

void StartSlimlineDelayedRun(const RunParts& parts, DelayedRun& run) {
    run.window.exitButtonVisible = true;
    parts.model.events.DelayedWindowChanged();
    StartDelayedRun(parts, run);
}

Outcome MakeAllDelayedIdle(Model& model, Prompts& prompts) {
    Table& delayed = model.tables[TableKind::Delayed];
    const int count = delayed.Count();
    // Every delay the user typed is lost: asked first, with how many.
    if (count > 0 && !prompts.AskYesNo(kAllIdleQuestionHead + std::to_string(count) + kAllIdleQuestionTail,
                                       MessageIcon::Exclamation))
        return Outcome::Of(OutcomeStatus::Cancelled, "kept the delays");
    {
        const BusyScope busy(model.events, true);
        for (int position = 1; position <= count; ++position)
            delayed.SetText(position, col::Delay, std::to_string(position - count - 1));
        model.settingsChanged = true;
    }
    Outcome outcome =
        Outcome::Of(OutcomeStatus::Done, "made " + std::to_string(count) + " delayed application(s) idle");
    outcome.statusLine = kAllIdleDone;
    return outcome;
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

std::string SelfShortcutTarget(Services& services, const Paths& paths) {
    auto& system = services.platform.system();
    // Always the desktop program: the console program registering itself would start a
    // window-less copy at log-on.
    return paths.appFolder + kDesktopProgramName + system.ProgramExtension();
}

Outcome ToggleRunOnStartup(RowParts parts, Options& options) {
    Services& services = parts.services;
    options.runOnStartup = !options.runOnStartup;
    if (options.runOnStartup) {
        CreateShortcut(services.platform.shell(), parts.paths.commonStartupFolder, kSelfShortcutName,
                       SelfShortcutTarget(services, parts.paths), kSlimlineArgument);
        // The delayed run depends on it: the monitor must not offer to take it out again.
        NoteOwnPlaceChange(parts.model, TableKind::CommonStartup, kSelfShortcutName, true, false);
        return Outcome::Of(OutcomeStatus::Done, "registered to start with Windows");
    }
    if (parts.model.tables[TableKind::Delayed].Count() >= 1) {
        options.runOnStartup = true;
        Outcome outcome = Outcome::Of(OutcomeStatus::Refused, "the delayed applications need it to start with Windows");
        outcome.Say(kNeedsRunOnStartup, MessageIcon::Information);
        return outcome;
    }
    const std::string shortcut = SelfShortcutPath(parts.paths);
    if (services.FileExists(shortcut) && services.platform.files().RemoveFile(shortcut))
        NoteOwnPlaceChange(parts.model, TableKind::CommonStartup, kSelfShortcutName, false, false);
    return Outcome::Of(OutcomeStatus::Done, "no longer starts with Windows");
}

Outcome RunNow(RowParts parts, const Options& options, TableKind kind, int position, ImpactSampler* sampler) {
    const Table& table = parts.model.tables[kind];
    if (position < 1 || position > table.Count()) return {};
    // A Startup-folder row keeps its arguments in their own column: the command is the target.
    const std::string command = table.Text(position, kind == TableKind::Known ? col::KnownPath : col::Path);
    if (command.empty()) return Outcome::Of(OutcomeStatus::NothingToDo, "the row has no command to run");
    const DelayedLaunch launch = LaunchDelayedApp(parts.services, parts.model, command, options.skipRunning);
    const auto& started = launch.processId;
    // The status line and the log say why.
    Outcome outcome =
        started ? Outcome::Of(OutcomeStatus::Done, "started " + command + " (pid " + std::to_string(*started) + ")")
                : Outcome::Of(OutcomeStatus::Refused, "did not start " + command);
    outcome.statusLine = launch.status;
    if (!started) return outcome;
    if (kind == TableKind::Delayed) {
        if (sampler) sampler->Follow(parts.services, table.Id(position), command, *started);
        const std::string priority = table.Text(position, col::DelayedPriority);
        if (!priority.empty()) ApplyPriorityToCommand(parts.services, command, priority, *started);
    } else if (kind == TableKind::Process) {
        FillProcessTable(parts, true, true);
    }
    return outcome;
}

}  // namespace kestrune
