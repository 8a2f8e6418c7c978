#pragma once
// Where each location table's entries live: a Startup folder for kinds 1 and 2, a registry
// key for kinds 3 to 5.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/RowPlace.h"
#include "app/TableKind.h"
#include "platform/Registry.h"

namespace kestrune {

struct Paths;

inline constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

inline constexpr std::string_view kPolicyRunKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";

// A registry key and the view it is opened in; Kestrune always names the view, so that what it
// reads does not depend on whether it was built as a 32-bit or a 64-bit program.
struct RunKeyPlace {
    platform::RootKey root;
    std::string_view subkey;
    platform::RegistryView view = platform::RegistryView::Bits64;
};

// Where Windows keeps the approval values of a key's or folder's entries.
struct ApprovalPlace {
    platform::RootKey root;
    std::string_view subkey;
};

// One key a Run-key table gathers.
struct RunKeySource {
    PlaceKey key;
    RunKeyPlace place;
    std::optional<ApprovalPlace> approvals;  // RunOnce and policy keys have none
};

// The main key of kinds 3 to 5; nullopt for the other kinds.
std::optional<RunKeyPlace> RunKeyOf(TableKind kind);
// Every key of kinds 3 to 5, the main one first; none for the other kinds.
const std::vector<RunKeySource>& RunKeySourcesOf(TableKind kind);
// The key of that part of the table; nullopt when the table has no such key.
std::optional<RunKeySource> RunKeySourceOf(TableKind kind, PlaceKey key);
// The approval key of a Startup folder table's entries.
std::optional<ApprovalPlace> FolderApprovalsOf(TableKind kind);
// The registry as seen through the key's view.
platform::Registry& RegistryFor(platform::Registry& registry, const RunKeyPlace& place);
// "HKEY_LOCAL_MACHINE\SOFTWARE\...\Run (32-bit)": the key as the user would look for it.
std::string DescribeKey(const RunKeySource& source);

// The Startup folder of kinds 1 and 2 as determined at start-up; "" for the other kinds.
const std::string& StartupFolderOf(const Paths& paths, TableKind kind);

inline constexpr const char* kShortcutExtension = ".lnk";

// The shortcut file of a folder row: the folder, a separator, the name and ".lnk".
std::string ShortcutFileOf(const std::string& folder, std::string_view name);

}  // namespace kestrune
