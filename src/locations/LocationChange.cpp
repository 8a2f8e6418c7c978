#include "locations/LocationChange.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/Approvals.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"
#include "locations/StartupFiles.h"
#include "locations/TableOperations.h"
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

// The system's refusal of a change, told to the log and the user in the system's words.
ChangeOutcome ReportSystemRefusal(MainState& state, const std::string& rowName, const std::string& action,
                                  const std::string& path, int code, Outcome& said) {
    const std::string reason = state.platform.system().ErrorText(code);
    state.WriteLog(kCouldNotLog + action + path + ": Error " + std::to_string(code) + " - " + reason);
    said.Say(kSystemRefusedLine + rowName + ":\r\n" + reason, MessageIcon::Exclamation);
    return ChangeOutcome::Failed;
}

// The system said no: the tick goes back to what the place still holds, the log and the user
// learn why, and the document no longer holds the row as if the change had happened.
ChangeOutcome RefusedBySystem(MainState& state, TableKind kind, int position, const std::string& action,
                              const std::string& path, int code, Outcome& said) {
    Table& table = state.tables[kind];
    const bool wanted = table.Ticked(position);
    table.SetTicked(position, !wanted);
    ReportSystemRefusal(state, table.Name(position), action, path, code, said);
    if (!wanted) StoreSettingsNow(state);
    return ChangeOutcome::Failed;
}

// Another entry of that name starts from the place already: putting this one there would
// overwrite it, so the tick goes back.
ChangeOutcome RefusedAsTaken(MainState& state, TableKind kind, int position, Outcome& said) {
    Table& table = state.tables[kind];
    table.SetTicked(position, false);
    said.Say(NameTakenMessage(table.Name(position), kind), MessageIcon::Exclamation);
    return ChangeOutcome::Refused;
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

// The row was unticked but its place held nothing of that name: the row is a disabled one now,
// and the document keeps it so.
ChangeOutcome NothingTakenOut(MainState& state, TableKind kind) {
    MarkSelfMadeRemoval(state, kind);
    StoreSettingsNow(state);
    return ChangeOutcome::NotInPlace;
}

// The shortcut a folder row puts back: the fields its file had when it was taken out, with the
// row's target and arguments, which the user may have edited since.
platform::ShortcutInfo ShortcutToWrite(const Table& table, int position) {
    const std::string& path = table.Text(position, col::Path);
    platform::ShortcutInfo link = NewShortcut(path, table.Text(position, col::Arguments));
    if (const auto& kept = table.Details(position).shortcut) {
        link = *kept;
        link.target = path;
        link.arguments = table.Text(position, col::Arguments);
    }
    return link;
}

// The value a registry row puts back: the type and bytes its place held, or a plain string of
// the row's path for a row that knows none.
platform::RegistryValue ValueToWrite(const Table& table, int position) {
    platform::RegistryValue value{table.Name(position), platform::ValueType::String, table.Text(position, col::Path)};
    if (const auto& kept = table.Details(position).value) {
        value.type = kept->type;
        // A text value's data is the row's path, edited or not; other bytes stand as they were.
        if (!IsTextValueType(kept->type)) value.data = kept->data;
    }
    return value;
}

// A file that is not a shortcut cannot be written again from the row: it moves, bytes and all,
// into the program's kept-files folder and back under its own name. The row, with where the
// file waits, is stored before the file leaves.
ChangeOutcome ApplyStartupFileChange(MainState& state, TableKind kind, int position, Outcome& said) {
    Table& table = state.tables[kind];
    const std::string name = table.Name(position);
    const std::string& folder = StartupFolderOf(state, kind);
    const std::string inPlace = folder.empty() ? std::string() : AddBackslash(folder) + name;
    const RowPlace place = table.Place(position);
    const auto approvals = FolderApprovalsOf(kind);
    EntryDetails details = table.Details(position);
    StartupFile& file = *details.file;

    if (table.Ticked(position)) {
        if (place.disabledInWindows && approvals)
            return ApproveInWindows(state, kind, position, *approvals, name, inPlace, said);
        if (PlaceHoldsName(state, kind, name, PlaceKey::Main, true)) return RefusedAsTaken(state, kind, position, said);
        if (file.keptAt.empty() || !state.FileExists(file.keptAt)) {
            table.SetTicked(position, false);
            said.Say(kKeptFileGone + name + kKeptFileGoneFrom + file.keptAt + kCannotPutBack, MessageIcon::Exclamation);
            return ChangeOutcome::Failed;
        }
        if (inPlace.empty())
            return RefusedBySystem(state, kind, position, "put back ", name, platform::kErrorPathNotFound, said);
        RememberSelfMadeChange(state, inPlace);
        state.WriteLog(kPuttingFileBackLog + inPlace);
        const platform::Status status = MoveStartupFile(state.platform, file.keptAt, inPlace);
        if (!status.Ok()) return RefusedBySystem(state, kind, position, "put back ", inPlace, status.code, said);
        file.keptAt.clear();
        table.SetDetails(position, std::move(details));
        table.SetText(position, col::Path, inPlace);
        if (approvals) ClearWindowsDisabling(state, kind, position, *approvals, name, inPlace, said);
        return PutIn(state);
    }
    if (place.disabledInWindows) return ChangeOutcome::Done;
    if (inPlace.empty() || !state.FileExists(inPlace)) return NothingTakenOut(state, kind);
    if (state.options.disableTheWindowsWay && approvals)
        return DisapproveInWindows(state, kind, position, *approvals, name, inPlace, said);
    file.keptAt = FreeKeptFile(state.platform, state, kind, name);
    const std::string keptAt = file.keptAt;
    table.SetDetails(position, details);
    // Should the file stay, the row must not claim it waits elsewhere.
    auto stayed = [&] {
        file.keptAt.clear();
        table.SetDetails(position, details);
    };
    if (!StoreBeforeTakingOut(state, kind, position, said)) {
        stayed();
        return ChangeOutcome::Failed;
    }
    state.WriteLog(kMovingFileAsideLog + inPlace);
    const platform::Status status = MoveStartupFile(state.platform, inPlace, keptAt);
    if (!status.Ok()) {
        stayed();
        return RefusedBySystem(state, kind, position, "move aside ", inPlace, status.code, said);
    }
    MarkSelfMadeRemoval(state, kind);
    return ChangeOutcome::Done;
}

ChangeOutcome ApplyFolderChange(MainState& state, TableKind kind, int position, Outcome& said) {
    if (state.tables[kind].Details(position).file) return ApplyStartupFileChange(state, kind, position, said);
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
        if (PlaceHoldsName(state, kind, name)) return RefusedAsTaken(state, kind, position, said);
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingShortcutLog + path);
        const platform::Status status = CreateShortcut(shell, folder, name, ShortcutToWrite(table, position));
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
    const std::string file = folder.empty() ? std::string() : ShortcutFileOf(folder, name);
    if (file.empty() || !state.FileExists(file)) return NothingTakenOut(state, kind);
    if (state.options.disableTheWindowsWay && approvals)
        return DisapproveInWindows(state, kind, position, *approvals, approvalName, path, said);
    // What goes back when the row is ticked again is the file as it is now, every field of it.
    if (const auto link = shell.ReadShortcut(file)) {
        EntryDetails details = table.Details(position);
        details.shortcut = *link;
        table.SetDetails(position, std::move(details));
    }
    if (!StoreBeforeTakingOut(state, kind, position, said)) return ChangeOutcome::Failed;
    state.WriteLog(kDeletingShortcutLog + path);
    const platform::Status status = shell.DeleteShortcut(file);
    if (!status.Ok() && status.code != platform::kErrorFileNotFound)
        return RefusedBySystem(state, kind, position, "delete shortcut to ", path, status.code, said);
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
    auto& registry = RegistryFor(state.platform.registry(), key);

    if (source.key == PlaceKey::Policy) {
        // Windows would put the value back at the next policy refresh anyway.
        table.SetTicked(position, !table.Ticked(position));
        said.Say(kSetByPolicyMessage, MessageIcon::Exclamation);
        return ChangeOutcome::Refused;
    }
    if (table.Ticked(position)) {
        const std::string path = table.Text(position, col::Path);
        if (place.disabledInWindows && source.approvals)
            return ApproveInWindows(state, kind, position, *source.approvals, name, path, said);
        if (!CanEnableEntry(state, kind, position)) {
            table.SetTicked(position, false);
            said.Say(kAlreadyEnabledMessage, MessageIcon::Exclamation);
            return ChangeOutcome::Refused;
        }
        if (PlaceHoldsName(state, kind, name, place.key)) return RefusedAsTaken(state, kind, position, said);
        RememberSelfMadeChange(state, path);
        state.WriteLog(kCreatingRegistryLog + path);
        const int code = registry.SetValue(key.root, key.subkey, ValueToWrite(table, position)).code;
        if (code != 0) return RefusedBySystem(state, kind, position, "create registry shortcut to ", path, code, said);
        if (source.approvals) ClearWindowsDisabling(state, kind, position, *source.approvals, name, path, said);
        return PutIn(state);
    }
    if (place.disabledInWindows) return ChangeOutcome::Done;
    // A value that is not there has nothing to lose, and nothing is taken out.
    const auto live = registry.QueryValue(key.root, key.subkey, name);
    if (!live) return NothingTakenOut(state, kind);
    if (state.options.disableTheWindowsWay && source.approvals)
        return DisapproveInWindows(state, kind, position, *source.approvals, name, table.Text(position, col::Path),
                                   said);
    // What goes back is the value as it is now: its type and bytes, and for text its text.
    EntryDetails details = table.Details(position);
    details.value = StoredValue{live->type, live->data};
    table.SetDetails(position, std::move(details));
    if (IsTextValueType(live->type) && live->data != table.Text(position, col::Path))
        table.SetText(position, col::Path, live->data);
    const std::string path = table.Text(position, col::Path);
    if (!StoreBeforeTakingOut(state, kind, position, said)) return ChangeOutcome::Failed;
    state.WriteLog(kDeletingRegistryLog + path);
    const int code = DeleteRegistryValue(registry, key.root, key.subkey, name);
    if (code != 0 && code != platform::kErrorFileNotFound)
        return RefusedBySystem(state, kind, position, "delete registry shortcut to ", path, code, said);
    MarkSelfMadeRemoval(state, kind);
    return ChangeOutcome::Done;
}

// A registry value under another name: the new one first, so that the entry is in its place at
// every moment; when the old one cannot go, the new one goes again. Another spelling of the
// same name is the same value to the registry: the old one must go first there.
ChangeOutcome RenameValue(MainState& state, TableKind kind, PlaceKey placeKey, const std::string& oldName,
                          const std::string& newName, Outcome& said) {
    const RunKeyPlace key = RunKeySourceOf(kind, placeKey).value_or(RunKeySourcesOf(kind).front()).place;
    auto& registry = RegistryFor(state.platform.registry(), key);
    const auto live = registry.QueryValue(key.root, key.subkey, oldName);
    if (!live) {
        said.Say(oldName + kNotInPlace + PlaceName(kind) + kCannotRenameThere, MessageIcon::Exclamation);
        return ChangeOutcome::Refused;
    }
    platform::RegistryValue renamed = *live;
    renamed.name = newName;
    const std::string what = oldName + kRenamedToLog + newName;
    state.WriteLog(kRenamingRegistryLog + what);
    const std::string action = "rename registry shortcut ";
    if (EqualsIgnoreCase(oldName, newName)) {
        if (const int code = DeleteRegistryValue(registry, key.root, key.subkey, oldName); code != 0)
            return ReportSystemRefusal(state, oldName, action, what, code, said);
        if (const int code = registry.SetValue(key.root, key.subkey, renamed).code; code != 0) {
            registry.SetValue(key.root, key.subkey, *live);
            return ReportSystemRefusal(state, oldName, action, what, code, said);
        }
        return ChangeOutcome::Done;
    }
    if (const int code = registry.SetValue(key.root, key.subkey, renamed).code; code != 0)
        return ReportSystemRefusal(state, oldName, action, what, code, said);
    if (const int code = DeleteRegistryValue(registry, key.root, key.subkey, oldName); code != 0) {
        DeleteRegistryValue(registry, key.root, key.subkey, newName);
        return ReportSystemRefusal(state, oldName, action, what, code, said);
    }
    return ChangeOutcome::Done;
}

ChangeOutcome RenameShortcutFile(MainState& state, TableKind kind, const std::string& oldName,
                                 const std::string& newName, bool startupFile, Outcome& said) {
    const std::string& folder = StartupFolderOf(state, kind);
    auto fileOf = [&](const std::string& name) { return AddBackslash(folder) + FolderFileName(name, startupFile); };
    const std::string from = folder.empty() ? std::string() : fileOf(oldName);
    if (from.empty() || !state.FileExists(from)) {
        said.Say(oldName + kNotInPlace + PlaceName(kind) + kCannotRenameThere, MessageIcon::Exclamation);
        return ChangeOutcome::Refused;
    }
    const std::string what = oldName + kRenamedToLog + newName;
    state.WriteLog(kRenamingShortcutLog + what);
    auto& shell = state.platform.shell();
    const platform::Status status =
        startupFile ? shell.RelocateFile(from, fileOf(newName)) : shell.RenameShortcut(from, fileOf(newName));
    if (!status.Ok()) return ReportSystemRefusal(state, oldName, "rename shortcut ", what, status.code, said);
    return ChangeOutcome::Done;
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
    // (A Process row's tick changes no place; the session's priority watcher follows it.)
    // A refusal puts the tick back; a tick that stayed is a change the program made (unless
    // there was nothing in the place to change).
    const auto now = table.PositionOf(row);
    if (IsLocationTable(kind) && now && table.Ticked(*now) == wanted && outcome != ChangeOutcome::NotInPlace)
        NoteOwnPlaceChange(state, kind, name, wanted);
    return outcome;
}

bool CanEnableEntry(const Model& model, TableKind kind, int position) {
    const Table& table = model.tables[kind];
    const int pathColumn = PathColumn(kind);
    const std::string& path = table.Text(position, pathColumn);
    const bool ticked = table.Ticked(position);
    for (int other = 1; other <= table.Count(); ++other) {
        if (other == position) continue;
        if (table.Ticked(other) == ticked && EqualsIgnoreCase(table.Text(other, pathColumn), path)) return false;
    }
    return true;
}

bool PlaceHoldsName(MainState& state, TableKind kind, std::string_view name, PlaceKey key, bool startupFile) {
    if (IsRunKeyTable(kind)) {
        const RunKeyPlace place = RunKeySourceOf(kind, key).value_or(RunKeySourcesOf(kind).front()).place;
        return RegistryFor(state.platform.registry(), place).QueryValue(place.root, place.subkey, name).has_value();
    }
    const std::string& folder = StartupFolderOf(state, kind);
    if (folder.empty() || !IsFolderTable(kind)) return false;
    const std::string file = FolderFileName(std::string(name), startupFile);
    for (const std::string& listed : state.platform.files().ListFiles(folder))
        if (EqualsIgnoreCase(listed, file)) return true;
    return false;
}

std::string NameTakenMessage(std::string_view name, TableKind kind) {
    return std::string(name) + kAlreadyStartsFrom + PlaceName(kind) + kRenameOneFirst;
}

ChangeOutcome RenameInPlace(MainState& state, TableKind kind, int position, const std::string& newName, Outcome& said) {
    Table& table = state.tables[kind];
    const std::string oldName = table.Name(position);
    const bool startupFile = table.Details(position).file.has_value();
    if (!EqualsIgnoreCase(oldName, newName) &&
        PlaceHoldsName(state, kind, newName, table.Place(position).key, startupFile)) {
        said.Say(NameTakenMessage(newName, kind), MessageIcon::Exclamation);
        return ChangeOutcome::Refused;
    }
    const ChangeOutcome outcome = IsRunKeyTable(kind)
                                      ? RenameValue(state, kind, table.Place(position).key, oldName, newName, said)
                                      : RenameShortcutFile(state, kind, oldName, newName, startupFile, said);
    if (outcome != ChangeOutcome::Done) return outcome;
    table.SetText(position, col::Name, newName);
    // A file's path is the file itself.
    if (startupFile) table.SetText(position, col::Path, AddBackslash(StartupFolderOf(state, kind)) + newName);
    RememberSelfMadeChange(state, table.Text(position, col::Path));
    MarkSelfMadeRemoval(state, kind);
    NoteOwnPlaceChange(state, kind, oldName, false);
    NoteOwnPlaceChange(state, kind, newName, true);
    return outcome;
}

void RememberSelfMadeChange(MainState& state, const std::string& path) {
    if (!state.options.ignoreSelf) {
        state.selfMadeChanges.clear();
        return;
    }
    // An empty path names nothing the monitor could meet.
    if (!path.empty()) state.selfMadeChanges.insert(path);
}

void NoteOwnPlaceChange(Model& model, TableKind kind, const std::string& name, bool added, bool fromRow) {
    model.ownPlaceChanges.push_back({kind, name, added, fromRow});
}

bool TakeSelfMadeRemoval(MainState& state, TableKind kind) {
    if (!state.options.ignoreSelf) return false;
    bool& flag = state.selfMadeRemoval[static_cast<std::size_t>(Number(kind))];
    const bool taken = flag;
    flag = false;
    return taken;
}

}  // namespace kestrune
