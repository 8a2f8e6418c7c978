#include "monitor/MonitorWatch.h"

#include "app/Paths.h"
#include "locations/Places.h"
#include "monitor/ChangeMonitor.h"

namespace kestrune {

std::unique_ptr<platform::PlaceWatch> WatchStartupPlaces(platform::Platform& platform, const Paths& paths) {
    std::vector<platform::WatchedKey> keys;
    for (TableKind kind : {TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce}) {
        for (const RunKeySource& source : RunKeySourcesOf(kind))
            keys.push_back({source.place.root, std::string(source.place.subkey), source.place.view});
    }
    return platform.WatchPlaces({paths.userStartupFolder, paths.commonStartupFolder}, keys);
}

bool NothingChangedSinceLastLook(platform::Platform& platform, const Paths& paths, MonitorState& monitor) {
    if (!monitor.snapshotTaken) {
        monitor.watch = WatchStartupPlaces(platform, paths);
        return false;
    }
    return monitor.watch && !monitor.watch->MayHaveChanged();
}

}  // namespace kestrune
