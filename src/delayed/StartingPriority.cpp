#include "delayed/StartingPriority.h"

#include "app/CommandLine.h"
#include "app/Table.h"
#include "app/Text.h"
#include "procs/Priority.h"

namespace kestrune {

namespace {

constexpr auto Value(platform::PriorityClass priorityClass) { return static_cast<std::uint32_t>(priorityClass); }

}  // namespace

bool HasOwnPriority(const Table& stored, const std::string& command, const std::string& rowPriority) {
    if (PriorityClassFromText(rowPriority)) return true;
    const std::string fileName = FileNameOf(SplitCommandLine(command, false).path);
    for (int position = 1; position <= stored.Count(); ++position) {
        // The watcher and the end of the run set a stored row's class by file name.
        if (stored.Ticked(position) && EqualsIgnoreCase(stored.Name(position), fileName) &&
            PriorityClassFromText(stored.Text(position, col::ProcessPriority)))
            return true;
    }
    return false;
}

bool LowerWhileStarting(platform::Processes& processes, std::uint32_t id) {
    return id != 0 && processes.SetPriorityClass(id, Value(kStartingClass));
}

bool RestoreAfterStarting(platform::Processes& processes, std::uint32_t id) {
    const std::string lowered = PriorityTextFromClass(Value(kStartingClass));
    for (const platform::ProcessInfo& process : processes.List()) {
        if (process.id != id) continue;
        // Another class now is someone's choice made since the start: it stays.
        if (!EqualsIgnoreCase(PriorityTextFromBase(process.basePriority), lowered)) return false;
        return processes.SetPriorityClass(id, Value(platform::PriorityClass::Normal));
    }
    return false;
}

}  // namespace kestrune
