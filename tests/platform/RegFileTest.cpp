// The .reg text format: files that Windows' registry editor writes must load, files written
// here must keep every value's meaning, and damaged files are refused as a whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/emulated/RegFile.h"
#include "platform/emulated/TextCodec.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

using test::ReadText;
using test::SamplePath;

std::string Utf16File(const std::string& utf8) { return "\xFF\xFE" + Utf8ToUtf16Le(utf8); }

const RegFileKey& OnlyKey(const RegFileParse& parsed) {
    EXPECT_TRUE(parsed.file) << parsed.Describe();
    EXPECT_EQ(parsed.file->keys.size(), 1u);
    return parsed.file->keys.front();
}

TEST(RegFileTest, ReadsTheExportOfAnotherImplementation) {
    test::TempFolder temp;
    const std::string copy = temp.Path() + "run_hklm.reg";
    test::WriteText(copy, ReadText(SamplePath("run_hklm.reg")));
    const RegFileParse parsed = ParseRegFile(ReadText(copy));
    const RegFileKey& key = OnlyKey(parsed);
    EXPECT_EQ(key.path, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    struct Expected {
        std::string name;
        ValueType type;
        std::string data;
    };
    const std::vector<Expected> expected = {
        {"Audio Tray", ValueType::String, "\"C:\\Program Files\\Audio\\tray.exe\" -s"},
        {"Backslash\\Name", ValueType::String, "C:\\x.exe"},
        {"Big", ValueType::Qword, std::string("\0\0\0\0\1\0\0\0", 8)},
        {"Blob", ValueType::Binary, std::string("\x00\xff\x10", 3)},
        {"Empty", ValueType::String, ""},
        {"Multi", ValueType::MultiString, std::string("one\0two\0", 8)},
        {"SecurityHealth", ValueType::ExpandString, "%windir%\\system32\\SecurityHealthSystray.exe"},
    };
    ASSERT_EQ(key.values.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(key.values[i].value.name, expected[i].name);
        EXPECT_EQ(key.values[i].value.type, expected[i].type) << expected[i].name;
        EXPECT_EQ(key.values[i].value.data, expected[i].data) << expected[i].name;
        EXPECT_FALSE(key.values[i].remove);
    }
}

TEST(RegFileTest, EveryValueTypeSurvivesWritingAndReading) {
    RegFile file;
    RegFileKey key{"HKEY_CURRENT_USER\\Software\\Kestrune Test", false, {}};
    const std::vector<RegistryValue> values = {
        {"", ValueType::String, "the default value"},
        {"Quotes \"and\" \\backslashes\\", ValueType::String, "\"C:\\Program Files\\A\\a.exe\" /x \"y\""},
        {"Lines", ValueType::String, "first\r\nsecond"},
        {"Jörg 日本", ValueType::String, "ö 日本"},
        {"Expand", ValueType::ExpandString,
         "%ProgramFiles%\\A very long folder name\\that needs\\continuation lines.exe"},
        {"Binary", ValueType::Binary, std::string("\x00\x01\xfe\xff", 4) + std::string(60, '\x7f')},
        {"Empty binary", ValueType::Binary, ""},
        {"Dword", ValueType::Dword, std::string("\x2a\x00\x00\x80", 4)},
        {"Multi", ValueType::MultiString, std::string("one\0two words\0three\0", 20)},
        {"Empty multi", ValueType::MultiString, ""},
        {"Qword", ValueType::Qword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"None", ValueType::None, std::string("\x05", 1)},
        {"Odd", static_cast<ValueType>(0x20), "abc"},
    };
    for (const RegistryValue& value : values) key.values.push_back({value, false});
    file.keys.push_back(key);
    file.keys.push_back({"HKEY_CURRENT_USER\\Software\\Gone", true, {}});

    const std::string text = FormatRegFile(file);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_NE(text.find("\"Quotes \\\"and\\\" \\\\backslashes\\\\\"=\"\\\"C:\\\\Program Files"), std::string::npos);
    EXPECT_NE(text.find("\"Dword\"=dword:8000002a\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Lines\"=hex(1):"), std::string::npos);
    EXPECT_NE(text.find(",\\\r\n  "), std::string::npos) << "long data is continued on the next line";
    EXPECT_NE(text.find("[-HKEY_CURRENT_USER\\Software\\Gone]"), std::string::npos);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);

    for (const std::string& stored : {text, Utf16File(text)}) {
        const RegFileParse parsed = ParseRegFile(stored);
        ASSERT_TRUE(parsed.file) << parsed.Describe();
        ASSERT_EQ(parsed.file->keys.size(), 2u);
        EXPECT_TRUE(parsed.file->keys[1].remove);
        const RegFileKey& back = parsed.file->keys[0];
        ASSERT_EQ(back.values.size(), values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(back.values[i].value.name, values[i].name);
            EXPECT_EQ(back.values[i].value.type, values[i].type) << values[i].name;
            EXPECT_EQ(back.values[i].value.data, values[i].data) << values[i].name;
        }
        EXPECT_EQ(FormatRegFile(*parsed.file), text) << "writing again changes nothing";
    }
}

TEST(RegFileTest, ReadsOlderAnsiExportsWithDeletions) {
    const std::string text =
        "REGEDIT4\r\n\r\n"
        "; a comment\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "\"Caf\xe9\"=\"C:\\\\caf\xe9.exe\"\r\n"
        "\"Path\"=hex(2):25,77,69,6e,64,69,72,25,00\r\n"
        "\"Stale\"=-\r\n"
        "@=-\r\n";
    const RegFileParse parsed = ParseRegFile(text);
    ASSERT_TRUE(parsed.file) << parsed.Describe();
    ASSERT_EQ(parsed.file->keys.size(), 2u);
    EXPECT_TRUE(parsed.file->keys[0].remove);
    EXPECT_EQ(parsed.file->keys[0].path, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Old");
    const auto& values = parsed.file->keys[1].values;
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].value.name, "Café");
    EXPECT_EQ(values[0].value.data, "C:\\café.exe");
    EXPECT_EQ(values[1].value.type, ValueType::ExpandString);
    EXPECT_EQ(values[1].value.data, "%windir%");
    EXPECT_TRUE(values[2].remove);
    EXPECT_EQ(values[2].value.name, "Stale");
    EXPECT_TRUE(values[3].remove);
    EXPECT_EQ(values[3].value.name, "");
}

TEST(RegFileTest, AUtf8MarkBeforeAnsiTextReadsAsAnsiAndWritesBackTheSame) {
    // Editors add the mark to files they never converted; the fuzzer found one.
    const std::string text = "\xEF\xBB\xBFREGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Caf\xe9]\r\n\"a\"=\"\x9f\"\r\n";
    const RegFileParse parsed = ParseRegFile(text);
    ASSERT_TRUE(parsed.file) << parsed.Describe();
    EXPECT_EQ(parsed.file->keys[0].path, "HKEY_CURRENT_USER\\Café");
    const std::string written = FormatRegFile(*parsed.file);
    const RegFileParse reread = ParseRegFile(written);
    ASSERT_TRUE(reread.file) << reread.Describe();
    EXPECT_EQ(FormatRegFile(*reread.file), written);
    EXPECT_EQ(reread.file->keys[0].values[0].value.data, parsed.file->keys[0].values[0].value.data);
}

TEST(RegFileTest, RefusesDamagedFilesAtTheirFirstFault) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::string key = "[HKEY_CURRENT_USER\\Software\\X]\r\n";
    struct Case {
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"", 1},
        {"Windows Registry Editor Version 4.00\r\n", 1},
        {"[HKEY_CURRENT_USER\\Software\\X]\r\n", 1},
        {header + "\"a\"=\"b\"\r\n", 3},
        {header + key + "\"a=\"b\"\r\n", 4},
        {header + key + "\"a\"=\"unterminated\r\n", 4},
        {header + key + "\"a\" \"b\"\r\n", 4},
        {header + key + "\"a\"=dword:123456789\r\n", 4},
        {header + key + "\"a\"=dword:12x4\r\n", 4},
        {header + key + "\"a\"=hex:00,0g\r\n", 4},
        {header + key + "\"a\"=hex:00,,01\r\n", 4},
        {header + key + "\"a\"=hex(zz):00\r\n", 4},
        {header + key + "\"a\"=hex:00,01,\\\r\n", 4},
        {header + key + "\"a\"=\"b\" trailing\r\n", 4},
        {header + key + "garbage line\r\n", 4},
        {header + "[HKEY_CURRENT_USER\\Software\\X\r\n", 3},
        {header + "[-HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n", 4},
        {header + key + "\"a\"=hex:00,\\\r\n  01,zz\r\n", 5},
    };
    for (const Case& c : cases) {
        const RegFileParse parsed = ParseRegFile(c.text);
        EXPECT_FALSE(parsed.file) << c.text;
        EXPECT_EQ(parsed.errorLine, c.line) << c.text;
        EXPECT_EQ(parsed.Describe().rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << parsed.Describe();
    }
}

}  // namespace
}  // namespace kestrune::platform
