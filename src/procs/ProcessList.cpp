#include "procs/ProcessList.h"

#include "app/CommandLine.h"
#include "app/Text.h"
#include "procs/Priority.h"
#include "procs/ProcessSnapshot.h"
#include "procs/TableStatus.h"

namespace kestrune {

namespace {

platform::Processes& ProcessesOf(Services& services) { return services.platform.processes(); }

// The first row from the top with this name and path whose Handle is still free (so each
// running instance takes a row of its own); a new empty row when there is none.
int FindProcessRow(Table& table, const std::string& name, const std::string& path, bool& isNew) {
    for (int position = 1; position <= table.Count(); ++position) {
        if (EqualsIgnoreCase(table.Name(position), name) && EqualsIgnoreCase(table.Text(position, col::Path), path) &&
            table.Text(position, col::Handle).empty()) {
            isNew = false;
            return position;
        }
    }
    isNew = true;
    return table.Add({});
}

void MergeProcess(Services& services, Table& table, const platform::ProcessInfo& process, bool applyChanges) {
    const std::string& name = process.name;
    if (EqualsIgnoreCase(name, kIdleProcessName)) return;
    const std::string handle = std::to_string(process.id);
    const std::string& path = process.path;
    const std::string running = PriorityTextFromBase(process.basePriority);

    bool isNew = false;
    const int position = FindProcessRow(table, name, path, isNew);
    if (isNew) {
        table.SetText(position, col::Name, name);
        table.SetText(position, col::Path, path);
        table.SetText(position, col::ProcessPriority, running);
    } else if (applyChanges) {
        const std::string stored = table.Text(position, col::ProcessPriority);
        if (!table.Ticked(position) || stored.empty()) {
            table.SetText(position, col::ProcessPriority, running);
        } else if (!EqualsIgnoreCase(stored, running)) {
            if (const auto wanted = PriorityClassFromText(stored)) SetPriorityByName(services, name, *wanted);
        }
    }
    table.SetText(position, col::Handle, handle);
    table.SetIcon(position, services.IconOf(path));
}

}  // namespace

void RefreshProcessSnapshot(Services& services, Model& model) {
    model.processSnapshot = BuildProcessSnapshot(ProcessesOf(services).List());
}

void FillProcessTable(RowParts parts, bool /*detachIcons*/, bool applyChanges) {
    Model& model = parts.model;
    RefreshProcessSnapshot(parts.services, model);
    Table& table = model.tables[TableKind::Process];

    for (int position = 1; position <= table.Count(); ++position) table.SetText(position, col::Handle, "");

    // An ended process is forgotten once the system no longer lists it.
    std::set<std::uint32_t> stillListed;
    for (const auto& process : model.processSnapshot) {
        if (model.endedProcesses.contains(process.id)) {
            stillListed.insert(process.id);
            continue;
        }
        MergeProcess(parts.services, table, process, applyChanges);
    }
    model.endedProcesses = std::move(stillListed);
    // Not sorted: a process list keeps the order in which it was filled.
}

void RefillProcessTable(RowParts parts, const ProgressLine& progress) {
    if (progress) progress(kRefreshingStatus);
    FillProcessTable(parts, true, true);
    parts.model.processRefreshNeeded = false;
}

int SetPriorityByHandle(Services& services, const std::string& handle, std::uint32_t priorityClass) {
    auto& processes = ProcessesOf(services);
    int asked = 0;
    for (const auto& process : processes.List()) {
        if (std::to_string(process.id) != handle) continue;
        processes.SetPriorityClass(process.id, priorityClass);
        ++asked;
    }
    return asked;
}

int SetPriorityByName(Services& services, const std::string& name, std::uint32_t priorityClass) {
    return ProcessesOf(services).SetPriorityClassByName(name, priorityClass);
}

bool EnablePrivilege(Services& services, const std::string& name) {
    const int error = ProcessesOf(services).EnablePrivilege(name);
    if (error == 0) return true;
    services.WriteLog(kPrivilegeError + name + " " + std::to_string(error));
    return false;
}

bool EndProcessById(Services& services, std::uint32_t id) { return ProcessesOf(services).Terminate(id); }

void ApplyStoredPriorities(Services& services, Model& model, bool onlyChanged) {
    Table& table = model.tables[TableKind::Process];
    for (int position = 1; position <= table.Count(); ++position) {
        if (!table.Ticked(position)) continue;
        const std::string name = table.Name(position);
        const std::string path = table.Text(position, col::Path);
        const platform::ProcessInfo* running = FindSnapshotProcess(model.processSnapshot, name, path);
        if (!running) continue;

        const std::string wanted = table.Text(position, col::ProcessPriority);
        if (onlyChanged) {
            const std::string current = PriorityTextFromBase(running->basePriority);
            if (EqualsIgnoreCase(wanted, current)) continue;
            table.SetText(position, col::Handle, std::to_string(running->id));
        }
        services.WriteLog(kSettingPriorityFor + name + kPriorityTo + wanted);
        if (const auto priority = PriorityClassFromText(wanted)) SetPriorityByName(services, name, *priority);
    }
}

void ApplyPriorityToCommand(Services& services, const std::string& command, const std::string& priorityText,
                            std::uint32_t startedId) {
    const auto priority = PriorityClassFromText(priorityText);
    if (!priority) return;
    // The started process first: by name it may not be found yet (still starting, or started
    // through another program), and it is the one the row is about.
    if (startedId != 0) ProcessesOf(services).SetPriorityClass(startedId, *priority);
    const std::string fileName = FileNameOf(SplitCommandLine(command, false).path);
    SetPriorityByName(services, fileName, *priority);
}

}  // namespace kestrune
