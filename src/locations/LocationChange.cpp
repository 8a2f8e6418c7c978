#include "locations/LocationChange.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"

namespace kestrune {

namespace {

bool AnyTicked(const Table& table) { return table.CountTicked() > 0; }

void ApplyFolderChange(MainState& state, TableKind kind, int position) {
    Table& table = state.tables[kind];
    const std::string name = table.Name(position);
    const std::string path = table.Text(position, col::Path);
    const std::string& folder = StartupFolderOf(state, kind);

    if (table.Ticked(position)) {
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingShortcutLog + path);
        CreateShortcut(state.platform.shell(), folder, name, path, table.Text(position, col::Arguments));
        return;
    }

    // The delayed run depends on the program starting with Windows.
    if (EqualsIgnoreCase(name, kTitle) && AnyTicked(state.tables[TableKind::Delayed])) {
        state.fe.ShowMessage(std::string(kNeededForDelayedLine1) + "\r\n" + kNeededForDelayedLine2,
                             MessageIcon::Information);
        table.SetTicked(position, true);
        return;
    }
    if (!folder.empty()) {
        const std::string file = ShortcutFileOf(folder, name);
        if (state.FileExists(file)) {
            state.WriteLog(kDeletingShortcutLog + path);
            state.platform.files().RemoveFile(file);
        }
    }
    state.selfMadeRemoval[static_cast<std::size_t>(Number(kind))] = true;
}

void ApplyRunKeyChange(MainState& state, TableKind kind, int position) {
    Table& table = state.tables[kind];
    const RunKeyPlace key = *RunKeyOf(kind);
    const std::string name = table.Name(position);
    const std::string path = table.Text(position, col::Path);
    auto& registry = state.platform.registry();

    if (table.Ticked(position)) {
        if (!CanEnableEntry(state, kind, position)) {
            table.SetTicked(position, false);
            state.fe.ShowMessage(kAlreadyEnabledMessage, MessageIcon::Exclamation);
            return;
        }
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingRegistryLog + path);
        WriteRegistryValue(registry, key.root, key.subkey, name, path, kRegSz);
        return;
    }
    state.WriteLog(kDeletingRegistryLog + path);
    DeleteRegistryValue(registry, key.root, key.subkey, name);
    state.selfMadeRemoval[static_cast<std::size_t>(Number(kind))] = true;
}

void ApplyProcessChange(MainState& state) {
    Timer* watcher = state.tmrPriorities.get();
    if (!watcher) return;
    if (!AnyTicked(state.tables[TableKind::Process])) {
        if (watcher->Running()) watcher->Stop();
    } else if (state.options.watchPriorities) {
        watcher->Start();
    }
}

}  // namespace

void ApplyLocationChange(MainState& state, TableKind kind, int position) {
    if (position < 1 || position > state.tables[kind].Count()) return;
    const Table& table = state.tables[kind];
    const bool wanted = table.Ticked(position);
    const RowId row = table.Id(position);
    const std::string name = table.Name(position);
    if (IsFolderTable(kind)) ApplyFolderChange(state, kind, position);
    else if (IsRunKeyTable(kind)) ApplyRunKeyChange(state, kind, position);
    else if (kind == TableKind::Process) ApplyProcessChange(state);
    // A refusal puts the tick back; a tick that stayed is a change the program made.
    const auto now = table.PositionOf(row);
    if (IsLocationTable(kind) && now && table.Ticked(*now) == wanted) NoteOwnPlaceChange(state, kind, name, wanted);
}

bool CanEnableEntry(MainState& state, TableKind kind, int position) {
    const Table& table = state.tables[kind];
    const int pathColumn = PathColumn(kind);
    const std::string& path = table.Text(position, pathColumn);
    const bool ticked = table.Ticked(position);
    for (int other = 1; other <= table.Count(); ++other) {
        if (other == position) continue;
        if (table.Ticked(other) == ticked && EqualsIgnoreCase(table.Text(other, pathColumn), path)) return false;
    }
    return true;
}

void RememberSelfMadeChange(MainState& state, const std::string& path) {
    if (!state.options.ignoreSelf) {
        state.selfMadeChanges.clear();
        return;
    }
    if (!state.selfMadeChanges.empty()) state.selfMadeChanges += "\r\n";
    state.selfMadeChanges += path;
}

void NoteOwnPlaceChange(MainState& state, TableKind kind, const std::string& name, bool added, bool fromRow) {
    state.ownPlaceChanges.push_back({kind, name, added, fromRow});
}

bool TakeSelfMadeRemoval(MainState& state, TableKind kind) {
    if (!state.options.ignoreSelf) return false;
    bool& flag = state.selfMadeRemoval[static_cast<std::size_t>(Number(kind))];
    const bool taken = flag;
    flag = false;
    return taken;
}

}  // namespace kestrune
