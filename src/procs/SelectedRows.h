#pragma once
// Runs one action on every selected row of the current table, from the bottom row up (so an
// action that removes its row does not move the rows still to come), with the window's
// controls disabled meanwhile and the status line brought up to date afterwards.

#include <functional>

namespace kestrune {

struct MainState;

void ForEachSelectedRowDo(MainState& state, const std::function<void(int position)>& action);

}  // namespace kestrune
