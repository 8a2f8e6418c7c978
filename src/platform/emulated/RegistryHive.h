#pragma once
// One root key of the emulated registry held in memory: its keys in file order, each with
// its values in creation order. Key and value names compare ignoring case; a key exists when
// it has a section of its own or a subkey that has one (Windows lists every parent anyway).

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Registry.h"
#include "platform/emulated/RegFile.h"

namespace kestrune::platform {

// The full name of a root key, e.g. "HKEY_LOCAL_MACHINE".
std::string RootName(RootKey root);
// Splits "HKLM\Software\X" or "HKEY_LOCAL_MACHINE\Software\X" into root and subkey.
std::optional<std::pair<RootKey, std::string>> SplitRootedPath(std::string_view path);
// A subkey without leading or trailing separators.
std::string NormalizeSubkey(std::string_view subkey);

class RegistryHive {
public:
    explicit RegistryHive(RootKey root) : root_(root) {}

    // The keys of `file`, which must all lie under this hive's root; an error text otherwise.
    std::optional<std::string> Apply(const RegFile& file);
    RegFile ToRegFile() const;
    // The key and its subkeys as the registry editor exports them; nullopt when absent.
    std::optional<RegFile> Export(std::string_view subkey) const;

    bool KeyExists(std::string_view subkey) const;
    // nullptr when the key has no section of its own (it may still exist as a parent).
    const std::vector<RegistryValue>* Values(std::string_view subkey) const;
    // False when nothing changed because the key existed.
    bool CreateKey(std::string_view subkey);
    // False when the key was absent.
    bool DeleteKey(std::string_view subkey);
    // Sets the value in an existing key, keeping its place when it existed already.
    void SetValue(std::string_view subkey, const RegistryValue& value);
    // False when the value was absent.
    bool DeleteValue(std::string_view subkey, std::string_view name);

private:
    struct Key {
        std::string path;
        std::vector<RegistryValue> values;
        // Folded value name -> position in `values`; keys may hold thousands of values.
        std::unordered_map<std::string, size_t> index;
    };
    Key* Find(std::string_view subkey);
    const Key* Find(std::string_view subkey) const;
    bool IsUnder(const std::string& path, std::string_view subkey) const;

    RootKey root_;
    std::vector<Key> keys_;
};

}  // namespace kestrune::platform
