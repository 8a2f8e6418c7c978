#include "locations/Scanning.h"

#include <algorithm>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "locations/Approvals.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"
#include "locations/StartupFiles.h"
#include "locations/StartupFolders.h"

namespace kestrune {

void DetermineStartupFolders(platform::Platform& platform, Paths& paths) {
    paths.environment = platform.system().Environment();
    paths.commonStartupFolder = FindCommonStartupFolder(platform);
    paths.userStartupFolder = FindUserStartupFolder(platform, paths.environment);
}

void ScanStartupFolder(MainState& state, const std::string& folder, TableKind kind) {
    std::vector<FolderEntry> entries = ReadStartupFolder(state.platform, folder);
    // Ascending as the desktop lists them: letter case does not order names.
    std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return CompareIgnoreCase(a.fileName, b.fileName) < 0;
    });

    Table& table = state.tables[kind];
    const auto approvals = FolderApprovalsOf(kind);
    for (FolderEntry& entry : entries) {
        const bool off = approvals && DisabledInWindows(state.platform.registry(), *approvals, entry.fileName);
        EntryDetails details;
        details.shortcut = std::move(entry.link);
        if (entry.startupFile) details.file = StartupFile{};
        details.place = {PlaceKey::Main, off};
        const int icon = state.IconOf(entry.target);
        table.Add({std::move(entry.name), std::move(entry.target), std::move(entry.arguments)}, !off, icon,
                  std::move(details));
    }
}

void ScanRunKey(MainState& state, platform::RootKey root, std::string_view subkey, TableKind kind, bool ticked) {
    const auto records = EnumRegistryValues(state.platform.registry(), root, subkey);
    Table& table = state.tables[kind];
    for (const RegistryValueRecord& record : records) {
        if (record.data.empty()) continue;
        EntryDetails details;
        details.value = StoredValue{record.type, record.bytes};
        table.Add({record.name, record.data}, ticked, state.ItemIcon(record.data), std::move(details));
    }
}

void ScanRunKeySource(MainState& state, const RunKeySource& source, TableKind kind) {
    auto& registry = state.platform.registry();
    const auto records = EnumRunValues(RegistryFor(registry, source.place), source.place.root, source.place.subkey);
    Table& table = state.tables[kind];
    for (const RegistryValueRecord& record : records) {
        if (record.data.empty()) continue;
        const bool off = source.approvals && DisabledInWindows(registry, *source.approvals, record.name);
        EntryDetails details;
        details.value = StoredValue{record.type, record.bytes};
        details.place = {source.key, off};
        table.Add({record.name, record.data}, !off, state.ItemIcon(record.data), std::move(details));
    }
}

void ScanPlace(MainState& state, TableKind kind) {
    if (IsFolderTable(kind)) {
        ScanStartupFolder(state, StartupFolderOf(state, kind), kind);
        return;
    }
    for (const RunKeySource& source : RunKeySourcesOf(kind)) ScanRunKeySource(state, source, kind);
}

void ScanPlaces(MainState& state) {
    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run, TableKind::HKCU_Run,
                           TableKind::RunOnce})
        ScanPlace(state, kind);
}

void ApplyRowIcons(MainState& state, TableKind kind, int first, int last) {
    Table& table = state.tables[kind];
    const int pathColumn = PathColumn(kind);
    for (int position = std::max(first, 1); position <= std::min(last, table.Count()); ++position) {
        if (table.Icon(position) != kDefaultIcon) continue;
        const int icon = state.ItemIcon(table.Text(position, pathColumn));
        if (icon != kDefaultIcon) table.SetIcon(position, icon);
    }
}

void ApplyRowIcons(MainState& state) {
    // A row is given its icon when it is added, and a cached number never changes; only rows
    // still on the default icon (added in Slimline mode, or before their file existed) can
    // gain one, so only they are looked at again.
    for (TableKind kind : kAllTables) ApplyRowIcons(state, kind, 1, state.tables[kind].Count());
}

}  // namespace kestrune
