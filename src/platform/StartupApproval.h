#pragma once
// Windows 8 and later let Task Manager and Settings switch a start-up entry off without
// removing it: beside the entry they keep a REG_BINARY value of the same name (for a Startup
// folder file: its file name) under one of the StartupApproved keys below, in HKCU for the
// user's entries and HKLM for the machine's. Its first byte has bit 0 set when Windows will not
// start the entry; bytes 4 to 11 hold the FILETIME of the change (zero when switched on).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace kestrune::platform {

inline constexpr std::string_view kApprovedRunKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr std::string_view kApprovedRun32Key =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";
inline constexpr std::string_view kApprovedStartupFolderKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

inline constexpr std::size_t kApprovalBytes = 12;
// The first bytes Task Manager writes: 02 when it switches an entry on, 03 when off.
inline constexpr unsigned char kApprovalEnabled = 0x02;
inline constexpr unsigned char kApprovalDisabled = 0x03;

struct StartupApproval {
    bool disabled = false;
    unsigned char flags = kApprovalEnabled;  // the first byte as stored
    std::uint64_t changed = 0;               // FILETIME: 100 ns since 1601-01-01 UTC
};

// What a stored approval value says; nullopt for a value Windows does not take as one (not
// binary, or empty), which leaves the entry as its place says.
inline std::optional<StartupApproval> DecodeStartupApproval(const RegistryValue& value) {
    if (value.type != ValueType::Binary || value.data.empty()) return std::nullopt;
    StartupApproval approval;
    approval.flags = static_cast<unsigned char>(value.data[0]);
    approval.disabled = (approval.flags & 1u) != 0;
    if (value.data.size() >= kApprovalBytes) {
        for (std::size_t i = 11; i >= 4; --i)
            approval.changed = (approval.changed << 8) | static_cast<unsigned char>(value.data[i]);
    }
    return approval;
}

// The value Task Manager writes: when switched on 02 and eleven zero bytes; when switched off
// 03, three zero bytes and the time of the change. `previousFlags` keeps the other bits of an
// existing value's first byte (06 becomes 07 and back).
inline RegistryValue EncodeStartupApproval(std::string_view name, bool disabled, std::uint64_t changed,
                                           unsigned char previousFlags = kApprovalEnabled) {
    std::string data(kApprovalBytes, '\0');
    const unsigned char flags = static_cast<unsigned char>((previousFlags & ~1u) | (disabled ? 1u : 0u));
    data[0] = static_cast<char>(flags);
    if (disabled) {
        for (std::size_t i = 0; i < 8; ++i) data[4 + i] = static_cast<char>((changed >> (8 * i)) & 0xFFu);
    }
    return RegistryValue{std::string(name), ValueType::Binary, std::move(data)};
}

// Seconds between 1601-01-01 and 1970-01-01, the two epochs.
inline constexpr std::int64_t kFileTimeEpochOffsetSeconds = 11644473600;

inline std::uint64_t FileTimeOf(std::chrono::system_clock::time_point when) {
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count() / 100;
    return static_cast<std::uint64_t>(ticks + kFileTimeEpochOffsetSeconds * 10'000'000);
}

inline std::uint64_t FileTimeNow() { return FileTimeOf(std::chrono::system_clock::now()); }

}  // namespace kestrune::platform
