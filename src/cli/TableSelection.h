#pragma once
// How a command line names a table and a row of it.

#include <optional>
#include <string>
#include <string_view>

#include "app/Table.h"
#include "app/TableKind.h"

namespace kestrune::cli {

// A table number 1 to 9, a kind name ("HKCU_Run") or a tab caption ("HKCU Run"), ignoring case.
std::optional<TableKind> ResolveTable(std::string_view text);

// The first row whose first column equals `name`, ignoring case.
std::optional<int> FindRowByName(const Table& table, std::string_view name);

// What a command line asks for: a name, or a position given with --row.
struct RowChoice {
    std::string name;
    std::optional<int> position;
};

// The row's position, or nullopt when the table holds no such row.
std::optional<int> FindRow(const Table& table, const RowChoice& choice);

// "no row named "X" in table HKCU Run" / "no row 7 in table HKCU Run (3 rows)".
std::string MissingRowText(const Table& table, const RowChoice& choice);
// `unknown table "X" (use 1-9, a name such as HKCU_Run, or a tab caption such as "HKCU Run")`,
// with `; did you mean "HKCU Run"?` after the name when one is near it.
std::string UnknownTableText(std::string_view text);

}  // namespace kestrune::cli
