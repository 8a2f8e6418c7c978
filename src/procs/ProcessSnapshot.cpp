#include "procs/ProcessSnapshot.h"

#include "app/Text.h"

namespace kestrune {

namespace {

std::string FieldText(std::string_view text) {
    std::string clean(text);
    for (char& c : clean) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return clean;
}

}  // namespace

ProcessSnapshot BuildProcessSnapshot(const std::vector<platform::ProcessInfo>& processes) {
    ProcessSnapshot snapshot;
    snapshot.reserve(processes.size());
    for (const auto& process : processes)
        snapshot.push_back({process.id, FieldText(process.name), process.basePriority, FieldText(process.path)});
    return snapshot;
}

const platform::ProcessInfo* FindSnapshotProcess(const ProcessSnapshot& snapshot, std::string_view name,
                                                 std::string_view path) {
    for (const auto& process : snapshot) {
        if (EqualsIgnoreCase(process.name, name) && EqualsIgnoreCase(process.path, path)) return &process;
    }
    return nullptr;
}

}  // namespace kestrune
