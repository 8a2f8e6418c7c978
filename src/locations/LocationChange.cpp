#include "locations/LocationChange.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/Approvals.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

bool AnyTicked(const Table& table) { return table.CountTicked() > 0; }

void MarkSelfMadeRemoval(MainState& state, TableKind kind) {
    state.selfMadeRemoval[static_cast<std::size_t>(Number(kind))] = true;
}

// The row is unticked already; the document is written with it before its entry leaves the
// place, so that no moment exists in which the entry is only in memory. When the document
// cannot be written the tick goes back and the entry stays.
bool StoreBeforeTakingOut(MainState& state, TableKind kind, int position, Outcome& said) {
    if (StoreSettingsNow(state)) return true;
    state.tables[kind].SetTicked(position, true);
    said.Say(std::string(kNotStoredLine) + "\r\n" + state.settingsDocumentPath + "\r\n" + kLeftInPlaceLine +
                 WriteFailureLine(state),
             MessageIcon::Exclamation);
    return false;
}

// The system said no: the tick goes back to what the place still holds, the log and the user
// learn why, and the document no longer holds the row as if the change had happened.
ChangeOutcome RefusedBySystem(MainState& state, TableKind kind, int position, const std::string& action,
                              const std::string& path, int code, Outcome& said) {
    Table& table = state.tables[kind];
    const bool wanted = table.Ticked(position);
    table.SetTicked(position, !wanted);
    const std::string reason = state.platform.system().ErrorText(code);
    state.WriteLog(kCouldNotLog + action + path + ": Error " + std::to_string(code) + " - " + reason);
    said.Say(kSystemRefusedLine + table.Name(position) + ":\r\n" + reason, MessageIcon::Exclamation);
    if (!wanted) StoreSettingsNow(state);
    return ChangeOutcome::Failed;
}

// After an entry went into its place its row is no longer a disabled one; the document must
// not bring it back as such (a failure here costs nothing: the place holds the entry).
ChangeOutcome PutIn(MainState& state) {
    StoreSettingsNow(state);
    return ChangeOutcome::Done;
}

// The entry stays where it is; only Windows' own flag is switched on.
ChangeOutcome ApproveInWindows(MainState& state, TableKind kind, int position, const ApprovalPlace& approvals,
                               const std::string& approvalName, const std::string& path, Outcome& said) {
    state.WriteLog(kEnablingInWindowsLog + path);
    const int code = SetWindowsApproval(state.platform.registry(), approvals, approvalName, false);
    if (code != 0) return RefusedBySystem(state, kind, position, "enable in Windows Settings ", path, code, said);
    Table& table = state.tables[kind];
    table.SetPlace(position, {table.Place(position).key, false});
    return ChangeOutcome::Done;
}

// Switches the entry off as Task Manager does: it stays in its place, unticked and marked, and
// the settings document need not hold it (the place does).
ChangeOutcome DisapproveInWindows(MainState& state, TableKind kind, int position, const ApprovalPlace& approvals,
                                  const std::string& approvalName, const std::string& path, Outcome& said) {
    state.WriteLog(kDisablingInWindowsLog + path);
    const int code = SetWindowsApproval(state.platform.registry(), approvals, approvalName, true);
    if (code != 0) return RefusedBySystem(state, kind, position, "disable in Windows Settings ", path, code, said);
    Table& table = state.tables[kind];
    table.SetPlace(position, {table.Place(position).key, true});
    return ChangeOutcome::Done;
}

// An entry put back into its place must not stay switched off by an old approval value. When
// that value cannot be cleared the entry is in its place but Windows will not start it: the row
// says so instead of claiming it is enabled.
void ClearWindowsDisabling(MainState& state, TableKind kind, int position, const ApprovalPlace& approvals,
                           const std::string& approvalName, const std::string& path, Outcome& said) {
    auto& registry = state.platform.registry();
    if (!DisabledInWindows(registry, approvals, approvalName)) return;
    state.WriteLog(kEnablingInWindowsLog + path);
    const int code = SetWindowsApproval(registry, approvals, approvalName, false);
    if (code == 0) return;
    const std::string reason = state.platform.system().ErrorText(code);
    state.WriteLog(std::string(kCouldNotLog) + "enable in Windows Settings " + path + ": Error " +
                   std::to_string(code) + " - " + reason);
    Table& table = state.tables[kind];
    table.SetTicked(position, false);
    table.SetPlace(position, {table.Place(position).key, true});
    said.Say(kSystemRefusedLine + table.Name(position) + ":\r\n" + reason + "\r\n" + kStillDisabledInWindowsLine,
             MessageIcon::Exclamation);
}

ChangeOutcome ApplyFolderChange(MainState& state, TableKind kind, int position, Outcome& said) {
    Table& table = state.tables[kind];
    const std::string name = table.Name(position);
    const std::string path = table.Text(position, col::Path);
    const std::string& folder = StartupFolderOf(state, kind);
    auto& shell = state.platform.shell();

    const RowPlace place = table.Place(position);
    const auto approvals = FolderApprovalsOf(kind);
    const std::string approvalName = FolderApprovalName(name);

    if (table.Ticked(position)) {
        if (place.disabledInWindows && approvals)
            return ApproveInWindows(state, kind, position, *approvals, approvalName, path, said);
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingShortcutLog + path);
        const platform::Status status = CreateShortcut(shell, folder, name, path, table.Text(position, col::Arguments));
        if (!status.Ok()) return RefusedBySystem(state, kind, position, "create shortcut to ", path, status.code, said);
        if (approvals) ClearWindowsDisabling(state, kind, position, *approvals, approvalName, path, said);
        return PutIn(state);
    }
    if (place.disabledInWindows) return ChangeOutcome::Done;

    // The delayed run depends on the program starting with Windows.
    if (EqualsIgnoreCase(name, kTitle) && AnyTicked(state.tables[TableKind::Delayed])) {
        said.Say(std::string(kNeededForDelayedLine1) + "\r\n" + kNeededForDelayedLine2, MessageIcon::Information);
        table.SetTicked(position, true);
        return ChangeOutcome::Refused;
    }
    if (!folder.empty()) {
        const std::string file = ShortcutFileOf(folder, name);
        if (state.options.disableTheWindowsWay && approvals && state.FileExists(file))
            return DisapproveInWindows(state, kind, position, *approvals, approvalName, path, said);
        if (state.FileExists(file)) {
            if (!StoreBeforeTakingOut(state, kind, position, said)) return ChangeOutcome::Failed;
            state.WriteLog(kDeletingShortcutLog + path);
            const platform::Status status = shell.DeleteShortcut(file);
            if (!status.Ok() && status.code != platform::kErrorFileNotFound)
                return RefusedBySystem(state, kind, position, "delete shortcut to ", path, status.code, said);
        }
    }
    MarkSelfMadeRemoval(state, kind);
    return ChangeOutcome::Done;
}

ChangeOutcome ApplyRunKeyChange(MainState& state, TableKind kind, int position, Outcome& said) {
    Table& table = state.tables[kind];
    const RowPlace place = table.Place(position);
    // A row of a key this table does not gather (moved in from another table) lives in its main key.
    const RunKeySource source = RunKeySourceOf(kind, place.key).value_or(RunKeySourcesOf(kind).front());
    const RunKeyPlace& key = source.place;
    const std::string name = table.Name(position);
    const std::string path = table.Text(position, col::Path);
    auto& registry = RegistryFor(state.platform.registry(), key);

    if (source.key == PlaceKey::Policy) {
        // Windows would put the value back at the next policy refresh anyway.
        table.SetTicked(position, !table.Ticked(position));
        said.Say(kSetByPolicyMessage, MessageIcon::Exclamation);
        return ChangeOutcome::Refused;
    }
    if (table.Ticked(position)) {
        if (place.disabledInWindows && source.approvals)
            return ApproveInWindows(state, kind, position, *source.approvals, name, path, said);
        if (!CanEnableEntry(state, kind, position)) {
            table.SetTicked(position, false);
            said.Say(kAlreadyEnabledMessage, MessageIcon::Exclamation);
            return ChangeOutcome::Refused;
        }
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingRegistryLog + path);
        const int code = WriteRegistryValue(registry, key.root, key.subkey, name, path, platform::ValueType::String);
        if (code != 0) return RefusedBySystem(state, kind, position, "create registry shortcut to ", path, code, said);
        if (source.approvals) ClearWindowsDisabling(state, kind, position, *source.approvals, name, path, said);
        return PutIn(state);
    }
    if (place.disabledInWindows) return ChangeOutcome::Done;
    if (state.options.disableTheWindowsWay && source.approvals && registry.QueryValue(key.root, key.subkey, name))
        return DisapproveInWindows(state, kind, position, *source.approvals, name, path, said);
    // A value that is not there has nothing to lose.
    if (registry.QueryValue(key.root, key.subkey, name) && !StoreBeforeTakingOut(state, kind, position, said))
        return ChangeOutcome::Failed;
    state.WriteLog(kDeletingRegistryLog + path);
    const int code = DeleteRegistryValue(registry, key.root, key.subkey, name);
    if (code != 0 && code != platform::kErrorFileNotFound)
        return RefusedBySystem(state, kind, position, "delete registry shortcut to ", path, code, said);
    MarkSelfMadeRemoval(state, kind);
    return ChangeOutcome::Done;
}

void ApplyProcessChange(MainState& state) {
    Timer* watcher = state.priorityTimer.get();
    if (!watcher) return;
    if (!AnyTicked(state.tables[TableKind::Process])) {
        if (watcher->Running()) watcher->Stop();
    } else if (state.options.watchPriorities) {
        watcher->Start();
    }
}

}  // namespace

ChangeOutcome ApplyLocationChange(MainState& state, TableKind kind, int position) {
    Outcome said;
    const ChangeOutcome outcome = CarryOutLocationChange(state, kind, position, said);
    for (const OutcomeMessage& message : said.messages)
        state.fe.ShowMessage(message.text, message.icon, message.caption);
    return outcome;
}

ChangeOutcome CarryOutLocationChange(MainState& state, TableKind kind, int position, Outcome& said) {
    if (position < 1 || position > state.tables[kind].Count()) return ChangeOutcome::Done;
    const Table& table = state.tables[kind];
    const bool wanted = table.Ticked(position);
    const RowId row = table.Id(position);
    const std::string name = table.Name(position);
    ChangeOutcome outcome = ChangeOutcome::Done;
    if (IsFolderTable(kind)) outcome = ApplyFolderChange(state, kind, position, said);
    else if (IsRunKeyTable(kind)) outcome = ApplyRunKeyChange(state, kind, position, said);
    else if (kind == TableKind::Process) ApplyProcessChange(state);
    // A refusal puts the tick back; a tick that stayed is a change the program made.
    const auto now = table.PositionOf(row);
    if (IsLocationTable(kind) && now && table.Ticked(*now) == wanted) NoteOwnPlaceChange(state, kind, name, wanted);
    return outcome;
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
    // An empty path names nothing the monitor could meet.
    if (!path.empty()) state.selfMadeChanges.insert(path);
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
