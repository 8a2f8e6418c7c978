#include "monitor/PlaceFollower.h"

#include <algorithm>
#include <string>

#include "app/MainState.h"
#include "app/TableSort.h"
#include "app/Text.h"
#include "locations/Scanning.h"
#include "monitor/MonitorWatch.h"

namespace kestrune {

namespace {

std::vector<std::string> Sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> Identities(const std::vector<MonitorEntry>& entries) {
    std::vector<std::string> identities;
    for (const MonitorEntry& e : entries) identities.push_back(e.identity);
    return Sorted(std::move(identities));
}

// Names compare ignoring case, as Windows compares value and file names.
std::string EntryText(bool folder, std::string_view name, std::string_view path, std::string_view arguments) {
    return ToLower(name) + "\t" + std::string(path) + (folder ? "\t" + std::string(arguments) : std::string());
}

}  // namespace

bool TableShowsPlace(const Model& model, TableKind kind, const std::vector<MonitorEntry>& entries) {
    const bool folder = IsFolderTable(kind);
    std::vector<std::string> shown, present;
    const Table& table = model.tables[kind];
    for (int p = 1; p <= table.Count(); ++p) {
        if (!table.Ticked(p)) continue;
        shown.push_back(EntryText(folder, table.Name(p), table.Text(p, col::Path),
                                  folder ? table.Text(p, col::Arguments) : std::string_view()));
    }
    for (const MonitorEntry& e : entries) present.push_back(EntryText(folder, e.name, e.key, e.arguments));
    return Sorted(std::move(shown)) == Sorted(std::move(present));
}

std::vector<TableKind> FollowPlaceChanges(MainState& state, PlaceFollowerState& follower, bool questionOpen) {
    // A rescan renumbers rows that an open dialog or a pending question may be about.
    if (state.model.loadingInProgress || state.view.slimlineMode || questionOpen) return {};
    const bool retry = std::any_of(follower.pending.begin(), follower.pending.end(), [](bool p) { return p; });
    if (!follower.snapshotTaken) {
        // Watching before reading: nothing done between the two goes unseen.
        follower.watch = WatchStartupPlaces(state.services.platform, state.paths);
    } else if (!retry && follower.watch && !follower.watch->MayHaveChanged()) {
        return {};
    }
    PlaceSnapshot current = ReadPlaceSnapshot(state.services.platform, state.paths);
    std::vector<TableKind> rescanned;
    if (follower.snapshotTaken) {
        for (size_t i = 0; i < current.size(); ++i) {
            const TableKind kind = static_cast<TableKind>(i + 1);
            if (!follower.pending[i] && Identities(follower.previous[i]) == Identities(current[i])) continue;
            follower.pending[i] = false;
            if (TableShowsPlace(state.model, kind, current[i])) continue;
            if (!RescanLocation(state, kind)) {
                follower.pending[i] = true;
                continue;
            }
            SortTable(state.model.tables[kind]);
            ApplyRowIcons(state, kind, 1, state.model.tables[kind].Count());
            rescanned.push_back(kind);
        }
    }
    follower.previous = std::move(current);
    follower.snapshotTaken = true;
    return rescanned;
}

}  // namespace kestrune
