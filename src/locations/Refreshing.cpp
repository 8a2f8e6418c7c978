// The scans that refill whole tables: after a start in Slimline mode, on "Refresh && reload
// tables", and for one place that the change monitor saw change.
#include "app/Columns.h"
#include "app/MainState.h"
#include "locations/Scanning.h"
#include "procs/ProcessList.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

void FinishRefill(MainState& state) {
    LoadSettingsDocument(state);
    FitAllColumns(state);
    ApplyRowIcons(state);
}

}  // namespace

void ScanAllLocations(MainState& state) {
    state.slimlineMode = false;
    state.tables.ClearAll();
    ScanPlaces(state);
    FinishRefill(state);
}

void RefreshAllTables(MainState& state) {
    state.tables.ClearAll();
    ScanPlaces(state);
    FillProcessTable(state, false, true);
    FinishRefill(state);
}

void RescanLocation(MainState& state, TableKind kind) {
    if (!IsLocationTable(kind)) return;
    state.tables[kind].Clear();
    ScanPlace(state, kind);
    LoadStoredTable(state, kind);
}

}  // namespace kestrune
