// Registry round trips: every value type, non-ASCII names and data, names that differ only
// in case, and the rules about missing keys.

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "ContractFixture.h"

namespace kestrune::contract {
namespace {

using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

constexpr RootKey kUser = RootKey::CurrentUser;
// On Windows this key is real and kept between runs; each test starts and ends it empty.
const std::string kKey = "Software\\Kestrune Contract Tests";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// scripts/test-wine looks for exactly this value with the Windows registry tool.
const std::string kRunName = "Kestrune Zoë 山田";
const std::string kRunData = "\"C:\\Users\\Zoë\\山田\\app.exe\" --profile 日本";

class RegistryContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        ASSERT_TRUE(Os().registry().CreateKey(kUser, kKey).Ok());
        Clear();
    }
    void TearDown() override {
        Clear();
        ContractTest::TearDown();
    }
    void Clear() {
        if (const auto values = Os().registry().EnumValues(kUser, kKey))
            for (const RegistryValue& value : *values) Os().registry().DeleteValue(kUser, kKey, value.name);
    }
};

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST_F(RegistryContract, EveryValueTypeRoundTripsWithNonAsciiNamesAndData) {
    const std::vector<RegistryValue> values = {
        {"Zoë's app", ValueType::String, "\"C:\\Program Files\\Zoë\\app.exe\" -min"},
        {"山田 expand", ValueType::ExpandString, "%SystemRoot%\\system32\\山田.exe"},
        {"Empty", ValueType::String, ""},
        {"Blob", ValueType::Binary, Bytes({0x00, 0xff, 0x10, 0x00})},
        {"Number", ValueType::Dword, Bytes({0x78, 0x56, 0x34, 0x12})},
        {"Big number", ValueType::Qword, Bytes({0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x80})},
        {"List", ValueType::MultiString, std::string("one\0zwei ö\0日本\0", 19)},
        {"Empty list", ValueType::MultiString, ""},
        {"Long", ValueType::String, std::string(5000, 'x') + "ü"},
        {"", ValueType::String, "the default value"},
    };
    for (const RegistryValue& value : values)
        ASSERT_TRUE(Os().registry().SetValue(kUser, kKey, value).Ok()) << "writing '" << value.name << "'";

    for (const RegistryValue& value : values) {
        SCOPED_TRACE("value '" + value.name + "'");
        const auto read = Os().registry().QueryValue(kUser, kKey, value.name);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->type, value.type);
        EXPECT_EQ(read->data, value.data);
    }

    const auto listed = Os().registry().EnumValues(kUser, kKey);
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), values.size());
    for (const RegistryValue& value : values) {
        SCOPED_TRACE("listed value '" + value.name + "'");
        const auto found =
            std::find_if(listed->begin(), listed->end(), [&](const RegistryValue& v) { return v.name == value.name; });
        ASSERT_NE(found, listed->end());
        EXPECT_EQ(found->type, value.type);
        EXPECT_EQ(found->data, value.data);
    }
}

TEST_F(RegistryContract, NamesOfKeysAndValuesIgnoreCase) {
    ASSERT_TRUE(Os().registry().SetValue(kUser, kKey, {"Mixed Case", ValueType::String, "first"}).Ok());
    ASSERT_TRUE(Os().registry().SetValue(kUser, kKey, {"MIXED CASE", ValueType::String, "second"}).Ok());

    const auto listed = Os().registry().EnumValues(kUser, kKey);
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), 1u) << "a name differing only in case is the same value";
    EXPECT_EQ((*listed)[0].data, "second");

    std::string upperKey = kKey;
    for (char& c : upperKey) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(Os().registry().KeyExists(kUser, upperKey));
    const auto read = Os().registry().QueryValue(kUser, upperKey, "mixed case");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->data, "second");
}

TEST_F(RegistryContract, OverwritingChangesTypeAndDeletingRemoves) {
    ASSERT_TRUE(Os().registry().SetValue(kUser, kKey, {"Value", ValueType::String, "text"}).Ok());
    ASSERT_TRUE(Os().registry().SetValue(kUser, kKey, {"Value", ValueType::Dword, Bytes({1, 0, 0, 0})}).Ok());
    const auto read = Os().registry().QueryValue(kUser, kKey, "Value");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->type, ValueType::Dword);
    EXPECT_EQ(read->data, Bytes({1, 0, 0, 0}));

    EXPECT_TRUE(Os().registry().DeleteValue(kUser, kKey, "Value").Ok());
    EXPECT_FALSE(Os().registry().QueryValue(kUser, kKey, "Value").has_value());
    EXPECT_FALSE(Os().registry().DeleteValue(kUser, kKey, "Value").Ok()) << "deleting a missing value is an error";
    const auto listed = Os().registry().EnumValues(kUser, kKey);
    ASSERT_TRUE(listed.has_value());
    EXPECT_TRUE(listed->empty());
}

TEST_F(RegistryContract, WritingNeverCreatesAKeyAndCreateKeyMakesParents) {
    const std::string missing = kKey + "\\Missing Ö";
    const auto status = Os().registry().SetValue(kUser, missing, {"x", ValueType::String, "y"});
    EXPECT_EQ(status.code, 2) << "a missing key is Windows' \"file not found\"";
    EXPECT_FALSE(Os().registry().KeyExists(kUser, missing));
    EXPECT_FALSE(Os().registry().EnumValues(kUser, missing).has_value());
    EXPECT_FALSE(Os().registry().QueryValue(kUser, missing, "x").has_value());

    const std::string nested = kKey + "\\Parent ö\\Child 日本";
    ASSERT_TRUE(Os().registry().CreateKey(kUser, nested).Ok());
    EXPECT_TRUE(Os().registry().KeyExists(kUser, kKey + "\\Parent ö"));
    EXPECT_TRUE(Os().registry().CreateKey(kUser, nested).Ok()) << "an existing key is fine";
    EXPECT_TRUE(Os().registry().SetValue(kUser, nested, {"x", ValueType::String, "y"}).Ok());
    EXPECT_TRUE(Os().registry().DeleteValue(kUser, nested, "x").Ok());
}

TEST_F(RegistryContract, RunValueWithNonAsciiNameAndDataReadsBack) {
    ASSERT_TRUE(Os().registry().CreateKey(kUser, kRunKey).Ok());
    ASSERT_TRUE(Os().registry().SetValue(kUser, kRunKey, {kRunName, ValueType::String, kRunData}).Ok());
    const auto read = Os().registry().QueryValue(kUser, kRunKey, kRunName);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->type, ValueType::String);
    EXPECT_EQ(read->data, kRunData);
    // Left in place only for the Windows registry tool to read in scripts/test-wine; a real
    // machine must not keep a start-up entry from a test.
    if (CrossCheckFolder().empty()) {
        EXPECT_TRUE(Os().registry().DeleteValue(kUser, kRunKey, kRunName).Ok());
    }
}

}  // namespace
}  // namespace kestrune::contract
