#include "app/TableSort.h"

namespace kestrune {

void SortTable(Table& table) { table.Sort(0, true); }

void SortAllTables(Tables& tables) {
    for (TableKind kind : kAllTables) SortTable(tables[kind]);
}

}  // namespace kestrune
