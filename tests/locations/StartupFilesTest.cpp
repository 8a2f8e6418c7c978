// Files of a Startup folder that are not shortcuts (a script, an Internet shortcut): listed with
// the file as the path, and moved whole into the program's own folder and back, never rewritten.

#include "LocationFixture.h"
#include "locations/ItemEditor.h"
#include "locations/LocationChange.h"
#include "locations/StartupFiles.h"
#include "locations/TableOperations.h"
#include "platform/StartupApproval.h"
#include "platform/emulated/Refusals.h"
#include "store/SettingsDocument.h"

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;

// Bytes a text rewrite would not keep: CR LF, a lone CR, a NUL and bytes that are not UTF-8.
using namespace std::string_literals;
const std::string kScript = "@echo off\r\nrobocopy C:\\Data D:\\Backup /MIR\r\n\x00\xff\xfe\r"s;

class StartupFilesTest : public LocationFixture {
protected:
    std::string InFolder(const std::string& fileName) { return AddBackslash(userFolder) + fileName; }
    std::string KeptFolder() { return machine.appFolder + kKeptFilesFolder + "/User/"; }
    void Rescan() { ASSERT_TRUE(RescanLocation(state, TableKind::UserStartup)); }
    Table& User() { return state.model.tables[TableKind::UserStartup]; }
    int Find(TableKind kind, const std::string& name) {
        for (int p = 1; p <= state.model.tables[kind].Count(); ++p)
            if (state.model.tables[kind].Name(p) == name) return p;
        return 0;
    }
    void Click(TableKind kind, int position) {
        state.model.tables[kind].SetTicked(position, !state.model.tables[kind].Ticked(position));
        fe.ShowOutcome(CarryOutLocationChange(state, kind, position));
    }
    std::string Document() { return ReadText(state.paths.settingsDocumentPath); }
};

TEST_F(StartupFilesTest, FilesThatAreNoShortcutsAreListedWithTheirFileAsThePath) {
    const std::string app = Program("app.exe", "app");
    Link(userFolder, "App.lnk", app, "-min");
    WriteText(InFolder("Backup.bat"), kScript);
    WriteText(InFolder("Site.url"), "[InternetShortcut]\r\nURL=https://example.org/\r\n");
    WriteText(InFolder("Desktop.ini"), "[.ShellClassInfo]\r\n");
    WriteText(InFolder("Broken.lnk"), "no shortcut inside");
    // Task Manager switched the script off by its file name.
    const auto approvals = *FolderApprovalsOf(TableKind::UserStartup);
    ASSERT_TRUE(Registry().CreateKey(approvals.root, approvals.subkey).Ok());
    ASSERT_TRUE(Registry()
                    .SetValue(approvals.root, approvals.subkey, platform::EncodeStartupApproval("Backup.bat", true, 1))
                    .Ok());

    Rescan();

    ASSERT_EQ(User().Count(), 3);
    EXPECT_EQ(Row(TableKind::UserStartup, 1), (std::vector<std::string>{"App", app, "-min"}));
    EXPECT_EQ(Row(TableKind::UserStartup, 2), (std::vector<std::string>{"Backup.bat", InFolder("Backup.bat"), ""}));
    EXPECT_EQ(Row(TableKind::UserStartup, 3), (std::vector<std::string>{"Site.url", InFolder("Site.url"), ""}));
    EXPECT_FALSE(User().Details(1).file.has_value());
    EXPECT_TRUE(User().Details(3).file.has_value());
    EXPECT_TRUE(User().Ticked(3));
    EXPECT_FALSE(User().Ticked(2));
    EXPECT_TRUE(User().Place(2).disabledInWindows);
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript) << "a scan never changes a place";
}

TEST_F(StartupFilesTest, DisablingMovesTheFileAsideAfterStoringTheRowAndEnablingPutsItBackWhole) {
    WriteText(InFolder("Backup.bat"), kScript);
    Rescan();
    ASSERT_EQ(User().Count(), 1);

    Click(TableKind::UserStartup, 1);
    EXPECT_TRUE(fe.messages.empty()) << fe.LastMessage();
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    const std::string kept = KeptFolder() + "Backup.bat";
    EXPECT_EQ(ReadText(kept), kScript);
    ASSERT_TRUE(User().Details(1).file.has_value());
    EXPECT_EQ(User().Details(1).file->keptAt, kept);
    // On disk before the file left: a restart finds the row and where its file waits.
    EXPECT_NE(Document().find("<startfile>" + kept + "</startfile>"), std::string::npos) << Document();
    Rescan();
    ASSERT_EQ(User().Count(), 1);
    EXPECT_FALSE(User().Ticked(1));
    EXPECT_EQ(User().Details(1).file->keptAt, kept);

    Click(TableKind::UserStartup, 1);
    EXPECT_TRUE(fe.messages.empty()) << fe.LastMessage();
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript);
    EXPECT_FALSE(fs::exists(kept));
    Rescan();
    ASSERT_EQ(User().Count(), 1) << "the stored row is gone once the file is back";
    EXPECT_TRUE(User().Ticked(1));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Moving start-up file aside: " + InFolder("Backup.bat"),
                                                    "Putting start-up file back: " + InFolder("Backup.bat")}));
}

TEST_F(StartupFilesTest, SameNamesNeverMeetInEitherFolder) {
    WriteText(InFolder("Backup.bat"), "first");
    Rescan();
    Click(TableKind::UserStartup, 1);
    // Another program puts a file of that name (in other letters) there meanwhile.
    WriteText(InFolder("BACKUP.BAT"), "second");
    Rescan();
    const int second = Find(TableKind::UserStartup, "BACKUP.BAT");
    const int first = Find(TableKind::UserStartup, "Backup.bat");
    ASSERT_GT(second, 0);
    ASSERT_GT(first, 0);

    Click(TableKind::UserStartup, first);
    EXPECT_EQ(fe.LastMessage(), NameTakenMessage("Backup.bat", TableKind::UserStartup));
    EXPECT_FALSE(User().Ticked(first));
    EXPECT_EQ(ReadText(InFolder("BACKUP.BAT")), "second");

    // Disabled too, it waits beside the first one under a name of its own.
    Click(TableKind::UserStartup, Find(TableKind::UserStartup, "BACKUP.BAT"));
    EXPECT_EQ(ReadText(KeptFolder() + "Backup.bat"), "first");
    EXPECT_EQ(ReadText(KeptFolder() + "BACKUP (2).BAT"), "second");
    Click(TableKind::UserStartup, Find(TableKind::UserStartup, "Backup.bat"));
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), "first");
    EXPECT_EQ(ReadText(KeptFolder() + "BACKUP (2).BAT"), "second");
}

TEST_F(StartupFilesTest, ARefusedFolderKeepsTheFileAndTheTick) {
    WriteText(InFolder("Backup.bat"), kScript);
    Rescan();
    platform::Refusals(machine.machineRoot).Add(userFolder);
    Click(TableKind::UserStartup, 1);
    EXPECT_NE(fe.LastMessage().find(kSystemRefusedLine), std::string::npos) << fe.LastMessage();
    EXPECT_TRUE(User().Ticked(1));
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript);
    EXPECT_EQ(User().Details(1).file->keptAt, "") << "the row must not claim the file waits elsewhere";
    EXPECT_EQ(Document().find("Backup.bat"), std::string::npos) << Document();
}

TEST_F(StartupFilesTest, DeletingMovingAndBringingBackNeverLoseTheFile) {
    WriteText(InFolder("Backup.bat"), kScript);
    Rescan();
    ASSERT_EQ(DeleteRow(state, TableKind::UserStartup, 1).status, OutcomeStatus::Done);
    const Table& deleted = state.model.tables[TableKind::Deleted];
    ASSERT_EQ(deleted.Count(), 1);
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    EXPECT_EQ(ReadText(deleted.Details(1).file->keptAt), kScript);

    // Only the Startup folders can hold a file; a Run key would point at nothing.
    const Outcome said = MoveRow(state, TableKind::Deleted, 1, TableKind::HKCU_Run);
    EXPECT_EQ(said.status, OutcomeStatus::Refused);
    EXPECT_EQ(said.messages.back().text, "Backup.bat" + std::string(kFileStaysInFolders));
    EXPECT_EQ(deleted.Count(), 1);

    // "Where it came from": back in its folder, ticked as it was.
    EXPECT_TRUE(MoveRowsBack(state, {1}).Succeeded());
    ASSERT_EQ(User().Count(), 1);
    EXPECT_TRUE(User().Ticked(1));
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript);

    // To the other folder, live: the file goes there whole.
    ASSERT_EQ(MoveRow(state, TableKind::UserStartup, 1, TableKind::CommonStartup).status, OutcomeStatus::Done);
    const std::string common = AddBackslash(state.paths.commonStartupFolder) + "Backup.bat";
    EXPECT_EQ(ReadText(common), kScript);
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    EXPECT_EQ(state.model.tables[TableKind::CommonStartup].Text(1, col::Path), common);
}

TEST_F(StartupFilesTest, RenamingRenamesTheFileAndItsPathCannotBeEdited) {
    WriteText(InFolder("Backup.bat"), kScript);
    Rescan();
    auto editor = OpenItemEditor(User(), 1);
    ASSERT_TRUE(editor.has_value());
    editor->name = "Nightly.bat";
    ConfirmItemEditor(state, TableKind::UserStartup, *editor);
    EXPECT_EQ(editor->focus, EditorField::None);
    EXPECT_EQ(ReadText(InFolder("Nightly.bat")), kScript);
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    EXPECT_EQ(User().Text(1, col::Path), InFolder("Nightly.bat"));

    editor = OpenItemEditor(User(), 1);
    editor->path = "C:\\elsewhere\\Nightly.bat";
    const Outcome refused = ConfirmItemEditor(state, TableKind::UserStartup, *editor);
    EXPECT_EQ(editor->focus, EditorField::Path);
    EXPECT_EQ(refused.messages.back().text, "Nightly.bat" + std::string(kFilePathIsTheFile));
    EXPECT_EQ(ReadText(InFolder("Nightly.bat")), kScript);
    EXPECT_EQ(User().Text(1, col::Path), InFolder("Nightly.bat"));
}

}  // namespace
}  // namespace kestrune::test
