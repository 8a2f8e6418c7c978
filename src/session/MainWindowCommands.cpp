// The main window's own commands: tabs, sorting, identify and clipboard, the container folder
// and the tray.

#include "app/Outcome.h"
#include "app/Text.h"
#include "delayed/DelayedCommands.h"
#include "locations/LocationChange.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "procs/ProcessList.h"
#include "procs/TableStatus.h"
#include "session/Application.h"
#include "session/Identify.h"
#include "session/MainWindowRules.h"
#include "session/Tray.h"

namespace kestrune {

void Application::SendToTray() { kestrune::SendToTray(state_.view, fe_); }

void Application::RestoreFromTray() {
    // Slimline start-up skipped the scan of the five places; the window must not come back
    // with them empty.
    if (state_.view.slimlineMode) fe_.ShowOutcome(ScanAllLocations(state_));
    ShowFromTray();
}

void Application::ShowFromTray() {
    fe_.ShowWindowNormal();
    RemoveTrayIcon(state_.view, fe_);
}

void Application::Identify(TableKind kind, const std::vector<int>& rows, int engine) {
    if (engine < 0 || engine >= static_cast<int>(kSearchEngines.size()) || rows.empty()) return;
    const Identification found = IdentifyItem(state_.model.tables[kind], rows.front(),
                                              kSearchEngines[static_cast<size_t>(engine)].addressTemplate);
    if (!found.address.empty()) state_.services.platform.shell().OpenDocument(found.address);
    Report(found.outcome);
}

void Application::CopyToClipboard(TableKind kind, const std::vector<int>& rows, int which) {
    if (which < 0 || which > 2 || rows.empty()) return;
    // 0 the file name, 1 the path, 2 the path with its arguments.
    const ItemCopy copy = CopyItemDetails(state_.model.tables[kind], rows.front(), which >= 1, which == 2);
    if (copy.outcome.status != OutcomeStatus::Done) return;
    fe_.CopyToClipboard(copy.text);
    Report(copy.outcome);
}

void Application::OpenContainerFolder(TableKind kind, const std::vector<int>& rows) {
    if (!rows.empty())
        Report(kestrune::OpenContainerFolder(state_.services.platform, state_.model.tables[kind], rows.front()));
}

void Application::SelectTab(int tab) {
    if (tab < 1 || tab > kTabCount) tab = 1;
    state_.view.currentTab = tab;
    state_.view.position.lastTab = tab - 1;
    // Every visit of the Process tab lists the running processes afresh.
    const bool processes = state_.CurrentKind() == TableKind::Process;
    if (processes) RefillProcessTable(state_, StatusLine());
    ShowTableStatus(processes);
}

void Application::OnRowTickChanged(TableKind kind, int position, bool ticked) {
    if (position < 1 || position > state_.model.tables[kind].Count()) return;
    Report(TickRow(state_, kind, position, ticked));
    RegisterForDelayedRun();
    ShowTableStatus();
}

void Application::RegisterForDelayedRun() {
    if (state_.model.tables[TableKind::Delayed].CountTicked() > 0 && !state_.options.runOnStartup)
        kestrune::ToggleRunOnStartup(state_, state_.options);
}

void Application::UpdateTableStatus() {
    // Other texts (a command's result, say) stay until the counts change.
    const auto kind = state_.CurrentKind();
    if (kind && CountsShown(state_.model.tables, kind) != state_.view.shownCounts) ShowTableStatus();
}

void Application::SortByColumn(TableKind kind, int column) {
    // The order toggles from the one the list is in, which fitting the columns made ascending.
    Table& table = state_.model.tables[kind];
    table.Sort(column, !table.SortedAscending());
}

}  // namespace kestrune
