// The table commands as a user drives them, against an emulated machine: what the tables show
// afterwards, what the places hold, and what the program asked.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Text.h"
#include "locations/Import.h"
#include "locations/ItemEditor.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "locations/TableOperations.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

class TableOperationsTest : public ::testing::Test {
protected:
    TableOperationsTest() : state(*machine.platform, clock) {
        state.InProgramFolder(machine.appFolder).BeginLog("test started").WithTimers(timers);
        DetermineStartupFolders(state.services.platform, state.paths);
    }

    void SetRunValue(RootKey root, std::string_view subkey, const std::string& name, const std::string& data) {
        state.services.platform.registry().SetValue(root, subkey, {name, ValueType::String, data});
    }
    std::optional<std::string> RunValue(const std::string& name) {
        auto v = state.services.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name);
        return v ? std::optional<std::string>(v->data) : std::nullopt;
    }
    void Show(TableKind kind, std::vector<int> selected = {}) {
        state.view.currentTab = Number(kind) + 1;
        fe.selection[static_cast<size_t>(Number(kind))] = std::move(selected);
    }
    // A command's outcome, shown as the window shows it; what it came to.
    OutcomeStatus Shown(const Outcome& outcome) {
        fe.ShowOutcome(outcome);
        return outcome.status;
    }
    std::vector<std::string> Names(TableKind kind) {
        std::vector<std::string> out;
        for (int p = 1; p <= state.model.tables[kind].Count(); ++p) out.push_back(state.model.tables[kind].Name(p));
        return out;
    }

    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
};

TEST_F(TableOperationsTest, DeletingATickedRunRowTakesItsValueAndKeepsTheRowInDeleted) {
    SetRunValue(RootKey::CurrentUser, kRunKey, "Tray", "\"C:\\Tray\\tray.exe\" -q");
    ScanPlaces(state);
    Shown(DeleteRows(state, fe, TableKind::HKCU_Run, {1}));
    EXPECT_EQ(RunValue("Tray"), std::nullopt);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 0);
    const Table& deleted = state.model.tables[TableKind::Deleted];
    ASSERT_EQ(deleted.Count(), 1);
    EXPECT_EQ(deleted.Name(1), "Tray");
    EXPECT_EQ(deleted.Text(1, col::Path), "\"C:\\Tray\\tray.exe\" -q");
    EXPECT_FALSE(deleted.Ticked(1));
    // Stored already, not merely marked for the save at exit.
    EXPECT_FALSE(state.model.settingsChanged);
    const std::string stored = test::ReadText(state.paths.settingsDocumentPath);
    EXPECT_NE(stored.find("<Deleted>"), std::string::npos) << stored;
    EXPECT_EQ(stored.find("<HKCU_Run>"), std::string::npos) << stored;
    EXPECT_TRUE(fe.questions.empty());
}

TEST_F(TableOperationsTest, DeletingThreeRowsOfDeletedAsksTwice) {
    Table& deleted = state.model.tables[TableKind::Deleted];
    for (const char* name : {"a", "b", "c", "d"}) deleted.Add({name, "x"});
    fe.yesNoAnswers = {true, true};
    Shown(DeleteRows(state, fe, TableKind::Deleted, {1, 2, 3}));
    EXPECT_EQ(fe.questions, (std::vector<std::string>{kAskDeleteItem, kAskDeleteAll}));
    EXPECT_EQ(Names(TableKind::Deleted), (std::vector<std::string>{"d"}));
}

TEST_F(TableOperationsTest, DecliningTheFirstDeletionAsksEachRowOnItsOwn) {
    Table& deleted = state.model.tables[TableKind::Deleted];
    for (const char* name : {"a", "b", "c"}) deleted.Add({name, "x"});
    fe.yesNoAnswers = {false, true, true};
    Shown(DeleteRows(state, fe, TableKind::Deleted, {1, 2, 3}));
    EXPECT_EQ(fe.questions, (std::vector<std::string>(3, kAskDeleteItem)));
    EXPECT_EQ(Names(TableKind::Deleted), (std::vector<std::string>{"c"}));
}

TEST_F(TableOperationsTest, DeleteUntickedOnDeletedAsksNothing) {
    Table& deleted = state.model.tables[TableKind::Deleted];
    deleted.Add({"a", "x"});
    deleted.Add({"b", "y"}, true);
    deleted.Add({"c", "z"});
    Shown(DeleteUntickedRows(state, TableKind::Deleted));
    EXPECT_EQ(Names(TableKind::Deleted), (std::vector<std::string>{"b"}));
    EXPECT_TRUE(fe.questions.empty());
}

TEST_F(TableOperationsTest, DuplicatesKeepTheFirstRowEvenWhenTheTickedOneIsLater) {
    SetRunValue(RootKey::CurrentUser, kRunKey, "Sync", "C:\\sync.exe");
    Table& run = state.model.tables[TableKind::HKCU_Run];
    run.Add({"sync", "C:\\old\\sync.exe"});  // a stored, disabled row above the live one
    ScanRunKey(state, RootKey::CurrentUser, kRunKey, TableKind::HKCU_Run, true);
    run.Add({"Other", "C:\\other.exe"});
    run.Add({"SYNC", "C:\\third.exe"});

    Show(TableKind::HKCU_Run);
    EXPECT_EQ(Shown(DeleteDuplicateRows(state, TableKind::HKCU_Run)), OutcomeStatus::Done);
    EXPECT_EQ(Names(TableKind::HKCU_Run), (std::vector<std::string>{"sync", "Other"}));
    EXPECT_EQ(RunValue("Sync"), std::nullopt);  // the live entry was a duplicate: it left its place
    EXPECT_EQ(fe.LastMessage(), "2 duplicate(s) deleted.");
    // Deleted in the walk's order: the bottom duplicate first.
    EXPECT_EQ(Names(TableKind::Deleted), (std::vector<std::string>{"SYNC", "Sync"}));
}

TEST_F(TableOperationsTest, NoDuplicatesStillReportsTheCount) {
    state.model.tables[TableKind::Known].Add({"C:\\a.exe"});
    Show(TableKind::Known);
    EXPECT_EQ(Shown(DeleteDuplicateRows(state, TableKind::Known)), OutcomeStatus::NothingToDo);
    EXPECT_EQ(fe.LastMessage(), "0 duplicate(s) deleted.");
    EXPECT_EQ(fe.messages.back().icon, MessageIcon::Information);
}

TEST_F(TableOperationsTest, DuplicatesInAllTablesAreCountedTogetherAndReportedOnce) {
    state.model.tables[TableKind::Known].Add({"C:\\a.exe"});
    state.model.tables[TableKind::Known].Add({"c:\\A.EXE"});
    state.model.tables[TableKind::Delayed].Add({"x", "C:\\x.exe", "5"});
    state.model.tables[TableKind::Delayed].Add({"X", "C:\\x.exe", "9"});
    state.model.tables[TableKind::Delayed].Add({"y", "C:\\y.exe", "5"});
    EXPECT_EQ(Shown(DeleteDuplicateRows(state, std::nullopt)), OutcomeStatus::Done);
    EXPECT_EQ(state.model.tables[TableKind::Known].Count(), 1);
    EXPECT_EQ(Names(TableKind::Delayed), (std::vector<std::string>{"x", "y"}));
    ASSERT_EQ(fe.messages.size(), 1u);  // one report for all tables, not one per table
    EXPECT_EQ(fe.LastMessage(), "2 duplicate(s) deleted.");
}

TEST_F(TableOperationsTest, EnableDisableFlipsEachSelectedRowInItsPlace) {
    Table& run = state.model.tables[TableKind::HKCU_Run];
    run.Add({"On", "C:\\on.exe"}, true);
    run.Add({"Off", "C:\\off.exe"}, false);
    SetRunValue(RootKey::CurrentUser, kRunKey, "On", "C:\\on.exe");
    state.model.settingsChanged = false;
    Shown(SetTicks(state, TableKind::HKCU_Run, {1, 2}, std::nullopt));
    EXPECT_FALSE(run.Ticked(1));
    EXPECT_TRUE(run.Ticked(2));
    EXPECT_EQ(RunValue("On"), std::nullopt);
    EXPECT_EQ(RunValue("Off"), "C:\\off.exe");
    const std::string stored = test::ReadText(state.paths.settingsDocumentPath);
    EXPECT_NE(stored.find("<name>On</name>"), std::string::npos) << stored;
    EXPECT_EQ(stored.find("<name>Off</name>"), std::string::npos) << stored;
}

TEST_F(TableOperationsTest, MovingARowToItsOwnTableLeavesEverythingAsItWas) {
    Table& run = state.model.tables[TableKind::HKCU_Run];
    run.Add({"Stay", "C:\\stay.exe"}, true);
    SetRunValue(RootKey::CurrentUser, kRunKey, "Stay", "C:\\stay.exe");
    EXPECT_EQ(Shown(MoveRows(state, TableKind::HKCU_Run, {1}, TableKind::HKCU_Run)), OutcomeStatus::NothingToDo);
    EXPECT_EQ(Names(TableKind::HKCU_Run), (std::vector<std::string>{"Stay"}));
    EXPECT_EQ(RunValue("Stay"), "C:\\stay.exe");
}

TEST_F(TableOperationsTest, AShortcutMovesToARunKeyAndBackWithItsArguments) {
    Table& user = state.model.tables[TableKind::UserStartup];
    user.Add({"Sync Tool", "C:\\Program Files\\Sync\\sync tool.exe", "--minimized --profile \"Home\""});
    Show(TableKind::UserStartup, {1});
    fe.ShowOutcome(SetRowTick(state, TableKind::UserStartup, 1, true));
    const std::string link = AddBackslash(state.paths.userStartupFolder) + "Sync Tool.lnk";
    ASSERT_TRUE(state.services.FileExists(link));

    Shown(MoveRows(state, TableKind::UserStartup, {1}, TableKind::HKCU_Run));
    EXPECT_FALSE(state.services.FileExists(link));
    EXPECT_EQ(RunValue("Sync Tool"), "\"C:\\Program Files\\Sync\\sync tool.exe\" --minimized --profile \"Home\"");
    ASSERT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 1);
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(1));

    Shown(MoveRows(state, TableKind::HKCU_Run, {1}, TableKind::UserStartup));
    EXPECT_EQ(RunValue("Sync Tool"), std::nullopt);
    const Table& back = state.model.tables[TableKind::UserStartup];
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Text(1, col::Path), "C:\\Program Files\\Sync\\sync tool.exe");
    EXPECT_EQ(back.Text(1, col::Arguments), "--minimized --profile \"Home\"");
    const auto shortcut = state.services.platform.shell().ReadShortcut(link);
    ASSERT_TRUE(shortcut);
    EXPECT_EQ(shortcut->arguments, "--minimized --profile \"Home\"");
}

TEST_F(TableOperationsTest, AShortcutWithoutArgumentsComesBackUnchanged) {
    state.model.tables[TableKind::CommonStartup].Add({"Calc", "C:\\windows\\system32\\calc.exe", ""});
    Shown(MoveRows(state, TableKind::CommonStartup, {1}, TableKind::RunOnce));
    EXPECT_EQ(state.model.tables[TableKind::RunOnce].Text(1, col::Path), "\"C:\\windows\\system32\\calc.exe\"");
    Shown(MoveRows(state, TableKind::RunOnce, {1}, TableKind::CommonStartup));
    EXPECT_EQ(state.model.tables[TableKind::CommonStartup].Text(1, col::Path), "C:\\windows\\system32\\calc.exe");
    EXPECT_EQ(state.model.tables[TableKind::CommonStartup].Text(1, col::Arguments), "");
}

TEST_F(TableOperationsTest, MovingIntoDelayedRecordsWhereTheRowCameFrom) {
    SetRunValue(RootKey::CurrentUser, kRunKey, "Mail", "C:\\mail.exe /tray");
    ScanPlaces(state);
    Shown(MoveRows(state, TableKind::HKCU_Run, {1}, TableKind::Delayed));
    const Table& delayed = state.model.tables[TableKind::Delayed];
    ASSERT_EQ(delayed.Count(), 1);
    EXPECT_EQ(delayed.Text(1, col::Delay), "1");
    EXPECT_EQ(delayed.Text(1, col::Previous), "HKCU Run");
    EXPECT_TRUE(delayed.Ticked(1));
    EXPECT_EQ(RunValue("Mail"), std::nullopt);
}

TEST_F(TableOperationsTest, RecordingSetsKnownTicksWithoutAddingTwice) {
    Table& run = state.model.tables[TableKind::HKLM_Run];
    run.Add({"a", "C:\\a.exe"}, true);
    run.Add({"b", "C:\\b.exe"}, false);
    Show(TableKind::HKLM_Run);
    RecordTable(state, TableKind::HKLM_Run);
    run.SetTicked(1, false);
    RecordTable(state, TableKind::HKLM_Run);
    const Table& known = state.model.tables[TableKind::Known];
    ASSERT_EQ(known.Count(), 2);
    EXPECT_FALSE(known.Ticked(1));
    EXPECT_FALSE(known.Ticked(2));
    EXPECT_TRUE(RecordRow(state, TableKind::HKLM_Run, 1, true) == false);
    run.SetText(1, col::Path, "C:\\A.EXE");  // same key in another case
    EXPECT_FALSE(RecordRow(state, TableKind::HKLM_Run, 1, true));
}

TEST_F(TableOperationsTest, EditorValidatesNameThenPath) {
    ItemEditorState editor = *OpenItemEditor(state.model.tables[TableKind::HKCU_Run], std::nullopt);
    EXPECT_EQ(editor.caption, "Kestrune - New");
    EXPECT_FALSE(editor.showDelay);
    Outcome result = ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    EXPECT_EQ(editor.focus, EditorField::Name);
    EXPECT_EQ(result.messages.back().text, "Please enter a name.");
    editor.name = "New";
    result = ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    EXPECT_EQ(editor.focus, EditorField::Path);
    EXPECT_EQ(result.messages.back().text, "Please enter a path.");
    editor.path = "C:\\new.exe";
    ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    EXPECT_EQ(editor.focus, EditorField::None);
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 1);
    EXPECT_FALSE(run.Ticked(1));  // a new entry is disabled until ticked
    EXPECT_EQ(RunValue("New"), std::nullopt);
}

TEST_F(TableOperationsTest, EditingTheEntryOfATickedRunRowMovesTheValue) {
    SetRunValue(RootKey::CurrentUser, kRunKey, "Old", "C:\\old.exe");
    ScanPlaces(state);
    ItemEditorState editor = *OpenItemEditor(state.model.tables[TableKind::HKCU_Run], 1);
    EXPECT_EQ(editor.caption, "Kestrune - Edit");
    EXPECT_EQ(editor.path, "C:\\old.exe");

    editor.name = "New";
    editor.path = "C:\\new.exe";
    ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    EXPECT_EQ(RunValue("Old"), std::nullopt);
    EXPECT_EQ(RunValue("New"), "C:\\new.exe");
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(1));
}

TEST_F(TableOperationsTest, MovingBackFromDeletedRestoresTheValueAsItWasAndRefusesRowsThatDoNotKnowTheirTable) {
    state.services.platform.registry().SetValue(RootKey::CurrentUser, kRunKey,
                                                {"App", ValueType::ExpandString, "%ProgramFiles%\\app.exe"});
    ScanPlaces(state);
    Shown(DeleteRows(state, fe, TableKind::HKCU_Run, {1}));
    ASSERT_EQ(RunValue("App"), std::nullopt);
    state.model.tables[TableKind::Deleted].Add({"Old", "C:\\old.exe"});  // from a document without origins

    EXPECT_EQ(Shown(MoveRowsBack(state, {1})), OutcomeStatus::Done);
    const auto value = state.services.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, "App");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, ValueType::ExpandString);
    EXPECT_EQ(value->data, "%ProgramFiles%\\app.exe");
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(1));

    EXPECT_EQ(Shown(MoveRowsBack(state, {1})), OutcomeStatus::Refused);
    EXPECT_EQ(fe.LastMessage(), std::string("\"Old\"") + kOriginUnknown);
    EXPECT_EQ(Names(TableKind::Deleted), std::vector<std::string>{"Old"});
}

TEST_F(TableOperationsTest, ANameChangeAloneRenamesTheValueInItsPlace) {
    SetRunValue(RootKey::CurrentUser, kRunKey, "Old", "C:\\old.exe");
    SetRunValue(RootKey::CurrentUser, kRunKey, "Other", "C:\\other.exe");
    ScanPlaces(state);
    ItemEditorState editor = *OpenItemEditor(state.model.tables[TableKind::HKCU_Run], 1);
    editor.name = "Renamed";
    editor.path = "C:\\OLD.exe";  // differs only in case: unchanged
    EXPECT_EQ(ConfirmItemEditor(state, TableKind::HKCU_Run, editor).status, OutcomeStatus::Done);
    EXPECT_EQ(RunValue("Old"), std::nullopt);
    EXPECT_EQ(RunValue("Renamed"), "C:\\old.exe");
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Name(1), "Renamed");

    // Onto a name that starts from the place already: refused, and nothing changes.
    editor = *OpenItemEditor(state.model.tables[TableKind::HKCU_Run], 1);
    editor.name = "OTHER";
    const Outcome refused = ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    EXPECT_EQ(refused.status, OutcomeStatus::Refused);
    EXPECT_EQ(editor.focus, EditorField::Name);
    EXPECT_EQ(RunValue("Renamed"), "C:\\old.exe");
    EXPECT_EQ(RunValue("Other"), "C:\\other.exe");
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Name(1), "Renamed");

    // Another spelling of its own name is a rename too.
    editor = *OpenItemEditor(state.model.tables[TableKind::HKCU_Run], 1);
    editor.name = "RENAMED";
    ConfirmItemEditor(state, TableKind::HKCU_Run, editor);
    const auto values = state.services.platform.registry().EnumValues(RootKey::CurrentUser, kRunKey);
    ASSERT_TRUE(values);
    EXPECT_NE(std::find_if(values->begin(), values->end(), [](const auto& v) { return v.name == "RENAMED"; }),
              values->end());
}

TEST_F(TableOperationsTest, EditingDelayedAndProcessRowsKeepsTheirPriority) {
    state.model.tables[TableKind::Delayed].Add({"d", "C:\\d.exe", "-5", "HKCU Run", "high"});
    ItemEditorState editor = *OpenItemEditor(state.model.tables[TableKind::Delayed], 1);
    EXPECT_TRUE(editor.showDelay);
    EXPECT_EQ(editor.delay, "-5");
    EXPECT_EQ(editor.priority, "High");
    editor.name = "dd";
    ConfirmItemEditor(state, TableKind::Delayed, editor);
    EXPECT_EQ(state.model.tables[TableKind::Delayed].Text(1, col::Previous), "HKCU Run");
    EXPECT_EQ(state.model.tables[TableKind::Delayed].Text(1, col::DelayedPriority), "High");

    state.model.tables[TableKind::Process].Add({"p.exe", "/usr/bin/p", "Below Normal", ""}, true);
    editor = *OpenItemEditor(state.model.tables[TableKind::Process], 1);
    EXPECT_TRUE(editor.fullExeName);
    EXPECT_FALSE(editor.showDelay);
    editor.name = "q.exe";
    ConfirmItemEditor(state, TableKind::Process, editor);
    EXPECT_EQ(state.model.tables[TableKind::Process].Text(1, col::ProcessPriority), "Below Normal");
}

TEST_F(TableOperationsTest, ImportTwiceAddsEveryEntryTwice) {
    auto& registry = state.services.platform.registry();
    const std::string base = "Software\\tovk\\StartupCPL\\";
    registry.CreateKey(RootKey::CurrentUser, base + "Disabled\\HKCU-Run");
    registry.CreateKey(RootKey::CurrentUser, base + "Deleted");
    SetRunValue(RootKey::CurrentUser, base + "Disabled\\HKCU-Run", "Updater", "C:\\upd.exe");
    SetRunValue(RootKey::CurrentUser, base + "Deleted", "Gone", "C:\\gone.exe");
    SetRunValue(RootKey::CurrentUser, kRunKey, "Updater", "C:\\upd.exe");
    ScanPlaces(state);
    state.model.settingsChanged = false;

    Shown(ImportStartupControlPanel(state));
    EXPECT_TRUE(state.model.settingsChanged);  // else the imported rows would not be saved at exit
    Shown(ImportStartupControlPanel(state));
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 3);
    EXPECT_EQ(run.CountTicked(), 1);  // the live one
    const Table& deleted = state.model.tables[TableKind::Deleted];
    ASSERT_EQ(deleted.Count(), 2);
    EXPECT_TRUE(deleted.Ticked(1));
    EXPECT_EQ(fe.LastMessage(), kImportDone);
    EXPECT_EQ(fe.LastStatus(), kImportDone);
    // Nothing was written to the place or taken from the source.
    EXPECT_EQ(registry.EnumValues(RootKey::CurrentUser, kRunKey)->size(), 1u);
    EXPECT_EQ(registry.EnumValues(RootKey::CurrentUser, base + "Deleted")->size(), 1u);
}

TEST_F(TableOperationsTest, ImportWithoutSourcesStillReports) {
    Shown(ImportStartupControlPanel(state));
    EXPECT_EQ(fe.LastMessage(), kImportDone);
    for (TableKind kind : kAllTables) EXPECT_EQ(state.model.tables[kind].Count(), 0);
}

}  // namespace
}  // namespace kestrune
