#pragma once
// Reading and writing Windows' own on/off state of a start-up entry (its approval value, see
// platform/StartupApproval.h). What the value means for a row is decided by the scans and by
// LocationChange; this only reads and writes it.

#include <string_view>

#include "locations/Places.h"
#include "platform/Registry.h"

namespace kestrune {

// Whether the approval value of `name` says Windows will not start the entry.
bool DisabledInWindows(platform::Registry& registry, const ApprovalPlace& approvals, std::string_view name);

// Writes the value as Task Manager does: switched off with the time of now, or on. Switching on
// writes nothing when no value says "off" (there is nothing to clear). Answers the registry's
// status (0 for success).
int SetWindowsApproval(platform::Registry& registry, const ApprovalPlace& approvals, std::string_view name,
                       bool disabled);

// The approval name of a Startup folder row: its file name.
std::string FolderApprovalName(std::string_view rowName);

}  // namespace kestrune
