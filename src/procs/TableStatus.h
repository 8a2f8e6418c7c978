#pragma once
// The status line under the tables. For the Process table it also refills the table when that
// was asked for, and switches the priority watcher on or off by whether any row is stored.

#include <string>

namespace kestrune {

struct MainState;

inline constexpr const char* kRefreshingStatus = "Refreshing...";
inline constexpr const char* kProcessesStatus = " processes, ";
inline constexpr const char* kStoredItemsStatus = " stored item(s)";
inline constexpr const char* kRefreshedStatus = " - refreshed";

// Shows the status text of the current tab (state.currentTab; 0 is the About tab), refilling
// the Process table first when it is due (`ShowTableStatus`).
void RefreshCurrentTab(MainState& state);
// After the tables changed: shows the current tab's status again when its counts are no longer
// the ones the status line shows. Other texts (a command's result, say) stay until then.
void UpdateTableStatus(MainState& state);

}  // namespace kestrune
