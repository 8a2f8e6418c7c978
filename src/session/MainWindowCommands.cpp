// The main window's own commands: tabs, sorting, identify and clipboard, the container folder
// and the tray.

#include "app/Outcome.h"
#include "app/Text.h"
#include "app/Tray.h"
#include "delayed/DelayedCommands.h"
#include "locations/LocationChange.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"
#include "session/Application.h"
#include "session/Identify.h"
#include "session/MainWindowRules.h"

namespace kestrune {

namespace {

// The current table and the first row its list has selected; none on the About tab or
// without a selection.
std::optional<std::pair<TableKind, int>> FirstSelectedRow(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return std::nullopt;
    const std::vector<int> selected = state.fe.SelectedRows(*kind);
    if (selected.empty()) return std::nullopt;
    return std::make_pair(*kind, selected.front());
}

}  // namespace

void Application::SendToTray() { kestrune::SendToTray(state_); }

void Application::RestoreFromTray() {
    // Slimline start-up skipped the scan of the five places; the window must not come back
    // with them empty.
    if (state_.slimlineMode) ScanAllLocations(state_);
    ShowFromTray();
}

void Application::ShowFromTray() {
    state_.fe.ShowWindowNormal();
    RemoveTrayIcon(state_);
}

void Application::Identify(int engine) {
    if (engine < 0 || engine >= static_cast<int>(kSearchEngines.size())) return;
    const auto row = FirstSelectedRow(state_);
    if (!row) return;
    const Identification found = IdentifyItem(state_.tables[row->first], row->second,
                                              kSearchEngines[static_cast<size_t>(engine)].addressTemplate);
    if (!found.address.empty()) state_.platform.shell().OpenDocument(found.address);
    Report(found.outcome);
}

void Application::CopyToClipboard(int which) {
    if (which < 0 || which > 2) return;
    const auto row = FirstSelectedRow(state_);
    if (!row) return;
    // 0 the file name, 1 the path, 2 the path with its arguments.
    const ItemCopy copy = CopyItemDetails(state_.tables[row->first], row->second, which >= 1, which == 2);
    if (copy.outcome.status != OutcomeStatus::Done) return;
    state_.fe.CopyToClipboard(copy.text);
    Report(copy.outcome);
}

void Application::OpenContainerFolder() {
    if (const auto row = FirstSelectedRow(state_))
        Report(kestrune::OpenContainerFolder(state_.platform, state_.tables[row->first], row->second));
}

void Application::SelectTab(int tab) {
    if (tab < 1 || tab > kTabCount) tab = 1;
    state_.currentTab = tab;
    state_.position.lastTab = tab - 1;
    // Every visit of the Process tab lists the running processes afresh.
    const bool processes = state_.CurrentKind() == TableKind::Process;
    if (processes) RefillProcessTable(state_, StatusLine());
    ShowTableStatus(processes);
}

void Application::OnRowTickChanged(TableKind kind, int position, bool ticked) {
    if (position < 1 || position > state_.tables[kind].Count()) return;
    Report(TickRow(state_, kind, position, ticked));
    RegisterForDelayedRun();
    ShowTableStatus();
}

void Application::RegisterForDelayedRun() {
    if (state_.tables[TableKind::Delayed].CountTicked() > 0 && !state_.options.runOnStartup)
        kestrune::ToggleRunOnStartup(state_, state_.options);
}

void Application::UpdateTableStatus() {
    // Other texts (a command's result, say) stay until the counts change.
    const auto kind = state_.CurrentKind();
    if (kind && CountsShown(state_.tables, kind) != state_.shownCounts) ShowTableStatus();
}

void Application::SortByColumn(TableKind kind, int column) {
    // The order toggles from the one the list is in, which fitting the columns made ascending.
    Table& table = state_.tables[kind];
    table.Sort(column, !table.SortedAscending());
}

}  // namespace kestrune
