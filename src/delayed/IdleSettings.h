#pragma once
// The two idle settings as a person types them, in the desktop's input boxes or on the
// console's command line: one check, so that both refuse the same values with the same words.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

enum class IdleSetting { Threshold, Seconds };

struct IdleSettingRange {
    std::int16_t lowest;
    std::int16_t highest;
};

// The threshold is a share of the processor, 1 to 100 percent: 0 would never count a second
// as idle, so an idle entry would never start. The seconds fit the setting's 16 bits; 0 would
// read back as the default at the next start.
IdleSettingRange RangeOf(IdleSetting setting);

struct IdleSettingInput {
    std::optional<std::int16_t> value;  // set when the text is accepted
    std::string refusal;                // otherwise: what is wrong, with the range
};

// `typed` must be a whole number within the setting's range (spaces around it are ignored).
IdleSettingInput CheckIdleSetting(IdleSetting setting, std::string_view typed);

}  // namespace kestrune
