#include "procs/SelectedRows.h"

#include <algorithm>
#include <vector>

#include "app/MainState.h"
#include "procs/TableStatus.h"

namespace kestrune {

void ForEachSelectedRowDo(MainState& state, const std::function<void(int position)>& action) {
    const auto kind = state.CurrentKind();
    if (!kind) return;

    state.fe.SetControlsEnabled(false, false);
    std::vector<int> selected = state.fe.SelectedRows(*kind);
    // The front end answers ascending positions; visit them from the last.
    std::sort(selected.begin(), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        // Pending events run between rows, so the table may have changed under the selection;
        // a position that no longer exists is passed over.
        if (*it >= 1 && *it <= state.tables[*kind].Count()) action(*it);
        state.fe.ProcessEvents();
    }
    ShowTableStatus(state);
    state.fe.SetControlsEnabled(true, false);
}

}  // namespace kestrune
