#include "cli/OptionKeys.h"

#include <array>

#include "app/MainState.h"
#include "app/Text.h"
#include "session/Application.h"

namespace kestrune::cli {

namespace {

const std::array<OptionKey, 13> kKeys = {{
    {"Skip save on exit", OptionType::Flag, &Options::skipSave, &Application::ToggleSkipSave},
    {"Run on startup", OptionType::Flag, &Options::runOnStartup, &Application::ToggleRunOnStartup},
    {"Monitor", OptionType::Flag, &Options::monitor, &Application::ToggleMonitor},
    {"Send to tray on close", OptionType::Flag, &Options::trayOnClose, &Application::ToggleTrayOnClose},
    {"Exit after delayed run", OptionType::Flag, &Options::exitAfterDelayed, &Application::ToggleExitAfterDelayed},
    {"Ignore self-made changes", OptionType::Flag, &Options::ignoreSelf, &Application::ToggleIgnoreSelf},
    {kIdleThresholdKey, OptionType::Number},
    {kIdleSecondsKey, OptionType::Number},
    {"Profile", OptionType::Text},
    {"Choose profile on startup", OptionType::Flag, &Options::chooseProfile, &Application::ToggleChooseProfile},
    {"Skip running", OptionType::Flag, &Options::skipRunning, &Application::ToggleSkipRunning},
    {"Watch priorities", OptionType::Flag, &Options::watchPriorities, &Application::ToggleWatchPriorities},
    {kDisableTheWindowsWayKey, OptionType::Flag, &Options::disableTheWindowsWay,
     &Application::ToggleDisableTheWindowsWay},
}};

}  // namespace

std::span<const OptionKey> AllOptionKeys() { return kKeys; }

const OptionKey* FindOptionKey(std::string_view key) {
    for (const OptionKey& option : kKeys) {
        if (EqualsIgnoreCase(option.key, Trim(key))) return &option;
    }
    return nullptr;
}

std::string OptionValue(const MainState& state, const OptionKey& key) {
    switch (key.type) {
        case OptionType::Flag: return BoolToIni(state.options.*key.flag);
        case OptionType::Number:
            return std::to_string(key.key == kIdleThresholdKey ? state.options.idleThreshold
                                                               : state.options.idleSeconds);
        case OptionType::Text: break;
    }
    return state.paths.profile;
}

IdleSetting IdleSettingOf(const OptionKey& key) {
    return key.key == kIdleThresholdKey ? IdleSetting::Threshold : IdleSetting::Seconds;
}

std::string ValueRefusalText(const OptionKey& key, std::string_view value) {
    std::string text = "bad value \"" + std::string(value) + "\" for option \"" + std::string(key.key) + "\"";
    if (key.type == OptionType::Number) return text + ": " + CheckIdleSetting(IdleSettingOf(key), value).refusal;
    return text + " (1 or 0)";
}

std::optional<std::string> NormaliseOptionValue(const OptionKey& key, std::string_view value) {
    const std::string text = ToLower(Trim(value));
    switch (key.type) {
        case OptionType::Flag:
            if (text == "1" || text == "true" || text == "yes" || text == "on") return "1";
            if (text == "0" || text == "false" || text == "no" || text == "off") return "0";
            return std::nullopt;
        case OptionType::Number: {
            const auto number = CheckIdleSetting(IdleSettingOf(key), text).value;
            if (!number) return std::nullopt;
            return std::to_string(*number);
        }
        case OptionType::Text: break;
    }
    return std::string(value);
}

}  // namespace kestrune::cli
