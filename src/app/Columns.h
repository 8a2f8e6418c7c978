#pragma once
// Bringing a list up to date after its table was filled: the table is sorted ascending on its
// first column (stable, ignoring case) and the view sizes its columns.

#include "app/TableKind.h"

namespace kestrune {

struct MainState;

void FitColumns(MainState& state, TableKind kind);
void FitAllColumns(MainState& state);

}  // namespace kestrune
