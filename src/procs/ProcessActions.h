#pragma once
// What the user does to processes: the Process table's context-menu actions (Set Priority,
// End Process), the priority watcher's tick and its option.

#include <cstdint>

namespace kestrune {

struct MainState;

inline constexpr const char* kNotRunning = " is not running.";
inline constexpr const char* kConfirmTerminate = "Are you sure you wish to terminate this process?";

// state.chosenPriorityClass for the row at `position` of the current (Process) table: set on
// its running process, or only written into the row when its program does not run.
void SetSelectedPriority(MainState& state, int position);
// Ends the running process of the row at `position` after the user confirms.
void EndSelectedProcess(MainState& state, int position);

// priorityTimer: re-applies stored priorities that the running programs no longer have.
void OnPriorityTimerTick(MainState& state);
// mnWatchPriorities: inverts the option and switches the watcher with it.
void ToggleWatchPriorities(MainState& state);

// The "Set Priority" entries and "End Process" on the selected rows.
void SetPriorityOfSelection(MainState& state, std::uint32_t priorityClass);
void EndProcessOfSelection(MainState& state);

}  // namespace kestrune
