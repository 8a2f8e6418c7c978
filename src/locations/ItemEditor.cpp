#include "locations/ItemEditor.h"

#include "app/MainState.h"
#include "app/Text.h"
#include "app/Version.h"
#include "locations/LocationChange.h"
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

}  // namespace

void OpenItemEditor(MainState& state, ItemEditorState& editor, bool isNew) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    const Table& table = state.tables[*kind];
    int position = -1;
    if (!isNew) {
        const std::vector<int> selected = state.fe.SelectedRows(*kind);
        if (selected.empty() || selected.front() > table.Count()) return;
        position = selected.front();
    }

    editor = ItemEditorState{};
    editor.editRowPosition = position;
    editor.caption = isNew ? kCaptionNew : kCaptionEdit;
    if (!isNew) {
        editor.name = table.Name(position);
        editor.path = table.Text(position, PathColumn(*kind));
    }
    if (*kind == TableKind::Delayed) {
        editor.showDelay = editor.showPriority = editor.priorityEnabled = true;
        editor.delay = isNew ? "1" : table.Text(position, col::Delay);
        editor.priority = isNew ? "" : PriorityEntry(table.Text(position, col::DelayedPriority));
    } else if (*kind == TableKind::Process) {
        editor.fullExeName = true;
        editor.showPriority = editor.priorityEnabled = true;
        // An edit starts on the row's own priority, so that changing only the name keeps it.
        editor.priority = isNew ? "" : PriorityEntry(table.Text(position, col::ProcessPriority));
    }
    editor.visible = true;
    state.fe.ShowItemEditor();
}

EditorField ConfirmItemEditor(MainState& state, ItemEditorState& editor) {
    if (editor.name.empty()) {
        state.fe.ShowMessage(kEnterName, MessageIcon::Information);
        return EditorField::Name;
    }
    if (editor.path.empty()) {
        state.fe.ShowMessage(kEnterPath, MessageIcon::Information);
        return EditorField::Path;
    }
    // An edit whose entry could not leave its place changes nothing; the editor stays open.
    if (!StoreEdit(state, editor)) return EditorField::Path;
    editor.visible = false;
    return EditorField::None;
}

bool StoreEdit(MainState& state, ItemEditorState& editor) {
    const auto kind = state.CurrentKind();
    if (!kind) return false;
    Table& table = state.tables[*kind];
    const bool isNew = editor.editRowPosition == -1;
    if (!isNew && (editor.editRowPosition < 1 || editor.editRowPosition > table.Count())) return false;

    const bool pathChanged =
        isNew || !EqualsIgnoreCase(editor.path, table.Text(editor.editRowPosition, PathColumn(*kind)));
    bool wasUnticked = false;
    if (!isNew && pathChanged && table.Ticked(editor.editRowPosition)) {
        table.SetTicked(editor.editRowPosition, false);
        if (ApplyLocationChange(state, *kind, editor.editRowPosition) == ChangeOutcome::Failed) return false;
        wasUnticked = true;
    }
    state.settingsChanged = true;
    const int position = isNew ? table.Add({}) : editor.editRowPosition;
    table.SetText(position, col::Name, editor.name);
    table.SetText(position, PathColumn(*kind), editor.path);
    if (*kind == TableKind::Delayed) {
        table.SetText(position, col::Delay, editor.delay);
        table.SetText(position, col::DelayedPriority, editor.priority);
    } else if (*kind == TableKind::Process) {
        table.SetText(position, col::ProcessPriority, editor.priority);
    }
    if (pathChanged) {
        table.SetIcon(position, state.ItemIcon(editor.path));
        if (wasUnticked) {
            table.SetTicked(position, true);
            ApplyLocationChange(state, *kind, position);
        }
    }
    if (isNew) ShowTableStatus(state);
    return true;
}

}  // namespace kestrune
