// The two registry views of 64-bit Windows and the approval values Task Manager keeps: what a
// 32-bit installer writes lands in the 32-bit view only, HKEY_CURRENT_USER is shared, and an
// approval value goes through the registry byte for byte.

#include <string>

#include "ContractFixture.h"
#include "platform/StartupApproval.h"

namespace kestrune::contract {
namespace {

using platform::RegistryValue;
using platform::RegistryView;
using platform::RootKey;
using platform::ValueType;

constexpr RootKey kMachine = RootKey::LocalMachine;
const std::string kKey = "SOFTWARE\\Kestrune Contract Tests";
const std::string kKeyIn32BitNode = "SOFTWARE\\WOW6432Node\\Kestrune Contract Tests";
const std::string kUserKey = "Software\\Kestrune Contract Tests";

class RegistryViewContract : public ContractTest {
protected:
    platform::Registry& View(RegistryView view) { return Os().registry().InView(view); }
    void TearDown() override {
        for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32}) {
            View(view).DeleteValue(kMachine, kKey, "Installer");
            View(view).DeleteValue(RootKey::CurrentUser, kUserKey, "Shared");
        }
        ContractTest::TearDown();
    }
};

TEST_F(RegistryViewContract, ThirtyTwoBitValuesLiveUnderTheNodeOfTheSixtyFourBitView) {
    ASSERT_TRUE(View(RegistryView::Bits32).CreateKey(kMachine, kKey).Ok());
    ASSERT_TRUE(View(RegistryView::Bits64).CreateKey(kMachine, kKey).Ok());
    const RegistryValue value{"Installer", ValueType::ExpandString, "%ProgramFiles(x86)%\\Zoë\\app32.exe /tray"};
    ASSERT_TRUE(View(RegistryView::Bits32).SetValue(kMachine, kKey, value).Ok());

    const auto in32 = View(RegistryView::Bits32).QueryValue(kMachine, kKey, "Installer");
    ASSERT_TRUE(in32.has_value());
    EXPECT_EQ(in32->type, ValueType::ExpandString);
    EXPECT_EQ(in32->data, value.data);
    EXPECT_FALSE(View(RegistryView::Bits64).QueryValue(kMachine, kKey, "Installer").has_value())
        << "a 32-bit program's value is not in the 64-bit view's key";
    const auto throughNode = View(RegistryView::Bits64).QueryValue(kMachine, kKeyIn32BitNode, "Installer");
    ASSERT_TRUE(throughNode.has_value()) << "the 64-bit view sees it under WOW6432Node";
    EXPECT_EQ(throughNode->data, value.data);

    const auto listed = View(RegistryView::Bits32).EnumValues(kMachine, kKey);
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), 1u);
    EXPECT_EQ((*listed)[0].name, "Installer");

    EXPECT_TRUE(View(RegistryView::Bits32).DeleteValue(kMachine, kKey, "Installer").Ok());
    EXPECT_FALSE(View(RegistryView::Bits64).QueryValue(kMachine, kKeyIn32BitNode, "Installer").has_value());
}

TEST_F(RegistryViewContract, BothViewsShareTheCurrentUsersKeys) {
    ASSERT_TRUE(View(RegistryView::Bits64).CreateKey(RootKey::CurrentUser, kUserKey).Ok());
    ASSERT_TRUE(
        View(RegistryView::Bits32).SetValue(RootKey::CurrentUser, kUserKey, {"Shared", ValueType::String, "x"}).Ok());
    const auto seen = View(RegistryView::Bits64).QueryValue(RootKey::CurrentUser, kUserKey, "Shared");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->data, "x");
    EXPECT_TRUE(Os().registry().QueryValue(RootKey::CurrentUser, kUserKey, "Shared").has_value());
}

TEST_F(RegistryViewContract, ApprovalValuesKeepTaskManagersBytes) {
    const std::string approvals = kUserKey + "\\StartupApproved\\Run";
    ASSERT_TRUE(Os().registry().CreateKey(RootKey::CurrentUser, approvals).Ok());
    const std::uint64_t when = 0x01DA2B3C4D5E6F70ull;
    const RegistryValue off = platform::EncodeStartupApproval("Zoë's app", true, when);
    ASSERT_EQ(off.data, std::string("\x03\0\0\0\x70\x6f\x5e\x4d\x3c\x2b\xda\x01", 12));
    ASSERT_TRUE(Os().registry().SetValue(RootKey::CurrentUser, approvals, off).Ok());

    const auto read = Os().registry().QueryValue(RootKey::CurrentUser, approvals, "zoë's app");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->type, ValueType::Binary);
    EXPECT_EQ(read->data, off.data);
    const auto decoded = platform::DecodeStartupApproval(*read);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->disabled);
    EXPECT_EQ(decoded->changed, when);

    const RegistryValue on = platform::EncodeStartupApproval("Zoë's app", false, when, decoded->flags);
    EXPECT_EQ(on.data, std::string("\x02\0\0\0\0\0\0\0\0\0\0\0", 12));
    ASSERT_TRUE(Os().registry().SetValue(RootKey::CurrentUser, approvals, on).Ok());
    const auto back = Os().registry().QueryValue(RootKey::CurrentUser, approvals, "Zoë's app");
    ASSERT_TRUE(back.has_value());
    EXPECT_FALSE(platform::DecodeStartupApproval(*back)->disabled);
    EXPECT_TRUE(Os().registry().DeleteValue(RootKey::CurrentUser, approvals, "Zoë's app").Ok());
}

}  // namespace
}  // namespace kestrune::contract
