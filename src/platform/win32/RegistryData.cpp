#include "platform/win32/RegistryData.h"

#include <cstring>
#include <string_view>

#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

std::vector<unsigned char> BytesOf(const std::wstring& wide) {
    std::vector<unsigned char> bytes(wide.size() * sizeof(wchar_t));
    if (!bytes.empty()) std::memcpy(bytes.data(), wide.data(), bytes.size());
    return bytes;
}

std::wstring WideOf(const unsigned char* bytes, std::uint32_t size) {
    // An odd byte count is a damaged string; its last half character is dropped.
    std::wstring wide(size / sizeof(wchar_t), L'\0');
    if (!wide.empty()) std::memcpy(wide.data(), bytes, wide.size() * sizeof(wchar_t));
    return wide;
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeValueData(const RegistryValue& value) {
    switch (value.type) {
        case ValueType::String:
        case ValueType::ExpandString: return BytesOf(Widen(value.data) + L'\0');
        case ValueType::MultiString: {
            std::wstring list = Widen(value.data);
            if (!list.empty() && list.back() != L'\0') list.push_back(L'\0');
            // The list ends with an empty string; an empty list is that empty string alone.
            list.push_back(L'\0');
            return BytesOf(list);
        }
        case ValueType::Dword:
            if (value.data.size() != 4) return std::nullopt;
            break;
        case ValueType::Qword:
            if (value.data.size() != 8) return std::nullopt;
            break;
        default: break;
    }
    return std::vector<unsigned char>(value.data.begin(), value.data.end());
}

std::string DecodeValueData(std::uint32_t type, const unsigned char* bytes, std::uint32_t size) {
    switch (static_cast<ValueType>(type)) {
        case ValueType::String:
        case ValueType::ExpandString: {
            std::wstring text = WideOf(bytes, size);
            if (!text.empty() && text.back() == L'\0') text.pop_back();
            return Narrow(text);
        }
        case ValueType::MultiString: {
            std::wstring list = WideOf(bytes, size);
            if (list.size() >= 2 && list[list.size() - 1] == L'\0' && list[list.size() - 2] == L'\0') list.pop_back();
            if (list == std::wstring_view(L"\0", 1)) return {};
            // A list written without its terminators still ends each string with one NUL here.
            if (!list.empty() && list.back() != L'\0') list.push_back(L'\0');
            return Narrow(list);
        }
        default: return std::string(reinterpret_cast<const char*>(bytes), size);
    }
}

}  // namespace kestrune::platform::win32
