#include "app/TableKind.h"

namespace kestrune {

namespace {

struct TableInfo {
    std::string_view name, header, caption, description;
};

constexpr TableInfo kInfo[kTableCount] = {
    {"UserStartup", "Name,Path,Arguments", "User", "User Startup shortcuts"},
    {"CommonStartup", "Name,Path,Arguments", "Common", "Common Startup shortcuts (All Users)"},
    {"HKLM_Run", "Name,Path", "HKLM Run", "Local Machine - Run"},
    {"HKCU_Run", "Name,Path", "HKCU Run", "Current User - Run"},
    {"RunOnce", "Name,Path", "Run Once", "Local Machine - Run Once"},
    {"Delayed", "Name,Path,Delay,Previous,Priority", "Delayed",
     "Delayed applications / shortcuts - negative delays only run when idle"},
    {"Deleted", "Name,Path,From", "Deleted", "Deleted applications / shortcuts"},
    {"Known", "Path", "Known", "Applications / shortcuts which will be automatically allowed / disallowed in future"},
    {"Process", "Name,Path,Priority,Handle", "Processes", "Running processes - priority changes take immediate effect"},
};

const TableInfo& InfoOf(TableKind kind) { return kInfo[Number(kind) - 1]; }

}  // namespace

std::optional<TableKind> TableFromNumber(int number) {
    if (number < 1 || number > kTableCount) return std::nullopt;
    return static_cast<TableKind>(number);
}

std::string_view KindName(TableKind kind) { return InfoOf(kind).name; }
std::string_view HeaderText(TableKind kind) { return InfoOf(kind).header; }
std::string_view TabCaption(TableKind kind) { return InfoOf(kind).caption; }
std::string_view Description(TableKind kind) { return InfoOf(kind).description; }

}  // namespace kestrune
