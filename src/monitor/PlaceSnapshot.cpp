#include "monitor/PlaceSnapshot.h"

#include "app/Paths.h"
#include "app/Text.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/StartupFiles.h"
#include "platform/Platform.h"

namespace kestrune {

namespace {

std::vector<MonitorEntry> ReadFolder(platform::Platform& platform, const std::string& folder) {
    std::vector<MonitorEntry> entries;
    for (FolderEntry& entry : ReadStartupFolder(platform, folder)) {
        MonitorEntry e;
        e.identity = entry.fileName + "\t" + entry.target + "\t" + entry.arguments;
        e.key = std::move(entry.target);
        e.name = std::move(entry.name);
        e.arguments = std::move(entry.arguments);
        e.file = AddBackslash(folder) + entry.fileName;
        e.startupFile = entry.startupFile;
        entries.push_back(std::move(e));
    }
    return entries;
}

// Every key the table gathers, read as the scans read them.
std::vector<MonitorEntry> ReadKey(platform::Registry& registry, TableKind kind) {
    std::vector<MonitorEntry> entries;
    for (const RunKeySource& source : RunKeySourcesOf(kind)) {
        const RunKeyPlace& place = source.place;
        const auto records = EnumRunValues(RegistryFor(registry, place), place.root, place.subkey);
        for (const RegistryValueRecord& record : records) {
            if (record.data.empty()) continue;  // nothing to start
            MonitorEntry e;
            e.identity = std::string(PlaceKeyMark(source.key)) + "\t" + record.name + "\t" + record.data;
            e.key = record.data;
            e.name = record.name;
            e.placeKey = source.key;
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

}  // namespace

PlaceSnapshot ReadPlaceSnapshot(platform::Platform& platform, const Paths& paths) {
    auto& registry = platform.registry();
    return {ReadFolder(platform, paths.userStartupFolder), ReadFolder(platform, paths.commonStartupFolder),
            ReadKey(registry, TableKind::HKLM_Run), ReadKey(registry, TableKind::HKCU_Run),
            ReadKey(registry, TableKind::RunOnce)};
}

}  // namespace kestrune
