#pragma once
// What the user does to processes: the Process table's context-menu actions (Set Priority,
// End Process), the priority watcher's tick and its option.

#include <cstdint>
#include <string>
#include <vector>

#include "app/Outcome.h"

namespace kestrune {

struct MainState;

inline constexpr const char* kNotRunning = " is not running.";
inline constexpr const char* kConfirmTerminate = "Are you sure you wish to terminate this process?";

// The question before a process is ended: kConfirmTerminate, then the process on a line of
// its own ("name (pid n)").
std::string TerminateQuestion(const std::string& name, std::uint32_t id);

// tmrPriorities: re-applies stored priorities that the running programs no longer have.
void OnPriorityTimerTick(MainState& state);
// mnWatchPriorities: inverts the option and switches the watcher with it.
void ToggleWatchPriorities(MainState& state);

// The "Set Priority" entries and "End Process" on rows of the Process table.
Outcome SetPriorityOfRows(MainState& state, const std::vector<int>& rows, std::uint32_t priorityClass);
Outcome EndProcessesOfRows(MainState& state, Prompts& prompts, const std::vector<int>& rows);

}  // namespace kestrune
