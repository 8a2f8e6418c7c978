#pragma once
// Commands on the rows of a table: deleting (into Deleted, or for good from Deleted and Known),
// enabling and disabling, duplicates, unticked rows, moving to another table and recording in
// Known. Each command takes the table and the rows it acts on (positions in display order, as
// the user picked them) and answers what came of it.

#include <optional>
#include <string>
#include <vector>

#include "app/Outcome.h"
#include "app/TableKind.h"

namespace kestrune {

struct MainState;
struct Model;

inline constexpr const char* kAskDeleteItem = "Do you want to permanantly delete this item?";
inline constexpr const char* kAskDeleteAll = "Do you want to permanantly delete ALL of the selected item(s)?";
inline constexpr const char* kDuplicatesDeleted = " duplicate(s) deleted.";
inline constexpr const char* kTableRecorded = "All items in the table have been recorded.";
inline constexpr const char* kAllTablesRecorded = "All items in all tables have been recorded.";
// "Backup.bat is a file of a Startup folder, not a command: it can only move to the other Startup folder."
inline constexpr const char* kFileStaysInFolders =
    " is a file of a Startup folder, not a command: it can only move to the other Startup folder.";
inline constexpr const char* kOriginUnknown =
    " does not say which table it came from (it was deleted by an older version); choose one with Move to.";

// False when the row stays: the user declined, or its entry could not leave its place (what
// the user must be told then is added to `said`).
bool DeleteRow(MainState& state, Prompts& prompts, TableKind kind, int position, bool noConfirm, Outcome& said);
int DeleteDuplicates(MainState& state, TableKind kind, Outcome& said);
// Moves one row of `source` to the end of `target`, carrying its entry along when ticked;
// false when the row stays because its entry could not leave its place.
bool MoveRow(MainState& state, TableKind source, int position, TableKind target, Outcome& said);
// The table a Deleted row came from, when it is one that "Move to" reaches (1 to 6).
std::optional<TableKind> OriginOf(const Model& model, int position);
// Records a row's path in Known; true when a Known row was added.
bool RecordRow(MainState& state, TableKind kind, int position, bool useTick);
void RecordTable(MainState& state, TableKind kind);
void RecordAllTables(MainState& state);
// Sets the tick of one row and carries it out in its place; nothing when it already has it.
void SetRowTick(MainState& state, TableKind kind, int position, bool ticked);

// How the console and the logs name a table's place ("Startup (user)", "HKCU Run", ...).
std::string PlaceName(TableKind kind);

// The user ticked or unticked one row (its check box): carried out in its place at once.
Outcome TickRow(MainState& state, TableKind kind, int position, bool ticked);
// "Enable" / "Disable" (a value) or "Enable / Disable" (nullopt: each row the other way).
Outcome SetTicks(MainState& state, TableKind kind, const std::vector<int>& rows, std::optional<bool> ticked);
// "Tick All" / "Untick All".
Outcome SetAllTicks(MainState& state, TableKind kind, bool ticked);
// "Delete": into Deleted, or for good from Deleted (asking) and Known.
Outcome DeleteRows(MainState& state, Prompts& prompts, TableKind kind, const std::vector<int>& rows);
// "Move to".
Outcome MoveRows(MainState& state, TableKind source, const std::vector<int>& rows, TableKind target);
// "Move back": each Deleted row to the table it came from; refused for a row that does not know it.
Outcome MoveRowsBack(MainState& state, const std::vector<int>& rows);
// "Record setting".
Outcome RecordRows(MainState& state, TableKind kind, const std::vector<int>& rows);
// "Record items" in one table or in all.
Outcome RecordItems(MainState& state, std::optional<TableKind> kind);
// "Delete duplicates" in one table, or in all of them (nullopt).
Outcome DeleteDuplicateRows(MainState& state, std::optional<TableKind> kind);
// "Delete unticked items".
Outcome DeleteUntickedRows(MainState& state, TableKind kind);

}  // namespace kestrune
