#pragma once
// The Process table and the running processes: listing them, merging them into the table,
// setting priority classes, the program's privileges and ending a process.

#include <cstdint>
#include <functional>
#include <string>

#include "app/RowFiles.h"

namespace kestrune {

// A status line said while work goes on, for the user to see before it ends ("Refreshing...",
// a delayed run's seconds); what a command says once it is done travels in its Outcome.
using ProgressLine = std::function<void(const std::string&)>;

// The log line written before each priority a stored row asks for is set.
inline constexpr const char* kSettingPriorityFor = "Setting priority for ";
inline constexpr const char* kPriorityTo = " to ";
inline constexpr const char* kPrivilegeError = "Priveledge error: ";
// The process that never gets a row.
inline constexpr const char* kIdleProcessName = "System Idle Process";

// Replaces the process snapshot by the processes running now.
void RefreshProcessSnapshot(Services& services, Model& model);
// Lists the running processes and merges them into the Process table: each process takes the
// first free row of its name and path, or a new row; rows are never removed. With
// `applyChanges`, a stored row whose program runs at another priority has its own applied.
// `detachIcons` is accepted for the callers' sake: icon numbers live in the rows, so there are
// no image lists to take off.
void FillProcessTable(RowParts parts, bool detachIcons, bool applyChanges);
// The refill a visit of the Process tab or an action on its processes asks for: `progress`
// shows kRefreshingStatus (procs/TableStatus.h) first, since listing the processes takes a
// moment; stored rows get their priorities applied; the request is cleared.
void RefillProcessTable(RowParts parts, const ProgressLine& progress);

// How many processes with this identifier (decimal text) were asked to take the class.
int SetPriorityByHandle(Services& services, const std::string& handle, std::uint32_t priorityClass);
// How many processes of this file name (letter case ignored) were asked to take the class.
int SetPriorityByName(Services& services, const std::string& name, std::uint32_t priorityClass);
// Enables a privilege in the program's own token; a refusal is logged.
bool EnablePrivilege(Services& services, const std::string& name);
// True when the process was terminated.
bool EndProcessById(Services& services, std::uint32_t id);

// Sets the priority of each stored row's running program from the current snapshot; with
// `onlyChanged`, only where the running priority differs from the stored one.
void ApplyStoredPriorities(Services& services, Model& model, bool onlyChanged);
// After a command was started: gives the process it started (`startedId`, 0 when unknown) and
// every process of its program file the priority.
void ApplyPriorityToCommand(Services& services, const std::string& command, const std::string& priorityText,
                            std::uint32_t startedId = 0);

}  // namespace kestrune
