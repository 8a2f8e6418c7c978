#pragma once
// The registry through the wide-character registry functions, in the process's own view.

#include "platform/Registry.h"

namespace kestrune::platform::win32 {

class Win32Registry final : public Registry {
public:
    bool KeyExists(RootKey root, std::string_view subkey) override;
    std::optional<std::vector<RegistryValue>> EnumValues(RootKey root, std::string_view subkey) override;
    std::optional<RegistryValue> QueryValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) override;
    RegistryStatus DeleteValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus CreateKey(RootKey root, std::string_view subkey) override;
};

}  // namespace kestrune::platform::win32
