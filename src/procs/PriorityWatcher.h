#pragma once
// When the priority watcher runs: while "Watch priorities" is set and the Process table stores
// (ticks) a row. It is brought in line wherever either may have changed: the Process tab's
// status, a tick of a Process row, the end of start-up. The user's own switch of the option
// acts at once instead (ToggleWatchPriorities).

namespace kestrune {

class Table;
class Timer;

// Stops the watcher when no Process row is ticked; otherwise starts it when the option is set.
// One that already runs keeps its pace: showing a status or ticking a row never pushes its next
// tick back. Without a timer (before start-up made one) nothing happens.
void FollowStoredPriorities(Timer* watcher, bool watchOption, const Table& processes);

}  // namespace kestrune
