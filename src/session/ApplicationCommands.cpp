// The main window's commands, routed to the parts that carry them out. A command on rows acts
// on the current table and the rows its list has selected, and its outcome is shown as the
// window shows every outcome: the status line, then the message boxes.

#include "app/Outcome.h"
#include "app/Text.h"
#include "delayed/DelayedCommands.h"
#include "delayed/DelayedWindow.h"
#include "locations/BackupEntries.h"
#include "locations/Import.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "monitor/ChangeMonitor.h"
#include "procs/ProcessActions.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"
#include "session/Application.h"
#include "store/SettingsDocument.h"

namespace kestrune {

// These two write and report their own file.
void Application::SaveSettings() { fe_.ShowOutcome(SaveSettingsCommand(state_)); }
void Application::BackupSettings() { fe_.ShowOutcome(BackupSettingsCommand(state_)); }
void Application::LoadBackup() {
    const Outcome outcome = LoadBackupAndOffer(state_, fe_, std::nullopt);
    Report(outcome);
    if (outcome.status == OutcomeStatus::Done) ApplyRowIcons(state_);
}
void Application::DeleteDuplicatesInCurrentTable() {
    if (const auto kind = state_.CurrentKind()) {
        Report(DeleteDuplicateRows(state_, *kind));
        ShowTableStatus();
    }
}
void Application::DeleteDuplicatesInAllTables() { Report(DeleteDuplicateRows(state_, std::nullopt)); }
void Application::RecordItemsInCurrentTable() {
    if (const auto kind = state_.CurrentKind()) Report(RecordItems(state_, *kind));
}
void Application::RecordItemsInAllTables() { Report(RecordItems(state_, std::nullopt)); }
void Application::DeleteUntickedItems() {
    if (const auto kind = state_.CurrentKind()) ReportOnTable(DeleteUntickedRows(state_, *kind));
}
void Application::RefreshTables() {
    {
        const BusyScope busy(state_.model.events);
        fe_.ShowOutcome(RefreshAllTables(state_));
    }
    LogRegistryProblems();
    // A refresh ends on the counts it found, whatever the reload said before.
    ShowTableStatus();
}
void Application::ImportStartupControlPanel() { Report(kestrune::ImportStartupControlPanel(state_)); }
void Application::RunDelayedApplications() { RunDelayedCommand(DelayedRunParts(), delayed_); }
std::string Application::RunDelayedCaption() const { return delayed_.runDelayedCaption; }
void Application::ToggleMonitor() {
    kestrune::ToggleMonitor(state_.options, monitor_);
    Report({});
}
void Application::MonitorTick() { OnMonitorTick(state_, fe_, monitor_); }
void Application::PreventDelayedAppsFromRegistering() { Report(kestrune::PreventDelayedAppsFromRegistering(state_)); }
void Application::MakeAllDelayedIdle() { Report(kestrune::MakeAllDelayedIdle(state_.model, fe_)); }
void Application::ToggleRunOnStartup() { Report(kestrune::ToggleRunOnStartup(state_, state_.options)); }
void Application::ToggleSkipSave() {
    state_.options.skipSave = !state_.options.skipSave;
    Report({});
}
void Application::ToggleTrayOnClose() {
    state_.options.trayOnClose = !state_.options.trayOnClose;
    Report({});
}
void Application::ToggleExitAfterDelayed() {
    kestrune::ToggleExitAfterDelayed(state_.options);
    Report({});
}
void Application::ToggleIgnoreSelf() {
    state_.options.ignoreSelf = !state_.options.ignoreSelf;
    Report({});
}
void Application::ToggleChooseProfile() {
    state_.options.chooseProfile = !state_.options.chooseProfile;
    Report({});
}
void Application::ToggleSkipRunning() {
    kestrune::ToggleSkipRunning(state_.options);
    Report({});
}
void Application::ToggleWatchPriorities() {
    kestrune::ToggleWatchPriorities(state_.options, watcher_);
    Report({});
}
void Application::ToggleDisableTheWindowsWay() {
    state_.options.disableTheWindowsWay = !state_.options.disableTheWindowsWay;
    Report({});
}
void Application::SetIdleSettings() {
    kestrune::SetIdleSettings(state_.options, fe_);
    Report({});
}
void Application::ShowProfiles(bool editable) {
    PrepareProfilesDialog(state_.paths, profiles_, editable);
    fe_.ShowProfilesDialog();
}
void Application::OpenProfiles() { ShowProfiles(true); }
// The buttons write profiles.txt themselves; the tables and options wait for the next command.
void Application::AddProfile() { fe_.ShowOutcome(profiles_.Add(state_.services, state_.paths, fe_)); }
void Application::EditProfile() {
    fe_.ShowOutcome(profiles_.Edit(state_, fe_));
    // Renaming the current profile renames the caption too.
    fe_.SetCaption(ProfileCaption(state_.paths));
}
void Application::DeleteProfile() { fe_.ShowOutcome(profiles_.Delete(state_.services, state_.paths)); }

void Application::UseSelectedProfile() {
    const ProfileSwitch switched = profiles_.Use(state_);
    fe_.SetCaption(ProfileCaption(state_.paths));
    if (switched.reload) RefreshTables();
    Report(switched.outcome);
}
void Application::NewItem() {
    const auto kind = state_.CurrentKind();
    if (!kind) return;
    editor_ = *OpenItemEditor(state_.model.tables[*kind], std::nullopt);
    fe_.ShowItemEditor();
}
void Application::EditItem(TableKind kind, const std::vector<int>& rows) {
    if (rows.empty()) return;
    auto filled = OpenItemEditor(state_.model.tables[kind], rows.front());
    if (!filled) return;
    editor_ = std::move(*filled);
    fe_.ShowItemEditor();
}

EditorField Application::ConfirmEditor() {
    // The editor is modal: the table it was opened for is still the current one.
    const auto kind = state_.CurrentKind();
    if (!kind) return EditorField::None;
    const bool isNew = editor_.editRowPosition == -1;
    Outcome outcome = ConfirmItemEditor(state_, *kind, editor_);
    // A new row changes the counts the status line shows.
    if (isNew && editor_.focus == EditorField::None) ShowTableStatus();
    Report(std::move(outcome));
    return editor_.focus;
}
void Application::DeleteSelected(TableKind kind, const std::vector<int>& rows) {
    ReportOnTable(DeleteRows(state_, fe_, kind, rows));
}
void Application::ToggleSelected(TableKind kind, const std::vector<int>& rows) {
    ReportOnTable(SetTicks(state_, kind, rows, std::nullopt));
    RegisterForDelayedRun();
}
void Application::RunNow(TableKind kind, const std::vector<int>& rows) {
    if (!rows.empty()) Report(kestrune::RunNow(state_, state_.options, kind, rows.front(), &delayed_.impact));
}

void Application::HideDelayedRunWindow() { HideDelayedWindow(state_.model.events, delayed_.window); }
void Application::RecordSetting(TableKind kind, const std::vector<int>& rows) {
    ReportOnTable(RecordRows(state_, kind, rows));
}
void Application::TickAll(bool ticked) {
    if (const auto kind = state_.CurrentKind()) ReportOnTable(SetAllTicks(state_, *kind, ticked));
    RegisterForDelayedRun();
}
void Application::TickSelected(TableKind kind, const std::vector<int>& rows, bool ticked) {
    ReportOnTable(SetTicks(state_, kind, rows, ticked));
    RegisterForDelayedRun();
}
void Application::MoveSelectedTo(TableKind kind, const std::vector<int>& rows, TableKind target) {
    Outcome outcome = MoveRows(state_, kind, rows, target);
    // A move onto the table itself touches no row.
    if (kind != target) ShowTableStatus();
    Report(std::move(outcome));
    RegisterForDelayedRun();
}
void Application::MoveSelectedBack(TableKind kind, const std::vector<int>& rows) {
    if (kind != TableKind::Deleted) return;
    const Outcome outcome = MoveRowsBack(state_, rows);
    ShowTableStatus();
    fe_.ShowOutcome(outcome);
}
void Application::SetPriorityOfSelected(TableKind kind, const std::vector<int>& rows, std::uint32_t priorityClass) {
    // The priority entries act on processes only.
    if (kind != TableKind::Process) return;
    Outcome outcome = SetPriorityOfRows(state_, rows, priorityClass, StatusLine());
    TableStatusShown();
    Report(std::move(outcome));
}
void Application::EndSelectedProcesses(TableKind kind, const std::vector<int>& rows) {
    if (kind != TableKind::Process) return;
    Outcome outcome = EndProcessesOfRows(state_, fe_, rows, StatusLine());
    TableStatusShown();
    Report(std::move(outcome));
}

}  // namespace kestrune
