#include "procs/Priority.h"

#include "app/Text.h"

namespace kestrune {

namespace {

struct PriorityLevel {
    std::string_view text;
    std::uint32_t classValue;
    int basePriority;
};

constexpr std::string_view kNormal = "Normal";

constexpr std::array<PriorityLevel, 6> kLevels = {{
    {"Low", 0x40, 4},
    {"Below Normal", 0x4000, 6},
    {kNormal, 0x20, 8},
    {"Above Normal", 0x8000, 10},
    {"High", 0x80, 13},
    {"Realtime", 0x100, 24},
}};

}  // namespace

const std::array<std::string_view, 7> kPriorityTexts = {"",       "Realtime",     "High", "Above Normal",
                                                        "Normal", "Below Normal", "Low"};

const std::array<SetPriorityEntry, 6> kSetPriorityEntries = {{
    {"Realtime", 0x100},
    {"High", 0x80},
    {"Above Normal", 0x8000},
    {"Normal", 0x20},
    {"Below Normal", 0x4000},
    {"Low", 0x40},
}};

std::optional<std::uint32_t> PriorityClassFromText(std::string_view text) {
    for (const auto& level : kLevels) {
        if (EqualsIgnoreCase(text, level.text)) return level.classValue;
    }
    return std::nullopt;
}

std::string PriorityTextFromBase(int basePriority) {
    for (const auto& level : kLevels) {
        if (level.basePriority == basePriority) return std::string(level.text);
    }
    return std::string(kNormal);
}

std::string PriorityTextFromClass(std::uint32_t value) {
    for (const auto& level : kLevels) {
        if (level.classValue == value) return std::string(level.text);
    }
    return {};
}

int SetPriorityEntryFor(std::string_view priorityText) {
    for (size_t i = 0; i < kSetPriorityEntries.size(); ++i) {
        if (EqualsIgnoreCase(priorityText, kSetPriorityEntries[i].caption)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kestrune
