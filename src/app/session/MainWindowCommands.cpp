// The main window's own commands: tabs, sorting, identify and clipboard, the container folder
// and the tray.

#include "app/Text.h"
#include "app/Tray.h"
#include "app/session/Application.h"
#include "app/session/Identify.h"
#include "app/session/MainWindowRules.h"
#include "locations/LocationChange.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "procs/TableStatus.h"

namespace kestrune {

namespace {

// The first selected row of the current table, or 0.
int FirstSelectedRow(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return 0;
    const std::vector<int> selected = state.fe.SelectedRows(*kind);
    return selected.empty() ? 0 : selected.front();
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
    IdentifyItem(state_, kSearchEngines[static_cast<size_t>(engine)].addressTemplate, false, false);
}

void Application::CopyToClipboard(int which) {
    switch (which) {
    case 0: IdentifyItem(state_, "", false, false); break;
    case 1: IdentifyItem(state_, "", true, false); break;
    case 2: IdentifyItem(state_, "", true, true); break;
    default: break;
    }
}

void Application::OpenContainerFolder() {
    Table* table = state_.CurrentTable();
    const int position = FirstSelectedRow(state_);
    if (!table || position < 1) return;
    const std::string folder = ContainerFolderOf(*table, position);
    if (!folder.empty() && state_.platform.files().DirectoryExists(folder)) state_.platform.shell().OpenFolder(folder);
}

void Application::SelectTab(int tab) {
    if (tab < 1 || tab > kTabCount) tab = 1;
    state_.currentTab = tab;
    state_.position.lastTab = tab - 1;
    // Every visit of the Process tab lists the running processes afresh.
    if (state_.CurrentKind() == TableKind::Process) state_.processRefreshNeeded = true;
    ShowTableStatus(state_);
}

void Application::OnRowTickChanged(TableKind kind, int position, bool ticked) {
    if (position < 1 || position > state_.tables[kind].Count()) return;
    ShowOutcome(state_.fe, TickRow(state_, kind, position, ticked));
    ShowTableStatus(state_);
}

void Application::SortByColumn(TableKind kind, int column) {
    // The order toggles from the one the list is in, which fitting the columns made ascending.
    Table& table = state_.tables[kind];
    table.Sort(column, !table.SortedAscending());
}

}  // namespace kestrune
