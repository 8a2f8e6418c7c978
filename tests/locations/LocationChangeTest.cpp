#include "LocationFixture.h"
#include "locations/LocationChange.h"
#include "locations/TableOperations.h"
#include "platform/emulated/Refusals.h"

namespace kestrune::test {
namespace {

using Texts = std::vector<std::string>;

class LocationChangeTest : public LocationFixture {
protected:
    int AddRow(TableKind kind, Texts texts, bool ticked) {
        return state.model.tables[kind].Add(std::move(texts), ticked);
    }
    // The user clicks the row's check box.
    void Click(TableKind kind, int position) {
        Table& table = state.model.tables[kind];
        table.SetTicked(position, !table.Ticked(position));
        fe.ShowOutcome(CarryOutLocationChange(state, kind, position));
    }
    std::string ShortcutFile(TableKind kind, const std::string& name) {
        return ShortcutFileOf(StartupFolderOf(state.paths, kind), name);
    }
    bool Removed(TableKind kind) { return state.model.selfMadeRemoval[static_cast<std::size_t>(Number(kind))]; }
    // Sets the row's tick (unticks by default) and carries it out.
    Outcome ApplyOutcome(TableKind kind, int position, bool ticked = false) {
        state.model.tables[kind].SetTicked(position, ticked);
        Outcome outcome = CarryOutLocationChange(state, kind, position);
        fe.ShowOutcome(outcome);
        return outcome;
    }
    // The system or the settings file said no, not one of the program's own rules.
    static bool Failed(const Outcome& outcome) {
        return outcome.status == OutcomeStatus::Refused && outcome.refusedBySystem;
    }
};

TEST_F(LocationChangeTest, TickingAndUntickingFolderRowsWritesAndDeletesShortcuts) {
    const std::string app = Program("app.exe", "app");
    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup}) {
        const int row = AddRow(kind, {"My App", app, "-min"}, false);
        Click(kind, row);
        const auto link = Platform().shell().ReadShortcut(ShortcutFile(kind, "My App"));
        ASSERT_TRUE(link.has_value());
        EXPECT_EQ(link->target, app);
        EXPECT_EQ(link->arguments, "-min");
        EXPECT_FALSE(Removed(kind));

        Click(kind, row);
        EXPECT_FALSE(Platform().files().FileExists(ShortcutFile(kind, "My App")));
        EXPECT_TRUE(Removed(kind));
        EXPECT_TRUE(state.model.tables[kind].Row(row).texts == (Texts{"My App", app, "-min"}));
    }
    EXPECT_EQ(LogLines(), (Texts{"Creating shortcut to " + app, "Deleting shortcut to " + app,
                                 "Creating shortcut to " + app, "Deleting shortcut to " + app}));
    EXPECT_TRUE(fe.messages.empty());
}

TEST_F(LocationChangeTest, WithoutAStartupFolderNoShortcutIsWrittenAnywhere) {
    const std::string app = Program("app.exe", "app");
    state.paths.userStartupFolder.clear();  // the shell named no Startup folder for this user
    const int row = AddRow(TableKind::UserStartup, {"Rootless", app, ""}, false);
    Click(TableKind::UserStartup, row);
    Click(TableKind::UserStartup, row);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(machine.folder.Path()))
        EXPECT_NE(entry.path().extension(), ".lnk") << entry.path();
    EXPECT_FALSE(std::filesystem::exists("/Rootless.lnk"));
    EXPECT_TRUE(state.model.tables[TableKind::UserStartup].Row(row).texts == (Texts{"Rootless", app, ""}));
}

TEST_F(LocationChangeTest, AnEnabledRowIsWrittenUnderItsCurrentNameButNeverOverAnotherEntry) {
    const std::string app = Program("app.exe", "app");
    const int row = AddRow(TableKind::UserStartup, {"Original", app, ""}, false);
    state.model.tables[TableKind::UserStartup].SetText(row, col::Name, "Renamed");
    Click(TableKind::UserStartup, row);
    EXPECT_FALSE(Platform().files().FileExists(ShortcutFile(TableKind::UserStartup, "Original")));
    const auto link = Platform().shell().ReadShortcut(ShortcutFile(TableKind::UserStartup, "Renamed"));
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, app);

    // Another program's shortcut of that name (in any letter case) is left as it is.
    std::string otherFile = ShortcutFile(TableKind::UserStartup, "other");
    otherFile.replace(otherFile.size() - 4, 4, ".LNK");
    WriteText(otherFile, "another program's file");
    const int other = AddRow(TableKind::UserStartup, {"Other", app, ""}, false);
    Click(TableKind::UserStartup, other);
    EXPECT_FALSE(state.model.tables[TableKind::UserStartup].Ticked(other));
    EXPECT_EQ(ReadText(otherFile), "another program's file");
    EXPECT_EQ(fe.LastMessage(), "Other already starts from Startup (user); rename one of them first.");

    SetValue(TableKind::HKCU_Run, "Updater", ValueType::String, "C:\\new.exe");
    const int stored = AddRow(TableKind::HKCU_Run, {"updater", "C:\\old.exe"}, false);
    Click(TableKind::HKCU_Run, stored);
    EXPECT_FALSE(state.model.tables[TableKind::HKCU_Run].Ticked(stored));
    EXPECT_EQ(Registry().QueryValue(RootKey::CurrentUser, kRunKey, "Updater")->data, "C:\\new.exe");
    EXPECT_EQ(fe.LastMessage(), "updater already starts from HKCU Run; rename one of them first.");
}

TEST_F(LocationChangeTest, UntickingARowWhoseShortcutIsGoneLogsNothingButMarksTheRemoval) {
    const int row = AddRow(TableKind::CommonStartup, {"Gone", "gone.exe", ""}, true);
    Click(TableKind::CommonStartup, row);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(Removed(TableKind::CommonStartup));
    EXPECT_FALSE(Removed(TableKind::UserStartup));
}

TEST_F(LocationChangeTest, TheProgramsOwnEntryStaysWhileDelayedApplicationsAreTicked) {
    const std::string self = Program("kestrune", "self");
    Link(state.paths.commonStartupFolder, "KESTRUNE.lnk", self, "slimline");
    const int row = AddRow(TableKind::CommonStartup, {"KESTRUNE", self, "slimline"}, true);
    AddRow(TableKind::Delayed, {"Later", "later.exe", "10", "", ""}, false);
    AddRow(TableKind::Delayed, {"Soon", "soon.exe", "5", "", ""}, true);

    Click(TableKind::CommonStartup, row);

    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text,
              "Kestrune needs to be set to start up with Windows\r\nin order to run the delayed applications.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(state.model.tables[TableKind::CommonStartup].Ticked(row));
    EXPECT_TRUE(Platform().files().FileExists(ShortcutFile(TableKind::CommonStartup, "KESTRUNE")));
    EXPECT_TRUE(LogLines().empty());
    EXPECT_FALSE(Removed(TableKind::CommonStartup));

    // With no delayed application ticked the entry goes like any other.
    state.model.tables[TableKind::Delayed].SetTicked(2, false);
    Click(TableKind::CommonStartup, row);
    EXPECT_EQ(fe.messages.size(), 1u);
    EXPECT_FALSE(state.model.tables[TableKind::CommonStartup].Ticked(row));
    EXPECT_FALSE(Platform().files().FileExists(ShortcutFile(TableKind::CommonStartup, "KESTRUNE")));
    EXPECT_EQ(LogLines(), (Texts{"Deleting shortcut to " + self}));
}

TEST_F(LocationChangeTest, RunKeyRowsWriteAndDeleteTheirValues) {
    const struct {
        TableKind kind;
        RootKey root;
        std::string_view subkey;
    } places[] = {{TableKind::HKLM_Run, RootKey::LocalMachine, kRunKey},
                  {TableKind::HKCU_Run, RootKey::CurrentUser, kRunKey},
                  {TableKind::RunOnce, RootKey::LocalMachine, kRunOnceKey}};
    Texts expectedLog;
    for (const auto& place : places) {
        const std::string command = "\"C:\\Program Files\\" + std::string(KindName(place.kind)) + "\\x.exe\" -q";
        const int row = AddRow(place.kind, {"Entry", command}, false);
        Click(place.kind, row);
        const auto written = Registry().QueryValue(place.root, place.subkey, "Entry");
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(written->type, ValueType::String);
        EXPECT_EQ(written->data, command);
        EXPECT_FALSE(Removed(place.kind));

        Click(place.kind, row);
        EXPECT_FALSE(Registry().QueryValue(place.root, place.subkey, "Entry").has_value());
        EXPECT_TRUE(Removed(place.kind));
        expectedLog.push_back("Creating registry shortcut to " + command);
        expectedLog.push_back("Deleting registry shortcut to " + command);
    }
    EXPECT_EQ(LogLines(), expectedLog);
}

// Nothing was taken out, so there is no deletion to log; the row is a disabled one now.
TEST_F(LocationChangeTest, UntickingAnAbsentValueLogsNothingButMarksTheRemoval) {
    const int row = AddRow(TableKind::HKCU_Run, {"Ghost", "ghost.exe"}, true);
    Click(TableKind::HKCU_Run, row);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(Removed(TableKind::HKCU_Run));
    EXPECT_FALSE(state.model.tables[TableKind::HKCU_Run].Ticked(row));

    // Told as what it is: nothing was disabled.
    const int other = AddRow(TableKind::HKCU_Run, {"Gone", "gone.exe"}, true);
    const Outcome outcome = TickRow(state, TableKind::HKCU_Run, other, false);
    EXPECT_EQ(outcome.status, OutcomeStatus::NothingToDo);
    ASSERT_EQ(outcome.details.size(), 1u);
    EXPECT_EQ(outcome.details[0].rfind("\"Gone\" was not in HKCU Run, so nothing was taken out", 0), 0u)
        << outcome.details[0];
}

// Whatever "Skip save on exit" says, an entry that leaves its place is in the document by then.
TEST_F(LocationChangeTest, AnEntryTakenOutOfItsPlaceIsStoredAtOnce) {
    state.options.skipSave = true;
    SetValue(TableKind::HKCU_Run, "Updater", ValueType::String, "C:\\up.exe");
    const std::string app = Program("app.exe", "app");
    Link(userFolder, "Tool.lnk", app);
    const int run = AddRow(TableKind::HKCU_Run, {"Updater", "C:\\up.exe"}, true);
    const int link = AddRow(TableKind::UserStartup, {"Tool", app, ""}, true);

    EXPECT_EQ(ApplyOutcome(TableKind::HKCU_Run, run).status, OutcomeStatus::Done);
    EXPECT_EQ(ApplyOutcome(TableKind::UserStartup, link).status, OutcomeStatus::Done);
    EXPECT_FALSE(Value(TableKind::HKCU_Run, "Updater").has_value());
    const std::string stored = ReadText(state.paths.settingsDocumentPath);
    EXPECT_NE(stored.find("<name>Updater</name>"), std::string::npos) << stored;
    EXPECT_NE(stored.find("<name>Tool</name>"), std::string::npos) << stored;
    EXPECT_FALSE(state.model.settingsChanged);
}

TEST_F(LocationChangeTest, ADocumentThatCannotBeWrittenLeavesTheEntryInItsPlace) {
    // A folder below a plain file cannot be made, whoever runs the test.
    WriteText(machine.appFolder + "blocker", "");
    state.paths.settingsDocumentPath = machine.appFolder + "blocker/settings.xml";
    SetValue(TableKind::HKCU_Run, "Updater", ValueType::String, "C:\\up.exe");
    const int row = AddRow(TableKind::HKCU_Run, {"Updater", "C:\\up.exe"}, true);

    EXPECT_TRUE(Failed(ApplyOutcome(TableKind::HKCU_Run, row)));
    EXPECT_TRUE(state.model.tables[TableKind::HKCU_Run].Ticked(row));
    EXPECT_TRUE(Value(TableKind::HKCU_Run, "Updater").has_value());
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(fe.LastMessage().find(state.paths.settingsDocumentPath), std::string::npos) << fe.LastMessage();
    EXPECT_EQ(LogLines(), (Texts{"Could not write the settings file " + state.paths.settingsDocumentPath}));
}

TEST_F(LocationChangeTest, AChangeTheSystemRefusesPutsTheTickBackAndSaysWhy) {
    const std::string app = Program("app.exe", "app");
    SetValue(TableKind::HKLM_Run, "Agent", ValueType::String, "C:\\agent.exe");
    platform::Refusals(machine.machineRoot).Add("HKLM\\" + std::string(kRunKey));
    platform::Refusals(machine.machineRoot).Add(state.paths.commonStartupFolder);

    const int run = AddRow(TableKind::HKLM_Run, {"Agent", "C:\\agent.exe"}, true);
    EXPECT_TRUE(Failed(ApplyOutcome(TableKind::HKLM_Run, run)));
    EXPECT_TRUE(state.model.tables[TableKind::HKLM_Run].Ticked(run));
    EXPECT_TRUE(Value(TableKind::HKLM_Run, "Agent").has_value());
    EXPECT_EQ(fe.LastMessage(), "The system refused the change to Agent:\r\nAccess is denied.");
    EXPECT_FALSE(Removed(TableKind::HKLM_Run));
    // Nothing is stored as if it had been disabled.
    EXPECT_EQ(ReadText(state.paths.settingsDocumentPath).find("Agent"), std::string::npos);

    const int link = AddRow(TableKind::CommonStartup, {"Tool", app, ""}, false);
    EXPECT_TRUE(Failed(ApplyOutcome(TableKind::CommonStartup, link, true)));
    EXPECT_FALSE(state.model.tables[TableKind::CommonStartup].Ticked(link));
    EXPECT_FALSE(Platform().files().FileExists(ShortcutFile(TableKind::CommonStartup, "Tool")));
    EXPECT_EQ(LogLines(), (Texts{"Deleting registry shortcut to C:\\agent.exe",
                                 "Could not delete registry shortcut to C:\\agent.exe: Error 5 - Access is denied.",
                                 "Creating shortcut to " + app,
                                 "Could not create shortcut to " + app + ": Error 5 - Access is denied."}));
}

// Deleting a live row first takes its entry out. A rule of the program's that keeps the entry
// in its place lets the row go on into Deleted; the system's refusal keeps the row where it is.
TEST_F(LocationChangeTest, DeletingALiveRowStopsOnlyWhenTheSystemRefusesItsEntry) {
    const std::string app = Program("kestrune.exe", "self");
    Link(userFolder, "Kestrune.lnk", app);
    const int own = AddRow(TableKind::UserStartup, {"Kestrune", app, ""}, true);
    AddRow(TableKind::Delayed, {"Later", "later.exe", "5", "", ""}, true);

    const Outcome kept = DeleteRow(state, TableKind::UserStartup, own);
    EXPECT_EQ(kept.status, OutcomeStatus::Done);
    EXPECT_FALSE(kept.refusedBySystem);
    ASSERT_EQ(kept.messages.size(), 1u);
    EXPECT_EQ(kept.messages[0].text, std::string(kNeededForDelayedLine1) + "\r\n" + kNeededForDelayedLine2);
    EXPECT_EQ(state.model.tables[TableKind::UserStartup].Count(), 0);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Name(1), "Kestrune");
    EXPECT_TRUE(Platform().files().FileExists(ShortcutFile(TableKind::UserStartup, "Kestrune")));

    SetValue(TableKind::HKLM_Run, "Agent", ValueType::String, "C:\\agent.exe");
    platform::Refusals(machine.machineRoot).Add("HKLM\\" + std::string(kRunKey));
    const int agent = AddRow(TableKind::HKLM_Run, {"Agent", "C:\\agent.exe"}, true);
    Outcome refused = DeleteRow(state, TableKind::HKLM_Run, agent);
    EXPECT_EQ(refused.status, OutcomeStatus::Refused);
    EXPECT_TRUE(refused.refusedBySystem);
    EXPECT_EQ(refused.messages.back().text, "The system refused the change to Agent:\r\nAccess is denied.");
    ASSERT_EQ(state.model.tables[TableKind::HKLM_Run].Count(), 1);
    EXPECT_TRUE(state.model.tables[TableKind::HKLM_Run].Ticked(1));
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Count(), 1);

    // Folded into a command's outcome, the system's refusal is still known as such.
    Outcome command = Outcome::Of(OutcomeStatus::Done);
    command.Add(std::move(refused));
    EXPECT_EQ(command.status, OutcomeStatus::Done);
    EXPECT_TRUE(command.refusedBySystem);
}

// A tick reaches the tables, the machine, the paths and the options it is given, and nothing
// else: parts that belong to no main state carry it out as well.
TEST_F(LocationChangeTest, ATickIsCarriedOutWithPartsOfNoMainState) {
    Model model;
    Paths paths;
    paths.settingsDocumentPath = machine.appFolder + "elsewhere.xml";
    paths.logPath = state.paths.logPath;
    Options options;
    options.ignoreSelf = true;
    const PlaceParts parts(model, state.services, paths, options);
    const int row = model.tables[TableKind::HKCU_Run].Add({"Solo", "C:\\solo.exe"}, true);

    EXPECT_EQ(CarryOutLocationChange(parts, TableKind::HKCU_Run, row).status, OutcomeStatus::Done);
    EXPECT_EQ(Value(TableKind::HKCU_Run, "Solo")->data, "C:\\solo.exe");
    EXPECT_TRUE(model.selfMadeChanges.contains("C:\\solo.exe"));
    ASSERT_EQ(model.ownPlaceChanges.size(), 1u);
    EXPECT_TRUE(model.ownPlaceChanges[0].added);
    EXPECT_TRUE(state.model.ownPlaceChanges.empty());

    model.tables[TableKind::HKCU_Run].SetTicked(row, false);
    EXPECT_EQ(CarryOutLocationChange(parts, TableKind::HKCU_Run, row).status, OutcomeStatus::Done);
    EXPECT_FALSE(Value(TableKind::HKCU_Run, "Solo").has_value());
    // The row that holds the entry now is stored where these paths say, not in the state's document.
    EXPECT_NE(ReadText(paths.settingsDocumentPath).find("<name>Solo</name>"), std::string::npos);
    EXPECT_FALSE(Platform().files().FileExists(state.paths.settingsDocumentPath));

    // A Process row ticked before any watcher timer exists changes no place.
    const int process = model.tables[TableKind::Process].Add({"p.exe", "C:\\p.exe", "High", ""}, true);
    EXPECT_EQ(CarryOutLocationChange(parts, TableKind::Process, process).status, OutcomeStatus::Done);
}

TEST_F(LocationChangeTest, APathAlreadyEnabledInTheTableIsNotEnabledTwice) {
    AddRow(TableKind::HKLM_Run, {"First", R"(C:\Tools\Same.exe)"}, true);
    const int second = AddRow(TableKind::HKLM_Run, {"Second", R"(c:\tools\same.EXE)"}, false);
    Click(TableKind::HKLM_Run, second);

    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text, "This program has already been enabled");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(state.model.tables[TableKind::HKLM_Run].Ticked(second));
    EXPECT_FALSE(Value(TableKind::HKLM_Run, "Second").has_value());
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(LocationChangeTest, CanEnableEntryComparesPathAndTickOfOtherRows) {
    Table& table = state.model.tables[TableKind::HKCU_Run];
    AddRow(TableKind::HKCU_Run, {"A", "same.exe"}, true);
    AddRow(TableKind::HKCU_Run, {"B", "SAME.exe"}, false);
    AddRow(TableKind::HKCU_Run, {"C", "other.exe"}, true);
    EXPECT_TRUE(CanEnableEntry(state.model, TableKind::HKCU_Run, 1));  // different ticks are allowed
    EXPECT_TRUE(CanEnableEntry(state.model, TableKind::HKCU_Run, 2));
    EXPECT_TRUE(CanEnableEntry(state.model, TableKind::HKCU_Run, 3));  // a row never clashes with itself
    table.SetTicked(2, true);
    EXPECT_FALSE(CanEnableEntry(state.model, TableKind::HKCU_Run, 1));
    EXPECT_FALSE(CanEnableEntry(state.model, TableKind::HKCU_Run, 2));
    // Two unticked rows with one path clash too.
    table.SetTicked(1, false);
    table.SetTicked(2, false);
    EXPECT_FALSE(CanEnableEntry(state.model, TableKind::HKCU_Run, 1));
    // Another table's rows do not count.
    AddRow(TableKind::HKLM_Run, {"X", "other.exe"}, true);
    EXPECT_TRUE(CanEnableEntry(state.model, TableKind::HKLM_Run, 1));
}

TEST_F(LocationChangeTest, SelfMadeChangesAreKeptOnlyWhileTheOptionIsOn) {
    const std::string a = Program("a.exe", "a");
    state.options.ignoreSelf = true;
    const int folderRow = AddRow(TableKind::UserStartup, {"A", a, ""}, false);
    const int keyRow = AddRow(TableKind::HKLM_Run, {"B", "b.exe -x"}, false);
    Click(TableKind::UserStartup, folderRow);
    Click(TableKind::HKLM_Run, keyRow);
    EXPECT_EQ(state.model.selfMadeChanges, (SelfMadeChanges{a, "b.exe -x"}));
    // The monitor meets the paths as the place spells them.
    EXPECT_TRUE(state.model.selfMadeChanges.contains("B.EXE -X"));

    Click(TableKind::HKLM_Run, keyRow);
    EXPECT_TRUE(TakeSelfMadeRemoval(state.model, state.options, TableKind::HKLM_Run));
    EXPECT_FALSE(TakeSelfMadeRemoval(state.model, state.options, TableKind::HKLM_Run));  // taken once
    EXPECT_FALSE(TakeSelfMadeRemoval(state.model, state.options, TableKind::UserStartup));

    state.options.ignoreSelf = false;
    Click(TableKind::UserStartup, folderRow);  // removal: the list stays
    EXPECT_EQ(state.model.selfMadeChanges, (SelfMadeChanges{a, "b.exe -x"}));
    // With the option off the flag is neither answered nor cleared.
    EXPECT_FALSE(TakeSelfMadeRemoval(state.model, state.options, TableKind::UserStartup));
    EXPECT_TRUE(Removed(TableKind::UserStartup));
    // Enabling empties the list instead of adding to it.
    Click(TableKind::HKLM_Run, keyRow);
    EXPECT_TRUE(state.model.selfMadeChanges.empty());
}

TEST_F(LocationChangeTest, OtherTablesAreLeftAlone) {
    for (TableKind kind : {TableKind::Delayed, TableKind::Deleted, TableKind::Known}) {
        const int row = AddRow(kind, {"x.exe", "x.exe"}, false);
        Click(kind, row);
        EXPECT_TRUE(state.model.tables[kind].Ticked(row));
    }
    fe.ShowOutcome(CarryOutLocationChange(state, TableKind::HKLM_Run, 7));  // no such row
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(fe.messages.empty());
}

}  // namespace
}  // namespace kestrune::test
