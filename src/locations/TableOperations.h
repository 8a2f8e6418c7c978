#pragma once
// Commands on the rows of the current table: deleting (into Deleted, or for good from Deleted
// and Known), enabling and disabling, duplicates, unticked rows, moving to another table and
// recording in Known.

#include "app/TableKind.h"

namespace kestrune {

struct MainState;

inline constexpr const char* kAskDeleteItem = "Do you want to permanantly delete this item?";
inline constexpr const char* kAskDeleteAll = "Do you want to permanantly delete ALL of the selected item(s)?";
inline constexpr const char* kDuplicatesDeleted = " duplicate(s) deleted.";
inline constexpr const char* kTableRecorded = "All items in the table have been recorded.";
inline constexpr const char* kAllTablesRecorded = "All items in all tables have been recorded.";

// False when the row stays: the user declined, or its entry could not leave its place.
bool DeleteRow(MainState& state, TableKind kind, int position, bool noConfirm);
int DeleteDuplicates(MainState& state, TableKind kind, bool quiet);
int DeleteDuplicatesInAllTables(MainState& state);
void DeleteUntickedRows(MainState& state, TableKind kind);
// Moves one row of `source` to the end of `target`, carrying its entry along when ticked;
// false when the row stays because its entry could not leave its place.
bool MoveRow(MainState& state, TableKind source, int position, TableKind target);
// Records a row's path in Known; true when a Known row was added.
bool RecordRow(MainState& state, TableKind kind, int position, bool useTick);
void RecordTable(MainState& state, TableKind kind);
void RecordAllTables(MainState& state);
// Sets the tick of one row and carries it out in its place; nothing when it already has it.
void SetRowTick(MainState& state, TableKind kind, int position, bool ticked);

// The commands on the selected rows of the current table.
void DeleteSelectedRows(MainState& state);
void ToggleSelectedRows(MainState& state);
void MoveSelectedRows(MainState& state, TableKind target);
void RecordSelectedRows(MainState& state);
void TickSelectedRows(MainState& state, bool ticked);
void TickAllRows(MainState& state, bool ticked);

}  // namespace kestrune
