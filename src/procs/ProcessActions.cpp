#include "procs/ProcessActions.h"

#include <limits>

#include "app/Text.h"
#include "procs/ForEachRow.h"
#include "procs/Priority.h"
#include "procs/TableStatus.h"

namespace kestrune {

namespace {

std::uint32_t ProcessIdOf(const std::string& handle) {
    const auto number = ParseWholeNumber(handle);
    if (!number || *number < 1 || *number > std::numeric_limits<std::uint32_t>::max()) return 0;
    return static_cast<std::uint32_t>(*number);
}

// A Handle is as old as the last refill; by now its process may have ended and the identifier
// gone to another program. Only a process of the row's name is ended.
bool StillRunsAs(Services& services, std::uint32_t id, const std::string& name) {
    for (const auto& process : services.platform.processes().List()) {
        if (process.id == id) return EqualsIgnoreCase(process.name, name);
    }
    return false;
}

// The priority class for the row at `position`: set on its running process, or only written
// into the row when its program does not run.
Outcome SetRowPriority(RowParts parts, int position, std::uint32_t priorityClass) {
    Model& model = parts.model;
    Table& table = model.tables[TableKind::Process];
    const std::string handle = table.Text(position, col::Handle);
    const std::string priority = PriorityTextFromClass(priorityClass);
    const std::string name = "\"" + table.Name(position) + "\"";
    Outcome outcome = Outcome::Of(OutcomeStatus::Done);
    if (handle.empty() || SetPriorityByHandle(parts.services, handle, priorityClass) == 0) {
        table.SetText(position, col::ProcessPriority, priority);
        outcome.details.push_back("stored priority " + priority + " for " + name + "; it is not running");
    } else {
        // The refill after the action writes the priority the process took into the row.
        table.SetText(position, col::ProcessPriority, "");
        model.processRefreshNeeded = true;
        outcome.details.push_back("set the priority of " + name + " (pid " + handle + ") to " + priority);
    }
    // A stored row's priority is what the settings document keeps.
    if (table.Ticked(position)) model.settingsChanged = true;
    return outcome;
}

// Ends the running process of the row at `position` after the user confirms.
Outcome EndRowProcess(RowParts parts, Prompts& prompts, int position) {
    Model& model = parts.model;
    Table& table = model.tables[TableKind::Process];
    const std::string name = table.Name(position);
    const std::uint32_t id = ProcessIdOf(table.Text(position, col::Handle));
    if (id < 1) {
        Outcome outcome = Outcome::Of(OutcomeStatus::NothingToDo, "\"" + name + "\" is not running");
        outcome.Say(name + kNotRunning, MessageIcon::Information);
        return outcome;
    }
    if (!prompts.AskYesNo(TerminateQuestion(name, id), MessageIcon::Exclamation))
        return Outcome::Of(OutcomeStatus::Cancelled, "left \"" + name + "\" running");
    if (StillRunsAs(parts.services, id, name) && EndProcessById(parts.services, id)) {
        model.processRefreshNeeded = true;
        // Until the system stops listing it, the refill must not take it for a new process.
        model.endedProcesses.insert(id);
        return Outcome::Of(OutcomeStatus::Done, "ended \"" + name + "\" (pid " + std::to_string(id) + ")");
    }
    table.SetText(position, col::Handle, "");
    return Outcome::Of(OutcomeStatus::NothingToDo, "\"" + name + "\" had already ended");
}

// After the rows: the refill a running process's change asks for, and the Process tab's status.
Outcome AfterProcessRows(RowParts parts, Outcome outcome, const ProgressLine& progress) {
    const bool refill = parts.model.processRefreshNeeded;
    if (refill) RefillProcessTable(parts, progress);
    outcome.statusLine = TableStatusText(parts.model.tables, TableKind::Process, refill);
    return outcome;
}

}  // namespace

std::string TerminateQuestion(const std::string& name, std::uint32_t id) {
    return std::string(kConfirmTerminate) + "\r\n" + name + (id > 0 ? " (pid " + std::to_string(id) + ")" : "");
}

void OnPriorityTimerTick(RowParts parts) {
    RefreshProcessSnapshot(parts.services, parts.model);
    ApplyStoredPriorities(parts.services, parts.model, true);
}

void ToggleWatchPriorities(Options& options, PriorityWatcher& watcher) {
    options.watchPriorities = !options.watchPriorities;
    watcher.Switch(options.watchPriorities);
}

Outcome SetPriorityOfRows(RowParts parts, const std::vector<int>& rows, std::uint32_t priorityClass,
                          const ProgressLine& progress) {
    parts.model.processRefreshNeeded = false;
    Outcome outcome;
    ForEachRowDo(parts.model, TableKind::Process, rows,
                 [&](int position) { outcome.Add(SetRowPriority(parts, position, priorityClass)); });
    return AfterProcessRows(parts, std::move(outcome), progress);
}

Outcome EndProcessesOfRows(RowParts parts, Prompts& prompts, const std::vector<int>& rows,
                           const ProgressLine& progress) {
    parts.model.processRefreshNeeded = false;
    Outcome outcome;
    ForEachRowDo(parts.model, TableKind::Process, rows,
                 [&](int position) { outcome.Add(EndRowProcess(parts, prompts, position)); });
    return AfterProcessRows(parts, std::move(outcome), progress);
}

}  // namespace kestrune
