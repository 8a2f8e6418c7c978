// The main window's commands, routed to the parts that carry them out.

#include "app/Text.h"
#include "monitor/ChangeMonitor.h"
#include "locations/Import.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
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
        state_.fe.SetControlsEnabled(false, false);
        DeleteDuplicates(state_, *kind, false);
        state_.fe.SetControlsEnabled(true, false);
    }
}
void Application::DeleteDuplicatesInAllTables() { kestrune::DeleteDuplicatesInAllTables(state_); }
void Application::RecordItemsInCurrentTable() {
    if (const auto kind = state_.CurrentKind()) {
        RecordTable(state_, *kind);
        state_.fe.FitColumns(TableKind::Known);
        state_.fe.SetStatus(kTableRecorded);
    }
}
void Application::RecordItemsInAllTables() {
    RecordAllTables(state_);
    state_.fe.FitColumns(TableKind::Known);
    state_.fe.SetStatus(kAllTablesRecorded);
}
void Application::DeleteUntickedItems() {
    if (const auto kind = state_.CurrentKind()) DeleteUntickedRows(state_, *kind);
}
void Application::RefreshTables() {
    state_.fe.SetControlsEnabled(false, false);
    RefreshAllTables(state_);
    state_.fe.SetControlsEnabled(true, false);
    LogRegistryProblems();
}
void Application::ImportStartupControlPanel() { kestrune::ImportStartupControlPanel(state_); }
void Application::RunDelayedApplications() {}
std::string Application::RunDelayedCaption() const { return "Run delayed applications"; }
void Application::ToggleMonitor() { kestrune::ToggleMonitor(state_); }
void Application::PreventDelayedAppsFromRegistering() { kestrune::PreventDelayedAppsFromRegistering(state_); }
void Application::MakeAllDelayedIdle() {}
void Application::ToggleRunOnStartup() {}
void Application::ToggleSkipSave() { state_.options.skipSave = !state_.options.skipSave; }
void Application::ToggleTrayOnClose() { state_.options.trayOnClose = !state_.options.trayOnClose; }
void Application::ToggleExitAfterDelayed() { state_.options.exitAfterDelayed = !state_.options.exitAfterDelayed; }
void Application::ToggleIgnoreSelf() { state_.options.ignoreSelf = !state_.options.ignoreSelf; }
void Application::ToggleChooseProfile() { state_.options.chooseProfile = !state_.options.chooseProfile; }
void Application::ToggleSkipRunning() { state_.options.skipRunning = !state_.options.skipRunning; }
void Application::ToggleWatchPriorities() { kestrune::ToggleWatchPriorities(state_); }
void Application::SetIdleSettings() {}
void Application::OpenProfiles() { ProfilesCommand(state_, profiles_); }

void Application::UseSelectedProfile() {
    if (profiles_.Use(state_)) RefreshTables();
}
void Application::NewItem() { OpenItemEditor(state_, editor_, true); }
void Application::EditItem() { OpenItemEditor(state_, editor_, false); }

EditorField Application::ConfirmEditor() { return ConfirmItemEditor(state_, editor_); }
void Application::DeleteSelected() { DeleteSelectedRows(state_); }
void Application::ToggleSelected() { ToggleSelectedRows(state_); }
void Application::RunNow() {}
void Application::RecordSetting() { RecordSelectedRows(state_); }
void Application::TickAll(bool ticked) { TickAllRows(state_, ticked); }
void Application::TickSelected(bool ticked) { TickSelectedRows(state_, ticked); }
void Application::MoveSelectedTo(TableKind target) { MoveSelectedRows(state_, target); }
void Application::SetPriorityOfSelected(std::uint32_t priorityClass) {
    SetPriorityOfSelection(state_, priorityClass);
}
void Application::EndSelectedProcesses() { EndProcessOfSelection(state_); }

}  // namespace kestrune
