#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/RegistryData.h"
#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

// The longest value name the registry allows, plus its terminator.
constexpr DWORD kNameBufferChars = 16384;

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RootKey::Users: return HKEY_USERS;
        case RootKey::DynData: return HKEY_DYN_DATA;
    }
    return nullptr;
}

}  // namespace

LONG OpenKey(RootKey root, std::string_view subkey, REGSAM access, UniqueKey& key) {
    const HKEY rootHandle = RootHandle(root);
    if (!rootHandle) return ERROR_INVALID_HANDLE;
    return RegOpenKeyExW(rootHandle, Widen(subkey).c_str(), 0, access, key.Out());
}

std::uint32_t ViewFlag(RegistryView view) {
    switch (view) {
        case RegistryView::Native: return 0;
        case RegistryView::Bits64: return KEY_WOW64_64KEY;
        case RegistryView::Bits32: return KEY_WOW64_32KEY;
    }
    return 0;
}

Win32Registry::Win32Registry()
    : owner_(this),
      bits64_(new Win32Registry(*this, RegistryView::Bits64)),
      bits32_(new Win32Registry(*this, RegistryView::Bits32)) {}

Win32Registry::Win32Registry(Win32Registry& owner, RegistryView view) : owner_(&owner), viewFlag_(ViewFlag(view)) {}

Win32Registry::~Win32Registry() = default;

Registry& Win32Registry::InView(RegistryView view) {
    switch (view) {
        case RegistryView::Native: return *owner_;
        case RegistryView::Bits64: return *owner_->bits64_;
        case RegistryView::Bits32: return *owner_->bits32_;
    }
    return *owner_;
}

bool Win32Registry::KeyExists(RootKey root, std::string_view subkey) {
    UniqueKey key;
    return OpenKey(root, subkey, KEY_QUERY_VALUE | viewFlag_, key) == ERROR_SUCCESS;
}

std::optional<std::vector<RegistryValue>> Win32Registry::EnumValues(RootKey root, std::string_view subkey) {
    UniqueKey key;
    if (OpenKey(root, subkey, KEY_QUERY_VALUE | viewFlag_, key) != ERROR_SUCCESS) return std::nullopt;

    DWORD longestData = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestData,
                     nullptr, nullptr);
    std::wstring name(kNameBufferChars, L'\0');
    std::vector<BYTE> data(std::max<DWORD>(longestData, 64));

    std::vector<RegistryValue> values;
    for (DWORD index = 0;;) {
        DWORD nameLength = kNameBufferChars;
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status =
            RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            // Another writer may have grown the value since the key was measured.
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        values.push_back({Narrow(std::wstring_view(name.data(), nameLength)), static_cast<ValueType>(type),
                          DecodeValueData(type, data.data(), size)});
        ++index;
    }
    return values;
}

std::optional<RegistryValue> Win32Registry::QueryValue(RootKey root, std::string_view subkey, std::string_view name) {
    UniqueKey key;
    if (OpenKey(root, subkey, KEY_QUERY_VALUE | viewFlag_, key) != ERROR_SUCCESS) return std::nullopt;
    const std::wstring wideName = Widen(name);
    std::vector<BYTE> data(256);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        return RegistryValue{std::string(name), static_cast<ValueType>(type), DecodeValueData(type, data.data(), size)};
    }
}

RegistryStatus Win32Registry::SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) {
    const std::optional<std::vector<unsigned char>> bytes = EncodeValueData(value);
    if (!bytes) return {ERROR_INVALID_PARAMETER};
    UniqueKey key;
    if (const LONG status = OpenKey(root, subkey, KEY_SET_VALUE | viewFlag_, key); status != ERROR_SUCCESS)
        return {status};
    return {RegSetValueExW(key.Get(), Widen(value.name).c_str(), 0, static_cast<DWORD>(value.type), bytes->data(),
                           static_cast<DWORD>(bytes->size()))};
}

RegistryStatus Win32Registry::DeleteValue(RootKey root, std::string_view subkey, std::string_view name) {
    UniqueKey key;
    if (const LONG status = OpenKey(root, subkey, KEY_SET_VALUE | viewFlag_, key); status != ERROR_SUCCESS)
        return {status};
    return {RegDeleteValueW(key.Get(), Widen(name).c_str())};
}

RegistryStatus Win32Registry::CreateKey(RootKey root, std::string_view subkey) {
    const HKEY rootHandle = RootHandle(root);
    if (!rootHandle) return {ERROR_INVALID_HANDLE};
    UniqueKey key;
    return {RegCreateKeyExW(rootHandle, Widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_QUERY_VALUE | viewFlag_, nullptr, key.Out(), nullptr)};
}

}  // namespace kestrune::platform::win32
