#include "procs/TableStatus.h"

#include "app/MainState.h"
#include "app/Version.h"
#include "procs/PriorityWatcher.h"
#include "procs/ProcessList.h"

namespace kestrune {

namespace {

void ShowProcessStatus(MainState& state) {
    const Table& table = state.tables[TableKind::Process];
    const bool refresh = state.processRefreshNeeded;
    if (refresh) {
        state.fe.SetStatus(kRefreshingStatus);
        FillProcessTable(state, true, true);
        state.processRefreshNeeded = false;
    }
    // Counted after the refill: counts from before it would disagree with the rows in sight
    // (and with the filter's count) whenever a process started or a row was added.
    const int rows = table.Count();
    const int stored = table.CountTicked();
    state.fe.SetStatus(std::to_string(rows) + kProcessesStatus + std::to_string(stored) + kStoredItemsStatus +
                       (refresh ? kRefreshedStatus : ""));
    FollowStoredPriorities(state.priorityTimer.get(), state.options.watchPriorities, table);
}

void ShowStatusText(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) {
        state.fe.SetStatus(std::string(kTitle) + " from " + kMakerSiteName);
        return;
    }
    const Table& table = state.tables[*kind];
    const int rows = table.Count();
    switch (*kind) {
        case TableKind::Process: ShowProcessStatus(state); break;
        case TableKind::Deleted: state.fe.SetStatus(std::to_string(rows) + " item(s)"); break;
        default: {
            const int ticked = table.CountTicked();
            state.fe.SetStatus(std::to_string(rows) + " item(s) : " + std::to_string(ticked) + " enabled, " +
                               std::to_string(rows - ticked) + " disabled.");
            break;
        }
    }
}

MainState::ShownCounts CountsNow(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return {};
    const Table& table = state.tables[*kind];
    return {kind, table.Count(), table.CountTicked()};
}

}  // namespace

void RefreshCurrentTab(MainState& state) {
    ShowStatusText(state);
    // Taken after the text: showing the Process tab's status may refill that table first.
    state.shownCounts = CountsNow(state);
}

void UpdateTableStatus(MainState& state) {
    if (!state.CurrentKind() || CountsNow(state) == state.shownCounts) return;
    RefreshCurrentTab(state);
}

}  // namespace kestrune
