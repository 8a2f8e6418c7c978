#include "procs/ProcessSnapshot.h"

#include <unordered_map>

#include "app/Text.h"

namespace kestrune {

namespace {

constexpr std::string_view kTab = "\t";
constexpr std::string_view kLineBreak = "\r\n";

// The snapshot is tab- and line-separated text, so a name or path that carries one of those
// characters (any byte goes in a Linux process name) would shift every later field.
std::string FieldText(std::string_view text) {
    std::string clean(text);
    for (char& c : clean) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return clean;
}

}  // namespace

std::string ListWmiProcesses(const std::vector<platform::ProcessInfo>& processes) {
    std::string text;
    for (const auto& process : processes) {
        if (!text.empty()) text += kLineBreak;
        text += FieldText(process.name);
        text += kTab;
        text += std::to_string(process.id);
        text += kTab;
        text += std::to_string(process.basePriority);
    }
    return text;
}

std::vector<std::string> ListProcessPaths(const std::vector<platform::ProcessInfo>& processes, bool withIds) {
    std::vector<std::string> paths;
    paths.reserve(processes.size() + 1);
    paths.emplace_back();
    for (const auto& process : processes) {
        std::string entry = FieldText(process.path);
        if (withIds) {
            entry += kTab;
            entry += std::to_string(process.id);
        }
        paths.push_back(std::move(entry));
    }
    return paths;
}

std::string FindPathOfProcessId(const std::vector<std::string>& paths, std::string_view id) {
    for (const auto& entry : paths) {
        if (EqualsIgnoreCase(GetField(entry, kTab, 2), id)) return GetField(entry, kTab, 1);
    }
    return {};
}

std::vector<std::string> BuildProcessSnapshot(const std::vector<platform::ProcessInfo>& processes) {
    const std::string text = ListWmiProcesses(processes);
    if (text.empty()) return {std::string{}};

    // Looking each identifier up in the path list one by one is quadratic in the number of
    // processes, and this runs on every watcher tick; an index keeps the first match the same.
    const std::vector<std::string> paths = ListProcessPaths(processes, true);
    std::unordered_map<std::string, std::string> pathById;
    pathById.reserve(paths.size());
    for (const auto& entry : paths) pathById.emplace(GetField(entry, kTab, 2), GetField(entry, kTab, 1));

    std::vector<std::string> snapshot = Split(text, kLineBreak);
    for (auto& element : snapshot) {
        const auto found = pathById.find(GetField(element, kTab, 2));
        element += kTab;
        if (found != pathById.end()) element += found->second;
    }
    return snapshot;
}

std::optional<std::string> FindSnapshotHandle(const std::vector<std::string>& snapshot, std::string_view name,
                                              std::string_view path) {
    for (const auto& element : snapshot) {
        // The lone empty element of an empty list stands for no process, not for a nameless one.
        if (element.empty()) continue;
        if (EqualsIgnoreCase(GetField(element, kTab, 1), name) && EqualsIgnoreCase(GetField(element, kTab, 4), path)) {
            return GetField(element, kTab, 2);
        }
    }
    return std::nullopt;
}

std::string FindSnapshotPriority(const std::vector<std::string>& snapshot, std::string_view handle) {
    for (const auto& element : snapshot) {
        if (EqualsIgnoreCase(GetField(element, kTab, 2), handle)) return GetField(element, kTab, 3);
    }
    return {};
}

}  // namespace kestrune
