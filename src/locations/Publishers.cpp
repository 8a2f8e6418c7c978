#include "locations/Publishers.h"

#include <algorithm>

#include "app/MainState.h"

namespace kestrune {

std::string PublisherCache::PublisherOf(const std::string& file) {
    const auto stamp = files_.Stamp(file);
    if (!stamp) return "";
    if (const auto found = seen_.find(file); found != seen_.end() && found->second.stamp == *stamp)
        return found->second.publisher;
    ++filesRead_;
    std::string publisher = programs_.Publisher(file);
    seen_[file] = {*stamp, publisher};
    return publisher;
}

void ApplyRowPublishers(MainState& state, PublisherCache& cache, TableKind kind, int first, int last) {
    if (!IsLocationTable(kind)) return;
    Table& table = state.tables[kind];
    for (int position = std::max(first, 1); position <= std::min(last, table.Count()); ++position) {
        if (table.Publisher(position)) continue;
        const std::string file = state.ResolveItemFile(table.Text(position, PathColumn(kind)));
        table.SetPublisher(position, state.FileExists(file) ? cache.PublisherOf(file) : "");
    }
}

void ApplyRowPublishers(MainState& state, PublisherCache& cache) {
    for (TableKind kind : kAllTables) ApplyRowPublishers(state, cache, kind, 1, state.tables[kind].Count());
}

}  // namespace kestrune
