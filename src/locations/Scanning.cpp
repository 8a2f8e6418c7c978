#include "locations/Scanning.h"

#include <algorithm>

#include "app/CommandLine.h"
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

void ScanStartupFolder(RowParts parts, const std::string& folder, TableKind kind) {
    std::vector<FolderEntry> entries = ReadStartupFolder(parts.services.platform, folder);
    // Ascending as the desktop lists them: letter case does not order names.
    std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return CompareIgnoreCase(a.fileName, b.fileName) < 0;
    });

    Table& table = parts.model.tables[kind];
    const auto approvals = FolderApprovalsOf(kind);
    for (FolderEntry& entry : entries) {
        const bool off = approvals && DisabledInWindows(parts.services.platform.registry(), *approvals, entry.fileName);
        EntryDetails details;
        details.shortcut = std::move(entry.link);
        if (entry.startupFile) details.file = StartupFile{};
        details.place = {PlaceKey::Main, off};
        const int icon = parts.services.IconOf(entry.target);
        table.Add({std::move(entry.name), std::move(entry.target), std::move(entry.arguments)}, !off, icon,
                  std::move(details));
    }
}

void ScanRunKey(RowParts parts, platform::RootKey root, std::string_view subkey, TableKind kind, bool ticked) {
    const auto records = EnumRegistryValues(parts.services.platform.registry(), root, subkey);
    Table& table = parts.model.tables[kind];
    for (const RegistryValueRecord& record : records) {
        if (record.data.empty()) continue;
        EntryDetails details;
        details.value = StoredValue{record.type, record.bytes};
        table.Add({record.name, record.data}, ticked, parts.files().ItemIcon(record.data), std::move(details));
    }
}

void ScanRunKeySource(RowParts parts, const RunKeySource& source, TableKind kind) {
    auto& registry = parts.services.platform.registry();
    const auto records = EnumRunValues(RegistryFor(registry, source.place), source.place.root, source.place.subkey);
    Table& table = parts.model.tables[kind];
    for (const RegistryValueRecord& record : records) {
        if (record.data.empty()) continue;
        const bool off = source.approvals && DisabledInWindows(registry, *source.approvals, record.name);
        EntryDetails details;
        details.value = StoredValue{record.type, record.bytes};
        details.place = {source.key, off};
        table.Add({record.name, record.data}, !off, parts.files().ItemIcon(record.data), std::move(details));
    }
}

void ScanPlace(RowParts parts, TableKind kind) {
    if (IsFolderTable(kind)) {
        ScanStartupFolder(parts, StartupFolderOf(parts.paths, kind), kind);
        return;
    }
    for (const RunKeySource& source : RunKeySourcesOf(kind)) ScanRunKeySource(parts, source, kind);
}

void ScanPlaces(RowParts parts) {
    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run, TableKind::HKCU_Run,
                           TableKind::RunOnce})
        ScanPlace(parts, kind);
}

void ApplyRowIcons(RowParts parts, TableKind kind, int first, int last) {
    Table& table = parts.model.tables[kind];
    const int pathColumn = PathColumn(kind);
    for (int position = std::max(first, 1); position <= std::min(last, table.Count()); ++position) {
        if (table.Icon(position) != kDefaultIcon) continue;
        const int icon = parts.files().ItemIcon(table.Text(position, pathColumn));
        if (icon != kDefaultIcon) table.SetIcon(position, icon);
    }
}

void ApplyRowIcons(RowParts parts) {
    // A row is given its icon when it is added, and a cached number never changes; only rows
    // still on the default icon (added in Slimline mode, or before their file existed) can
    // gain one, so only they are looked at again.
    for (TableKind kind : kAllTables) ApplyRowIcons(parts, kind, 1, parts.model.tables[kind].Count());
}

}  // namespace kestrune
