#include "locations/RegistryOps.h"

#include <charconv>
#include <optional>

#include "app/Text.h"

namespace kestrune {

namespace {

using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

// Windows keeps a zero byte after string data; the size limit counts it.
bool StoredWithTerminator(ValueType type) {
    return type == ValueType::String || type == ValueType::ExpandString || type == ValueType::MultiString;
}

// The bytes a query hands back, less a final zero byte.
std::string QueriedText(const RegistryValue& value) {
    std::string bytes = value.data;
    if (StoredWithTerminator(value.type)) bytes.push_back('\0');
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

// The bytes taken from the last to the first as one unsigned number, in decimal.
std::string DwordText(const std::string& bytes) {
    std::uint64_t number = 0;
    const std::size_t count = bytes.size() < 8 ? bytes.size() : 8;
    for (std::size_t i = count; i-- > 0;) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    return std::to_string(number);
}

// A 32-bit number written as decimal (signed or unsigned, rounded halves to even) or as
// "&h" hexadecimal; nullopt for anything else or a number that does not fit.
std::optional<std::uint32_t> DwordFromText(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.size() > 2 && (trimmed[0] == '&') && (trimmed[1] == 'h' || trimmed[1] == 'H')) {
        std::uint32_t value = 0;
        const char* first = trimmed.data() + 2;
        const char* last = trimmed.data() + trimmed.size();
        const auto [end, error] = std::from_chars(first, last, value, 16);
        if (error != std::errc{} || end != last) return std::nullopt;
        return value;
    }
    const auto whole = ParseWholeNumber(trimmed);
    if (!whole || *whole < INT32_MIN || *whole > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
    return static_cast<std::uint32_t>(*whole);
}

constexpr int kInvalidParameter = 87;

RegistryRead ReadValue(const RegistryValue& value) {
    RegistryRead result;
    const std::size_t storedBytes = value.data.size() + (StoredWithTerminator(value.type) ? 1 : 0);
    if (storedBytes > kMaxValueBytes) return result;

    result.ok = true;
    result.type = value.type;
    switch (value.type) {
        case ValueType::String:
        case ValueType::ExpandString:
        case ValueType::Binary: result.data = QueriedText(value); break;
        case ValueType::Dword: result.data = DwordText(value.data); break;
        default: break;
    }
    return result;
}

}  // namespace

RegistryRead ReadRegistryValue(platform::Registry& registry, RootKey root, std::string_view subkey,
                               std::string_view name) {
    const auto value = registry.QueryValue(root, subkey, name);
    return value ? ReadValue(*value) : RegistryRead{};
}

std::vector<RegistryValueRecord> EnumRegistryValues(platform::Registry& registry, RootKey root,
                                                    std::string_view subkey) {
    std::vector<RegistryValueRecord> records;
    const auto values = registry.EnumValues(root, subkey);
    if (!values) return records;
    records.reserve(values->size());
    for (const RegistryValue& value : *values) {
        // The unnamed value starts nothing: no place lists it.
        if (value.name.empty()) continue;
        // The enumeration already carries each value: reading it again by name would only
        // cost a second look-up per value.
        const RegistryRead read = ReadValue(value);
        records.push_back({value.name, read.data, read.type, value.data});
    }
    return records;
}

std::vector<RegistryValueRecord> EnumRunValues(platform::Registry& registry, RootKey root, std::string_view subkey) {
    std::vector<RegistryValueRecord> records;
    const auto values = registry.EnumValues(root, subkey);
    if (!values) return records;
    records.reserve(values->size());
    for (const RegistryValue& value : *values) {
        if (value.name.empty()) continue;
        RegistryRead read;
        switch (value.type) {
            // Windows runs a long command line as well as a short one.
            case ValueType::String:
            case ValueType::ExpandString: read = {true, QueriedText(value), value.type}; break;
            case ValueType::MultiString: read = {true, value.data.substr(0, value.data.find('\0')), value.type}; break;
            default: read = ReadValue(value); break;
        }
        records.push_back({value.name, read.data, read.type, value.data});
    }
    return records;
}

int WriteRegistryValue(platform::Registry& registry, RootKey root, std::string_view subkey, std::string_view name,
                       std::string_view data, ValueType type) {
    RegistryValue value;
    value.name = std::string(name);
    if (type == ValueType::String) {
        value.type = ValueType::String;
        value.data = std::string(data);
    } else if (type == ValueType::Dword) {
        const auto number = DwordFromText(data);
        if (!number) return kInvalidParameter;
        value.type = ValueType::Dword;
        for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<char>((*number >> shift) & 0xFFu));
    } else {
        return 0;
    }
    return registry.SetValue(root, subkey, value).code;
}

int DeleteRegistryValue(platform::Registry& registry, RootKey root, std::string_view subkey, std::string_view name) {
    return registry.DeleteValue(root, subkey, name).code;
}

std::string GetShellFolder(platform::Registry& registry, std::string_view name) {
    return ReadRegistryValue(registry, RootKey::CurrentUser, kShellFoldersKey, name).data;
}

}  // namespace kestrune
