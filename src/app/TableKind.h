#pragma once
// The nine item tables. The number is the table's index everywhere: list, tab (number + 1),
// document reader and menus.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

enum class TableKind {
    UserStartup = 1,
    CommonStartup = 2,
    HKLM_Run = 3,
    HKCU_Run = 4,
    RunOnce = 5,
    Delayed = 6,
    Deleted = 7,
    Known = 8,
    Process = 9,
};

inline constexpr int kTableCount = 9;

inline constexpr std::array<TableKind, kTableCount> kAllTables = {
    TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce,
    TableKind::Delayed,     TableKind::Deleted,       TableKind::Known,    TableKind::Process,
};

inline constexpr int Number(TableKind kind) { return static_cast<int>(kind); }
std::optional<TableKind> TableFromNumber(int number);

inline constexpr bool IsFolderTable(TableKind k) {
    return k == TableKind::UserStartup || k == TableKind::CommonStartup;
}
inline constexpr bool IsRunKeyTable(TableKind k) {
    return k == TableKind::HKLM_Run || k == TableKind::HKCU_Run || k == TableKind::RunOnce;
}
inline constexpr bool IsLocationTable(TableKind k) { return IsFolderTable(k) || IsRunKeyTable(k); }

// "UserStartup", "HKCU_Run", ...: the element name in the settings document.
std::string_view KindName(TableKind kind);
// "Name,Path,Arguments", ...: the header text, split at ",".
std::string_view HeaderText(TableKind kind);
// "User", "HKCU Run", ...: the caption of the table's tab.
std::string_view TabCaption(TableKind kind);
// "User Startup shortcuts", ...: the description shown above the table.
std::string_view Description(TableKind kind);

// Column positions (0 = the first column) of the tables that have them.
namespace col {
inline constexpr int Name = 0;
inline constexpr int Path = 1;
inline constexpr int Arguments = 2;  // folder tables
inline constexpr int Delay = 2;      // Delayed
inline constexpr int Previous = 3;   // Delayed
inline constexpr int DelayedPriority = 4;
inline constexpr int KnownPath = 0;  // Known holds only the path
inline constexpr int ProcessPriority = 2;
inline constexpr int Handle = 3;
inline constexpr int From = 2;  // Deleted: the caption of the table the row came from
}  // namespace col

// The column holding the entry's command or path: column 0 for Known, column 1 otherwise.
inline constexpr int PathColumn(TableKind kind) { return kind == TableKind::Known ? col::KnownPath : col::Path; }

}  // namespace kestrune
