// The formats scripts read: the JSON shape of `list`, CSV quoting and columns, and the text
// table's alignment.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/TableOutput.h"

namespace kestrune::cli {
namespace {

struct Fixture {
    Table run{TableKind::HKCU_Run};
    Table delayed{TableKind::Delayed};
    Fixture() {
        run.Add({"Updater", "C:\\Program Files\\Up\\up.exe /silent"}, true, 3);
        run.Add({"Tray, \"helper\"", "tray.exe"}, false);
        run.SetPublisher(1, "Up, Inc.");  // row 2's program file was not read: no publisher
        delayed.Add({"Mail", "mail.exe", "30", "HKCU Run", "High"}, true);
    }
};

TEST(TableOutputTest, JsonKeepsTheDocumentedShapeAndKeyOrder) {
    Fixture f;
    const std::string text = TablesToJson({&f.run});
    EXPECT_EQ(
        text,
        "{\"tables\":[{\"number\":4,\"kind\":\"HKCU_Run\",\"caption\":\"HKCU Run\",\"columns\":[\"Name\",\"Path\"],"
        "\"rows\":[{\"position\":1,\"ticked\":true,\"icon\":3,\"publisher\":\"Up, Inc.\",\"key\":\"\","
        "\"disabledInWindows\":false,\"values\":{\"Name\":\"Updater\",\"Path\":\"C:\\\\Program Files\\\\Up\\\\up.exe "
        "/silent\"}},{\"position\":2,\"ticked\":false,\"icon\":1,\"publisher\":\"\",\"key\":\"\","
        "\"disabledInWindows\":false,\"values\":{\"Name\":\"Tray, \\\"helper\\\"\",\"Path\":\"tray.exe\"}}]}]}\n");
}

TEST(TableOutputTest, JsonListsEveryTableWithItsOwnColumns) {
    Fixture f;
    Table empty(TableKind::Known);
    const auto doc = nlohmann::json::parse(TablesToJson({&f.run, &f.delayed, &empty}));
    ASSERT_EQ(doc["tables"].size(), 3u);
    EXPECT_EQ(doc["tables"][1]["columns"], nlohmann::json({"Name", "Path", "Delay", "Previous", "Priority"}));
    EXPECT_EQ(doc["tables"][1]["rows"][0]["values"]["Priority"], "High");
    // Only the location tables' rows name a publisher.
    EXPECT_FALSE(doc["tables"][1]["rows"][0].contains("publisher"));
    EXPECT_EQ(doc["tables"][2]["number"], 8);
    EXPECT_EQ(doc["tables"][2]["caption"], "Known");
    EXPECT_TRUE(doc["tables"][2]["rows"].empty());
}

TEST(TableOutputTest, JsonReplacesBytesThatAreNotUtf8InsteadOfFailing) {
    Table run(TableKind::HKLM_Run);
    run.Add({"Caf\xE9", "x.exe"}, true);
    const auto doc = nlohmann::json::parse(TablesToJson({&run}));
    EXPECT_EQ(doc["tables"][0]["rows"][0]["values"]["Name"], "Caf\xEF\xBF\xBD");
}

TEST(TableOutputTest, CsvFieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {" padded ", "\" padded \""},
        {"C:\\Program Files\\x.exe", "C:\\Program Files\\x.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(TableOutputTest, CsvHasOneHeaderAndOneLinePerRowWithUnionOfColumns) {
    Fixture f;
    EXPECT_EQ(TablesToCsv({&f.run, &f.delayed}),
              "Table,Position,Ticked,Name,Path,Delay,Previous,Priority,Publisher,Key,Windows,"
              "Impact,CPU ms,Bytes read,Bytes written,Measured seconds\r\n"
              "4,1,1,Updater,C:\\Program Files\\Up\\up.exe /silent,,,,\"Up, Inc.\",,,,,,,\r\n"
              "4,2,0,\"Tray, \"\"helper\"\"\",tray.exe,,,,,,,,,,,\r\n"
              "6,1,1,Mail,mail.exe,30,HKCU Run,High,,,,Not measured,,,,\r\n");
    // Without a location table there is no publisher column, nor the place's marks; the
    // Delayed table's measured impact comes last.
    EXPECT_EQ(TablesToCsv({&f.delayed}),
              "Table,Position,Ticked,Name,Path,Delay,Previous,Priority,Impact,CPU ms,Bytes read,Bytes written,"
              "Measured seconds\r\n6,1,1,Mail,mail.exe,30,HKCU Run,High,Not measured,,,,\r\n");
    EntryDetails measured;
    measured.impact = Impact{1520, 31'457'280, 4096, 3};
    f.delayed.SetDetails(1, measured);
    EXPECT_EQ(TablesToCsv({&f.delayed}),
              "Table,Position,Ticked,Name,Path,Delay,Previous,Priority,Impact,CPU ms,Bytes read,Bytes written,"
              "Measured seconds\r\n6,1,1,Mail,mail.exe,30,HKCU Run,High,High,1520,31457280,4096,3\r\n");
    const auto json = nlohmann::ordered_json::parse(TablesToJson({&f.delayed}));
    const auto& row = json["tables"][0]["rows"][0];
    EXPECT_EQ(std::prev(row.end()).key(), "impact") << "new fields come last";
    EXPECT_EQ(row["impact"], nlohmann::ordered_json::parse(R"({"band":"High","cpuMs":1520,"bytesRead":31457280,)"
                                                           R"("bytesWritten":4096,"seconds":3})"));
}

TEST(TableOutputTest, CsvOfKnownPutsItsOnlyColumnUnderPath) {
    Table known(TableKind::Known);
    known.Add({"C:\\a.exe"}, true);
    Table run(TableKind::HKCU_Run);
    run.Add({"A", "C:\\b.exe"}, false);
    EXPECT_EQ(TablesToCsv({&known, &run}),
              "Table,Position,Ticked,Path,Name,Publisher,Key,Windows\r\n"
              "8,1,1,C:\\a.exe,,,,\r\n"
              "4,1,0,C:\\b.exe,A,,,\r\n");
}

TEST(TableOutputTest, TextAlignsColumnsUnderTheirHeadings) {
    Fixture f;
    EXPECT_EQ(TablesToText({&f.run}),
              "4 HKCU Run (HKCU_Run): 2 item(s), 1 ticked\n"
              "#       Name            Path\n"
              "1  [x]  Updater         C:\\Program Files\\Up\\up.exe /silent\n"
              "2  [ ]  Tray, \"helper\"  tray.exe\n");
}

TEST(TableOutputTest, FormatNamesAreReadIgnoringCase) {
    EXPECT_EQ(ParseOutputFormat("JSON"), OutputFormat::Json);
    EXPECT_EQ(ParseOutputFormat("Csv"), OutputFormat::Csv);
    EXPECT_EQ(ParseOutputFormat("text"), OutputFormat::Text);
    EXPECT_FALSE(ParseOutputFormat("xml"));
}

}  // namespace
}  // namespace kestrune::cli
