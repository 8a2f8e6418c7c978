#pragma once
// What the user does to processes: the Process table's context-menu actions (Set Priority,
// End Process), the priority watcher's tick and its option.

#include <cstdint>
#include <string>
#include <vector>

#include "app/Options.h"
#include "app/Outcome.h"
#include "procs/PriorityWatcher.h"
#include "procs/ProcessList.h"

namespace kestrune {

inline constexpr const char* kNotRunning = " is not running.";
inline constexpr const char* kConfirmTerminate = "Are you sure you wish to terminate this process?";

// The question before a process is ended: kConfirmTerminate, then the process on a line of
// its own ("name (pid n)").
std::string TerminateQuestion(const std::string& name, std::uint32_t id);

// The watcher's tick: re-applies stored priorities that the running programs no longer have.
void OnPriorityTimerTick(RowParts parts);
// mnWatchPriorities: inverts the option and switches the watcher with it.
void ToggleWatchPriorities(Options& options, PriorityWatcher& watcher);

// The "Set Priority" entries and "End Process" on rows of the Process table. When a running
// process took the action, the table is refilled after the last row (`progress` says so
// first); the outcome's status line is the Process tab's, counted after that refill.
Outcome SetPriorityOfRows(RowParts parts, const std::vector<int>& rows, std::uint32_t priorityClass,
                          const ProgressLine& progress);
Outcome EndProcessesOfRows(RowParts parts, Prompts& prompts, const std::vector<int>& rows,
                           const ProgressLine& progress);

}  // namespace kestrune
