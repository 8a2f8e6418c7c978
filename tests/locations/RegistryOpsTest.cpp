#include "locations/RegistryOps.h"

#include "LocationFixture.h"

namespace kestrune::test {
namespace {

constexpr auto kHklm = RootKey::LocalMachine;

class RegistryOpsTest : public LocationFixture {
protected:
    RegistryRead Read(const std::string& name) { return ReadRegistryValue(Registry(), kHklm, kRunKey, name); }
};

struct ReadCase {
    const char* label;
    ValueType type;
    std::string stored;
    bool ok;
    std::string data;
    ValueType readType;
};

TEST_F(RegistryOpsTest, ReadsEachValueTypeAsText) {
    const std::vector<ReadCase> cases = {
        {"sz", ValueType::String, R"("C:\Program Files\Audio\tray.exe" -s)", true,
         R"("C:\Program Files\Audio\tray.exe" -s)", ValueType::String},
        {"expand", ValueType::ExpandString, R"(%windir%\system32\x.exe)", true, R"(%windir%\system32\x.exe)",
         ValueType::ExpandString},
        {"binary", ValueType::Binary, std::string("\x00\xff\x10", 3), true, std::string("\x00\xff\x10", 3),
         ValueType::Binary},
        // The query's final zero byte is dropped, binary data included.
        {"binary0", ValueType::Binary, std::string("ab\0", 3), true, "ab", ValueType::Binary},
        {"dword", ValueType::Dword, std::string("\x2a\x00\x00\x00", 4), true, "42", ValueType::Dword},
        {"dwordMax", ValueType::Dword, std::string("\xff\xff\xff\xff", 4), true, "4294967295", ValueType::Dword},
        {"dwordOrder", ValueType::Dword, std::string("\x01\x02\x03\x04", 4), true, "67305985", ValueType::Dword},
        {"multi", ValueType::MultiString, std::string("one\0two\0", 8), true, "", ValueType::MultiString},
        {"qword", ValueType::Qword, std::string("\0\0\0\0\1\0\0\0", 8), true, "", ValueType::Qword},
        {"empty", ValueType::String, "", true, "", ValueType::String},
        // 1023 characters and the terminator fit the 1024-byte buffer; one more does not.
        {"fits", ValueType::String, std::string(1023, 'x'), true, std::string(1023, 'x'), ValueType::String},
        {"tooLong", ValueType::String, std::string(1024, 'x'), false, "", ValueType::None},
        {"binaryFits", ValueType::Binary, std::string(1024, 'y'), true, std::string(1024, 'y'), ValueType::Binary},
    };
    for (const ReadCase& c : cases) SetValue(TableKind::HKLM_Run, c.label, c.type, c.stored);
    for (const ReadCase& c : cases) {
        const RegistryRead read = Read(c.label);
        EXPECT_EQ(read.ok, c.ok) << c.label;
        EXPECT_EQ(read.data, c.data) << c.label;
        if (c.ok) {
            EXPECT_EQ(read.type, c.readType) << c.label;
        }
    }
    EXPECT_FALSE(Read("absent").ok);
    EXPECT_FALSE(ReadRegistryValue(Registry(), kHklm, "SOFTWARE\\NoSuchKey", "x").ok);
    // Names compare ignoring case.
    EXPECT_EQ(Read("SZ").data, R"("C:\Program Files\Audio\tray.exe" -s)");
}

TEST_F(RegistryOpsTest, EnumerationListsTheNamedValuesOnly) {
    SetValue(TableKind::HKLM_Run, "", ValueType::String, "the default value");
    SetValue(TableKind::HKLM_Run, "First", ValueType::String, "a.exe");
    SetValue(TableKind::HKLM_Run, "Second", ValueType::Dword, std::string("\x07\0\0\0", 4));
    SetValue(TableKind::HKLM_Run, "Huge", ValueType::String, std::string(2000, 'h'));
    const auto records = EnumRegistryValues(Registry(), kHklm, kRunKey);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, "First");
    EXPECT_EQ(records[0].data, "a.exe");
    EXPECT_EQ(records[0].type, ValueType::String);
    EXPECT_EQ(records[1].data, "7");
    EXPECT_EQ(records[1].type, ValueType::Dword);
    EXPECT_EQ(records[2].name, "Huge");
    EXPECT_EQ(records[2].data, "");

    EXPECT_TRUE(EnumRegistryValues(Registry(), kHklm, "SOFTWARE\\NoSuchKey").empty());
}

TEST_F(RegistryOpsTest, WritesStringsAndNumbersIntoExistingKeysOnly) {
    EXPECT_EQ(WriteRegistryValue(Registry(), kHklm, kRunKey, "App", R"(C:\a b\app.exe -x)", ValueType::String), 0);
    EXPECT_EQ(Read("App").data, R"(C:\a b\app.exe -x)");
    EXPECT_EQ(Read("App").type, ValueType::String);
    EXPECT_EQ(WriteRegistryValue(Registry(), kHklm, kRunKey, "App", "replaced.exe", ValueType::String), 0);
    EXPECT_EQ(Read("App").data, "replaced.exe");

    struct DwordCase {
        std::string text;
        std::string readBack;
    };
    for (const DwordCase& c : {DwordCase{"42", "42"}, DwordCase{"-1", "4294967295"}, DwordCase{"&h2A", "42"},
                               DwordCase{"4294967295", "4294967295"}, DwordCase{" 2.5 ", "2"}}) {
        EXPECT_EQ(WriteRegistryValue(Registry(), kHklm, kRunKey, "Number", c.text, ValueType::Dword), 0) << c.text;
        EXPECT_EQ(Read("Number").data, c.readBack) << c.text;
        EXPECT_EQ(Read("Number").type, ValueType::Dword);
    }
    // Text that is no 32-bit number writes nothing and says so.
    EXPECT_NE(WriteRegistryValue(Registry(), kHklm, kRunKey, "Number", "many", ValueType::Dword), 0);
    EXPECT_NE(WriteRegistryValue(Registry(), kHklm, kRunKey, "Number", "4294967296", ValueType::Dword), 0);
    EXPECT_EQ(Read("Number").data, "2");

    // Other types write nothing and answer success.
    EXPECT_EQ(WriteRegistryValue(Registry(), kHklm, kRunKey, "Expand", "%x%", ValueType::ExpandString), 0);
    EXPECT_FALSE(Read("Expand").ok);

    // A missing key is not created.
    EXPECT_NE(WriteRegistryValue(Registry(), kHklm, "SOFTWARE\\Made\\Up", "v", "x", ValueType::String), 0);
    EXPECT_FALSE(Registry().KeyExists(kHklm, "SOFTWARE\\Made\\Up"));
}

TEST_F(RegistryOpsTest, DeletesOneValueAndToleratesAbsentOnes) {
    SetValue(TableKind::HKLM_Run, "Keep", ValueType::String, "k.exe");
    SetValue(TableKind::HKLM_Run, "Drop", ValueType::String, "d.exe");
    DeleteRegistryValue(Registry(), kHklm, kRunKey, "drop");
    DeleteRegistryValue(Registry(), kHklm, kRunKey, "never there");
    DeleteRegistryValue(Registry(), kHklm, "SOFTWARE\\NoSuchKey", "x");
    EXPECT_FALSE(Read("Drop").ok);
    EXPECT_TRUE(Read("Keep").ok);
}

TEST_F(RegistryOpsTest, StartupFoldersComeFromTheShellAndTheShellFoldersKey) {
    EXPECT_EQ(GetShellFolder(Registry(), "Startup"), userFolder);
    EXPECT_EQ(GetShellFolder(Registry(), "NoSuchFolder"), "");
    EXPECT_EQ(state.paths.userStartupFolder, userFolder);  // as stored: no separator added
    ASSERT_FALSE(state.paths.commonStartupFolder.empty());
    EXPECT_EQ(state.paths.commonStartupFolder, GetSpecialFolder(Platform().shell(), platform::kCsidlCommonStartup));
    EXPECT_EQ(state.paths.commonStartupFolder, AddBackslash(state.paths.commonStartupFolder));
    EXPECT_EQ(GetSpecialFolder(Platform().shell(), 12345), "");
    EXPECT_FALSE(state.paths.environment.empty());
}

}  // namespace
}  // namespace kestrune::test
