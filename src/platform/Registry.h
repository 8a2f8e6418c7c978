#pragma once
// The system registry: keys under a few predefined roots, each holding named values.
// Names of keys and values compare ignoring case, as on Windows. The unnamed default
// value has the empty name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace kestrune::platform {

enum class RootKey : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    DynData = 0x80000006u,
};

enum class ValueType : std::uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    Dword = 4,         // REG_DWORD (little-endian)
    MultiString = 7,   // REG_MULTI_SZ
    Qword = 11,        // REG_QWORD (little-endian)
};

// One value as stored. For the string types `data` is UTF-8 text without a terminator;
// REG_MULTI_SZ holds its strings each followed by one NUL (no extra final NUL); REG_DWORD
// and REG_QWORD hold 4 and 8 little-endian bytes; other types hold their raw bytes.
struct RegistryValue {
    std::string name;
    ValueType type = ValueType::String;
    std::string data;
};

using RegistryStatus = Status;

// 64-bit Windows keeps two views of HKEY_LOCAL_MACHINE\SOFTWARE: the one 64-bit programs see
// and the one 32-bit programs see (stored under SOFTWARE\WOW6432Node). `Native` is the view
// of whatever this program was built as; the other two are chosen explicitly, so that what a
// caller reads does not depend on that.
enum class RegistryView : std::uint8_t {
    Native,
    Bits64,
    Bits32,
};

class Registry {
public:
    virtual ~Registry() = default;

    virtual bool KeyExists(RootKey root, std::string_view subkey) = 0;
    // The key's values in enumeration order; nullopt when the key cannot be opened.
    virtual std::optional<std::vector<RegistryValue>> EnumValues(RootKey root, std::string_view subkey) = 0;
    // nullopt when the key or the value does not exist.
    virtual std::optional<RegistryValue> QueryValue(RootKey root, std::string_view subkey, std::string_view name) = 0;
    // Writes into an existing key only; a missing key is an error (Windows' "file not found", 2).
    virtual RegistryStatus SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) = 0;
    virtual RegistryStatus DeleteValue(RootKey root, std::string_view subkey, std::string_view name) = 0;
    // Creates the key and any missing parents; succeeds when it already exists.
    virtual RegistryStatus CreateKey(RootKey root, std::string_view subkey) = 0;
    // The same registry seen through `view`; every key this one opens is opened in it.
    virtual Registry& InView(RegistryView view) = 0;
    // Problems met since the last call that the user should find in the log (for example a
    // registry file that cannot be read), one line of text each; each problem is told once.
    virtual std::vector<std::string> TakeProblems() { return {}; }
};

}  // namespace kestrune::platform
