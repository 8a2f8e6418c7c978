#pragma once
// Runs one action on each of some rows of a table, from the bottom row up, with the window's
// controls disabled meanwhile and the status line brought up to date afterwards. The action
// receives the row's position at the moment it runs, which need not be the position the row
// had when the command began.

#include <functional>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

struct MainState;

// `rows`: positions in display order as the command received them (any order; positions that
// name no row are passed over).
void ForEachRowDo(MainState& state, TableKind kind, std::vector<int> rows,
                  const std::function<void(int position)>& action);

}  // namespace kestrune
