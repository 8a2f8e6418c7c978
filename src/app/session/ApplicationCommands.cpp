// The main window's commands, routed to the parts that carry them out.

#include "app/Text.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "store/SettingsDocument.h"
#include "app/Tray.h"
#include "app/session/Application.h"

namespace kestrune {

void Application::SaveSettings() { SaveSettingsCommand(state_); }
void Application::BackupSettings() { BackupSettingsCommand(state_); }
void Application::LoadBackup() { LoadBackupCommand(state_); }
void Application::DeleteDuplicatesInCurrentTable() {}
void Application::DeleteDuplicatesInAllTables() {}
void Application::RecordItemsInCurrentTable() {}
void Application::RecordItemsInAllTables() {}
void Application::DeleteUntickedItems() {}
void Application::RefreshTables() {}
void Application::ImportStartupControlPanel() {}
void Application::RunDelayedApplications() {}
std::string Application::RunDelayedCaption() const { return "Run delayed applications"; }
void Application::ToggleMonitor() {
    state_.options.monitor = !state_.options.monitor;
    if (state_.options.monitor) state_.tmrMonitor->Start();
    else state_.tmrMonitor->Stop();
}
void Application::PreventDelayedAppsFromRegistering() {}
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
void Application::NewItem() {}
void Application::EditItem() {}
void Application::DeleteSelected() {}
void Application::ToggleSelected() {}
void Application::RunNow() {}
void Application::RecordSetting() {}
void Application::TickAll(bool) {}
void Application::TickSelected(bool) {}
void Application::MoveSelectedTo(TableKind) {}
void Application::SetPriorityOfSelected(std::uint32_t priorityClass) {
    SetPriorityOfSelection(state_, priorityClass);
}
void Application::EndSelectedProcesses() { EndProcessOfSelection(state_); }

}  // namespace kestrune
