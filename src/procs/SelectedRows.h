#pragma once
// Runs one action on every selected row of the current table, from the bottom row up, with the
// window's controls disabled meanwhile and the status line brought up to date afterwards. The
// action receives the row's position at the moment it runs, which need not be the position
// the row had when the command began.

#include <functional>

namespace kestrune {

struct MainState;

void ForEachSelectedRowDo(MainState& state, const std::function<void(int position)>& action);

}  // namespace kestrune
