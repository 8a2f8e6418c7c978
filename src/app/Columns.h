#pragma once
// Bringing a list up to date after its table was filled: the table is sorted ascending on its
// first column (stable, ignoring case). The view sizes the columns by itself when it sees rows
// come or go (ModelObserver::RowsChanged).

#include "app/TableKind.h"

namespace kestrune {

struct MainState;

void FitColumns(MainState& state, TableKind kind);
void FitAllColumns(MainState& state);

}  // namespace kestrune
