#pragma once
// The options of settings.ini's "Options" section as the console reads and sets them: each
// key, its kind, where its value lives, and the menu command that changes it.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/Options.h"
#include "delayed/IdleSettings.h"

namespace kestrune {
class Application;
struct MainState;
}  // namespace kestrune

namespace kestrune::cli {

inline constexpr std::string_view kIdleThresholdKey = "Idle threshold";
inline constexpr std::string_view kIdleSecondsKey = "Idle seconds";

enum class OptionType { Flag, Number, Text };

struct OptionKey {
    std::string_view key;  // as in settings.ini
    OptionType type;
    bool Options::*flag = nullptr;            // flags
    void (Application::*toggle)() = nullptr;  // flags: the menu command that flips it
};

// In the order settings.ini stores them.
std::span<const OptionKey> AllOptionKeys();
const OptionKey* FindOptionKey(std::string_view key);

// The value as settings.ini holds it ("1"/"0", a number, the profile's name).
std::string OptionValue(const MainState& state, const OptionKey& key);

// Which idle setting a number key holds.
IdleSetting IdleSettingOf(const OptionKey& key);

// A value as given on the command line, in the form settings.ini holds it: flags take 1/0,
// true/false, yes/no or on/off; numbers a whole number in the range the desktop's idle
// settings accept (CheckIdleSetting). nullopt when it does not fit the key.
std::optional<std::string> NormaliseOptionValue(const OptionKey& key, std::string_view value);
// Why NormaliseOptionValue refused a value: `bad value "500" for option "Idle threshold": The
// CPU threshold must be a whole number from 1 to 100 (percent).`
std::string ValueRefusalText(const OptionKey& key, std::string_view value);

}  // namespace kestrune::cli
