#include "procs/TableStatus.h"

#include "app/Version.h"

namespace kestrune {

std::string TableStatusText(const Tables& tables, std::optional<TableKind> kind, bool refreshed) {
    if (!kind) return std::string(kTitle) + " from " + kMakerSiteName;
    const Table& table = tables[*kind];
    const int rows = table.Count();
    const int ticked = table.CountTicked();
    switch (*kind) {
        case TableKind::Process:
            return std::to_string(rows) + kProcessesStatus + std::to_string(ticked) + kStoredItemsStatus +
                   (refreshed ? kRefreshedStatus : "");
        case TableKind::Deleted: return std::to_string(rows) + " item(s)";
        default:
            return std::to_string(rows) + " item(s) : " + std::to_string(ticked) + " enabled, " +
                   std::to_string(rows - ticked) + " disabled.";
    }
}

ViewState::ShownCounts CountsShown(const Tables& tables, std::optional<TableKind> kind) {
    if (!kind) return {};
    const Table& table = tables[*kind];
    return {kind, table.Count(), table.CountTicked()};
}

}  // namespace kestrune
