#pragma once
// The registry through the wide-character registry functions. The object the platform hands
// out opens keys in the process's own view and owns the two explicit views of 64-bit Windows.

#include <cstdint>
#include <memory>

#include "platform/Registry.h"

namespace kestrune::platform::win32 {

// The access flag that selects a view (KEY_WOW64_64KEY, KEY_WOW64_32KEY, or none).
std::uint32_t ViewFlag(RegistryView view);

class Win32Registry final : public Registry {
public:
    Win32Registry();
    ~Win32Registry() override;

    bool KeyExists(RootKey root, std::string_view subkey) override;
    std::optional<std::vector<RegistryValue>> EnumValues(RootKey root, std::string_view subkey) override;
    std::optional<RegistryValue> QueryValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) override;
    RegistryStatus DeleteValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus CreateKey(RootKey root, std::string_view subkey) override;
    Registry& InView(RegistryView view) override;

private:
    Win32Registry(Win32Registry& owner, RegistryView view);

    Win32Registry* owner_;
    std::uint32_t viewFlag_ = 0;
    std::unique_ptr<Win32Registry> bits64_, bits32_;  // only in the owner
};

}  // namespace kestrune::platform::win32
