// What current Windows starts, as the tables show and change it: entries Task Manager switched
// off (their approval values), the 32-bit view of HKLM, HKCU's RunOnce and the policy keys, and
// Run values the old reader skipped.

#include "LocationFixture.h"
#include "locations/Approvals.h"
#include "locations/LocationChange.h"
#include "locations/TableOperations.h"
#include "platform/StartupApproval.h"
#include "platform/emulated/Refusals.h"
#include "store/SettingsDocument.h"

namespace kestrune::test {
namespace {

using platform::RegistryValue;
using platform::RegistryView;

const ApprovalPlace kUserApprovals{RootKey::CurrentUser, platform::kApprovedRunKey};
const ApprovalPlace kMachine32Approvals{RootKey::LocalMachine, platform::kApprovedRun32Key};
const ApprovalPlace kUserFolderApprovals{RootKey::CurrentUser, platform::kApprovedStartupFolderKey};

class WindowsPlacesTest : public LocationFixture {
protected:
    // What Task Manager writes when the user switches an entry off.
    void TaskManagerDisables(const ApprovalPlace& approvals, const std::string& name) {
        ASSERT_TRUE(Registry().CreateKey(approvals.root, approvals.subkey).Ok());
        ASSERT_TRUE(Registry()
                        .SetValue(approvals.root, approvals.subkey,
                                  platform::EncodeStartupApproval(name, true, 0x01DA000000000000ull))
                        .Ok());
    }
    std::optional<platform::StartupApproval> Approval(const ApprovalPlace& approvals, const std::string& name) {
        const auto value = Registry().QueryValue(approvals.root, approvals.subkey, name);
        return value ? platform::DecodeStartupApproval(*value) : std::nullopt;
    }
    void SetIn(const RunKeyPlace& key, const RegistryValue& value) {
        auto& registry = Registry().InView(key.view);
        ASSERT_TRUE(registry.CreateKey(key.root, key.subkey).Ok());
        ASSERT_TRUE(registry.SetValue(key.root, key.subkey, value).Ok());
    }
    std::optional<RegistryValue> ValueIn(const RunKeyPlace& key, const std::string& name) {
        return Registry().InView(key.view).QueryValue(key.root, key.subkey, name);
    }
    RunKeyPlace Source(TableKind kind, PlaceKey key) { return RunKeySourceOf(kind, key)->place; }
    // The user clicks the row's check box.
    void Click(TableKind kind, int position) {
        Table& table = state.model.tables[kind];
        table.SetTicked(position, !table.Ticked(position));
        fe.ShowOutcome(CarryOutLocationChange(state, kind, position));
    }
    void Rescan(TableKind kind) { ASSERT_TRUE(RescanLocation(state, kind)); }
    int Find(TableKind kind, const std::string& name) {
        const Table& table = state.model.tables[kind];
        for (int p = 1; p <= table.Count(); ++p)
            if (table.Name(p) == name) return p;
        return 0;
    }
    int CountNamed(TableKind kind, const std::string& name) {
        int count = 0;
        for (const Item& row : state.model.tables[kind].Rows()) count += row.texts[0] == name ? 1 : 0;
        return count;
    }
    std::string Document() { return ReadText(state.paths.settingsDocumentPath); }

    static std::uint64_t Now() { return platform::FileTimeNow(); }
};

TEST_F(WindowsPlacesTest, EntriesSwitchedOffInTaskManagerAreUntickedMarkedAndNeverDuplicated) {
    const std::string app = Program("tray.exe", "tray");
    SetValue(TableKind::HKCU_Run, "Tray", ValueType::String, app + " /min");
    SetValue(TableKind::HKCU_Run, "Other", ValueType::String, app + " /other");
    Link(userFolder, "Notes.lnk", app);
    TaskManagerDisables(kUserApprovals, "Tray");
    TaskManagerDisables(kUserFolderApprovals, "Notes.lnk");

    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "first scan" : "after a save and a rescan");
        Rescan(TableKind::HKCU_Run);
        Rescan(TableKind::UserStartup);
        const Table& run = state.model.tables[TableKind::HKCU_Run];
        ASSERT_EQ(run.Count(), 2);
        const int tray = Find(TableKind::HKCU_Run, "Tray");
        EXPECT_FALSE(run.Ticked(tray));
        EXPECT_TRUE(run.Place(tray).disabledInWindows);
        EXPECT_TRUE(run.Ticked(Find(TableKind::HKCU_Run, "Other")));
        EXPECT_FALSE(run.Place(Find(TableKind::HKCU_Run, "Other")).disabledInWindows);
        const Table& folder = state.model.tables[TableKind::UserStartup];
        ASSERT_EQ(folder.Count(), 1);
        EXPECT_FALSE(folder.Ticked(1));
        EXPECT_TRUE(folder.Place(1).disabledInWindows);
        EXPECT_EQ(RowMarks(folder.Place(1)), "disabled in Windows Settings");
        ASSERT_TRUE(StoreSettingsNow(state));
        // Their places hold them: the document must not bring them back as taken-out rows.
        EXPECT_EQ(Document().find("Tray"), std::string::npos) << Document();
        EXPECT_EQ(Document().find("Notes"), std::string::npos) << Document();
    }
    EXPECT_TRUE(Value(TableKind::HKCU_Run, "Tray").has_value()) << "a scan never changes a place";
}

TEST_F(WindowsPlacesTest, TickingARowWindowsKeepsOffSwitchesItsApprovalOnAndLeavesTheValueAsItWas) {
    const RegistryValue stored{"Tray", ValueType::ExpandString, "%ProgramFiles%\\Tray\\tray.exe /min"};
    SetValue(TableKind::HKCU_Run, stored.name, stored.type, stored.data);
    Link(userFolder, "Notes.lnk", Program("notes.exe", "notes"));
    TaskManagerDisables(kUserApprovals, "Tray");
    TaskManagerDisables(kUserFolderApprovals, "Notes.lnk");
    Rescan(TableKind::HKCU_Run);
    Rescan(TableKind::UserStartup);
    const std::string shortcutBefore = ReadText(userFolder + "/Notes.lnk");

    Click(TableKind::HKCU_Run, Find(TableKind::HKCU_Run, "Tray"));
    Click(TableKind::UserStartup, 1);

    EXPECT_TRUE(fe.messages.empty()) << fe.LastMessage();
    EXPECT_EQ(Registry().QueryValue(kUserApprovals.root, kUserApprovals.subkey, "Tray")->data,
              std::string("\x02\0\0\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_FALSE(Approval(kUserFolderApprovals, "Notes.lnk")->disabled);
    const auto value = Value(TableKind::HKCU_Run, "Tray");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, ValueType::ExpandString) << "the value itself is not rewritten";
    EXPECT_EQ(value->data, stored.data);
    EXPECT_EQ(ReadText(userFolder + "/Notes.lnk"), shortcutBefore);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  "Enabling in Windows Settings: " + stored.data,
                  "Enabling in Windows Settings: " + state.model.tables[TableKind::UserStartup].Text(1, col::Path)}));
    Rescan(TableKind::HKCU_Run);
    const int tray = Find(TableKind::HKCU_Run, "Tray");
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(tray));
    EXPECT_FALSE(state.model.tables[TableKind::HKCU_Run].Place(tray).disabledInWindows);
}

TEST_F(WindowsPlacesTest, PuttingAnEntryBackClearsAnApprovalThatWouldKeepItOff) {
    const std::string app = Program("sync.exe", "sync");
    SetValue(TableKind::HKCU_Run, "Sync", ValueType::String, app);
    Rescan(TableKind::HKCU_Run);
    Click(TableKind::HKCU_Run, 1);  // taken out the old way
    ASSERT_FALSE(Value(TableKind::HKCU_Run, "Sync").has_value());
    // Meanwhile another tool left an approval that says "off" for that name.
    TaskManagerDisables(kUserApprovals, "Sync");

    Click(TableKind::HKCU_Run, 1);
    EXPECT_TRUE(Value(TableKind::HKCU_Run, "Sync").has_value());
    EXPECT_FALSE(Approval(kUserApprovals, "Sync")->disabled) << "\"enabled\" must be what Windows will do";
    Rescan(TableKind::HKCU_Run);
    ASSERT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 1);
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(1));
}

TEST_F(WindowsPlacesTest, DisablingTheWindowsWayLeavesTheEntryInPlaceAndHonoursRefusals) {
    state.options.disableTheWindowsWay = true;
    const std::string app = Program("chat.exe", "chat");
    SetValue(TableKind::HKCU_Run, "Chat", ValueType::String, app);
    const RunKeyPlace machine32 = Source(TableKind::HKLM_Run, PlaceKey::Bits32);
    SetIn(machine32, {"Agent32", ValueType::String, app + " --agent"});
    Rescan(TableKind::HKCU_Run);
    Rescan(TableKind::HKLM_Run);

    const std::uint64_t before = Now();
    Click(TableKind::HKCU_Run, 1);
    const auto approval = Approval(kUserApprovals, "Chat");
    ASSERT_TRUE(approval.has_value());
    EXPECT_TRUE(approval->disabled);
    EXPECT_GE(approval->changed, before);
    EXPECT_LE(approval->changed, Now());
    EXPECT_TRUE(Value(TableKind::HKCU_Run, "Chat").has_value()) << "the entry stays in its place";
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Place(1).disabledInWindows);
    EXPECT_FALSE(state.model.tables[TableKind::HKCU_Run].Ticked(1));

    // HKLM's approvals need an administrator: the refusal puts the tick back and says why.
    platform::Refusals(machine.machineRoot).Add("HKLM\\" + std::string(platform::kApprovedRun32Key));
    const int agent = Find(TableKind::HKLM_Run, "Agent32");
    Click(TableKind::HKLM_Run, agent);
    EXPECT_TRUE(state.model.tables[TableKind::HKLM_Run].Ticked(agent));
    EXPECT_FALSE(state.model.tables[TableKind::HKLM_Run].Place(agent).disabledInWindows);
    EXPECT_NE(fe.LastMessage().find(kSystemRefusedLine), std::string::npos) << fe.LastMessage();
    EXPECT_FALSE(Approval(kMachine32Approvals, "Agent32").has_value());
    EXPECT_TRUE(ValueIn(machine32, "Agent32").has_value());
}

TEST_F(WindowsPlacesTest, ThirtyTwoBitRowsAreDisabledAndEnabledInTheirOwnKey) {
    const std::string app = Program("legacy.exe", "legacy");
    const RunKeyPlace main = Source(TableKind::HKLM_Run, PlaceKey::Main);
    const RunKeyPlace bits32 = Source(TableKind::HKLM_Run, PlaceKey::Bits32);
    SetIn(main, {"Legacy", ValueType::String, app + " /64"});
    SetIn(bits32, {"Legacy", ValueType::String, app + " /32"});
    Rescan(TableKind::HKLM_Run);
    const Table& table = state.model.tables[TableKind::HKLM_Run];
    ASSERT_EQ(table.Count(), 2);
    int row32 = 0;
    for (int p = 1; p <= table.Count(); ++p)
        if (table.Place(p).key == PlaceKey::Bits32) row32 = p;
    ASSERT_NE(row32, 0);
    EXPECT_EQ(table.Text(row32, col::Path), app + " /32");
    EXPECT_EQ(RowMarks(table.Place(row32)), "32-bit");

    Click(TableKind::HKLM_Run, row32);
    EXPECT_FALSE(ValueIn(bits32, "Legacy").has_value());
    EXPECT_TRUE(ValueIn(main, "Legacy").has_value()) << "the 64-bit value of that name is another entry";
    EXPECT_NE(Document().find("<key>32-bit</key>"), std::string::npos) << Document();

    // Read back from the document, the row still knows its key and goes back into it.
    Rescan(TableKind::HKLM_Run);
    ASSERT_EQ(table.Count(), 2);
    const int stored = table.Ticked(1) ? 2 : 1;
    EXPECT_EQ(table.Place(stored).key, PlaceKey::Bits32);
    Click(TableKind::HKLM_Run, stored);
    const auto back = ValueIn(bits32, "Legacy");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->data, app + " /32");
    EXPECT_EQ(ValueIn(main, "Legacy")->data, app + " /64");
}

// Deleted and brought back, after a restart read it from the document: the 32-bit entry goes
// back into the 32-bit key, not into the 64-bit one of the same name.
TEST_F(WindowsPlacesTest, AThirtyTwoBitEntryDeletedAndMovedBackReturnsToItsOwnKey) {
    const std::string app = Program("legacy.exe", "legacy");
    const RunKeyPlace main = Source(TableKind::HKLM_Run, PlaceKey::Main);
    const RunKeyPlace bits32 = Source(TableKind::HKLM_Run, PlaceKey::Bits32);
    SetIn(bits32, {"Legacy", ValueType::String, app + " /32"});
    Rescan(TableKind::HKLM_Run);
    ASSERT_EQ(Find(TableKind::HKLM_Run, "Legacy"), 1);

    ASSERT_EQ(DeleteRow(state, TableKind::HKLM_Run, 1).status, OutcomeStatus::Done);
    ASSERT_FALSE(ValueIn(bits32, "Legacy").has_value());
    Table& deleted = state.model.tables[TableKind::Deleted];
    deleted.Clear();
    LoadStoredTable(state, TableKind::Deleted);
    const int row = Find(TableKind::Deleted, "Legacy");
    ASSERT_NE(row, 0) << Document();

    ASSERT_EQ(MoveRow(state, TableKind::Deleted, row, TableKind::HKLM_Run).status, OutcomeStatus::Done);
    const auto back = ValueIn(bits32, "Legacy");
    ASSERT_TRUE(back.has_value()) << Document();
    EXPECT_EQ(back->data, app + " /32");
    EXPECT_FALSE(ValueIn(main, "Legacy").has_value());
}

TEST_F(WindowsPlacesTest, RunOnceGathersThisUsersKeyAndPolicyRowsAreShownButNotChanged) {
    SetIn(Source(TableKind::RunOnce, PlaceKey::ThisUser), {"Finish", ValueType::String, "setup.exe /finish"});
    const RunKeyPlace policy = Source(TableKind::HKCU_Run, PlaceKey::Policy);
    SetIn(policy, {"Mandated", ValueType::String, "agent.exe"});
    Rescan(TableKind::RunOnce);
    Rescan(TableKind::HKCU_Run);
    ASSERT_EQ(state.model.tables[TableKind::RunOnce].Count(), 1);
    EXPECT_EQ(state.model.tables[TableKind::RunOnce].Place(1).key, PlaceKey::ThisUser);

    Click(TableKind::RunOnce, 1);
    EXPECT_FALSE(ValueIn(Source(TableKind::RunOnce, PlaceKey::ThisUser), "Finish").has_value());
    Click(TableKind::RunOnce, 1);
    EXPECT_TRUE(ValueIn(Source(TableKind::RunOnce, PlaceKey::ThisUser), "Finish").has_value());
    EXPECT_FALSE(Registry().QueryValue(RootKey::LocalMachine, kRunOnceKey, "Finish").has_value());

    const int mandated = Find(TableKind::HKCU_Run, "Mandated");
    ASSERT_NE(mandated, 0);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Place(mandated).key, PlaceKey::Policy);
    Click(TableKind::HKCU_Run, mandated);
    EXPECT_EQ(fe.LastMessage(), kSetByPolicyMessage);
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(mandated));
    EXPECT_TRUE(ValueIn(policy, "Mandated").has_value());
}

TEST_F(WindowsPlacesTest, LongValuesAndStringListsAreListedAsWindowsRunsThem) {
    const std::string longLine = "C:\\Tools\\long.exe " + std::string(3000, 'x');
    SetValue(TableKind::HKCU_Run, "Long", ValueType::String, longLine);
    SetValue(TableKind::HKCU_Run, "List", ValueType::MultiString, std::string("C:\\Tools\\list.exe /a\0/b\0", 24));
    Rescan(TableKind::HKCU_Run);
    ASSERT_EQ(CountNamed(TableKind::HKCU_Run, "Long"), 1);
    ASSERT_EQ(CountNamed(TableKind::HKCU_Run, "List"), 1);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Text(Find(TableKind::HKCU_Run, "Long"), col::Path), longLine);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Text(Find(TableKind::HKCU_Run, "List"), col::Path),
              "C:\\Tools\\list.exe /a");
}

}  // namespace
}  // namespace kestrune::test
