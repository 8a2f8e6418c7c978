#include "platform/emulated/RegistryHive.h"

#include <algorithm>
#include <array>

#include "platform/emulated/TextCodec.h"

namespace kestrune::platform {

namespace {

struct RootNames {
    RootKey root;
    std::string_view name;
    std::string_view shortName;
};

constexpr std::array<RootNames, 5> kRoots = {{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RootKey::Users, "HKEY_USERS", "HKU"},
    {RootKey::DynData, "HKEY_DYN_DATA", "HKDD"},
}};

}  // namespace

std::string RootName(RootKey root) {
    for (const RootNames& names : kRoots) {
        if (names.root == root) return std::string(names.name);
    }
    return "HKEY_" + std::to_string(static_cast<std::uint32_t>(root));
}

std::optional<std::pair<RootKey, std::string>> SplitRootedPath(std::string_view path) {
    const size_t separator = path.find('\\');
    const std::string_view first = path.substr(0, separator);
    for (const RootNames& names : kRoots) {
        if (EqualsIgnoreCase(first, names.name) || EqualsIgnoreCase(first, names.shortName)) {
            const std::string_view rest = separator == std::string_view::npos ? "" : path.substr(separator + 1);
            return std::make_pair(names.root, NormalizeSubkey(rest));
        }
    }
    return std::nullopt;
}

std::string NormalizeSubkey(std::string_view subkey) {
    while (!subkey.empty() && subkey.front() == '\\') subkey.remove_prefix(1);
    while (!subkey.empty() && subkey.back() == '\\') subkey.remove_suffix(1);
    return std::string(subkey);
}

std::optional<std::string> RegistryHive::Apply(const RegFile& file) {
    for (const RegFileKey& entry : file.keys) {
        const auto split = SplitRootedPath(entry.path);
        if (!split || split->first != root_) return "the key " + entry.path + " does not belong to " + RootName(root_);
        const std::string& subkey = split->second;
        if (entry.remove) {
            DeleteKey(subkey);
            continue;
        }
        CreateKey(subkey);
        for (const RegFileValue& value : entry.values) {
            if (value.remove) {
                DeleteValue(subkey, value.value.name);
            } else {
                SetValue(subkey, value.value);
            }
        }
    }
    return std::nullopt;
}

RegFile RegistryHive::ToRegFile() const {
    RegFile file;
    const std::string rootName = RootName(root_);
    for (const Key& key : keys_) {
        RegFileKey entry;
        entry.path = key.path.empty() ? rootName : rootName + "\\" + key.path;
        for (const RegistryValue& value : key.values) entry.values.push_back({value, false});
        file.keys.push_back(std::move(entry));
    }
    return file;
}

std::optional<RegFile> RegistryHive::Export(std::string_view subkey) const {
    const std::string wanted = NormalizeSubkey(subkey);
    if (!KeyExists(wanted)) return std::nullopt;
    RegFile all = ToRegFile();
    RegFile file;
    const std::string rootName = RootName(root_);
    if (!Find(wanted)) file.keys.push_back({wanted.empty() ? rootName : rootName + "\\" + wanted, false, {}});
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (EqualsIgnoreCase(keys_[i].path, wanted) || IsUnder(keys_[i].path, wanted))
            file.keys.push_back(std::move(all.keys[i]));
    }
    return file;
}

bool RegistryHive::IsUnder(const std::string& path, std::string_view subkey) const {
    if (subkey.empty()) return !path.empty();
    return path.size() > subkey.size() && path[subkey.size()] == '\\' &&
           EqualsIgnoreCase(std::string_view(path).substr(0, subkey.size()), subkey);
}

RegistryHive::Key* RegistryHive::Find(std::string_view subkey) {
    const std::string wanted = NormalizeSubkey(subkey);
    for (Key& key : keys_) {
        if (EqualsIgnoreCase(key.path, wanted)) return &key;
    }
    return nullptr;
}

const RegistryHive::Key* RegistryHive::Find(std::string_view subkey) const {
    return const_cast<RegistryHive*>(this)->Find(subkey);
}

bool RegistryHive::KeyExists(std::string_view subkey) const {
    const std::string wanted = NormalizeSubkey(subkey);
    if (wanted.empty() || Find(wanted)) return true;
    return std::any_of(keys_.begin(), keys_.end(), [&](const Key& key) { return IsUnder(key.path, wanted); });
}

const std::vector<RegistryValue>* RegistryHive::Values(std::string_view subkey) const {
    const Key* key = Find(subkey);
    return key ? &key->values : nullptr;
}

bool RegistryHive::CreateKey(std::string_view subkey) {
    const std::string wanted = NormalizeSubkey(subkey);
    if (Find(wanted)) return false;
    // Every missing parent gets its own section, as an export from Windows would show it.
    for (size_t pos = wanted.find('\\'); pos != std::string::npos; pos = wanted.find('\\', pos + 1)) {
        const std::string parent = wanted.substr(0, pos);
        if (!Find(parent)) keys_.push_back({parent, {}, {}});
    }
    keys_.push_back({wanted, {}, {}});
    return true;
}

bool RegistryHive::DeleteKey(std::string_view subkey) {
    const std::string wanted = NormalizeSubkey(subkey);
    const bool existed = KeyExists(wanted);
    std::erase_if(keys_,
                  [&](const Key& key) { return EqualsIgnoreCase(key.path, wanted) || IsUnder(key.path, wanted); });
    return existed;
}

void RegistryHive::SetValue(std::string_view subkey, const RegistryValue& value) {
    Key* key = Find(subkey);
    if (!key) {
        CreateKey(subkey);
        key = Find(subkey);
    }
    const auto [slot, added] = key->index.try_emplace(FoldCase(value.name), key->values.size());
    if (added) {
        key->values.push_back(value);
        return;
    }
    RegistryValue& existing = key->values[slot->second];
    existing.type = value.type;
    existing.data = value.data;
}

bool RegistryHive::DeleteValue(std::string_view subkey, std::string_view name) {
    Key* key = Find(subkey);
    if (!key) return false;
    const auto found = key->index.find(FoldCase(name));
    if (found == key->index.end()) return false;
    key->values.erase(key->values.begin() + static_cast<std::ptrdiff_t>(found->second));
    key->index.clear();
    for (size_t i = 0; i < key->values.size(); ++i) key->index.emplace(FoldCase(key->values[i].name), i);
    return true;
}

}  // namespace kestrune::platform
