#include "locations/ItemEditor.h"

#include "app/Text.h"
#include "app/Version.h"
#include "locations/LocationChange.h"
#include "locations/Places.h"
#include "locations/TableOperations.h"
#include "procs/Priority.h"

namespace kestrune {

namespace {

constexpr const char* kCaptionNew = "Kestrune - New";
constexpr const char* kCaptionEdit = "Kestrune - Edit";
constexpr const char* kEnterName = "Please enter a name.";
constexpr const char* kEnterPath = "Please enter a path.";

// The priority list's entry for a row's text; "" when the text is not one of them.
std::string PriorityEntry(const std::string& text) {
    for (std::string_view entry : kPriorityTexts)
        if (EqualsIgnoreCase(entry, text)) return std::string(entry);
    return {};
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A ticked location row whose name alone changes is renamed in its place first; one whose path
// changes takes its old entry out first and puts the new one in afterwards, which must not
// land on another entry of the new name. Nullopt when done; otherwise the field to correct.
std::optional<EditorField> ChangeInPlace(PlaceParts parts, TableKind kind, const ItemEditorState& editor,
                                         bool pathChanged, bool& wasUnticked, Outcome& outcome) {
    Table& table = parts.model.tables[kind];
    const int position = editor.editRowPosition;
    const std::string oldName = table.Name(position);
    if (!IsLocationTable(kind) || !table.Ticked(position)) return std::nullopt;
    auto refused = [&](EditorField field) {
        outcome.status = OutcomeStatus::Refused;
        outcome.details.push_back("did not change " + Quoted(oldName) + " in " + PlaceName(kind));
        return field;
    };
    if (!pathChanged) {
        if (editor.name == oldName) return std::nullopt;
        Outcome renamed = RenameInPlace(parts, kind, position, editor.name);
        const bool done = renamed.status == OutcomeStatus::Done;
        outcome.Add(std::move(renamed));
        if (!done) return refused(EditorField::Name);
        return std::nullopt;
    }
    if (!EqualsIgnoreCase(editor.name, oldName) &&
        PlaceHoldsName(parts.services.platform, parts.paths, kind, editor.name)) {
        outcome.Say(NameTakenMessage(editor.name, kind), MessageIcon::Exclamation);
        return refused(EditorField::Name);
    }
    table.SetTicked(position, false);
    Outcome takenOut = CarryOutLocationChange(parts, kind, position);
    const bool failed = takenOut.refusedBySystem;
    outcome.Add(std::move(takenOut));
    if (failed) return refused(EditorField::Path);
    wasUnticked = true;
    return std::nullopt;
}

// A value's bytes of a type that is not text stand for the old path only.
void KeepDetailsTrueToPath(Table& table, int position) {
    const EntryDetails& details = table.Details(position);
    if (!details.value || IsTextValueType(details.value->type)) return;
    EntryDetails kept;
    kept.shortcut = details.shortcut;
    kept.file = details.file;
    kept.origin = details.origin;
    table.SetDetails(position, std::move(kept));
}

// Stores the editor's fields in a new row or in the edited one. Nullopt when stored; otherwise
// nothing was stored (the edited row is gone, or its entry could not be changed in its place)
// and the answer is the field to correct.
std::optional<EditorField> StoreEdit(PlaceParts parts, TableKind kind, const ItemEditorState& editor,
                                     Outcome& outcome) {
    Table& table = parts.model.tables[kind];
    const bool isNew = editor.editRowPosition == -1;
    if (!isNew && (editor.editRowPosition < 1 || editor.editRowPosition > table.Count())) return EditorField::Path;

    const bool pathChanged =
        isNew || !EqualsIgnoreCase(editor.path, table.Text(editor.editRowPosition, PathColumn(kind)));
    bool wasUnticked = false;
    const bool startupFile = !isNew && table.Details(editor.editRowPosition).file.has_value();
    if (startupFile && pathChanged) {
        // The file is the entry: another path would leave it behind.
        outcome.status = OutcomeStatus::Refused;
        outcome.Say(editor.name + kFilePathIsTheFile, MessageIcon::Exclamation);
        return EditorField::Path;
    }
    if (!isNew) {
        if (const auto field = ChangeInPlace(parts, kind, editor, pathChanged, wasUnticked, outcome)) return field;
    }
    parts.model.settingsChanged = true;
    const int position = isNew ? table.Add({}) : editor.editRowPosition;
    table.SetText(position, col::Name, editor.name);
    table.SetText(position, PathColumn(kind), editor.path);
    const std::string& folder = StartupFolderOf(parts.paths, kind);
    if (startupFile && !folder.empty()) table.SetText(position, col::Path, AddBackslash(folder) + editor.name);
    if (pathChanged) KeepDetailsTrueToPath(table, position);
    if (kind == TableKind::Delayed) {
        table.SetText(position, col::Delay, editor.delay);
        table.SetText(position, col::DelayedPriority, editor.priority);
    } else if (kind == TableKind::Process) {
        table.SetText(position, col::ProcessPriority, editor.priority);
        // Only ticked process rows are stored: a new one given a priority is one to keep.
        if (isNew && !editor.priority.empty()) {
            table.SetTicked(position, true);
            outcome.Add(CarryOutLocationChange(parts, kind, position));
        }
    }
    bool refused = false;
    std::string detail = isNew ? "added " + Quoted(editor.name) + " to " + PlaceName(kind)
                               : "changed " + Quoted(editor.name) + " in " + PlaceName(kind);
    if (pathChanged) {
        table.SetIcon(position, parts.files().ItemIcon(editor.path));
        if (wasUnticked) {
            table.SetTicked(position, true);
            const RowId id = table.Id(position);
            outcome.Add(CarryOutLocationChange(parts, kind, position));
            // The row is stored with its new fields, but a refused new entry leaves it disabled.
            const auto now = table.PositionOf(id);
            if (!now || !table.Ticked(*now)) {
                refused = true;
                detail += "; its new entry could not be put in its place, so it is disabled";
            }
        }
    }
    outcome.status = refused ? OutcomeStatus::Refused : OutcomeStatus::Done;
    outcome.details.push_back(std::move(detail));
    return std::nullopt;
}

}  // namespace

std::optional<ItemEditorState> OpenItemEditor(const Table& table, std::optional<int> position) {
    const TableKind kind = table.Kind();
    const bool isNew = !position;
    if (!isNew && (*position < 1 || *position > table.Count())) return std::nullopt;

    ItemEditorState editor;
    editor.editRowPosition = position.value_or(-1);
    editor.caption = isNew ? kCaptionNew : kCaptionEdit;
    if (!isNew) {
        editor.name = table.Name(*position);
        editor.path = table.Text(*position, PathColumn(kind));
    }
    if (kind == TableKind::Delayed) {
        editor.showDelay = editor.showPriority = editor.priorityEnabled = true;
        editor.delay = isNew ? "1" : table.Text(*position, col::Delay);
        editor.priority = isNew ? "" : PriorityEntry(table.Text(*position, col::DelayedPriority));
    } else if (kind == TableKind::Process) {
        editor.fullExeName = true;
        editor.showPriority = editor.priorityEnabled = true;
        // An edit starts on the row's own priority, so that changing only the name keeps it.
        editor.priority = isNew ? "" : PriorityEntry(table.Text(*position, col::ProcessPriority));
    }
    editor.visible = true;
    return editor;
}

Outcome ConfirmItemEditor(PlaceParts parts, TableKind kind, ItemEditorState& editor) {
    Outcome outcome;
    editor.focus = EditorField::None;
    if (editor.name.empty()) {
        outcome.status = OutcomeStatus::Refused;
        outcome.Say(kEnterName, MessageIcon::Information);
        editor.focus = EditorField::Name;
        return outcome;
    }
    if (editor.path.empty()) {
        outcome.status = OutcomeStatus::Refused;
        outcome.Say(kEnterPath, MessageIcon::Information);
        editor.focus = EditorField::Path;
        return outcome;
    }
    // An edit whose entry could not be changed in its place changes nothing; the editor stays
    // open on the field to correct.
    if (const auto field = StoreEdit(parts, kind, editor, outcome)) {
        editor.focus = *field;
        return outcome;
    }
    editor.visible = false;
    return outcome;
}

}  // namespace kestrune
