#pragma once
// Bringing a list up to date after its table was filled (`FitColumns`): the table is sorted
// ascending on its first column (stable, ignoring case). The view sizes the columns by itself
// when it sees rows come or go (ModelObserver::RowsChanged).

#include "app/Table.h"

namespace kestrune {

void SortTable(Table& table);
void SortAllTables(Tables& tables);

}  // namespace kestrune
