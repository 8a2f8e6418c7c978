#include "procs/SelectedRows.h"

#include <algorithm>
#include <vector>

#include "app/MainState.h"
#include "procs/TableStatus.h"

namespace kestrune {

void ForEachSelectedRowDo(MainState& state, const std::function<void(int position)>& action) {
    const auto kind = state.CurrentKind();
    if (!kind) return;

    const BusyScope busy(state.events);
    const Table& table = state.tables[*kind];
    std::vector<int> selected = state.fe.SelectedRows(*kind);
    // The front end answers ascending positions; visit them from the last.
    std::sort(selected.begin(), selected.end());
    // The rows are held by identity and found again before each step: a step may sort the
    // table (a ticked move fits every list) or take rows out of it, so a position taken now
    // could name another row by then. A row that has left the table meanwhile is passed over.
    std::vector<RowId> rows;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if (*it >= 1 && *it <= table.Count()) rows.push_back(table.Id(*it));
    for (const RowId id : rows) {
        if (const auto position = table.PositionOf(id)) action(*position);
    }
    ShowTableStatus(state);
}

}  // namespace kestrune
