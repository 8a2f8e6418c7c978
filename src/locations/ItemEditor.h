#pragma once
// The item editor's state and its core: opening it for a new or an existing row of the
// current table, checking its fields, and storing them.

#include <string>

namespace kestrune {

struct MainState;

struct ItemEditorState {
    bool visible = false;
    std::string caption;   // "Kestrune - New" or "Kestrune - Edit"
    std::string name;      // the Name box
    std::string path;      // the Path box
    std::string delay;     // the Delay box (Delayed only)
    std::string priority;  // the Priority list's text
    bool showDelay = false;
    bool showPriority = false;
    bool priorityEnabled = false;
    bool fullExeName = false;  // choosing a running process fills its full path
    int editRowPosition = -1;  // -1 for a new row
};

enum class EditorField { None, Name, Path };

// Fills the editor for a new row or the selected row and shows it (modal, via the front end).
void OpenItemEditor(MainState& state, ItemEditorState& editor, bool isNew);
// OK: shows the validation message and names the field to focus, or stores the edit and hides
// the editor (EditorField::None).
EditorField ConfirmItemEditor(MainState& state, ItemEditorState& editor);
// False when nothing was stored: the edited row's entry could not leave its place.
bool StoreEdit(MainState& state, ItemEditorState& editor);

}  // namespace kestrune
