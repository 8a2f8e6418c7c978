#include "locations/ItemEditor.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/LocationChange.h"
#include "locations/TableOperations.h"
#include "procs/Priority.h"
#include "procs/TableStatus.h"

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

// Stores the editor's fields in a new row or in the edited one. A ticked row whose path changes
// takes its old entry out of its place first and puts the new one in afterwards. False when
// nothing was stored: the edited row is gone, or its entry could not leave its place.
bool StoreEdit(MainState& state, TableKind kind, const ItemEditorState& editor, Outcome& outcome) {
    Table& table = state.tables[kind];
    const bool isNew = editor.editRowPosition == -1;
    if (!isNew && (editor.editRowPosition < 1 || editor.editRowPosition > table.Count())) return false;

    const bool pathChanged =
        isNew || !EqualsIgnoreCase(editor.path, table.Text(editor.editRowPosition, PathColumn(kind)));
    bool wasUnticked = false;
    if (!isNew && pathChanged && table.Ticked(editor.editRowPosition)) {
        const std::string oldName = table.Name(editor.editRowPosition);
        table.SetTicked(editor.editRowPosition, false);
        if (CarryOutLocationChange(state, kind, editor.editRowPosition, outcome) == ChangeOutcome::Failed) {
            outcome.status = OutcomeStatus::Refused;
            outcome.details.push_back("did not change " + Quoted(oldName) + " in " + PlaceName(kind));
            return false;
        }
        wasUnticked = true;
    }
    state.settingsChanged = true;
    const int position = isNew ? table.Add({}) : editor.editRowPosition;
    table.SetText(position, col::Name, editor.name);
    table.SetText(position, PathColumn(kind), editor.path);
    if (kind == TableKind::Delayed) {
        table.SetText(position, col::Delay, editor.delay);
        table.SetText(position, col::DelayedPriority, editor.priority);
    } else if (kind == TableKind::Process) {
        table.SetText(position, col::ProcessPriority, editor.priority);
        // Only ticked process rows are stored: a new one given a priority is one to keep.
        if (isNew && !editor.priority.empty()) {
            table.SetTicked(position, true);
            CarryOutLocationChange(state, kind, position, outcome);
        }
    }
    outcome.status = OutcomeStatus::Done;
    std::string detail = isNew ? "added " + Quoted(editor.name) + " to " + PlaceName(kind)
                               : "changed " + Quoted(editor.name) + " in " + PlaceName(kind);
    if (pathChanged) {
        table.SetIcon(position, state.ItemIcon(editor.path));
        if (wasUnticked) {
            table.SetTicked(position, true);
            const RowId id = table.Id(position);
            CarryOutLocationChange(state, kind, position, outcome);
            // The row is stored with its new fields, but a refused new entry leaves it disabled.
            const auto now = table.PositionOf(id);
            if (!now || !table.Ticked(*now)) {
                outcome.status = OutcomeStatus::Refused;
                detail += "; its new entry could not be put in its place, so it is disabled";
            }
        }
    }
    outcome.details.push_back(std::move(detail));
    if (isNew) ShowTableStatus(state);
    return true;
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

EditorOutcome ConfirmItemEditor(MainState& state, TableKind kind, ItemEditorState& editor) {
    EditorOutcome result;
    if (editor.name.empty()) {
        result.outcome.status = OutcomeStatus::Refused;
        result.outcome.Say(kEnterName, MessageIcon::Information);
        result.focus = EditorField::Name;
        return result;
    }
    if (editor.path.empty()) {
        result.outcome.status = OutcomeStatus::Refused;
        result.outcome.Say(kEnterPath, MessageIcon::Information);
        result.focus = EditorField::Path;
        return result;
    }
    // An edit whose entry could not leave its place changes nothing; the editor stays open.
    if (!StoreEdit(state, kind, editor, result.outcome)) {
        result.focus = EditorField::Path;
        return result;
    }
    editor.visible = false;
    return result;
}

}  // namespace kestrune
