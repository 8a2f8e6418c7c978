#pragma once
// Where each location table's entries live: a Startup folder for kinds 1 and 2, a registry
// key for kinds 3 to 5.

#include <optional>
#include <string>
#include <string_view>

#include "app/TableKind.h"
#include "platform/Registry.h"

namespace kestrune {

struct Paths;

inline constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

struct RunKeyPlace {
    platform::RootKey root;
    std::string_view subkey;
};

// The root and subkey of kinds 3 to 5; nullopt for the other kinds.
std::optional<RunKeyPlace> RunKeyOf(TableKind kind);

// The Startup folder of kinds 1 and 2 as determined at start-up; "" for the other kinds.
const std::string& StartupFolderOf(const Paths& paths, TableKind kind);

inline constexpr const char* kShortcutExtension = ".lnk";

// The shortcut file of a folder row: the folder, a separator, the name and ".lnk".
std::string ShortcutFileOf(const std::string& folder, std::string_view name);

}  // namespace kestrune
