#pragma once
// The running processes as text: the management-service list (name, handle, base priority), the
// list of executable paths, the snapshot that joins them ("name\thandle\tbasepriority\tpath", one
// element per process) and the lookups in it. Fields are read with GetField, counting from 1.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace kestrune {

// One "name\thandle\tbasepriority" line per process, lines joined by "\r\n".
std::string ListWmiProcesses(const std::vector<platform::ProcessInfo>& processes);
// Element 0 is empty; then one path per process, or "path\tid" with `withIds`.
std::vector<std::string> ListProcessPaths(const std::vector<platform::ProcessInfo>& processes, bool withIds);
// Field 1 of the first element of a ListProcessPaths(true) list whose field 2 equals `id`.
std::string FindPathOfProcessId(const std::vector<std::string>& paths, std::string_view id);

// The snapshot: always at least one element; a single empty one when no process is listed.
std::vector<std::string> BuildProcessSnapshot(const std::vector<platform::ProcessInfo>& processes);

// The handle of the first element whose name and path equal these, ignoring case.
std::optional<std::string> FindSnapshotHandle(const std::vector<std::string>& snapshot, std::string_view name,
                                              std::string_view path);
// The base priority (as text) of the first element with this handle; "" when none has it.
std::string FindSnapshotPriority(const std::vector<std::string>& snapshot, std::string_view handle);

}  // namespace kestrune
