#include "monitor/SnapshotComparison.h"

#include <string>
#include <unordered_set>

namespace kestrune {

namespace {

// The entries of `from` whose identity `other` lacks; repeated entries are kept repeated.
std::vector<MonitorEntry> Missing(const std::vector<MonitorEntry>& from, const std::vector<MonitorEntry>& other) {
    std::unordered_set<std::string> present;
    for (const MonitorEntry& e : other) present.insert(e.identity);
    std::vector<MonitorEntry> missing;
    for (const MonitorEntry& e : from)
        if (!present.contains(e.identity)) missing.push_back(e);
    return missing;
}

}  // namespace

SnapshotDifference CompareSnapshots(const PlaceSnapshot& before, const PlaceSnapshot& now) {
    SnapshotDifference difference;
    for (size_t i = 0; i < now.size(); ++i) {
        PlaceDifference& place = difference[i];
        if (now[i].size() > before[i].size()) {
            place.added = Missing(now[i], before[i]);
        } else if (now[i].size() < before[i].size()) {
            place.fewer = true;
            place.gone = Missing(before[i], now[i]);
        }
    }
    return difference;
}

}  // namespace kestrune
