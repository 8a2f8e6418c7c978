#pragma once
// The running processes as last listed, one record each (name, handle, base priority, path),
// and the lookups in them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace kestrune {

using ProcessSnapshot = std::vector<platform::ProcessInfo>;

// The processes as listed, with tabs and line breaks in names and paths made spaces: the
// names and paths become table texts, which are printed one row to a line, columns split by
// tabs.
ProcessSnapshot BuildProcessSnapshot(const std::vector<platform::ProcessInfo>& processes);

// The first process whose name and path equal these, ignoring case; nullptr when none has.
const platform::ProcessInfo* FindSnapshotProcess(const ProcessSnapshot& snapshot, std::string_view name,
                                                 std::string_view path);

}  // namespace kestrune
