#pragma once
// The registry operations the whole program uses on the places: read, enumerate, write and
// delete one value, and look up a shell folder. Each opens the key, does one thing, and is
// done; failures come back as empty results, never as errors.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace kestrune {

// Values whose stored bytes (a string's terminating zero included) exceed this are not read.
inline constexpr std::size_t kMaxValueBytes = 1024;

inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct RegistryValueRecord {
    std::string name;
    std::string data;
    platform::ValueType type = platform::ValueType::None;
    std::string bytes;  // the value's data exactly as stored
};

struct RegistryRead {
    bool ok = false;
    std::string data;
    platform::ValueType type = platform::ValueType::None;
};

// String, expandable-string and binary values give their text as stored (no expansion);
// a DWORD value gives its number as unsigned decimal text; other types give empty data.
// `ok` is false only when the value cannot be read at all (missing, or over 1024 bytes).
RegistryRead ReadRegistryValue(platform::Registry& registry, platform::RootKey root, std::string_view subkey,
                               std::string_view name);

// The key's named values in enumeration order, each read as ReadRegistryValue reads it; the
// unnamed default value is left out. A key that cannot be opened gives none.
std::vector<RegistryValueRecord> EnumRegistryValues(platform::Registry& registry, platform::RootKey root,
                                                    std::string_view subkey);

// The values of a key Windows runs at log-on, each with the command Windows would run: a value
// of any length is listed, a string list by its first string (what a reader of a string sees);
// the unnamed default value is left out. A key that cannot be opened gives none.
std::vector<RegistryValueRecord> EnumRunValues(platform::Registry& registry, platform::RootKey root,
                                               std::string_view subkey);

// Writes into an existing key only (it never creates one). A string value takes the text, a
// DWORD value the text read as a 32-bit number; any other type writes nothing and answers 0.
// Answers the registry's status (0 for success).
int WriteRegistryValue(platform::Registry& registry, platform::RootKey root, std::string_view subkey,
                       std::string_view name, std::string_view data, platform::ValueType type);

// Answers the registry's status (0 for success, 2 when there was no such value).
int DeleteRegistryValue(platform::Registry& registry, platform::RootKey root, std::string_view subkey,
                        std::string_view name);

// The named value of the current user's Shell Folders key; "" when absent.
std::string GetShellFolder(platform::Registry& registry, std::string_view name);

}  // namespace kestrune
