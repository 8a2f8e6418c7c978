#pragma once
// Commands on the rows of a table: deleting (into Deleted, or for good from Deleted and Known),
// enabling and disabling, duplicates, unticked rows, moving to another table and recording in
// Known. Each command takes the table and the rows it acts on (positions in display order, as
// the user picked them) and answers what came of it. The commands over several rows take the
// whole state: they keep the window's controls busy meanwhile and bring its status line up to
// date afterwards (ForEachRowDo).

#include <optional>
#include <string>
#include <vector>

#include "app/Outcome.h"
#include "app/RowFiles.h"
#include "app/TableKind.h"
#include "locations/PlaceParts.h"

namespace kestrune {

struct MainState;

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

// Deletes one row without asking: Done when it went, Refused when it stays because its entry
// could not leave its place (the messages say why).
Outcome DeleteRow(PlaceParts parts, TableKind kind, int position);
// Deletes every row whose name (ignoring case) an earlier row of the table has.
Outcome DeleteDuplicates(PlaceParts parts, TableKind kind);
// Moves one row of `source` to the end of `target`, carrying its entry along when ticked:
// Done, or Refused when the row stays because its entry could not leave its place or the target
// place refused it.
Outcome MoveRow(PlaceParts parts, TableKind source, int position, TableKind target);
// The table a Deleted row came from, when it is one that "Move to" reaches (1 to 6).
std::optional<TableKind> OriginOf(const Model& model, int position);
// Records a row's path in Known; true when a Known row was added.
bool RecordRow(RowParts parts, TableKind kind, int position, bool useTick);
void RecordTable(RowParts parts, TableKind kind);
void RecordAllTables(RowParts parts);
// Sets the tick of one row and carries it out in its place; nothing when it already has it.
Outcome SetRowTick(PlaceParts parts, TableKind kind, int position, bool ticked);

// How the console and the logs name a table's place ("Startup (user)", "HKCU Run", ...).
std::string PlaceName(TableKind kind);

// The user ticked or unticked one row (its check box): carried out in its place at once.
Outcome TickRow(PlaceParts parts, TableKind kind, int position, bool ticked);
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
Outcome RecordItems(RowParts parts, std::optional<TableKind> kind);
// "Delete duplicates" in one table, or in all of them (nullopt).
Outcome DeleteDuplicateRows(PlaceParts parts, std::optional<TableKind> kind);
// "Delete unticked items".
Outcome DeleteUntickedRows(MainState& state, TableKind kind);

}  // namespace kestrune
