#include "procs/ProcessActions.h"

#include <limits>

#include "app/MainState.h"
#include "app/Text.h"
#include "procs/Priority.h"
#include "procs/ProcessList.h"
#include "procs/SelectedRows.h"

namespace kestrune {

namespace {

// The row of the current table at `position` when that table is the Process table.
Table* ProcessRowTable(MainState& state, int position) {
    if (state.CurrentKind() != TableKind::Process) return nullptr;
    Table& table = state.tables[TableKind::Process];
    return position >= 1 && position <= table.Count() ? &table : nullptr;
}

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

}  // namespace

void SetSelectedPriority(MainState& state, int position) {
    Table* table = ProcessRowTable(state, position);
    if (!table) return;
    const std::string handle = table->Text(position, col::Handle);
    if (handle.empty() || SetPriorityByHandle(state, handle, state.chosenPriorityClass) == 0) {
        table->SetText(position, col::ProcessPriority, PriorityTextFromClass(state.chosenPriorityClass));
    } else {
        // The refill after the action writes the priority the process took into the row.
        table->SetText(position, col::ProcessPriority, "");
        state.processRefreshNeeded = true;
    }
    // A stored row's priority is what the settings document keeps.
    if (table->Ticked(position)) state.settingsChanged = true;
}

void EndSelectedProcess(MainState& state, int position) {
    Table* table = ProcessRowTable(state, position);
    if (!table) return;
    const std::uint32_t id = ProcessIdOf(table->Text(position, col::Handle));
    if (id < 1) {
        state.fe.ShowMessage(table->Name(position) + kNotRunning, MessageIcon::Information);
        return;
    }
    if (!state.fe.AskYesNo(kConfirmTerminate, MessageIcon::Exclamation)) return;
    if (StillRunsAs(state, id, table->Name(position)) && EndProcessById(state, id)) {
        state.processRefreshNeeded = true;
    } else {
        table->SetText(position, col::Handle, "");
    }
}

void OnPriorityTimerTick(MainState& state) {
    RefreshProcessSnapshot(state, state);
    ApplyStoredPriorities(state, true);
}

void ToggleWatchPriorities(MainState& state) {
    state.options.watchPriorities = !state.options.watchPriorities;
    if (!state.priorityTimer) return;
    if (state.options.watchPriorities) {
        if (!state.priorityTimer->Running()) state.priorityTimer->Start();
    } else {
        state.priorityTimer->Stop();
    }
}

void SetPriorityOfSelection(MainState& state, std::uint32_t priorityClass) {
    state.chosenPriorityClass = priorityClass;
    state.processRefreshNeeded = false;
    ForEachSelectedRowDo(state, [&state](int position) { SetSelectedPriority(state, position); });
}

void EndProcessOfSelection(MainState& state) {
    state.processRefreshNeeded = false;
    ForEachSelectedRowDo(state, [&state](int position) { EndSelectedProcess(state, position); });
}

}  // namespace kestrune
