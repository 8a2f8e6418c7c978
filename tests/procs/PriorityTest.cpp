#include "procs/Priority.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(PriorityTest, TextToClassIgnoresCaseAndFailsOnUnknownTexts) {
    const std::pair<std::string_view, std::optional<std::uint32_t>> cases[] = {
        {"Low", 0x40},           {"below normal", 0x4000},      {"NORMAL", 0x20},   {"Above Normal", 0x8000},
        {"HIGH", 0x80},          {"realTime", 0x100},           {"", std::nullopt}, {"Idle", std::nullopt},
        {" High", std::nullopt}, {"BelowNormal", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(PriorityClassFromText(text), value) << text;
}

TEST(PriorityTest, BasePriorityOutsideTheKnownLevelsReadsAsNormal) {
    const std::pair<int, std::string_view> cases[] = {
        {4, "Low"},       {6, "Below Normal"}, {8, "Normal"}, {10, "Above Normal"}, {13, "High"},
        {24, "Realtime"}, {0, "Normal"},       {7, "Normal"}, {-1, "Normal"},       {31, "Normal"},
    };
    for (const auto& [base, text] : cases) EXPECT_EQ(PriorityTextFromBase(base), text) << base;
}

TEST(PriorityTest, ClassValueOutsideTheTableGivesNoText) {
    EXPECT_EQ(PriorityTextFromClass(0x4000), "Below Normal");
    EXPECT_EQ(PriorityTextFromClass(0x100), "Realtime");
    EXPECT_EQ(PriorityTextFromClass(0), "");
    EXPECT_EQ(PriorityTextFromClass(0x10), "");
    EXPECT_EQ(PriorityTextFromClass(8), "");
}

TEST(PriorityTest, EveryMenuEntryAndEditorTextRoundTripsThroughItsClass) {
    for (const auto& entry : kSetPriorityEntries) {
        EXPECT_EQ(PriorityTextFromClass(entry.value), entry.caption);
        EXPECT_EQ(PriorityClassFromText(entry.caption), entry.value);
    }
    EXPECT_EQ(kPriorityTexts.front(), "");
    for (size_t i = 1; i < kPriorityTexts.size(); ++i) EXPECT_EQ(kPriorityTexts[i], kSetPriorityEntries[i - 1].caption);
}

TEST(PriorityTest, MenuEntryToCheckFollowsTheRowsTextInAnyCase) {
    EXPECT_EQ(SetPriorityEntryFor("Realtime"), 0);
    EXPECT_EQ(SetPriorityEntryFor("above normal"), 2);
    EXPECT_EQ(SetPriorityEntryFor("LOW"), 5);
    EXPECT_EQ(SetPriorityEntryFor(""), -1);
    EXPECT_EQ(SetPriorityEntryFor("Idle"), -1);
}

}  // namespace
}  // namespace kestrune
