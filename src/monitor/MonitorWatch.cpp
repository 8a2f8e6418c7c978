#include "monitor/MonitorWatch.h"

#include "app/Paths.h"
#include "locations/Places.h"
#include "monitor/ChangeMonitor.h"

namespace kestrune {

bool NothingChangedSinceLastLook(platform::Platform& platform, const Paths& paths, MonitorState& monitor) {
    if (!monitor.snapshotTaken) {
        std::vector<platform::WatchedKey> keys;
        for (TableKind kind : {TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce}) {
            const RunKeyPlace place = *RunKeyOf(kind);
            keys.push_back({place.root, std::string(place.subkey)});
        }
        monitor.watch = platform.WatchPlaces({paths.userStartupFolder, paths.commonStartupFolder}, std::move(keys));
        return false;
    }
    return monitor.watch && !monitor.watch->MayHaveChanged();
}

}  // namespace kestrune
