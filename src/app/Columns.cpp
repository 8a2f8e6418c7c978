#include "app/Columns.h"

#include "app/MainState.h"

namespace kestrune {

void FitColumns(MainState& state, TableKind kind) { state.tables[kind].Sort(0, true); }

void FitAllColumns(MainState& state) {
    for (TableKind kind : kAllTables) FitColumns(state, kind);
}

}  // namespace kestrune
