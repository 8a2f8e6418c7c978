#pragma once
// The item editor's state and its core: filling it for a new or an existing row of a table,
// checking its fields, and storing them.

#include <optional>
#include <string>

#include "app/Outcome.h"
#include "app/TableKind.h"
#include "locations/PlaceParts.h"

namespace kestrune {

class Table;

// "Backup.bat is a file of a Startup folder: its path is the file itself, so only its name can change."
inline constexpr const char* kFilePathIsTheFile =
    " is a file of a Startup folder: its path is the file itself, so only its name can change.";

enum class EditorField { None, Name, Path };

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
    // Where the cursor goes while the editor stays open; None once the fields were stored.
    EditorField focus = EditorField::None;
};

// The editor filled for a new row of `table` (no position) or for its row `position`; nullopt
// when the table holds no such row.
std::optional<ItemEditorState> OpenItemEditor(const Table& table, std::optional<int> position);
// OK on the editor of a row of table `kind`: refused with the field to focus when a field is
// missing or the edited row's entry could not leave its place (the editor's focus names it);
// otherwise the fields are stored and the editor is hidden.
Outcome ConfirmItemEditor(PlaceParts parts, TableKind kind, ItemEditorState& editor);

}  // namespace kestrune
