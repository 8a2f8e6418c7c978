#pragma once
// Taking over the disabled and deleted entries that another start-up manager, Startup Control
// Panel, keeps under the current user's key.

#include "app/Outcome.h"
#include "app/RowFiles.h"

namespace kestrune {

inline constexpr const char* kImportDone = "Data imported from Startup Control Panel";

// Done even when there was nothing to take over; the outcome says how many rows came.
Outcome ImportStartupControlPanel(RowParts parts);

}  // namespace kestrune
