#pragma once
// Taking over the disabled and deleted entries that another start-up manager, Startup Control
// Panel, keeps under the current user's key.

namespace kestrune {

struct MainState;

inline constexpr const char* kImportDone = "Data imported from Startup Control Panel";

void ImportStartupControlPanel(MainState& state);

}  // namespace kestrune
