// The main window's own commands: tabs, sorting, identify and clipboard, the container folder
// and the tray.

#include "app/Text.h"
#include "locations/LocationChange.h"
#include "procs/TableStatus.h"
#include "app/Tray.h"
#include "app/session/Application.h"

namespace kestrune {

void Application::SendToTray() { kestrune::SendToTray(state_); }
void Application::RestoreFromTray() {}
void Application::Identify(int) {}
void Application::CopyToClipboard(int) {}
void Application::OpenContainerFolder() {}

void Application::SelectTab(int tab) {
    state_.currentTab = tab;
}

void Application::OnRowTickChanged(TableKind kind, int position, bool ticked) {
    if (position < 1 || position > state_.tables[kind].Count()) return;
    state_.settingsChanged = true;
    state_.tables[kind].SetTicked(position, ticked);
    ApplyLocationChange(state_, kind, position);
    ShowTableStatus(state_);
}

void Application::SortByColumn(TableKind kind, int column) {
    bool& ascending = sortAscending_[Number(kind)];
    ascending = !ascending;
    state_.tables[kind].Sort(column, ascending);
}

}  // namespace kestrune
