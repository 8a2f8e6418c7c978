#pragma once
// Where a location row's entry lives within its table's place, and what Windows itself says of
// it. A table gathers several keys Windows runs (the 64-bit and 32-bit views, the user's and the
// machine's RunOnce, the policy keys); each row knows its own. Windows 8 and later can switch an
// entry off without moving it (its approval value): such a row is unticked but still in its
// place, so it is not a taken-out entry and the settings document does not keep it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

enum class PlaceKey : std::uint8_t {
    Main,      // the key or folder the table is named after
    Bits32,    // HKLM's key in the 32-bit view (SOFTWARE\WOW6432Node)
    ThisUser,  // HKCU's RunOnce in the RunOnce table
    Policy,    // Policies\Explorer\Run: set by a policy, not changed here
};

struct RowPlace {
    PlaceKey key = PlaceKey::Main;
    bool disabledInWindows = false;  // the approval value says Windows will not start it
    bool operator==(const RowPlace&) const = default;
};

inline constexpr std::string_view kMark32Bit = "32-bit";
inline constexpr std::string_view kMarkThisUser = "this user";
inline constexpr std::string_view kMarkPolicy = "policy";
inline constexpr std::string_view kMarkDisabledInWindows = "disabled in Windows Settings";

// The mark a row of that key carries ("" for the main key); also the settings document's text.
inline constexpr std::string_view PlaceKeyMark(PlaceKey key) {
    switch (key) {
        case PlaceKey::Main: return "";
        case PlaceKey::Bits32: return kMark32Bit;
        case PlaceKey::ThisUser: return kMarkThisUser;
        case PlaceKey::Policy: return kMarkPolicy;
    }
    return "";
}

// "32-bit, disabled in Windows Settings": every mark of a row, for a tooltip or a listing.
inline std::string RowMarks(const RowPlace& place) {
    std::string marks(PlaceKeyMark(place.key));
    if (place.disabledInWindows) marks += (marks.empty() ? "" : ", ") + std::string(kMarkDisabledInWindows);
    return marks;
}

inline std::optional<PlaceKey> PlaceKeyFromMark(std::string_view mark) {
    for (PlaceKey key : {PlaceKey::Main, PlaceKey::Bits32, PlaceKey::ThisUser, PlaceKey::Policy})
        if (PlaceKeyMark(key) == mark) return key;
    return std::nullopt;
}

}  // namespace kestrune
