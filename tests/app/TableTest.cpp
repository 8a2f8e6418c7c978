#include <gtest/gtest.h>

#include "app/Table.h"
#include "app/Text.h"

namespace kestrune {
namespace {

std::vector<std::string> Column(const Table& t, int column) {
    std::vector<std::string> out;
    for (int p = 1; p <= t.Count(); ++p) out.push_back(t.Text(p, column));
    return out;
}

TEST(TableTest, ColumnsComeFromTheHeaderText) {
    Tables tables;
    EXPECT_EQ(tables[TableKind::UserStartup].Headers(), (std::vector<std::string>{"Name", "Path", "Arguments"}));
    EXPECT_EQ(tables[TableKind::Delayed].ColumnCount(), 5);
    EXPECT_EQ(tables[TableKind::Known].Headers(), (std::vector<std::string>{"Path"}));
    EXPECT_EQ(tables[TableKind::Process].Headers(), (std::vector<std::string>{"Name", "Path", "Priority", "Handle"}));
}

TEST(TableTest, PositionsAreOneBasedAndRemovalShiftsLaterRows) {
    Table t(TableKind::HKCU_Run);
    t.Add({"a", "1"}, true);
    t.Add({"b", "2"});
    t.Add({"c", "3"}, true);
    EXPECT_EQ(t.CountTicked(), 2);
    t.Remove(2);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"a", "c"}));
    EXPECT_THROW(t.Row(0), std::out_of_range);
    EXPECT_THROW(t.Remove(3), std::out_of_range);
}

TEST(TableTest, TextSortIsStableAndIgnoresCase) {
    Table t(TableKind::HKCU_Run);
    t.Add({"beta", "live"}, true);
    t.Add({"Alpha", "x"});
    t.Add({"BETA", "stored"});
    t.Add({"alpha", "y"});
    t.Sort(0, true);
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"x", "y", "live", "stored"}));
    t.Sort(0, false);
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"live", "stored", "x", "y"}));
}

TEST(TableTest, DelayAndHandleSortAsNumbers) {
    Table d(TableKind::Delayed);
    for (const char* delay : {"10", "9", "-2", "100", ""}) d.Add({delay, "p", delay});
    d.Sort(col::Delay, true);
    EXPECT_EQ(Column(d, col::Delay), (std::vector<std::string>{"", "-2", "9", "10", "100"}));

    // A number beyond every whole-number range still sorts by its size.
    Table huge(TableKind::Delayed);
    for (const char* delay : {"1e300", "5", "-1e300"}) huge.Add({delay, "p", delay});
    huge.Sort(col::Delay, true);
    EXPECT_EQ(Column(huge, col::Delay), (std::vector<std::string>{"-1e300", "5", "1e300"}));

    Table p(TableKind::Process);
    for (const char* handle : {"1200", "88", "3"}) p.Add({"x", "", "", handle});
    p.Sort(col::Handle, false);
    EXPECT_EQ(Column(p, col::Handle), (std::vector<std::string>{"1200", "88", "3"}));
}

TEST(TableTest, OnlyLocationTablesHaveAPublisherColumnAndItSortsLikeText) {
    Tables tables;
    EXPECT_EQ(tables[TableKind::UserStartup].PublisherColumn(), 3);
    EXPECT_EQ(tables[TableKind::HKCU_Run].PublisherColumn(), 2);
    EXPECT_EQ(tables[TableKind::Delayed].PublisherColumn(), -1);
    EXPECT_EQ(tables[TableKind::Process].PublisherColumn(), -1);

    Table& t = tables[TableKind::HKCU_Run];
    for (const char* name : {"a", "b", "c", "d"}) t.Add({name, "x"});
    t.SetPublisher(1, "zeta");
    t.SetPublisher(2, "Alpha");
    t.SetPublisher(4, "");  // read, and names nobody; row 3 is not read yet
    const auto before = t.Revision();
    t.SetPublisher(4, "");
    EXPECT_EQ(t.Revision(), before);  // the same publisher again is no change

    t.Sort(t.PublisherColumn(), true);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"c", "d", "b", "a"}));
    t.Sort(t.PublisherColumn(), false);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_FALSE(t.SortedAscending());
    // The publisher is not one of the texts: the row's columns are as they were.
    EXPECT_EQ(t.Row(1).texts, (std::vector<std::string>{"a", "x"}));
}

TEST(TableTest, EveryChangeCountsARevision) {
    Table t(TableKind::Deleted);
    int notified = 0;
    t.SetChangeListener([&](TableKind k) {
        EXPECT_EQ(k, TableKind::Deleted);
        ++notified;
    });
    const auto before = t.Revision();
    t.Add({"a", "b"});
    t.SetTicked(1, true);
    t.SetText(1, 1, "c");
    t.Clear();
    EXPECT_EQ(t.Revision(), before + 4);
    EXPECT_EQ(notified, 4);
}

TEST(TextTest, NumbersAndFields) {
    EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(LeadingNumber(" -2.5s"), -2.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(ParseWholeNumber("abc"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(" 7 "), 7);
    EXPECT_EQ(GetField("a\tb\t\td", "\t", 2), "b");
    EXPECT_EQ(GetField("a\tb\t\td", "\t", 3), "");
    EXPECT_EQ(GetField("a\tb", "\t", 5), "");
    EXPECT_EQ(CountOccurrences("a\r\nb\r\nc", "\r\n"), 2);
    EXPECT_TRUE(IniToBool("1"));
    EXPECT_FALSE(IniToBool("true"));
}

TEST(TextTest, CaseFoldingCoversLatinLetters) {
    EXPECT_TRUE(EqualsIgnoreCase("C:\\Users\\JÖRG\\App.EXE", "c:\\users\\jörg\\app.exe"));
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
    EXPECT_LT(CompareIgnoreCase("apple", "Banana"), 0);
    EXPECT_GT(CompareIgnoreCase("b", "A"), 0);
    EXPECT_LT(CompareIgnoreCase("ab", "ABC"), 0);
    EXPECT_TRUE(ContainsIgnoreCase("/SLIMLINE", "slim"));
}

}  // namespace
}  // namespace kestrune
