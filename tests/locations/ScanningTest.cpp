#include "locations/Scanning.h"

#include "LocationFixture.h"

namespace kestrune::test {
namespace {

using Texts = std::vector<std::string>;

class ScanningTest : public LocationFixture {};

TEST_F(ScanningTest, StartupFolderListsShortcutsByNameWithoutExtensionAndOtherFilesWhole) {
    const std::string app = Program("app.exe", "app");
    const std::string sync = Program("Sync/sync tool.exe", "sync");
    Link(state.paths.userStartupFolder, "App.exe.lnk", app, "-min");
    Link(state.paths.userStartupFolder, "sync Tool.lnk", sync, R"(--profile "Home")");
    Link(state.paths.userStartupFolder, ".Hidden.lnk", app);  // hidden files are not listed
    Link(state.paths.userStartupFolder, "desktop.ini", app);  // nor the folder's own settings
    // Windows opens any other file as a document at log-on: it is listed by its whole name.
    const std::string notes = AddBackslash(state.paths.userStartupFolder) + "Notes.txt";
    WriteText(notes, "not a shortcut");
    Link(state.paths.userStartupFolder, "NoTarget.lnk", "");  // a shortcut without a file target

    ScanStartupFolder(state, state.paths.userStartupFolder, TableKind::UserStartup);

    const Table& table = state.model.tables[TableKind::UserStartup];
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(Row(TableKind::UserStartup, 1), (Texts{"App.exe", app, "-min"}));
    EXPECT_EQ(Row(TableKind::UserStartup, 2), (Texts{"Notes.txt", notes, ""}));
    EXPECT_EQ(Row(TableKind::UserStartup, 3), (Texts{"sync Tool", sync, R"(--profile "Home")"}));
    EXPECT_TRUE(table.Ticked(1));
    EXPECT_TRUE(table.Ticked(3));
    EXPECT_EQ(table.Icon(1), 2);
    EXPECT_EQ(table.Icon(2), 3);  // the file's own, as any file named by a row
    EXPECT_EQ(table.Icon(3), 4);
}

TEST_F(ScanningTest, FolderNamesAreOrderedIgnoringCase) {
    const std::string app = Program("app.exe", "app");
    for (const char* name : {"beta.lnk", "Alpha.lnk", "gamma.lnk", "Delta.lnk"})
        Link(state.paths.userStartupFolder, name, app);
    ScanStartupFolder(state, state.paths.userStartupFolder, TableKind::UserStartup);
    Texts names;
    for (int i = 1; i <= state.model.tables[TableKind::UserStartup].Count(); ++i)
        names.push_back(state.model.tables[TableKind::UserStartup].Name(i));
    EXPECT_EQ(names, (Texts{"Alpha", "beta", "Delta", "gamma"}));
}

TEST_F(ScanningTest, MissingOrEmptyFolderAddsNothing) {
    ScanStartupFolder(state, "", TableKind::UserStartup);
    ScanStartupFolder(state, machine.machineRoot + "/No Such Folder", TableKind::UserStartup);
    EXPECT_TRUE(state.model.tables[TableKind::UserStartup].Empty());
}

TEST_F(ScanningTest, RunKeyListsValuesThatReadAsText) {
    const std::string tray = Program("Audio/tray.exe", "tray");
    SetValue(TableKind::HKLM_Run, "", ValueType::String, "the default value is never listed");
    SetValue(TableKind::HKLM_Run, "Audio Tray", ValueType::String, "\"" + tray + "\" -s");
    SetValue(TableKind::HKLM_Run, "Counter", ValueType::Dword, std::string("\x2a\0\0\0", 4));
    SetValue(TableKind::HKLM_Run, "Security", ValueType::ExpandString,
             R"(%windir%\system32\SecurityHealthSystray.exe)");
    SetValue(TableKind::HKLM_Run, "Blob", ValueType::Binary, "raw");
    SetValue(TableKind::HKLM_Run, "Multi", ValueType::MultiString, std::string("one\0two\0", 8));
    SetValue(TableKind::HKLM_Run, "Big", ValueType::Qword, std::string("\0\0\0\0\1\0\0\0", 8));
    SetValue(TableKind::HKLM_Run, "Empty", ValueType::String, "");
    SetValue(TableKind::HKLM_Run, "Huge", ValueType::String, std::string(1500, 'h'));

    ScanRunKey(state, RootKey::LocalMachine, kRunKey, TableKind::HKLM_Run, true);

    const Table& table = state.model.tables[TableKind::HKLM_Run];
    ASSERT_EQ(table.Count(), 4);
    EXPECT_EQ(Row(TableKind::HKLM_Run, 1), (Texts{"Audio Tray", "\"" + tray + "\" -s"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 2), (Texts{"Counter", "42"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 3), (Texts{"Security", R"(%windir%\system32\SecurityHealthSystray.exe)"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 4), (Texts{"Blob", "raw"}));
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(table.Ticked(i));
    EXPECT_EQ(table.Icon(1), 2);  // the program behind the quoted command line
    EXPECT_EQ(table.Icon(2), 1);
    EXPECT_EQ(table.Icon(3), 1);  // no such file on this machine
}

TEST_F(ScanningTest, ExpandStringValuesFindTheirFileThroughTheEnvironment) {
    const std::string exe = Program("Windows/System32/SecurityHealthSystray.exe", "health");
    state.paths.environment.emplace_back("WinDir", machine.machineRoot + "/Programs/Windows");
    SetValue(TableKind::HKCU_Run, "Security", ValueType::ExpandString, "%windir%/System32/SecurityHealthSystray.exe");
    ScanRunKey(state, RootKey::CurrentUser, kRunKey, TableKind::HKCU_Run, true);
    ASSERT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 1);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Icon(1), 2);
}

TEST_F(ScanningTest, DefaultValueOnlyOrMissingKeyGivesAnEmptyTable) {
    SetValue(TableKind::RunOnce, "", ValueType::String, "default.exe");
    ScanRunKey(state, RootKey::LocalMachine, kRunOnceKey, TableKind::RunOnce, true);
    ScanRunKey(state, RootKey::LocalMachine, "SOFTWARE\\NoSuchKey", TableKind::RunOnce, true);
    EXPECT_TRUE(state.model.tables[TableKind::RunOnce].Empty());
}

TEST_F(ScanningTest, EqualDataUnderTwoNamesGivesTwoRows) {
    SetValue(TableKind::HKCU_Run, "One", ValueType::String, "same.exe");
    SetValue(TableKind::HKCU_Run, "Two", ValueType::String, "same.exe");
    ScanRunKey(state, RootKey::CurrentUser, kRunKey, TableKind::HKCU_Run, false);
    ASSERT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 2);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Name(1), "One");
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Name(2), "Two");
    EXPECT_FALSE(state.model.tables[TableKind::HKCU_Run].Ticked(1));  // the given state
}

TEST_F(ScanningTest, ScanPlacesFillsTheFiveTablesFromTheirOwnPlaces) {
    const std::string a = Program("a.exe", "a"), b = Program("b.exe", "b");
    Link(state.paths.userStartupFolder, "User A.lnk", a);
    Link(state.paths.commonStartupFolder, "Common B.lnk", b, "/b");
    SetValue(TableKind::HKLM_Run, "Machine", ValueType::String, a);
    SetValue(TableKind::HKCU_Run, "User", ValueType::String, b);
    SetValue(TableKind::RunOnce, "Once", ValueType::String, a + " --once");

    ScanPlaces(state);

    EXPECT_EQ(Row(TableKind::UserStartup, 1), (Texts{"User A", a, ""}));
    EXPECT_EQ(Row(TableKind::CommonStartup, 1), (Texts{"Common B", b, "/b"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 1), (Texts{"Machine", a}));
    EXPECT_EQ(Row(TableKind::HKCU_Run, 1), (Texts{"User", b}));
    EXPECT_EQ(Row(TableKind::RunOnce, 1), (Texts{"Once", a + " --once"}));
    for (TableKind kind : kAllTables) EXPECT_EQ(state.model.tables[kind].Count(), IsLocationTable(kind) ? 1 : 0);
    // One icon per distinct program, in the order first met.
    EXPECT_EQ(state.model.tables[TableKind::UserStartup].Icon(1), 2);
    EXPECT_EQ(state.model.tables[TableKind::CommonStartup].Icon(1), 3);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(1), 2);
    EXPECT_EQ(state.model.tables[TableKind::RunOnce].Icon(1), 2);
}

}  // namespace
}  // namespace kestrune::test

namespace kestrune::test {
namespace {

TEST_F(ScanningTest, RowsAddedInSlimlineModeGainTheirIconsLater) {
    const std::string a = Program("a.exe", "a");
    const std::string later = machine.machineRoot + "/Programs/later.exe";
    SetValue(TableKind::HKLM_Run, "A", ValueType::String, "\"" + a + "\" -q");
    SetValue(TableKind::HKLM_Run, "Later", ValueType::String, later);
    state.view.slimlineMode = true;
    ScanPlaces(state);
    state.model.tables[TableKind::Known].Add({a}, true);
    state.model.tables[TableKind::Delayed].Add({"Keep", a, "5", "", ""}, true, 7);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(1), 1);

    state.view.slimlineMode = false;
    ApplyRowIcons(state);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(1), 2);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(2), 1);  // no such file yet
    EXPECT_EQ(state.model.tables[TableKind::Known].Icon(1), 2);     // Known holds its path first
    EXPECT_EQ(state.model.tables[TableKind::Delayed].Icon(1), 7);   // a given number stays

    WriteText(later, "now it exists");
    ApplyRowIcons(state);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(2), 3);
}

}  // namespace
}  // namespace kestrune::test
