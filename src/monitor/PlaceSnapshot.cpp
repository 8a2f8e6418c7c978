#include "monitor/PlaceSnapshot.h"

#include "app/Paths.h"
#include "app/Text.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"
#include "platform/Platform.h"

namespace kestrune {

namespace {

std::vector<MonitorEntry> ReadFolder(platform::Platform& platform, const std::string& folder) {
    std::vector<MonitorEntry> entries;
    if (folder.empty() || !platform.files().DirectoryExists(folder)) return entries;
    for (const std::string& fileName : platform.files().ListFiles(folder)) {
        const ShortcutTarget link = ResolveShortcut(platform.shell(), folder, fileName);
        if (link.target.empty()) continue;
        MonitorEntry e;
        e.identity = fileName + "\t" + link.target + "\t" + link.arguments;
        e.key = link.target;
        const std::string extension = ExtensionOf(fileName);
        e.name = fileName.substr(0, fileName.size() - extension.size());
        e.arguments = link.arguments;
        e.file = AddBackslash(folder) + fileName;
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
