#include "procs/ForEachRow.h"

#include <algorithm>
#include <vector>

#include "app/Model.h"

namespace kestrune {

void ForEachRowDo(Model& model, TableKind kind, std::vector<int> rows,
                  const std::function<void(int position)>& action) {
    const BusyScope busy(model.events);
    const Table& table = model.tables[kind];
    // Visit them from the last.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // The rows are held by identity and found again before each step: a step may sort the
    // table (a ticked move fits every list) or take rows out of it, so a position taken now
    // could name another row by then. A row that has left the table meanwhile is passed over.
    std::vector<RowId> ids;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 1 && *it <= table.Count()) ids.push_back(table.Id(*it));
    for (const RowId id : ids) {
        if (const auto position = table.PositionOf(id)) action(*position);
    }
}

}  // namespace kestrune
