#include "locations/LocationChange.h"

#include "app/Options.h"
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

Outcome Done() { return Outcome::Of(OutcomeStatus::Done); }

// One of the program's own rules said no.
Outcome RefusedSaying(std::string text, MessageIcon icon = MessageIcon::Exclamation) {
    Outcome outcome = Outcome::Of(OutcomeStatus::Refused);
    outcome.Say(std::move(text), icon);
    return outcome;
}

// The machine or the settings file said no.
Outcome FailedSaying(std::string text) {
    Outcome outcome = RefusedSaying(std::move(text));
    outcome.refusedBySystem = true;
    return outcome;
}

void MarkSelfMadeRemoval(Model& model, TableKind kind) {
    model.selfMadeRemoval[static_cast<std::size_t>(Number(kind))] = true;
}

// The row is unticked already; the document is written with it before its entry leaves the
// place, so that no moment exists in which the entry is only in memory. When the document
// cannot be written the tick goes back and the entry stays.
// Done when stored.
Outcome StoreBeforeTakingOut(PlaceParts parts, TableKind kind, int position) {
    if (StoreSettingsNow(parts)) return Done();
    parts.model.tables[kind].SetTicked(position, true);
    return FailedSaying(std::string(kNotStoredLine) + "\r\n" + parts.paths.settingsDocumentPath + "\r\n" +
                        kLeftInPlaceLine + WriteFailureLine(parts.services));
}

// The system's refusal of a change, told to the log and the user in the system's words.
Outcome ReportSystemRefusal(PlaceParts parts, const std::string& rowName, const std::string& action,
                            const std::string& path, int code) {
    const std::string reason = parts.services.platform.system().ErrorText(code);
    parts.services.WriteLog(kCouldNotLog + action + path + ": Error " + std::to_string(code) + " - " + reason);
    return FailedSaying(kSystemRefusedLine + rowName + ":\r\n" + reason);
}

// The system said no: the tick goes back to what the place still holds, the log and the user
// learn why, and the document no longer holds the row as if the change had happened.
Outcome RefusedBySystem(PlaceParts parts, TableKind kind, int position, const std::string& action,
                        const std::string& path, int code) {
    Table& table = parts.model.tables[kind];
    const bool wanted = table.Ticked(position);
    table.SetTicked(position, !wanted);
    Outcome refused = ReportSystemRefusal(parts, table.Name(position), action, path, code);
    if (!wanted) StoreSettingsNow(parts);
    return refused;
}

// Another entry of that name starts from the place already: putting this one there would
// overwrite it, so the tick goes back.
Outcome RefusedAsTaken(PlaceParts parts, TableKind kind, int position) {
    Table& table = parts.model.tables[kind];
    table.SetTicked(position, false);
    return RefusedSaying(NameTakenMessage(table.Name(position), kind));
}

// After an entry went into its place its row is no longer a disabled one; the document must
// not bring it back as such (a failure here costs nothing: the place holds the entry).
// `said` is what clearing its approval value had to tell.
Outcome PutIn(PlaceParts parts, Outcome said = {}) {
    StoreSettingsNow(parts);
    said.status = OutcomeStatus::Done;
    return said;
}

// The entry stays where it is; only Windows' own flag is switched on.
Outcome ApproveInWindows(PlaceParts parts, TableKind kind, int position, const ApprovalPlace& approvals,
                         const std::string& approvalName, const std::string& path) {
    parts.services.WriteLog(kEnablingInWindowsLog + path);
    const int code = SetWindowsApproval(parts.services.platform.registry(), approvals, approvalName, false);
    if (code != 0) return RefusedBySystem(parts, kind, position, "enable in Windows Settings ", path, code);
    Table& table = parts.model.tables[kind];
    table.SetPlace(position, {table.Place(position).key, false});
    return Done();
}

// Switches the entry off as Task Manager does: it stays in its place, unticked and marked, and
// the settings document need not hold it (the place does).
Outcome DisapproveInWindows(PlaceParts parts, TableKind kind, int position, const ApprovalPlace& approvals,
                            const std::string& approvalName, const std::string& path) {
    parts.services.WriteLog(kDisablingInWindowsLog + path);
    const int code = SetWindowsApproval(parts.services.platform.registry(), approvals, approvalName, true);
    if (code != 0) return RefusedBySystem(parts, kind, position, "disable in Windows Settings ", path, code);
    Table& table = parts.model.tables[kind];
    table.SetPlace(position, {table.Place(position).key, true});
    return Done();
}

// An entry put back into its place must not stay switched off by an old approval value. When
// that value cannot be cleared the entry is in its place but Windows will not start it: the row
// says so instead of claiming it is enabled. Answers what the user must be told of it.
Outcome ClearWindowsDisabling(PlaceParts parts, TableKind kind, int position, const ApprovalPlace& approvals,
                              const std::string& approvalName, const std::string& path) {
    auto& registry = parts.services.platform.registry();
    if (!DisabledInWindows(registry, approvals, approvalName)) return {};
    parts.services.WriteLog(kEnablingInWindowsLog + path);
    const int code = SetWindowsApproval(registry, approvals, approvalName, false);
    if (code == 0) return {};
    const std::string reason = parts.services.platform.system().ErrorText(code);
    parts.services.WriteLog(std::string(kCouldNotLog) + "enable in Windows Settings " + path + ": Error " +
                            std::to_string(code) + " - " + reason);
    Table& table = parts.model.tables[kind];
    table.SetTicked(position, false);
    table.SetPlace(position, {table.Place(position).key, true});
    Outcome said;
    said.Say(kSystemRefusedLine + table.Name(position) + ":\r\n" + reason + "\r\n" + kStillDisabledInWindowsLine,
             MessageIcon::Exclamation);
    return said;
}

// The row was unticked but its place held nothing of that name: the row is a disabled one now,
// and the document keeps it so.
Outcome NothingTakenOut(PlaceParts parts, TableKind kind) {
    MarkSelfMadeRemoval(parts.model, kind);
    StoreSettingsNow(parts);
    return Outcome::Of(OutcomeStatus::NothingToDo);
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
Outcome ApplyStartupFileChange(PlaceParts parts, TableKind kind, int position) {
    Table& table = parts.model.tables[kind];
    const std::string name = table.Name(position);
    const std::string& folder = StartupFolderOf(parts.paths, kind);
    const std::string inPlace = folder.empty() ? std::string() : AddBackslash(folder) + name;
    const RowPlace place = table.Place(position);
    const auto approvals = FolderApprovalsOf(kind);
    EntryDetails details = table.Details(position);
    StartupFile& file = *details.file;

    if (table.Ticked(position)) {
        if (place.disabledInWindows && approvals)
            return ApproveInWindows(parts, kind, position, *approvals, name, inPlace);
        if (PlaceHoldsName(parts.services.platform, parts.paths, kind, name, PlaceKey::Main, true))
            return RefusedAsTaken(parts, kind, position);
        if (file.keptAt.empty() || !parts.services.FileExists(file.keptAt)) {
            table.SetTicked(position, false);
            return FailedSaying(kKeptFileGone + name + kKeptFileGoneFrom + file.keptAt + kCannotPutBack);
        }
        if (inPlace.empty())
            return RefusedBySystem(parts, kind, position, "put back ", name, platform::kErrorPathNotFound);
        RememberSelfMadeChange(parts.model, parts.options, inPlace);
        parts.services.WriteLog(kPuttingFileBackLog + inPlace);
        const platform::Status status = MoveStartupFile(parts.services.platform, file.keptAt, inPlace);
        if (!status.Ok()) return RefusedBySystem(parts, kind, position, "put back ", inPlace, status.code);
        file.keptAt.clear();
        table.SetDetails(position, std::move(details));
        table.SetText(position, col::Path, inPlace);
        return PutIn(parts,
                     approvals ? ClearWindowsDisabling(parts, kind, position, *approvals, name, inPlace) : Outcome{});
    }
    if (place.disabledInWindows) return Done();
    if (inPlace.empty() || !parts.services.FileExists(inPlace)) return NothingTakenOut(parts, kind);
    if (parts.options.disableTheWindowsWay && approvals)
        return DisapproveInWindows(parts, kind, position, *approvals, name, inPlace);
    file.keptAt = FreeKeptFile(parts.services.platform, parts.paths, kind, name);
    const std::string keptAt = file.keptAt;
    table.SetDetails(position, details);
    // Should the file stay, the row must not claim it waits elsewhere.
    auto stayed = [&] {
        file.keptAt.clear();
        table.SetDetails(position, details);
    };
    if (Outcome stored = StoreBeforeTakingOut(parts, kind, position); !stored.Succeeded()) {
        stayed();
        return stored;
    }
    parts.services.WriteLog(kMovingFileAsideLog + inPlace);
    const platform::Status status = MoveStartupFile(parts.services.platform, inPlace, keptAt);
    if (!status.Ok()) {
        stayed();
        return RefusedBySystem(parts, kind, position, "move aside ", inPlace, status.code);
    }
    MarkSelfMadeRemoval(parts.model, kind);
    return Done();
}

Outcome ApplyFolderChange(PlaceParts parts, TableKind kind, int position) {
    if (parts.model.tables[kind].Details(position).file) return ApplyStartupFileChange(parts, kind, position);
    Table& table = parts.model.tables[kind];
    const std::string name = table.Name(position);
    const std::string path = table.Text(position, col::Path);
    const std::string& folder = StartupFolderOf(parts.paths, kind);
    auto& shell = parts.services.platform.shell();

    const RowPlace place = table.Place(position);
    const auto approvals = FolderApprovalsOf(kind);
    const std::string approvalName = FolderApprovalName(name);

    if (table.Ticked(position)) {
        if (place.disabledInWindows && approvals)
            return ApproveInWindows(parts, kind, position, *approvals, approvalName, path);
        if (PlaceHoldsName(parts.services.platform, parts.paths, kind, name))
            return RefusedAsTaken(parts, kind, position);
        RememberSelfMadeChange(parts.model, parts.options, path);
        parts.services.WriteLog(kCreatingShortcutLog + path);
        const platform::Status status = CreateShortcut(shell, folder, name, ShortcutToWrite(table, position));
        if (!status.Ok()) return RefusedBySystem(parts, kind, position, "create shortcut to ", path, status.code);
        return PutIn(parts, approvals ? ClearWindowsDisabling(parts, kind, position, *approvals, approvalName, path)
                                      : Outcome{});
    }
    if (place.disabledInWindows) return Done();

    // The delayed run depends on the program starting with Windows.
    if (EqualsIgnoreCase(name, kTitle) && AnyTicked(parts.model.tables[TableKind::Delayed])) {
        table.SetTicked(position, true);
        return RefusedSaying(std::string(kNeededForDelayedLine1) + "\r\n" + kNeededForDelayedLine2,
                             MessageIcon::Information);
    }
    const std::string file = folder.empty() ? std::string() : ShortcutFileOf(folder, name);
    if (file.empty() || !parts.services.FileExists(file)) return NothingTakenOut(parts, kind);
    if (parts.options.disableTheWindowsWay && approvals)
        return DisapproveInWindows(parts, kind, position, *approvals, approvalName, path);
    // What goes back when the row is ticked again is the file as it is now, every field of it.
    if (const auto link = shell.ReadShortcut(file)) {
        EntryDetails details = table.Details(position);
        details.shortcut = *link;
        table.SetDetails(position, std::move(details));
    }
    if (Outcome stored = StoreBeforeTakingOut(parts, kind, position); !stored.Succeeded()) return stored;
    parts.services.WriteLog(kDeletingShortcutLog + path);
    const platform::Status status = shell.DeleteShortcut(file);
    if (!status.Ok() && status.code != platform::kErrorFileNotFound)
        return RefusedBySystem(parts, kind, position, "delete shortcut to ", path, status.code);
    MarkSelfMadeRemoval(parts.model, kind);
    return Done();
}

Outcome ApplyRunKeyChange(PlaceParts parts, TableKind kind, int position) {
    Table& table = parts.model.tables[kind];
    const RowPlace place = table.Place(position);
    // A row of a key this table does not gather (moved in from another table) lives in its main key.
    const RunKeySource source = RunKeySourceOf(kind, place.key).value_or(RunKeySourcesOf(kind).front());
    const RunKeyPlace& key = source.place;
    const std::string name = table.Name(position);
    auto& registry = RegistryFor(parts.services.platform.registry(), key);

    if (source.key == PlaceKey::Policy) {
        // Windows would put the value back at the next policy refresh anyway.
        table.SetTicked(position, !table.Ticked(position));
        return RefusedSaying(kSetByPolicyMessage);
    }
    if (table.Ticked(position)) {
        const std::string path = table.Text(position, col::Path);
        if (place.disabledInWindows && source.approvals)
            return ApproveInWindows(parts, kind, position, *source.approvals, name, path);
        if (!CanEnableEntry(parts.model, kind, position)) {
            table.SetTicked(position, false);
            return RefusedSaying(kAlreadyEnabledMessage);
        }
        if (PlaceHoldsName(parts.services.platform, parts.paths, kind, name, place.key))
            return RefusedAsTaken(parts, kind, position);
        RememberSelfMadeChange(parts.model, parts.options, path);
        parts.services.WriteLog(kCreatingRegistryLog + path);
        const int code = registry.SetValue(key.root, key.subkey, ValueToWrite(table, position)).code;
        if (code != 0) return RefusedBySystem(parts, kind, position, "create registry shortcut to ", path, code);
        return PutIn(parts, source.approvals
                                ? ClearWindowsDisabling(parts, kind, position, *source.approvals, name, path)
                                : Outcome{});
    }
    if (place.disabledInWindows) return Done();
    // A value that is not there has nothing to lose, and nothing is taken out.
    const auto live = registry.QueryValue(key.root, key.subkey, name);
    if (!live) return NothingTakenOut(parts, kind);
    if (parts.options.disableTheWindowsWay && source.approvals)
        return DisapproveInWindows(parts, kind, position, *source.approvals, name, table.Text(position, col::Path));
    // What goes back is the value as it is now: its type and bytes, and for text its text.
    EntryDetails details = table.Details(position);
    details.value = StoredValue{live->type, live->data};
    table.SetDetails(position, std::move(details));
    if (IsTextValueType(live->type) && live->data != table.Text(position, col::Path))
        table.SetText(position, col::Path, live->data);
    const std::string path = table.Text(position, col::Path);
    if (Outcome stored = StoreBeforeTakingOut(parts, kind, position); !stored.Succeeded()) return stored;
    parts.services.WriteLog(kDeletingRegistryLog + path);
    const int code = DeleteRegistryValue(registry, key.root, key.subkey, name);
    if (code != 0 && code != platform::kErrorFileNotFound)
        return RefusedBySystem(parts, kind, position, "delete registry shortcut to ", path, code);
    MarkSelfMadeRemoval(parts.model, kind);
    return Done();
}

// A registry value under another name: the new one first, so that the entry is in its place at
// every moment; when the old one cannot go, the new one goes again. Another spelling of the
// same name is the same value to the registry: the old one must go first there.
Outcome RenameValue(PlaceParts parts, TableKind kind, PlaceKey placeKey, const std::string& oldName,
                    const std::string& newName) {
    const RunKeyPlace key = RunKeySourceOf(kind, placeKey).value_or(RunKeySourcesOf(kind).front()).place;
    auto& registry = RegistryFor(parts.services.platform.registry(), key);
    const auto live = registry.QueryValue(key.root, key.subkey, oldName);
    if (!live) {
        return RefusedSaying(oldName + kNotInPlace + PlaceName(kind) + kCannotRenameThere);
    }
    platform::RegistryValue renamed = *live;
    renamed.name = newName;
    const std::string what = oldName + kRenamedToLog + newName;
    parts.services.WriteLog(kRenamingRegistryLog + what);
    const std::string action = "rename registry shortcut ";
    if (EqualsIgnoreCase(oldName, newName)) {
        if (const int code = DeleteRegistryValue(registry, key.root, key.subkey, oldName); code != 0)
            return ReportSystemRefusal(parts, oldName, action, what, code);
        if (const int code = registry.SetValue(key.root, key.subkey, renamed).code; code != 0) {
            registry.SetValue(key.root, key.subkey, *live);
            return ReportSystemRefusal(parts, oldName, action, what, code);
        }
        return Done();
    }
    if (const int code = registry.SetValue(key.root, key.subkey, renamed).code; code != 0)
        return ReportSystemRefusal(parts, oldName, action, what, code);
    if (const int code = DeleteRegistryValue(registry, key.root, key.subkey, oldName); code != 0) {
        DeleteRegistryValue(registry, key.root, key.subkey, newName);
        return ReportSystemRefusal(parts, oldName, action, what, code);
    }
    return Done();
}

Outcome RenameShortcutFile(PlaceParts parts, TableKind kind, const std::string& oldName, const std::string& newName,
                           bool startupFile) {
    const std::string& folder = StartupFolderOf(parts.paths, kind);
    auto fileOf = [&](const std::string& name) { return AddBackslash(folder) + FolderFileName(name, startupFile); };
    const std::string from = folder.empty() ? std::string() : fileOf(oldName);
    if (from.empty() || !parts.services.FileExists(from)) {
        return RefusedSaying(oldName + kNotInPlace + PlaceName(kind) + kCannotRenameThere);
    }
    const std::string what = oldName + kRenamedToLog + newName;
    parts.services.WriteLog(kRenamingShortcutLog + what);
    auto& shell = parts.services.platform.shell();
    const platform::Status status =
        startupFile ? shell.RelocateFile(from, fileOf(newName)) : shell.RenameShortcut(from, fileOf(newName));
    if (!status.Ok()) return ReportSystemRefusal(parts, oldName, "rename shortcut ", what, status.code);
    return Done();
}

}  // namespace

Outcome CarryOutLocationChange(PlaceParts parts, TableKind kind, int position) {
    if (position < 1 || position > parts.model.tables[kind].Count()) return Done();
    const Table& table = parts.model.tables[kind];
    const bool wanted = table.Ticked(position);
    const RowId row = table.Id(position);
    const std::string name = table.Name(position);
    Outcome outcome = Done();
    if (IsFolderTable(kind)) outcome = ApplyFolderChange(parts, kind, position);
    else if (IsRunKeyTable(kind)) outcome = ApplyRunKeyChange(parts, kind, position);
    // (A Process row's tick changes no place; the session's priority watcher follows it.)
    // A refusal puts the tick back; a tick that stayed is a change the program made (unless
    // there was nothing in the place to change).
    const auto now = table.PositionOf(row);
    if (IsLocationTable(kind) && now && table.Ticked(*now) == wanted && outcome.status != OutcomeStatus::NothingToDo)
        NoteOwnPlaceChange(parts.model, kind, name, wanted);
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

bool PlaceHoldsName(platform::Platform& platform, const Paths& paths, TableKind kind, std::string_view name,
                    PlaceKey key, bool startupFile) {
    if (IsRunKeyTable(kind)) {
        const RunKeyPlace place = RunKeySourceOf(kind, key).value_or(RunKeySourcesOf(kind).front()).place;
        return RegistryFor(platform.registry(), place).QueryValue(place.root, place.subkey, name).has_value();
    }
    const std::string& folder = StartupFolderOf(paths, kind);
    if (folder.empty() || !IsFolderTable(kind)) return false;
    const std::string file = FolderFileName(std::string(name), startupFile);
    for (const std::string& listed : platform.files().ListFiles(folder))
        if (EqualsIgnoreCase(listed, file)) return true;
    return false;
}

std::string NameTakenMessage(std::string_view name, TableKind kind) {
    return std::string(name) + kAlreadyStartsFrom + PlaceName(kind) + kRenameOneFirst;
}

Outcome RenameInPlace(PlaceParts parts, TableKind kind, int position, const std::string& newName) {
    Table& table = parts.model.tables[kind];
    const std::string oldName = table.Name(position);
    const bool startupFile = table.Details(position).file.has_value();
    if (!EqualsIgnoreCase(oldName, newName) &&
        PlaceHoldsName(parts.services.platform, parts.paths, kind, newName, table.Place(position).key, startupFile)) {
        return RefusedSaying(NameTakenMessage(newName, kind));
    }
    Outcome outcome = IsRunKeyTable(kind) ? RenameValue(parts, kind, table.Place(position).key, oldName, newName)
                                          : RenameShortcutFile(parts, kind, oldName, newName, startupFile);
    if (outcome.status != OutcomeStatus::Done) return outcome;
    table.SetText(position, col::Name, newName);
    // A file's path is the file itself.
    if (startupFile) table.SetText(position, col::Path, AddBackslash(StartupFolderOf(parts.paths, kind)) + newName);
    RememberSelfMadeChange(parts.model, parts.options, table.Text(position, col::Path));
    MarkSelfMadeRemoval(parts.model, kind);
    NoteOwnPlaceChange(parts.model, kind, oldName, false);
    NoteOwnPlaceChange(parts.model, kind, newName, true);
    return outcome;
}

void RememberSelfMadeChange(Model& model, const Options& options, const std::string& path) {
    if (!options.ignoreSelf) {
        model.selfMadeChanges.clear();
        return;
    }
    // An empty path names nothing the monitor could meet.
    if (!path.empty()) model.selfMadeChanges.insert(path);
}

void NoteOwnPlaceChange(Model& model, TableKind kind, const std::string& name, bool added, bool fromRow) {
    model.ownPlaceChanges.push_back({kind, name, added, fromRow});
}

bool TakeSelfMadeRemoval(Model& model, const Options& options, TableKind kind) {
    if (!options.ignoreSelf) return false;
    bool& flag = model.selfMadeRemoval[static_cast<std::size_t>(Number(kind))];
    const bool taken = flag;
    flag = false;
    return taken;
}

}  // namespace kestrune
