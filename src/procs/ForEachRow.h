#pragma once
// Runs one action on each of some rows of a table, from the bottom row up, with the window's
// controls disabled meanwhile (the caller brings the status line up to date after). The action
// receives the row's position at the moment it runs, which need not be the position the row
// had when the command began.

#include <functional>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

struct Model;

// `rows`: positions in display order as the command received them (any order; positions that
// name no row are passed over).
void ForEachRowDo(Model& model, TableKind kind, std::vector<int> rows, const std::function<void(int position)>& action);

}  // namespace kestrune
