#pragma once
// The byte layout of registry values: UTF-8 as the interface holds it, UTF-16 as the
// registry stores it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace kestrune::platform::win32 {

// The bytes RegSetValueExW expects: strings with their terminator, a string list with its
// final empty string. nullopt for a REG_DWORD or REG_QWORD whose data is not 4 or 8 bytes,
// which would otherwise be stored as a value no reader of that type accepts.
std::optional<std::vector<unsigned char>> EncodeValueData(const RegistryValue& value);

// The interface's form of the bytes RegQueryValueExW gave. Strings lose one terminator
// (the registry does not promise one); a list keeps one NUL after each string.
std::string DecodeValueData(std::uint32_t type, const unsigned char* bytes, std::uint32_t size);

}  // namespace kestrune::platform::win32
