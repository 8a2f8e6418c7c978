#include "session/Application.h"

#include "app/Columns.h"
#include "app/OptionsFile.h"
#include "app/Text.h"
#include "app/Tray.h"
#include "app/Version.h"
#include "delayed/CpuMeter.h"
#include "delayed/DelayedCommands.h"
#include "locations/Scanning.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "store/SettingsDocument.h"

namespace kestrune {

std::string ExitingLine() { return std::string("Exiting ") + kTitle; }

Application::Application(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock, TimerFactory& timers)
    : state_(platform, frontEnd, clock), publishers_(platform.programFiles(), platform.files()), timers_(timers) {
    state_.delayedRunTimer =
        timers_.Create(1000, [this] { CarryOut(state_, OnDelayedRunTick(state_, delayed_), [this] { CloseDown(); }); });
    // While the monitor runs it looks first: a newcomer is asked about before any rescan could
    // show it, and the follower catches what the monitor leaves alone (a changed command).
    state_.monitorTimer = timers_.Create(1000, [this] {
        OnMonitorTick(state_, monitor_);
        if (following_) FollowPlaceChanges(state_, follower_);
    });
    followTimer_ = timers_.Create(1000, [this] {
        if (!state_.options.monitor) FollowPlaceChanges(state_, follower_);
    });
    state_.priorityTimer = timers_.Create(5000, [this] { OnPriorityTimerTick(state_); });
    delayed_.impact.timer = timers_.Create(kImpactIntervalMs, [this] { delayed_.impact.Tick(state_); });
}

Application::~Application() = default;

void Application::FollowOutsideChanges() {
    following_ = true;
    if (!state_.appFolder.empty() && !state_.loadingInProgress && !shutDown_) followTimer_->Start();
}

void Application::LogRegistryProblems() {
    // A damaged registry file reads as absent; the log is where the user learns why.
    for (const std::string& line : state_.platform.registry().TakeProblems()) state_.log.Write(line);
}

void Application::Step(int number) {
    if (onStartupStep) onStartupStep(number);
}

bool Application::Startup(const std::string& commandLine) {  // NOLINT(readability-function-size)
    MainState& s = state_;
    auto& platform = s.platform;

    Step(1);
    s.loadingInProgress = true;

    Step(2);
    s.appFolder = AddBackslash(platform.system().AppFolder());
    s.iniPath = s.appFolder + "settings.ini";
    s.profilesPath = s.appFolder + "profiles.txt";
    s.logPath = s.appFolder + "log.txt";

    Step(3);  // screen metrics: the front end keeps them

    Step(4);
    if (readOnly_) s.log.Mute();
    else if (!platform.instanceLock().TryAcquire()) {
        s.log.Write(ExitingLine(), s.logPath);
        s.loadingInProgress = false;
        return false;
    }

    Step(5);  // the item editor's priority list is a constant of the editor
    Step(6);  // the search engine menu is built by the front end from the engine list

    Step(7);
    EnablePrivilege(s, "SeIncreaseBasePriorityPrivilege");
    EnablePrivilege(s, "SeDebugPrivilege");

    Step(8);
    s.slimlineMode = ContainsIgnoreCase(commandLine, "slim");

    Step(9);
    s.fe.CentreWindow();

    Step(10);
    platform.processes().RaiseOwnPriority();

    Step(11);
    delayed_.cpuMeter = CreateCpuMeter(platform);

    Step(12);
    s.log.Write(std::string("Starting ") + kTitle + ", Slimline mode = " + (s.slimlineMode ? "True" : "False"),
                s.logPath);

    Step(13);
    ReadOptions(s);

    Step(14);
    ApplyIdleDefaults(s.options);
    RememberStoredOptions();

    Step(15);
    profiles_.LoadProfiles(s, s.profilesPath);
    Step(16);  // lists and the Move menu: the front end's
    Step(17);
    icons_ = std::make_unique<IconCache>(s.platform.files(), s.fe, s);  // holds the checksum calculator
    icons_->SetDeferred(deferIcons_);
    s.icons = icons_.get();
    Step(18);
    BuildXMLName(s, s.profile, false);

    Step(19);  // columns: the tables carry their headers

    Step(20);
    DetermineStartupFolders(s.platform, s);

    Step(21);
    if (s.slimlineMode) s.fe.MinimiseWindow();
    else ScanPlaces(s);

    Step(22);
    if (s.slimlineMode && s.options.chooseProfile) ProfilesCommand(s, profiles_, false);

    Step(23);
    LoadSettingsDocument(s);

    Step(24);
    FillProcessTable(s, false, false);
    FitAllColumns(s);
    ApplyRowIcons(s);

    Step(25);
    SelectTab(s.position.lastTab + 1);  // the views show state().currentTab when they appear

    Step(26);
    if (s.options.monitor && !readOnly_) s.monitorTimer->Start();

    Step(27);
    if (readOnly_) {
        // Neither a delayed run nor a priority change: this run only looks.
    } else if (s.slimlineMode) {
        StartSlimlineDelayedRun(s, delayed_);
    } else {
        ApplyStoredPriorities(s, false);
    }

    Step(28);
    if (s.options.watchPriorities && s.tables[TableKind::Process].CountTicked() > 0 && !readOnly_)
        s.priorityTimer->Start();

    Step(29);
    LogRegistryProblems();
    s.fe.SetStatus("Finished loading");
    s.loadingInProgress = false;
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
        kestrune::SendToTray(s);
        return false;
    }
    s.delayedRunTimer->Stop();
    s.monitorTimer->Stop();
    s.priorityTimer->Stop();
    followTimer_->Stop();
    // What the programs still followed have cost so far is all there will be.
    delayed_.impact.FinishAll(s);

    if (s.tables[TableKind::Delayed].CountTicked() > 0 && !s.options.runOnStartup) kestrune::ToggleRunOnStartup(s);
    if (delayed_.cpuMeter) delayed_.cpuMeter->Terminate();

    s.fe.TakeWindowBounds();
    WriteOptions(s);
    RememberStoredOptions();
    if (!s.options.skipSave) {
        SaveSettingsDocument(s, true, false);
        profiles_.SaveProfiles(s, s.profilesPath);
    }
    if (delayed_.window.visible) HideDelayedWindow(s, delayed_.window);
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
    if (kestrune::StoreEdits(s)) return true;
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

void Application::CloseDown() {
    state_.log.Write(ExitingLine());
    Shutdown(CloseReason::Code);
    state_.fe.Quit();
}

}  // namespace kestrune
