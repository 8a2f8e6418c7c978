// The main window's commands, routed to the parts that carry them out.

#include "app/Text.h"
#include "monitor/ChangeMonitor.h"
#include "delayed/DelayedCommands.h"
#include "delayed/DelayedWindow.h"
#include "locations/Import.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"
#include "store/SettingsDocument.h"
#include "app/Tray.h"
#include "app/session/Application.h"

namespace kestrune {

void Application::SaveSettings() { SaveSettingsCommand(state_); }
void Application::BackupSettings() { BackupSettingsCommand(state_); }
void Application::LoadBackup() {
    if (LoadBackupCommand(state_)) ApplyRowIcons(state_);
}
void Application::DeleteDuplicatesInCurrentTable() {
    if (const auto kind = state_.CurrentKind()) {
        const BusyScope busy(state_.events);
        DeleteDuplicates(state_, *kind, false);
    }
}
void Application::DeleteDuplicatesInAllTables() { kestrune::DeleteDuplicatesInAllTables(state_); }
void Application::RecordItemsInCurrentTable() {
    if (const auto kind = state_.CurrentKind()) {
        RecordTable(state_, *kind);
        state_.fe.SetStatus(kTableRecorded);
    }
}
void Application::RecordItemsInAllTables() {
    RecordAllTables(state_);
    state_.fe.SetStatus(kAllTablesRecorded);
}
void Application::DeleteUntickedItems() {
    if (const auto kind = state_.CurrentKind()) DeleteUntickedRows(state_, *kind);
}
void Application::RefreshTables() {
    {
        const BusyScope busy(state_.events);
        RefreshAllTables(state_);
    }
    LogRegistryProblems();
    // A refresh ends on the counts it found, whatever the reload said before.
    ShowTableStatus(state_);
}
void Application::ImportStartupControlPanel() { kestrune::ImportStartupControlPanel(state_); }
void Application::RunDelayedApplications() { RunDelayedCommand(state_, delayed_); }
std::string Application::RunDelayedCaption() const { return delayed_.runDelayedCaption; }
void Application::ToggleMonitor() { kestrune::ToggleMonitor(state_); }
void Application::MonitorTick() { OnMonitorTick(state_, monitor_); }
void Application::PreventDelayedAppsFromRegistering() { kestrune::PreventDelayedAppsFromRegistering(state_); }
void Application::MakeAllDelayedIdle() { kestrune::MakeAllDelayedIdle(state_); }
void Application::ToggleRunOnStartup() { kestrune::ToggleRunOnStartup(state_); }
void Application::ToggleSkipSave() { state_.options.skipSave = !state_.options.skipSave; }
void Application::ToggleTrayOnClose() { state_.options.trayOnClose = !state_.options.trayOnClose; }
void Application::ToggleExitAfterDelayed() { kestrune::ToggleExitAfterDelayed(state_); }
void Application::ToggleIgnoreSelf() { state_.options.ignoreSelf = !state_.options.ignoreSelf; }
void Application::ToggleChooseProfile() { state_.options.chooseProfile = !state_.options.chooseProfile; }
void Application::ToggleSkipRunning() { kestrune::ToggleSkipRunning(state_); }
void Application::ToggleWatchPriorities() { kestrune::ToggleWatchPriorities(state_); }
void Application::SetIdleSettings() { kestrune::SetIdleSettings(state_); }
void Application::OpenProfiles() { ProfilesCommand(state_, profiles_); }

void Application::UseSelectedProfile() {
    if (profiles_.Use(state_)) RefreshTables();
}
void Application::NewItem() { OpenItemEditor(state_, editor_, true); }
void Application::EditItem() { OpenItemEditor(state_, editor_, false); }

EditorField Application::ConfirmEditor() { return ConfirmItemEditor(state_, editor_); }
void Application::DeleteSelected() { DeleteSelectedRows(state_); }
void Application::ToggleSelected() { ToggleSelectedRows(state_); }
void Application::RunNow() {
    const auto kind = state_.CurrentKind();
    if (!kind) return;
    const std::vector<int> selected = state_.fe.SelectedRows(*kind);
    if (!selected.empty()) kestrune::RunNow(state_, *kind, selected.front());
}

void Application::HideDelayedRunWindow() { HideDelayedWindow(state_, delayed_.window); }
void Application::RecordSetting() { RecordSelectedRows(state_); }
void Application::TickAll(bool ticked) { TickAllRows(state_, ticked); }
void Application::TickSelected(bool ticked) { TickSelectedRows(state_, ticked); }
void Application::MoveSelectedTo(TableKind target) { MoveSelectedRows(state_, target); }
void Application::SetPriorityOfSelected(std::uint32_t priorityClass) {
    SetPriorityOfSelection(state_, priorityClass);
}
void Application::EndSelectedProcesses() { EndProcessOfSelection(state_); }

}  // namespace kestrune
