#include <filesystem>

#include "LocationFixture.h"

namespace kestrune::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

// Shortcut files and a Run key written by another implementation of the Windows formats.
class SampleFilesTest : public LocationFixture {};

TEST_F(SampleFilesTest, StartupFolderOfForeignShortcuts) {
    for (const auto& entry : fs::directory_iterator(SamplePath("lnk")))
        fs::copy_file(entry.path(), fs::path(state.paths.userStartupFolder) / entry.path().filename());
    ScanStartupFolder(state, state.paths.userStartupFolder, TableKind::UserStartup);
    ASSERT_EQ(state.model.tables[TableKind::UserStartup].Count(), 3);
    EXPECT_EQ(Row(TableKind::UserStartup, 1), (Texts{"Calculator", R"(C:\windows\system32\calc.exe)", ""}));
    EXPECT_EQ(Row(TableKind::UserStartup, 2), (Texts{"Jörg's App", R"(C:\Users\Jörg\app.exe)", "ö 日本"}));
    EXPECT_EQ(Row(TableKind::UserStartup, 3),
              (Texts{"Sync Tool", R"(C:\Program Files\Sync\sync tool.exe)", R"(--minimized --profile "Home")"}));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(state.model.tables[TableKind::UserStartup].Icon(i), 1);  // no such files here
}

TEST_F(SampleFilesTest, RunKeyExportedByAnotherRegistryEditor) {
    fs::copy_file(SamplePath("run_hklm.reg"), fs::path(machine.machineRoot) / "HKEY_LOCAL_MACHINE.reg",
                  fs::copy_options::overwrite_existing);
    ScanRunKey(state, RootKey::LocalMachine, kRunKey, TableKind::HKLM_Run, true);
    // The QWORD, the empty string and the multi-string are not listed.
    ASSERT_EQ(state.model.tables[TableKind::HKLM_Run].Count(), 4);
    EXPECT_EQ(Row(TableKind::HKLM_Run, 1), (Texts{"Audio Tray", R"("C:\Program Files\Audio\tray.exe" -s)"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 2), (Texts{R"(Backslash\Name)", R"(C:\x.exe)"}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 3), (Texts{"Blob", std::string("\x00\xff\x10", 3)}));
    EXPECT_EQ(Row(TableKind::HKLM_Run, 4), (Texts{"SecurityHealth", R"(%windir%\system32\SecurityHealthSystray.exe)"}));
}

}  // namespace
}  // namespace kestrune::test
