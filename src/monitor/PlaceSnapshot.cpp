#include "monitor/PlaceSnapshot.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"

namespace kestrune {

namespace {

std::vector<MonitorEntry> ReadFolder(MainState& state, const std::string& folder) {
    std::vector<MonitorEntry> entries;
    if (folder.empty() || !state.platform.files().DirectoryExists(folder)) return entries;
    for (const std::string& fileName : state.platform.files().ListFiles(folder)) {
        const ShortcutTarget link = ResolveShortcut(state.platform.shell(), folder, fileName);
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

std::vector<MonitorEntry> ReadKey(MainState& state, TableKind kind) {
    std::vector<MonitorEntry> entries;
    const RunKeyPlace place = *RunKeyOf(kind);
    const auto records = EnumRegistryValues(state.platform.registry(), place.root, place.subkey);
    for (size_t i = 1; i < records.size(); ++i) {
        if (records[i].data.empty()) continue;  // nothing to start
        MonitorEntry e;
        e.identity = records[i].name + "\t" + records[i].data;
        e.key = records[i].data;
        e.name = records[i].name;
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace

PlaceSnapshot ReadPlaceSnapshot(MainState& state) {
    return {ReadFolder(state, state.userStartupFolder), ReadFolder(state, state.commonStartupFolder),
            ReadKey(state, TableKind::HKLM_Run), ReadKey(state, TableKind::HKCU_Run),
            ReadKey(state, TableKind::RunOnce)};
}

}  // namespace kestrune
