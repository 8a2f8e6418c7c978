#include "locations/Publishers.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <vector>

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

namespace {

// Rows of several keys often name the same command line: within one pass it names the same
// file, so it is looked for once. A file that is not there has no stamp and no publisher.
using PublisherByText = std::unordered_map<std::string, std::string>;

void FillPublishers(RowParts parts, PublisherCache& cache, TableKind kind, int first, int last,
                    PublisherByText& byText) {
    if (!IsLocationTable(kind)) return;
    Table& table = parts.model.tables[kind];
    for (int position = std::max(first, 1); position <= std::min(last, table.Count()); ++position) {
        if (table.Publisher(position)) continue;
        const std::string& text = table.Text(position, PathColumn(kind));
        auto found = byText.find(text);
        if (found == byText.end())
            found = byText.emplace(text, cache.PublisherOf(parts.files().ResolveItemFile(text))).first;
        table.SetPublisher(position, found->second);
    }
}

}  // namespace

void ApplyRowPublishers(RowParts parts, PublisherCache& cache, TableKind kind, int first, int last) {
    PublisherByText byText;
    FillPublishers(parts, cache, kind, first, last, byText);
}

void ApplyRowPublishers(RowParts parts, PublisherCache& cache, const std::vector<TableKind>& kinds) {
    PublisherByText byText;
    for (TableKind kind : kinds) FillPublishers(parts, cache, kind, 1, parts.model.tables[kind].Count(), byText);
}

void ApplyRowPublishers(RowParts parts, PublisherCache& cache) {
    ApplyRowPublishers(parts, cache, std::vector<TableKind>(std::begin(kAllTables), std::end(kAllTables)));
}

}  // namespace kestrune
