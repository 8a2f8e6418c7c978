#include "delayed/IdleSettings.h"

#include <limits>

#include "app/Text.h"

namespace kestrune {

namespace {

constexpr size_t kMostDigits = 9;  // beyond any range here, and far from overflowing

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
    const std::string_view digits = text.substr(at);
    if (digits.empty() || digits.size() > kMostDigits) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string RefusalText(IdleSetting setting) {
    const IdleSettingRange range = RangeOf(setting);
    const std::string span = std::to_string(range.lowest) + " to " + std::to_string(range.highest);
    return setting == IdleSetting::Threshold ? "The CPU threshold must be a whole number from " + span + " (percent)."
                                             : "The idle time must be a whole number of seconds from " + span + ".";
}

}  // namespace

IdleSettingRange RangeOf(IdleSetting setting) {
    if (setting == IdleSetting::Threshold) return {1, 100};
    return {1, std::numeric_limits<std::int16_t>::max()};
}

IdleSettingInput CheckIdleSetting(IdleSetting setting, std::string_view typed) {
    const auto number = WholeNumber(Trim(typed));
    const IdleSettingRange range = RangeOf(setting);
    if (!number || *number < range.lowest || *number > range.highest) return {std::nullopt, RefusalText(setting)};
    return {static_cast<std::int16_t>(*number), {}};
}

}  // namespace kestrune
