// How the command line names tables, rows and options.

#include <gtest/gtest.h>

#include "cli/OptionKeys.h"
#include "cli/TableSelection.h"

namespace kestrune::cli {
namespace {

TEST(SelectionTest, TablesByNumberKindNameOrCaptionIgnoringCase) {
    const struct {
        const char* text;
        std::optional<TableKind> kind;
    } cases[] = {
        {"4", TableKind::HKCU_Run},
        {"HKCU_Run", TableKind::HKCU_Run},
        {"hkcu run", TableKind::HKCU_Run},
        {"1", TableKind::UserStartup},
        {"User", TableKind::UserStartup},
        {"userstartup", TableKind::UserStartup},
        {"Processes", TableKind::Process},
        {"process", TableKind::Process},
        {"RUN ONCE", TableKind::RunOnce},
        {"9", TableKind::Process},
        {"0", std::nullopt},
        {"10", std::nullopt},
        {"HKCU", std::nullopt},
        {"", std::nullopt},
        {"About", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveTable(c.text), c.kind) << c.text;
}

TEST(SelectionTest, RowsByFirstMatchingNameOrByPosition) {
    Table table(TableKind::HKCU_Run);
    table.Add({"Alpha", "a.exe"});
    table.Add({"beta", "b1.exe"});
    table.Add({"Beta", "b2.exe"});
    EXPECT_EQ(FindRow(table, {"BETA", std::nullopt}), 2);
    EXPECT_EQ(FindRow(table, {"alpha", std::nullopt}), 1);
    EXPECT_FALSE(FindRow(table, {"gamma", std::nullopt}));
    EXPECT_EQ(FindRow(table, {"", 3}), 3);
    EXPECT_FALSE(FindRow(table, {"", 4}));
    EXPECT_FALSE(FindRow(table, {"", 0}));
    EXPECT_EQ(MissingRowText(table, {"gamma", std::nullopt}), "no row named \"gamma\" in table HKCU Run");
    EXPECT_EQ(MissingRowText(table, {"", 4}), "no row 4 in table HKCU Run (3 row(s))");
}

TEST(SelectionTest, OptionKeysAreTheThirteenOfSettingsIniInTheirOrder) {
    const auto keys = AllOptionKeys();
    ASSERT_EQ(keys.size(), 13u);
    EXPECT_EQ(keys.front().key, "Skip save on exit");
    EXPECT_EQ(keys.back().key, "Disable the Windows way");
    EXPECT_EQ(FindOptionKey("skip RUNNING")->key, "Skip running");
    EXPECT_EQ(FindOptionKey("Skip"), nullptr);
    EXPECT_EQ(FindOptionKey("Window state"), nullptr);  // a "Position" key, not an option
}

TEST(SelectionTest, OptionValuesAreCheckedAndWrittenInTheFileForm) {
    const OptionKey& flag = *FindOptionKey("Monitor");
    const OptionKey& number = *FindOptionKey("Idle seconds");
    const OptionKey& threshold = *FindOptionKey("Idle threshold");
    const OptionKey& text = *FindOptionKey("Profile");
    const struct {
        const OptionKey* key;
        const char* given;
        std::optional<std::string> stored;
    } cases[] = {
        {&flag, "1", "1"},
        {&flag, "On", "1"},
        {&flag, "false", "0"},
        {&flag, "2", std::nullopt},
        {&flag, "", std::nullopt},
        {&number, "12", "12"},
        {&number, "-3", std::nullopt},
        {&number, "0", std::nullopt},
        {&number, "32767", "32767"},
        {&number, "32768", std::nullopt},
        {&number, "1.5", std::nullopt},
        {&number, "abc", std::nullopt},
        {&threshold, "100", "100"},
        {&threshold, "500", std::nullopt},
        {&threshold, "0", std::nullopt},
        {&text, "Work", "Work"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseOptionValue(*c.key, c.given), c.stored) << c.given;
}

}  // namespace
}  // namespace kestrune::cli
