// The scans that refill whole tables: after a start in Slimline mode, on "Refresh && reload
// tables", and for one place that the change monitor saw change.
#include "app/MainState.h"
#include "app/TableSort.h"
#include "locations/Scanning.h"
#include "procs/ProcessList.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

void FinishRefill(MainState& state) {
    LoadSettingsDocument(state);
    SortAllTables(state.model.tables);
    ApplyRowIcons(state);
}

}  // namespace

Outcome ScanAllLocations(MainState& state) {
    if (Outcome pending = StorePendingBeforeReload(state); !pending.Succeeded()) return pending;
    state.view.slimlineMode = false;
    state.model.tables.ClearAll();
    ScanPlaces(state);
    FinishRefill(state);
    return Outcome::Of(OutcomeStatus::Done);
}

Outcome RefreshAllTables(MainState& state) {
    if (Outcome pending = StorePendingBeforeReload(state); !pending.Succeeded()) return pending;
    state.model.tables.ClearAll();
    ScanPlaces(state);
    FillProcessTable(state, false, true);
    FinishRefill(state);
    return Outcome::Of(OutcomeStatus::Done);
}

bool RescanLocation(MainState& state, TableKind kind) {
    if (!IsLocationTable(kind)) return false;
    // The monitor asks every second; a document that cannot be written is logged by the save,
    // and the table keeps its rows until a later look can store them.
    if (!SaveSettingsDocument(state, false).Succeeded()) return false;
    Table& table = state.model.tables[kind];
    const std::vector<Item> before = table.Rows();
    table.Clear();
    ScanPlace(state, kind);
    LoadStoredTable(state, kind);
    // The rows the place still holds stay the same rows: a selection survives the rescan.
    table.KeepIdentities(before);
    return true;
}

}  // namespace kestrune
