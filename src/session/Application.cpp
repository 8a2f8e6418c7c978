#include "session/Application.h"

#include <algorithm>

#include "app/OptionsFile.h"
#include "app/TableSort.h"
#include "app/Text.h"
#include "app/Version.h"
#include "delayed/CpuMeter.h"
#include "delayed/DelayedCommands.h"
#include "locations/Scanning.h"
#include "procs/PriorityWatcher.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"
#include "store/SettingsDocument.h"

namespace kestrune {

std::string ExitingLine() { return std::string("Exiting ") + kTitle; }

Application::Application(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock, TimerFactory& timers)
    : state_(platform, frontEnd, clock), publishers_(platform.programFiles(), platform.files()), timers_(timers) {
    delayed_.timer = timers_.Create(1000, [this] {
        CarryOut(
            OnDelayedRunTick(DelayedRunParts(), delayed_), [this] { CloseDown(); }, [this] { SendToTray(); });
    });
    // While the monitor runs it looks first: a newcomer is asked about before any rescan could
    // show it, and the follower catches what the monitor leaves alone (a changed command).
    monitor_.timer = timers_.Create(1000, [this] {
        OnMonitorTick(state_, state_.fe, monitor_);
        if (following_) FollowPlaces();
    });
    followTimer_ = timers_.Create(1000, [this] {
        if (!state_.options.monitor) FollowPlaces();
    });
    watcher_ = PriorityWatcher(timers_.Create(5000, [this] { OnPriorityTimerTick(state_); }));
    delayed_.impact.timer = timers_.Create(kImpactIntervalMs, [this] { delayed_.impact.Tick(state_); });
    state_.events.Attach(balloons_);
}

Application::~Application() { state_.events.Detach(balloons_); }

ProgressLine Application::StatusLine() {
    return [this](const std::string& text) { state_.fe.SetStatus(text); };
}

RunParts Application::DelayedRunParts() { return {state_, state_, state_.options, state_.slimlineMode, StatusLine()}; }

void Application::FollowPlaces() {
    const std::vector<TableKind> rescanned = FollowPlaceChanges(state_, follower_, state_.fe.QuestionOpen());
    if (const auto shown = state_.CurrentKind();
        shown && std::find(rescanned.begin(), rescanned.end(), *shown) != rescanned.end())
        ShowTableStatus();
}

void Application::FollowOutsideChanges() {
    following_ = true;
    if (!state_.appFolder.empty() && !state_.loadingInProgress && !shutDown_) followTimer_->Start();
}

void Application::LogRegistryProblems() {
    // A damaged registry file reads as absent; the log is where the user learns why.
    for (const std::string& line : state_.platform.registry().TakeProblems()) state_.log.Write(line);
}

void Application::FindOwnFiles() {
    MainState& s = state_;
    s.appFolder = AddBackslash(s.platform.system().AppFolder());
    s.iniPath = s.appFolder + "settings.ini";
    s.profilesPath = s.appFolder + "profiles.txt";
    s.logPath = s.appFolder + "log.txt";
}

bool Application::BecomeTheOnlyCopy() {
    MainState& s = state_;
    if (readOnly_) {
        s.log.Mute();
        return true;
    }
    if (s.platform.instanceLock().TryAcquire()) return true;
    s.log.Write(ExitingLine(), s.logPath);
    return false;
}

void Application::PrepareProcess(const std::string& commandLine) {
    MainState& s = state_;
    EnablePrivilege(s, "SeIncreaseBasePriorityPrivilege");
    EnablePrivilege(s, "SeDebugPrivilege");
    s.slimlineMode = ContainsIgnoreCase(commandLine, "slim");
    s.fe.CentreWindow();
    s.platform.processes().RaiseOwnPriority();
    delayed_.cpuMeter = CreateCpuMeter(s.platform);
    s.log.Write(std::string("Starting ") + kTitle + ", Slimline mode = " + (s.slimlineMode ? "True" : "False"),
                s.logPath);
}

void Application::LoadOptionsAndProfile() {
    MainState& s = state_;
    ReadOptions(s);
    ApplyIdleDefaults(s.options);
    RememberStoredOptions();
    profiles_.LoadProfiles(s, s.profilesPath);
    icons_ = std::make_unique<IconCache>(s.platform.files(), s.fe, s);  // holds the checksum calculator
    icons_->SetDeferred(deferIcons_);
    s.icons = icons_.get();
    SwitchProfile(s, s.profile, false);
    s.fe.SetCaption(ProfileCaption(s));
}

void Application::FillTables() {
    MainState& s = state_;
    DetermineStartupFolders(s.platform, s);
    // Started with Windows, the program only runs the delayed applications: the places wait.
    if (s.slimlineMode) s.fe.MinimiseWindow();
    else ScanPlaces(s);
    if (s.slimlineMode && s.options.chooseProfile) ShowProfiles(false);
    LoadSettingsDocument(s);
    FillProcessTable(s, false, false);
    SortAllTables(s.tables);
    ApplyRowIcons(s);
}

void Application::BeginWork() {
    MainState& s = state_;
    SelectTab(s.position.lastTab + 1);  // the views show state().currentTab when they appear
    // A read-only run only looks: no monitor, no delayed run, no priority change.
    if (readOnly_) return;
    if (s.options.monitor) monitor_.timer->Start();
    if (s.slimlineMode) StartSlimlineDelayedRun(DelayedRunParts(), delayed_);
    else ApplyStoredPriorities(s, s, false);
    watcher_.Follow(s.options.watchPriorities, s.tables[TableKind::Process]);
}

bool Application::Startup(const std::string& commandLine) {
    state_.loadingInProgress = true;
    FindOwnFiles();
    if (!BecomeTheOnlyCopy()) {
        state_.loadingInProgress = false;
        return false;
    }
    PrepareProcess(commandLine);
    LoadOptionsAndProfile();
    FillTables();
    BeginWork();
    LogRegistryProblems();
    state_.fe.SetStatus("Finished loading");
    state_.loadingInProgress = false;
    if (following_ && !readOnly_) followTimer_->Start();
    return true;
}

bool Application::Shutdown(CloseReason reason) {
    MainState& s = state_;
    if (shutDown_) return true;
    if (readOnly_) {
        shutDown_ = true;
        return true;
    }
    if (s.options.trayOnClose && reason == CloseReason::User) {
        SendToTray();
        return false;
    }
    delayed_.timer->Stop();
    monitor_.timer->Stop();
    watcher_.Stop();
    followTimer_->Stop();
    // What the programs still followed have cost so far is all there will be.
    delayed_.impact.FinishAll(s);

    if (s.tables[TableKind::Delayed].CountTicked() > 0 && !s.options.runOnStartup)
        kestrune::ToggleRunOnStartup(s, s.options);
    if (delayed_.cpuMeter) delayed_.cpuMeter->Terminate();

    s.fe.TakeWindowBounds();
    WriteOptions(s);
    RememberStoredOptions();
    if (!s.options.skipSave) {
        // Nobody is left to read what the save says; a failure is in the log.
        SaveSettingsDocument(s, false);
        profiles_.SaveProfiles(s, s.profilesPath);
    }
    if (delayed_.window.visible) HideDelayedWindow(s.events, delayed_.window);
    s.platform.instanceLock().Release();
    shutDown_ = true;
    return true;
}

void Application::RememberStoredOptions() {
    storedOptions_ = state_.options;
    storedProfile_ = state_.profile;
}

bool Application::StoreEdits(Outcome& said) {
    MainState& s = state_;
    // Turning "Skip save on exit" on is itself a choice to keep.
    const bool optionsChanged = s.options != storedOptions_ || s.profile != storedProfile_;
    if (optionsChanged && (!s.options.skipSave || !storedOptions_.skipSave)) {
        WriteOptions(s);
        RememberStoredOptions();
    }
    if (kestrune::StoreEdits(s, s.options)) return true;
    said.Say(std::string(kNotWrittenMessage) + "\r\n" + s.settingsDocumentPath + WriteFailureLine(s),
             MessageIcon::Exclamation);
    said.details.push_back("could not write " + s.settingsDocumentPath);
    if (said.Succeeded()) said.status = OutcomeStatus::Refused;
    return false;
}

void Application::Report(Outcome outcome) {
    StoreEdits(outcome);
    ShowOutcome(state_.fe, outcome);
}

void Application::ShowTableStatus(bool refreshed) {
    state_.fe.SetStatus(TableStatusText(state_.tables, state_.CurrentKind(), refreshed));
    TableStatusShown();
}

void Application::TableStatusShown() {
    state_.shownCounts = CountsShown(state_.tables, state_.CurrentKind());
    // A read-only run changes no priority.
    if (!readOnly_) watcher_.Follow(state_.options.watchPriorities, state_.tables[TableKind::Process]);
}

void Application::ReportOnTable(Outcome outcome) {
    ShowTableStatus();
    Report(std::move(outcome));
}

void Application::CloseDown() {
    state_.log.Write(ExitingLine());
    Shutdown(CloseReason::Code);
    state_.fe.Quit();
}

}  // namespace kestrune
