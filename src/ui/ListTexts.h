#pragma once
// The texts the lists show about themselves: what an empty table is for and how to fill it,
// and what a filter leaves in sight.

#include <QString>

#include "app/TableKind.h"

namespace kestrune::ui {

// Drawn over the list of a table that has no rows.
QString EmptyTableText(TableKind kind);
// Drawn over a list whose every row the filter hides.
QString NoMatchText(const QString& filter);
// "3 of 12 shown".
QString ShownCount(int shown, int all);

}  // namespace kestrune::ui
