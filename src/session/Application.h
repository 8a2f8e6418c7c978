#pragma once
// The program's one state-owning object, standing for the main window: it holds the shared
// state and each part's own state (the priority watcher and the delayed run with their timers
// among them), runs the start-up and shut-down sequences, creates the timers and routes the
// menu commands to the parts that carry them out.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/FrontEnd.h"
#include "app/MainState.h"
#include "app/Outcome.h"
#include "delayed/DelayedRun.h"
#include "locations/IconCache.h"
#include "locations/ItemEditor.h"
#include "locations/Publishers.h"
#include "monitor/ChangeMonitor.h"
#include "monitor/PlaceFollower.h"
#include "platform/Platform.h"
#include "procs/PriorityWatcher.h"
#include "session/Tray.h"
#include "store/Profiles.h"

namespace kestrune {

enum class CloseReason { User, Code, System };

class Application {
public:
    Application(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock, TimerFactory& timers);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The start-up sequence. False when another copy of the program is running: this copy has
    // then written its "Exiting" line and must end without a shut-down.
    bool Startup(const std::string& commandLine);
    // The shut-down sequence for a close request. False when the request was turned into a
    // trip to the tray (nothing else happened).
    bool Shutdown(CloseReason reason);
    // "Exit": the "Exiting" log line, the shut-down sequence, and the end of the event loop.
    void CloseDown();

    MainState& state() { return state_; }
    // The window (or console) the program shows itself through.
    FrontEnd& frontEnd() { return fe_; }
    const PriorityWatcher& priorityWatcher() const { return watcher_; }

    // Stores what the commands since the last call changed: the settings document unless
    // "Skip save on exit" is set, and settings.ini when an option or the profile changed. A
    // write that failed is added to what `said` tells the user (and `said` is no longer Done).
    bool StoreEdits(Outcome& said);

    // Called before Startup by a front end that fills the row icons in after the window is
    // usable: start-up then reads no file for an icon and every row starts on the default one.
    void DeferIcons() { deferIcons_ = true; }
    // From here on every row gets its icon at once again (ApplyRowIcons fills the others).
    void EndIconDeferral() {
        deferIcons_ = false;
        if (icons_) icons_->SetDeferred(false);
    }
    bool IconsDeferred() const { return icons_ && icons_->Deferred(); }
    // The location rows' publishers, which nothing reads by itself: the desktop fills them in
    // with the icons, the console for the rows it lists (ApplyRowPublishers).
    PublisherCache& publishers() { return publishers_; }
    // Called before Startup by a command that only reads (a console listing): start-up then
    // takes no single-instance lock, so it works while the desktop program runs, and neither
    // it nor the shut-down writes anything (no log line, no options, no settings, no process
    // priority) or starts a timer.
    void OpenReadOnly() { readOnly_ = true; }
    bool ReadOnly() const { return readOnly_; }

    // ---- Commands of the main window, as the front ends call them. Those on rows act on the
    // rows of a table that the view has selected (ascending positions), which it passes in.

    // File menu
    void SaveSettings();
    void BackupSettings();
    void LoadBackup();
    // Action menu
    void DeleteDuplicatesInCurrentTable();
    void DeleteDuplicatesInAllTables();
    void RecordItemsInCurrentTable();
    void RecordItemsInAllTables();
    void DeleteUntickedItems();
    void RefreshTables();
    void ImportStartupControlPanel();
    void RunDelayedApplications();  // starts, or stops a run in progress
    std::string RunDelayedCaption() const;
    void SendToTray();
    void ToggleMonitor();
    // One look at the start-up places, as the monitor timer takes it each second.
    void MonitorTick();
    // The monitor's timer runs from now on, whatever the option says (the console's watch).
    void KeepMonitoring() {
        if (!monitor_.timer->Running()) monitor_.timer->Start();
    }
    bool Monitoring() const { return monitor_.timer->Running(); }
    // For a front end that shows the tables: from the end of start-up on, each second, a place
    // that another program changed is rescanned (PlaceFollower.h), Monitor on or off.
    void FollowOutsideChanges();
    void PreventDelayedAppsFromRegistering();
    void MakeAllDelayedIdle();
    // Options menu
    void ToggleRunOnStartup();
    void ToggleSkipSave();
    void ToggleTrayOnClose();
    void ToggleExitAfterDelayed();
    void ToggleIgnoreSelf();
    void ToggleChooseProfile();
    void ToggleSkipRunning();
    void ToggleWatchPriorities();
    void ToggleDisableTheWindowsWay();
    void SetIdleSettings();
    // Profiles menu: shows the profiles dialog (FrontEnd::ShowProfilesDialog) over profiles();
    // its buttons come back here, each shown as a command's outcome.
    void OpenProfiles();
    ProfileList& profiles() { return profiles_; }
    void AddProfile();
    void EditProfile();
    void DeleteProfile();
    void UseSelectedProfile();
    // Table menu
    // "Search ..." entries; the double click and "/" use engine 0.
    void Identify(TableKind kind, const std::vector<int>& rows, int engine);
    // 0 "Filename", 1 "Path without arguments", 2 "Path with arguments".
    void CopyToClipboard(TableKind kind, const std::vector<int>& rows, int which);
    void NewItem();
    void EditItem(TableKind kind, const std::vector<int>& rows);
    // The item editor's fields; its OK button: a field to focus, or None when stored.
    ItemEditorState& editor() { return editor_; }
    EditorField ConfirmEditor();
    void DeleteSelected(TableKind kind, const std::vector<int>& rows);
    void ToggleSelected(TableKind kind, const std::vector<int>& rows);  // "Enable / Disable"
    void RunNow(TableKind kind, const std::vector<int>& rows);
    void RecordSetting(TableKind kind, const std::vector<int>& rows);
    void TickAll(bool ticked);  // "Tick All" / "Untick All"
    // "Tick Selected" / "Untick Selected"
    void TickSelected(TableKind kind, const std::vector<int>& rows, bool ticked);
    void MoveSelectedTo(TableKind kind, const std::vector<int>& rows, TableKind target);
    // The selected Deleted rows, each to the table it came from.
    void MoveSelectedBack(TableKind kind, const std::vector<int>& rows);
    void OpenContainerFolder(TableKind kind, const std::vector<int>& rows);
    void SetPriorityOfSelected(TableKind kind, const std::vector<int>& rows, std::uint32_t priorityClass);
    void EndSelectedProcesses(TableKind kind, const std::vector<int>& rows);
    // System Tray menu and tray icon: "Restore" (which scans the places skipped by a Slimline
    // start), and the icon's double click or a click on its balloon, which only show the window.
    void RestoreFromTray();
    void ShowFromTray();
    // List events
    void SelectTab(int tab);                                           // a tab click: ShowTable
    void OnRowTickChanged(TableKind kind, int position, bool ticked);  // the user clicked a check box
    void SortByColumn(TableKind kind, int column);                     // a header click (toggles the order)
    // A view that has caught up with changed tables (ModelObserver::RowsChanged): the status
    // line's counts follow the current table.
    void UpdateTableStatus();
    // Delayed-run window: the run and its window's model; the Hide button and close box, and
    // the exit button.
    DelayedRun& delayed() { return delayed_; }
    const DelayedWindow& delayedWindow() const { return delayed_.window; }
    void HideDelayedRunWindow();
    void ExitFromDelayedWindow() { CloseDown(); }

private:
    // The phases of Startup, in their order.
    void FindOwnFiles();
    // False when another copy holds the instance lock; that copy's "Exiting" line is logged.
    bool BecomeTheOnlyCopy();
    void PrepareProcess(const std::string& commandLine);
    void LoadOptionsAndProfile();
    void FillTables();
    // The tab, the monitor, the delayed run or the stored priorities, the priority watcher.
    void BeginWork();
    // A command's outcome shown once its edits are stored (StoreEdits).
    void Report(Outcome outcome);
    // The current tab's status line, after its table changed or was shown (`refreshed`: the
    // Process table was just refilled); the priority watcher follows the stored rows with it.
    void ShowTableStatus(bool refreshed = false);
    // The status line says what the current table holds now (a command's outcome told it).
    void TableStatusShown();
    // A command on rows: the table's status line first, then what the command says.
    void ReportOnTable(Outcome outcome);
    // What the delayed run works on, and the window's status line and tray that it speaks
    // through.
    RunParts DelayedRunParts();
    // The window's status line, for work that says where it is while it goes.
    ProgressLine StatusLine();
    // The watch on the places (PlaceFollower.h); the status line follows a rescanned table in
    // sight.
    void FollowPlaces();
    void RememberStoredOptions();
    // After ticks changed: a ticked Delayed row needs the program to start with Windows, and
    // registering at once (rather than at exit) lets "Run on startup" and the Common table
    // show it now, and survives a program that never gets to its exit.
    void RegisterForDelayedRun();
    void LogRegistryProblems();
    // The profiles dialog, its Add, Edit and Delete buttons enabled or not.
    void ShowProfiles(bool editable);

    FrontEnd& fe_;
    MainState state_;
    TrayBalloons balloons_{state_.view, fe_};
    ProfileList profiles_;
    std::unique_ptr<IconCache> icons_;
    PublisherCache publishers_;
    ItemEditorState editor_;
    DelayedRun delayed_;
    PriorityWatcher watcher_;
    MonitorState monitor_;
    PlaceFollowerState follower_;
    bool following_ = false;
    TimerFactory& timers_;
    std::unique_ptr<Timer> followTimer_;
    bool shutDown_ = false;
    bool deferIcons_ = false;
    // What settings.ini holds for the options, so that only a change writes it again.
    Options storedOptions_;
    std::string storedProfile_;
    bool readOnly_ = false;
};

// The log line of an exit: "Exiting Kestrune".
std::string ExitingLine();

}  // namespace kestrune
