#pragma once
// The status line under the tables: what it says for each tab, and the counts it shows, by
// which a view tells that it is out of date.

#include <optional>
#include <string>

#include "app/Table.h"
#include "app/TableKind.h"
#include "app/ViewState.h"

namespace kestrune {

inline constexpr const char* kRefreshingStatus = "Refreshing...";
inline constexpr const char* kProcessesStatus = " processes, ";
inline constexpr const char* kStoredItemsStatus = " stored item(s)";
inline constexpr const char* kRefreshedStatus = " - refreshed";

// The status text of a tab (`ShowTableStatus`): `kind` is the tab's table, none for the About
// tab; `refreshed` says that the Process table was just refilled. Counted from the table as it
// is: a refill must come first, or the counts would disagree with the rows in sight.
std::string TableStatusText(const Tables& tables, std::optional<TableKind> kind, bool refreshed = false);
// The counts that text shows.
ViewState::ShownCounts CountsShown(const Tables& tables, std::optional<TableKind> kind);

}  // namespace kestrune
