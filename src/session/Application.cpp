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
    : fe_(frontEnd), state_(platform, clock), publishers_(platform.programFiles(), platform.files()), timers_(timers) {
    delayed_.timer = timers_.Create(1000, [this] {
        CarryOut(
            OnDelayedRunTick(DelayedRunParts(), delayed_), [this] { CloseDown(); }, [this] { SendToTray(); });
    });
    // While the monitor runs it looks first: a newcomer is asked about before any rescan could
    // show it, and the follower catches what the monitor leaves alone (a changed command).
    monitor_.timer = timers_.Create(1000, [this] {
        OnMonitorTick(state_, fe_, monitor_);
        if (following_) FollowPlaces();
    });
    followTimer_ = timers_.Create(1000, [this] {
        if (!state_.options.monitor) FollowPlaces();
    });
    watcher_ = PriorityWatcher(timers_.Create(5000, [this] { OnPriorityTimerTick(state_); }));
    delayed_.impact.timer = timers_.Create(kImpactIntervalMs, [this] { delayed_.impact.Tick(state_.model); });
    state_.model.events.Attach(balloons_);
}

Application::~Application() { state_.model.events.Detach(balloons_); }

ProgressLine Application::StatusLine() {
    return [this](const std::string& text) { fe_.SetStatus(text); };
}

RunParts Application::DelayedRunParts() {
    return {state_.model, state_.services, state_.options, state_.view.slimlineMode, StatusLine()};
}

void Application::FollowPlaces() {
    const std::vector<TableKind> rescanned = FollowPlaceChanges(state_, follower_, fe_.QuestionOpen());
    if (const auto shown = state_.CurrentKind();
        shown && std::find(rescanned.begin(), rescanned.end(), *shown) != rescanned.end())
        ShowTableStatus();
}

void Application::FollowOutsideChanges() {
    following_ = true;
    if (!state_.paths.appFolder.empty() && !state_.model.loadingInProgress && !shutDown_) followTimer_->Start();
}

void Application::LogRegistryProblems() {
    // A damaged registry file reads as absent; the log is where the user learns why.
    for (const std::string& line : state_.services.platform.registry().TakeProblems()) state_.services.log.Write(line);
}

void Application::FindOwnFiles() {
    MainState& s = state_;
    s.paths.appFolder = AddBackslash(s.services.platform.system().AppFolder());
    s.paths.iniPath = s.paths.appFolder + "settings.ini";
    s.paths.profilesPath = s.paths.appFolder + "profiles.txt";
    s.paths.logPath = s.paths.appFolder + "log.txt";
}

bool Application::BecomeTheOnlyCopy() {
    MainState& s = state_;
    if (readOnly_) {
        s.services.log.Mute();
        return true;
    }
    if (s.services.platform.instanceLock().TryAcquire()) return true;
    s.services.log.Write(ExitingLine(), s.paths.logPath);
    return false;
}

void Application::PrepareProcess(const std::string& commandLine) {
    MainState& s = state_;
    EnablePrivilege(s.services, "SeIncreaseBasePriorityPrivilege");
    EnablePrivilege(s.services, "SeDebugPrivilege");
    s.view.slimlineMode = ContainsIgnoreCase(commandLine, "slim");
    fe_.CentreWindow();
    s.services.platform.processes().RaiseOwnPriority();
    delayed_.cpuMeter = CreateCpuMeter(s.services.platform);
    s.services.log.Write(
        std::string("Starting ") + kTitle + ", Slimline mode = " + (s.view.slimlineMode ? "True" : "False"),
        s.paths.logPath);
}

void Application::LoadOptionsAndProfile() {
    MainState& s = state_;
    ReadOptions(s);
    ApplyIdleDefaults(s.options);
    RememberStoredOptions();
    profiles_.LoadProfiles(s.services, s.paths.profilesPath);
    icons_ = std::make_unique<IconCache>(s.services.platform.files(), fe_, s.view);  // holds the checksum calculator
    icons_->SetDeferred(deferIcons_);
    s.services.icons = icons_.get();
    SwitchProfile(s, s.paths.profile, false);
    fe_.SetCaption(ProfileCaption(s.paths));
}

void Application::FillTables() {
    MainState& s = state_;
    DetermineStartupFolders(s.services.platform, s.paths);
    // Started with Windows, the program only runs the delayed applications: the places wait.
    if (s.view.slimlineMode) fe_.MinimiseWindow();
    else ScanPlaces(s);
    if (s.view.slimlineMode && s.options.chooseProfile) ShowProfiles(false);
    LoadSettingsDocument(s);
    FillProcessTable(s, false, false);
    SortAllTables(s.model.tables);
    ApplyRowIcons(s);
}

void Application::BeginWork() {
    MainState& s = state_;
    SelectTab(s.view.position.lastTab + 1);  // the views show state().view.currentTab when they appear
    // A read-only run only looks: no monitor, no delayed run, no priority change.
    if (readOnly_) return;
    if (s.options.monitor) monitor_.timer->Start();
    if (s.view.slimlineMode) StartSlimlineDelayedRun(DelayedRunParts(), delayed_);
    else ApplyStoredPriorities(s.services, s.model, false);
    watcher_.Follow(s.options.watchPriorities, s.model.tables[TableKind::Process]);
}

bool Application::Startup(const std::string& commandLine) {
    state_.model.loadingInProgress = true;
    FindOwnFiles();
    if (!BecomeTheOnlyCopy()) {
        state_.model.loadingInProgress = false;
        return false;
    }
    PrepareProcess(commandLine);
    LoadOptionsAndProfile();
    FillTables();
    BeginWork();
    LogRegistryProblems();
    fe_.SetStatus("Finished loading");
    state_.model.loadingInProgress = false;
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
    delayed_.impact.FinishAll(s.model);

    if (s.model.tables[TableKind::Delayed].CountTicked() > 0 && !s.options.runOnStartup)
        kestrune::ToggleRunOnStartup(s, s.options);
    if (delayed_.cpuMeter) delayed_.cpuMeter->Terminate();

    fe_.TakeWindowBounds();
    WriteOptions(s);
    RememberStoredOptions();
    if (!s.options.skipSave) {
        // Nobody is left to read what the save says; a failure is in the log.
        SaveSettingsDocument(s, false);
        profiles_.SaveProfiles(s.services, s.paths.profilesPath);
    }
    if (delayed_.window.visible) HideDelayedWindow(s.model.events, delayed_.window);
    s.services.platform.instanceLock().Release();
    shutDown_ = true;
    return true;
}

void Application::RememberStoredOptions() {
    storedOptions_ = state_.options;
    storedProfile_ = state_.paths.profile;
}

bool Application::StoreEdits(Outcome& said) {
    MainState& s = state_;
    // Turning "Skip save on exit" on is itself a choice to keep.
    const bool optionsChanged = s.options != storedOptions_ || s.paths.profile != storedProfile_;
    if (optionsChanged && (!s.options.skipSave || !storedOptions_.skipSave)) {
        WriteOptions(s);
        RememberStoredOptions();
    }
    if (kestrune::StoreEdits(s, s.options)) return true;
    said.Say(std::string(kNotWrittenMessage) + "\r\n" + s.paths.settingsDocumentPath + WriteFailureLine(s.services),
             MessageIcon::Exclamation);
    said.details.push_back("could not write " + s.paths.settingsDocumentPath);
    if (said.Succeeded()) said.status = OutcomeStatus::Refused;
    return false;
}

void Application::Report(Outcome outcome) {
    StoreEdits(outcome);
    fe_.ShowOutcome(outcome);
}

void Application::ShowTableStatus(bool refreshed) {
    fe_.SetStatus(TableStatusText(state_.model.tables, state_.CurrentKind(), refreshed));
    TableStatusShown();
}

void Application::TableStatusShown() {
    state_.view.shownCounts = CountsShown(state_.model.tables, state_.CurrentKind());
    // A read-only run changes no priority.
    if (!readOnly_) watcher_.Follow(state_.options.watchPriorities, state_.model.tables[TableKind::Process]);
}

void Application::ReportOnTable(Outcome outcome) {
    ShowTableStatus();
    Report(std::move(outcome));
}

void Application::CloseDown() {
    state_.services.log.Write(ExitingLine());
    Shutdown(CloseReason::Code);
    fe_.Quit();
}

}  // namespace kestrune
