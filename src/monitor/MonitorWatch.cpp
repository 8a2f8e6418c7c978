#include "monitor/MonitorWatch.h"

#include "app/MainState.h"
#include "locations/Places.h"
#include "monitor/ChangeMonitor.h"

namespace kestrune {

std::unique_ptr<platform::PlaceWatch> WatchStartupPlaces(MainState& state) {
    std::vector<platform::WatchedKey> keys;
    for (TableKind kind : {TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce}) {
        const RunKeyPlace place = *RunKeyOf(kind);
        keys.push_back({place.root, std::string(place.subkey)});
    }
    return state.platform.WatchPlaces({state.userStartupFolder, state.commonStartupFolder}, std::move(keys));
}

bool NothingChangedSinceLastLook(MainState& state, MonitorState& monitor) {
    if (!monitor.snapshotTaken) {
        monitor.watch = WatchStartupPlaces(state);
        return false;
    }
    return monitor.watch && !monitor.watch->MayHaveChanged();
}

}  // namespace kestrune
