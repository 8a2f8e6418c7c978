#include "store/SettingsDocument.h"

#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "app/Text.h"
#include "store/ItemWriter.h"
#include "store/TreeDocument.h"

namespace kestrune {
namespace {

using test::ReadText;
using test::WriteText;

class SettingsDocumentTest : public test::StoreFixture {
protected:
    void Add(TableKind kind, std::vector<std::string> texts, bool ticked) {
        state.model.tables[kind].Add(std::move(texts), ticked);
    }

    // Ticked and unticked rows in every table, a gap in each location table's numbering, Delay
    // texts that need rounding, and a process repeated in another letter case.
    void FillEveryTable() {
        Add(TableKind::UserStartup, {"Mail", "C:\\mail.exe", "-min"}, true);
        Add(TableKind::UserStartup, {"Notes", "C:\\notes.exe", ""}, false);
        Add(TableKind::CommonStartup, {"Sync", "C:\\sync.exe", "--quiet"}, false);
        Add(TableKind::CommonStartup, {"Audio", "C:\\audio.exe", ""}, true);
        Add(TableKind::HKLM_Run, {"Tray", "\"C:\\tray.exe\" -s", ""}, false);
        Add(TableKind::HKLM_Run, {"Updater", "C:\\up.exe", ""}, true);
        Add(TableKind::HKCU_Run, {"Chat", "C:\\chat.exe", ""}, true);
        Add(TableKind::HKCU_Run, {"Game", "C:\\game.exe", ""}, false);
        Add(TableKind::RunOnce, {"Setup", "C:\\setup.exe /finish", ""}, false);
        Add(TableKind::Delayed, {"Backup", "C:\\backup.exe", "2.5", "User", "High"}, true);
        Add(TableKind::Delayed, {"Indexer", "C:\\index.exe", "-1.5", "", ""}, false);
        Add(TableKind::Delayed, {"Odd", "C:\\odd.exe", "soon", "HKLM Run", "Low"}, true);
        Add(TableKind::Deleted, {"Old", "C:\\old.exe"}, true);
        Add(TableKind::Deleted, {"Older", "C:\\older.exe"}, false);
        Add(TableKind::Known, {"C:\\allowed.exe"}, true);
        Add(TableKind::Known, {"C:\\refused.exe"}, false);
        Add(TableKind::Process, {"edit.exe", "C:\\Edit.exe", "High", "100"}, true);
        Add(TableKind::Process, {"EDIT.EXE", "c:\\edit.exe", "Low", "200"}, true);
        Add(TableKind::Process, {"idle.exe", "C:\\idle.exe", "Low", "300"}, false);
        Add(TableKind::Process, {"shell.exe", "C:\\shell.exe", "", "400"}, true);
    }

    std::string Saved() { return ReadText(state.paths.settingsDocumentPath); }
    // "Load a backup file" as the window runs it; what it came to.
    OutcomeStatus Loaded() {
        const Outcome outcome = LoadBackupCommand(state, fe);
        fe.ShowOutcome(outcome);
        return outcome.status;
    }
};

constexpr const char* kGoldenDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<Root>
	<Deleted>
		<item_1>
			<name>Old</name>
			<path>C:\old.exe</path>
		</item_1>
		<item_2>
			<name>Older</name>
			<path>C:\older.exe</path>
		</item_2>
	</Deleted>
	<UserStartup>
		<item_2>
			<name>Notes</name>
			<path>C:\notes.exe</path>
			<arg />
		</item_2>
	</UserStartup>
	<CommonStartup>
		<item_1>
			<name>Sync</name>
			<path>C:\sync.exe</path>
			<arg>--quiet</arg>
		</item_1>
	</CommonStartup>
	<HKCU_Run>
		<item_2>
			<name>Game</name>
			<path>C:\game.exe</path>
		</item_2>
	</HKCU_Run>
	<HKLM_Run>
		<item_1>
			<name>Tray</name>
			<path>"C:\tray.exe" -s</path>
		</item_1>
	</HKLM_Run>
	<RunOnce>
		<item_1>
			<name>Setup</name>
			<path>C:\setup.exe /finish</path>
		</item_1>
	</RunOnce>
	<Delayed>
		<item_1>
			<name>Backup</name>
			<path>C:\backup.exe</path>
			<delay>2</delay>
			<prev>User</prev>
			<active>1</active>
			<priority>High</priority>
		</item_1>
		<item_2>
			<name>Indexer</name>
			<path>C:\index.exe</path>
			<delay>-2</delay>
			<prev />
			<active>0</active>
			<priority />
		</item_2>
		<item_3>
			<name>Odd</name>
			<path>C:\odd.exe</path>
			<delay>0</delay>
			<prev>HKLM Run</prev>
			<active>1</active>
			<priority>Low</priority>
		</item_3>
	</Delayed>
	<Known>
		<item_1>
			<path>C:\allowed.exe</path>
			<enable>1</enable>
		</item_1>
		<item_2>
			<path>C:\refused.exe</path>
			<enable>0</enable>
		</item_2>
	</Known>
	<Process>
		<item_1>
			<name>edit.exe</name>
			<path>C:\Edit.exe</path>
			<priority>High</priority>
		</item_1>
		<item_4>
			<name>shell.exe</name>
			<path>C:\shell.exe</path>
			<priority />
		</item_4>
	</Process>
</Root>
)";

TEST_F(SettingsDocumentTest, ANormalSaveWritesTheExactLayout) {
    FillEveryTable();
    state.model.settingsChanged = true;
    const Outcome saved = SaveSettingsDocument(state, false);
    EXPECT_EQ(Saved(), kGoldenDocument);
    EXPECT_FALSE(state.model.settingsChanged);
    // The closing message is the caller's to show or not.
    EXPECT_EQ(saved.status, OutcomeStatus::Done);
    EXPECT_EQ(saved.messages, (std::vector<OutcomeMessage>{{kSettingsSavedMessage, MessageIcon::Information, ""}}));
    EXPECT_TRUE(fe.messages.empty());
}

TEST_F(SettingsDocumentTest, ABackupAddsTheTickedLocationRowsUnderActiveWhereFirstNeeded) {
    FillEveryTable();
    fe.ShowOutcome(BackupSettingsCommand(state));
    const std::string path = AppFile("backup_07122026_081502.xml");
    ASSERT_TRUE(state.services.FileExists(path));
    ASSERT_EQ(fe.messages.size(), 1u);
    // The message names the file it wrote, below its own text.
    EXPECT_EQ(fe.messages[0].text, std::string(kBackupSavedMessage) + "\r\n" + path);
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Information);
    EXPECT_FALSE(state.services.FileExists(state.paths.settingsDocumentPath));

    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromText(ReadText(path)));
    std::vector<std::string> top, active;
    for (pugi::xml_node n : doc.Root().children()) top.push_back(n.name());
    for (pugi::xml_node n : FindXMLPath("Root/Active", doc.Root()).children()) active.push_back(n.name());
    // UserStartup's first row is ticked, so Active comes before UserStartup itself.
    EXPECT_EQ(top, (std::vector<std::string>{"Deleted", "Active", "UserStartup", "CommonStartup", "HKCU_Run",
                                             "HKLM_Run", "RunOnce", "Delayed", "Known", "Process"}));
    EXPECT_EQ(active, (std::vector<std::string>{"UserStartup", "CommonStartup", "HKCU_Run", "HKLM_Run"}));
    const pugi::xml_node audio = FindXMLPath("Root/Active/CommonStartup/item_2", doc.Root());
    ASSERT_TRUE(audio);
    EXPECT_EQ(TextOf(audio.child("name")), "Audio");
    EXPECT_TRUE(audio.child("arg"));
    EXPECT_EQ(TextOf(FindXMLPath("Root/Active/HKLM_Run/item_2/name", doc.Root())), "Updater");
    EXPECT_FALSE(FindXMLPath("Root/Active/RunOnce", doc.Root()));
}

TEST_F(SettingsDocumentTest, ANormalSaveHappensOnlyWhenTheTablesChanged) {
    Add(TableKind::Deleted, {"Old", "C:\\old.exe"}, false);
    fe.ShowOutcome(SaveSettingsDocument(state, false));
    EXPECT_FALSE(state.services.FileExists(state.paths.settingsDocumentPath));
    EXPECT_TRUE(fe.messages.empty());

    // "Save settings" writes even when nothing was changed.
    fe.ShowOutcome(SaveSettingsCommand(state));
    EXPECT_TRUE(state.services.FileExists(state.paths.settingsDocumentPath));
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text, kSettingsSavedMessage);
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Information);
}

TEST_F(SettingsDocumentTest, TablesWithOnlyTickedOrNoRowsHaveNoElement) {
    Add(TableKind::HKLM_Run, {"Live", "C:\\live.exe", ""}, true);
    Add(TableKind::Process, {"p.exe", "C:\\p.exe", "High", ""}, false);
    fe.ShowOutcome(SaveSettingsCommand(state));
    EXPECT_EQ(Saved(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root />\n");
}

TEST(DelayTextTest, RoundsHalvesToEvenAndReadsNonNumbersAsZero) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "5"},     {"0.5", "0"}, {"1.5", "2"},         {"2.5", "2"},   {"-2.5", "-2"}, {"-3.5", "-4"},
        {" 7 ", "7"},   {"", "0"},    {"abc", "0"},         {"12abc", "0"}, {"0x1A", "0"},  {"inf", "0"},
        {"1e2", "100"}, {"+4", "4"},  {"99999999999", "0"}, {"-30", "-30"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(DelayText(text), expected) << text;
}

TEST_F(SettingsDocumentTest, SavedTablesLoadBackAsTheyWere) {
    FillEveryTable();
    fe.ShowOutcome(BackupSettingsCommand(state));
    const Tables before = state.model.tables;
    state.model.tables.ClearAll();
    fe.ShowOutcome(LoadSettingsFile(state, AppFile("backup_07122026_081502.xml")));

    // Location rows come back ticked from Active first, then the stored unticked ones.
    const Table& user = state.model.tables[TableKind::UserStartup];
    ASSERT_EQ(user.Count(), 2);
    EXPECT_EQ(user.Row(1).texts, (std::vector<std::string>{"Mail", "C:\\mail.exe", "-min"}));
    EXPECT_TRUE(user.Ticked(1));
    EXPECT_EQ(user.Name(2), "Notes");
    EXPECT_FALSE(user.Ticked(2));
    const Table& common = state.model.tables[TableKind::CommonStartup];
    ASSERT_EQ(common.Count(), 2);
    EXPECT_EQ(common.Name(1), "Audio");
    EXPECT_TRUE(common.Ticked(1));

    for (TableKind kind : {TableKind::Deleted, TableKind::Known}) {
        ASSERT_EQ(state.model.tables[kind].Count(), before[kind].Count()) << KindName(kind);
        for (int n = 1; n <= before[kind].Count(); ++n) {
            EXPECT_EQ(state.model.tables[kind].Row(n).texts, before[kind].Row(n).texts);
            // Deleted rows have no tick to keep; Known keeps its "enable".
            EXPECT_EQ(state.model.tables[kind].Ticked(n), kind == TableKind::Known && before[kind].Ticked(n));
        }
    }
    const Table& delayed = state.model.tables[TableKind::Delayed];
    ASSERT_EQ(delayed.Count(), 3);
    EXPECT_EQ(delayed.Row(1).texts, (std::vector<std::string>{"Backup", "C:\\backup.exe", "2", "User", "High"}));
    EXPECT_TRUE(delayed.Ticked(1));
    EXPECT_FALSE(delayed.Ticked(2));
    const Table& process = state.model.tables[TableKind::Process];
    ASSERT_EQ(process.Count(), 2);
    EXPECT_EQ(process.Row(1).texts, (std::vector<std::string>{"edit.exe", "C:\\Edit.exe", "High", ""}));
    EXPECT_TRUE(process.Ticked(2));
    EXPECT_EQ(fe.LastStatus(), kLoadedStatus);
    EXPECT_FALSE(state.model.events.Busy().controls);
}

constexpr const char* kHandWritten = R"(<?xml version="1.0"?>
<ROOT>
  <Active>
    <HKCU_Run><item_1><name>Live</name><path>C:\live.exe</path></item_1></HKCU_Run>
  </Active>
  <hkcu_run>
    <item_1><name>Off</name><path>C:\off.exe</path><comment>extra child</comment></item_1>
    <item_7><name>Gap</name><path>C:\gap.exe</path></item_7>
    <item_9><name>OnlyName</name></item_9>
  </hkcu_run>
  <Delayed>
    <item_2><name>D</name><path>C:\d.exe</path><delay>10</delay><prev>User</prev><active>1</active><priority>Low</priority><x>extra</x></item_2>
    <item_5><name>E</name><path>C:\e.exe</path><delay>-3</delay><prev></prev><active>true</active></item_5>
  </Delayed>
  <Known>
    <item_1><path>C:\k.exe</path><enable>1</enable></item_1>
    <item_3><wrongName>C:\j.exe</wrongName><alsoWrong>0</alsoWrong></item_3>
  </Known>
  <Process><item_4><name>p.exe</name><path>C:\p.exe</path></item_4></Process>
</ROOT>
)";

TEST_F(SettingsDocumentTest, AHandWrittenDocumentLoadsByPositionWithGapsAndOddChildren) {
    WriteText(state.paths.settingsDocumentPath, kHandWritten);
    LoadSettingsDocument(state);

    // The normal load leaves Active alone: ticked rows come from the places themselves.
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 3);
    EXPECT_EQ(run.Row(1).texts, (std::vector<std::string>{"Off", "C:\\off.exe"}));
    EXPECT_EQ(run.Row(2).texts, (std::vector<std::string>{"Gap", "C:\\gap.exe"}));
    EXPECT_EQ(run.Row(3).texts, (std::vector<std::string>{"OnlyName", ""}));
    EXPECT_EQ(run.CountTicked(), 0);

    const Table& delayed = state.model.tables[TableKind::Delayed];
    ASSERT_EQ(delayed.Count(), 2);
    EXPECT_EQ(delayed.Row(1).texts, (std::vector<std::string>{"D", "C:\\d.exe", "10", "User", "Low"}));
    EXPECT_TRUE(delayed.Ticked(1));
    EXPECT_EQ(delayed.Row(2).texts, (std::vector<std::string>{"E", "C:\\e.exe", "-3", "", ""}));
    EXPECT_FALSE(delayed.Ticked(2));  // only "1" ticks

    const Table& known = state.model.tables[TableKind::Known];
    ASSERT_EQ(known.Count(), 2);
    EXPECT_TRUE(known.Ticked(1));
    EXPECT_EQ(known.Name(2), "C:\\j.exe");
    EXPECT_FALSE(known.Ticked(2));

    const Table& process = state.model.tables[TableKind::Process];
    ASSERT_EQ(process.Count(), 1);
    EXPECT_TRUE(process.Ticked(1));  // stored processes are always ticked
    EXPECT_EQ(process.Text(1, col::ProcessPriority), "");

    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run, TableKind::RunOnce,
                           TableKind::Deleted})
        EXPECT_TRUE(state.model.tables[kind].Empty()) << KindName(kind);
    EXPECT_FALSE(state.model.settingsChanged);
}

TEST_F(SettingsDocumentTest, ABackupLoadTicksTheActiveRowsAndReplacesEveryTable) {
    WriteText(AppFile("chosen.xml"), kHandWritten);
    Add(TableKind::RunOnce, {"Before", "C:\\before.exe", ""}, true);
    fe.fileAnswers.push_back(AppFile("chosen.xml"));
    EXPECT_EQ(Loaded(), OutcomeStatus::Done);

    const Table& run = state.model.tables[TableKind::HKCU_Run];
    ASSERT_EQ(run.Count(), 4);
    EXPECT_EQ(run.Name(1), "Live");
    EXPECT_TRUE(run.Ticked(1));
    EXPECT_EQ(run.CountTicked(), 1);
    EXPECT_TRUE(state.model.tables[TableKind::RunOnce].Empty());
    EXPECT_TRUE(state.model.settingsChanged);
    EXPECT_FALSE(state.model.events.Busy().controls);
    EXPECT_EQ(fe.LastStatus(), kLoadedStatus);
}

// A backup older than the last disabling or deletion must not make those entries vanish: they
// are in no place, and the loaded tables are what the next save writes.
TEST_F(SettingsDocumentTest, ABackupLoadKeepsTheTakenOutRowsItLacksAndStoresPendingOnesFirst) {
    WriteText(AppFile("chosen.xml"), kHandWritten);
    Add(TableKind::HKCU_Run, {"Disabled lately", "C:\\lately.exe", ""}, false);
    Add(TableKind::Deleted, {"Deleted lately", "C:\\gone.exe"}, false);
    Add(TableKind::Known, {"C:\\pending.exe"}, true);
    state.model.settingsChanged = true;
    fe.fileAnswers.push_back(AppFile("chosen.xml"));
    EXPECT_EQ(Loaded(), OutcomeStatus::Done);

    const Table& run = state.model.tables[TableKind::HKCU_Run];
    EXPECT_EQ(run.Count(), 5);
    EXPECT_EQ(run.Name(5), "Disabled lately");
    EXPECT_FALSE(run.Ticked(5));
    const Table& deleted = state.model.tables[TableKind::Deleted];
    EXPECT_EQ(deleted.Name(deleted.Count()), "Deleted lately");
    // What was pending went to the current document before the tables were replaced.
    EXPECT_NE(Saved().find("C:\\pending.exe"), std::string::npos) << Saved();
}

// Pending rows that cannot be written first keep the tables as they are, and the user learns
// which file could not be written, and why.
TEST_F(SettingsDocumentTest, ABackupLoadThatCannotStoreThePendingRowsFirstLoadsNothing) {
    WriteText(AppFile("chosen.xml"), kHandWritten);
    state.paths.settingsDocumentPath = AppFile("no such folder/settings.xml");
    Add(TableKind::HKCU_Run, {"Disabled lately", "C:\\lately.exe", ""}, false);
    state.model.settingsChanged = true;
    fe.fileAnswers.push_back(AppFile("chosen.xml"));
    EXPECT_EQ(Loaded(), OutcomeStatus::Refused);

    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 1);
    EXPECT_TRUE(state.model.settingsChanged);
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text, std::string(kNotWrittenMessage) + "\r\n" + state.paths.settingsDocumentPath +
                                       "\r\nThe system cannot find the path specified.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fe.statuses.empty());
}

TEST_F(SettingsDocumentTest, ACancelledOrUnreadableBackupChangesNothing) {
    Add(TableKind::Deleted, {"Keep", "C:\\keep.exe"}, false);
    EXPECT_EQ(Loaded(), OutcomeStatus::Cancelled);
    EXPECT_FALSE(state.model.settingsChanged);

    WriteText(AppFile("broken.xml"), "<Root><Deleted>");
    fe.fileAnswers.push_back(AppFile("broken.xml"));
    EXPECT_EQ(Loaded(), OutcomeStatus::Refused);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Count(), 1);
    EXPECT_TRUE(fe.statuses.empty());
    EXPECT_FALSE(state.model.events.Busy().controls);
}

TEST_F(SettingsDocumentTest, AMissingOrUnreadableDocumentLoadsNothingSilently) {
    LoadSettingsDocument(state);
    WriteText(state.paths.settingsDocumentPath, "[dummy]");
    LoadSettingsDocument(state);
    LoadStoredTable(state, TableKind::HKLM_Run);
    for (TableKind kind : kAllTables) EXPECT_TRUE(state.model.tables[kind].Empty());
    EXPECT_TRUE(fe.messages.empty());
}

TEST_F(SettingsDocumentTest, OneStoredTableLoadsAlone) {
    WriteText(state.paths.settingsDocumentPath, kHandWritten);
    LoadStoredTable(state, TableKind::HKCU_Run);
    EXPECT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 3);
    EXPECT_TRUE(state.model.tables[TableKind::Delayed].Empty());
}

TEST_F(SettingsDocumentTest, AnUnreadableDocumentIsKeptAsideBeforeASaveReplacesIt) {
    WriteText(state.paths.settingsDocumentPath, "<Root><Deleted><item_1>half");
    LoadSettingsDocument(state);
    Add(TableKind::Deleted, {"New", "C:\\new.exe"}, false);
    state.model.settingsChanged = true;
    SaveSettingsDocument(state, false);

    const std::string aside = state.paths.settingsDocumentPath + ".unreadable_07122026_081502";
    EXPECT_EQ(ReadText(aside), "<Root><Deleted><item_1>half");
    EXPECT_NE(Log().find(kKeptUnreadableLog + aside), std::string::npos) << Log();
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(machine.platform->files(), state.paths.settingsDocumentPath));
    EXPECT_EQ(TextOf(FindXMLPath("Deleted/item_1/name", doc.Root())), "New");

    // A readable document is simply replaced, with nothing kept and nothing logged.
    const std::string logBefore = Log();
    state.model.settingsChanged = true;
    SaveSettingsDocument(state, false);
    EXPECT_EQ(Log(), logBefore);
}

TEST_F(SettingsDocumentTest, AFailedWriteIsNotReportedAsSavedAndKeepsTheChange) {
    state.paths.settingsDocumentPath = AppFile("no such folder/settings.xml");
    Add(TableKind::Deleted, {"Old", "C:\\old.exe"}, false);
    fe.ShowOutcome(SaveSettingsCommand(state));
    EXPECT_TRUE(state.model.settingsChanged);
    ASSERT_EQ(fe.messages.size(), 1u);
    // Which file could not be written, and why, each on a line of its own below the text.
    EXPECT_EQ(fe.messages[0].text, std::string(kSettingsNotSavedMessage) + "\r\n" + state.paths.settingsDocumentPath +
                                       "\r\nThe system cannot find the path specified.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(Log().find(kSaveFailedLog + state.paths.settingsDocumentPath), std::string::npos);
}

class FixedIcons : public RowIcons {
public:
    std::vector<std::string> asked;
    int IconOf(const std::string& file) override {
        asked.push_back(file);
        return 7;
    }
};

TEST_F(SettingsDocumentTest, RowsTakeTheIconOfAnExistingFileNamedByTheirPath) {
    const std::string program = AppFile("tool.exe");
    WriteText(program, "MZ");
    FixedIcons icons;
    state.services.icons = &icons;
    Add(TableKind::Deleted, {"Tool", program}, false);
    Add(TableKind::Deleted, {"Ghost", AppFile("ghost.exe")}, false);
    Add(TableKind::Known, {program}, true);
    fe.ShowOutcome(SaveSettingsCommand(state));
    state.model.tables.ClearAll();
    LoadSettingsDocument(state);

    EXPECT_EQ(state.model.tables[TableKind::Deleted].Icon(1), 7);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Icon(2), kDefaultIcon);
    EXPECT_EQ(state.model.tables[TableKind::Known].Icon(1), 7);
    EXPECT_EQ(icons.asked, (std::vector<std::string>{program, program}));
}

TEST_F(SettingsDocumentTest, TheItemWritersReuseAnItemWrittenTwice) {
    TreeDocument doc;
    doc.NewXMLDocument();
    ItemWriter writer(doc.Root());
    writer.WriteNamePathItem("Deleted", 3, "a", "b");
    writer.WriteNamePathItem("deleted", 1, "c", "d");
    writer.WriteNamePathItem("Deleted", 3, "e", "f");
    const pugi::xml_node deleted = FindXMLPath("Root/Deleted", doc.Root());
    int items = 0;
    for ([[maybe_unused]] pugi::xml_node item : deleted.children()) ++items;
    EXPECT_EQ(items, 2);
    EXPECT_STREQ(deleted.first_child().name(), "item_3");
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

class EntryDetailsDocumentTest : public test::StoreFixture {};

TEST_F(EntryDetailsDocumentTest, WhatARowKnowsOfItsEntrySurvivesASaveAndALoad) {
    using platform::ValueType;
    EntryDetails expand;
    expand.value = StoredValue{ValueType::ExpandString, "\"%ProgramFiles%\\App\\app.exe\" -nohome"};
    EntryDetails multi;
    multi.value = StoredValue{ValueType::MultiString, std::string("a.exe\0-x\0", 9)};
    EntryDetails link;
    link.shortcut = platform::ShortcutInfo{"", "", "C:\\Work", "C:\\icons.dll", 4, 7, "Keeps notes", 0x0654};
    EntryDetails deleted;
    deleted.origin = DeletedFrom{TableKind::Delayed, true, {"Idle", "C:\\idle.exe", "-10", "HKCU Run", "Low"}};
    EntryDetails deletedLink = link;
    deletedLink.origin = DeletedFrom{TableKind::UserStartup, true, {"Sleeper", "/usr/bin/sleep", "300"}};

    state.model.tables[TableKind::HKCU_Run].Add({"App", "\"%ProgramFiles%\\App\\app.exe\" -nohome"}, false, 1, expand);
    state.model.tables[TableKind::HKCU_Run].Add({"Multi", "a.exe"}, false, 1, multi);
    state.model.tables[TableKind::UserStartup].Add({"Notes", "C:\\notes.exe", "/q"}, false, 1, link);
    state.model.tables[TableKind::Deleted].Add({"Idle", "C:\\idle.exe", "Delayed"}, false, 1, deleted);
    state.model.tables[TableKind::Deleted].Add({"Sleeper", "/usr/bin/sleep", "User"}, false, 1, deletedLink);
    const Tables before = state.model.tables;
    ASSERT_TRUE(StoreSettingsNow(state));

    // The elements an older reader takes by position still come first.
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(state.services.platform.files(), state.paths.settingsDocumentPath));
    const pugi::xml_node item = FindXMLPath("Root/UserStartup/item_1", doc.Root());
    EXPECT_STREQ(item.first_child().name(), "name");
    EXPECT_STREQ(item.first_child().next_sibling().next_sibling().name(), "arg");

    state.model.tables.ClearAll();
    LoadSettingsDocument(state);
    for (TableKind kind : {TableKind::HKCU_Run, TableKind::UserStartup, TableKind::Deleted}) {
        ASSERT_EQ(state.model.tables[kind].Count(), before[kind].Count()) << KindName(kind);
        for (int n = 1; n <= before[kind].Count(); ++n) {
            EXPECT_EQ(state.model.tables[kind].Row(n).texts, before[kind].Row(n).texts) << KindName(kind) << n;
            EXPECT_EQ(state.model.tables[kind].Details(n), before[kind].Details(n)) << KindName(kind) << n;
        }
    }
}

TEST_F(EntryDetailsDocumentTest, AnOlderDocumentGivesRowsWithoutDetailsAndAnEmptyFromColumn) {
    WriteText(state.paths.settingsDocumentPath, R"(<Root>
  <Deleted><item_1><name>Old</name><path>C:\old.exe</path></item_1></Deleted>
  <HKCU_Run><item_1><name>Off</name><path>C:\off.exe</path><comment>stray</comment></item_1></HKCU_Run>
  <UserStartup><item_1><name>N</name><path>C:\n.exe</path><arg>-a</arg></item_1></UserStartup>
</Root>)");
    LoadSettingsDocument(state);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Row(1).texts,
              (std::vector<std::string>{"Old", "C:\\old.exe", ""}));
    for (TableKind kind : {TableKind::Deleted, TableKind::HKCU_Run, TableKind::UserStartup})
        EXPECT_EQ(state.model.tables[kind].Details(1), EntryDetails{}) << KindName(kind);
}

TEST_F(EntryDetailsDocumentTest, DamagedDetailsAreIgnoredRatherThanMadeUp) {
    WriteText(state.paths.settingsDocumentPath, R"(<Root>
  <HKCU_Run>
    <item_1><name>Bin</name><path>x</path><type>3</type></item_1>
    <item_2><name>Odd</name><path>x</path><type>7</type><data>6</data></item_2>
    <item_3><name>Sz</name><path>C:\sz.exe</path><type>2</type></item_3>
  </HKCU_Run>
  <Deleted><item_1><name>D</name><path>p</path><from>Nowhere</from></item_1></Deleted>
</Root>)");
    LoadSettingsDocument(state);
    const Table& run = state.model.tables[TableKind::HKCU_Run];
    EXPECT_FALSE(run.Details(1).value);  // bytes that are not text cannot come from the path
    EXPECT_FALSE(run.Details(2).value);  // odd hex
    ASSERT_TRUE(run.Details(3).value);
    EXPECT_EQ(*run.Details(3).value, (StoredValue{platform::ValueType::ExpandString, "C:\\sz.exe"}));
    EXPECT_FALSE(state.model.tables[TableKind::Deleted].Details(1).origin);
    EXPECT_EQ(state.model.tables[TableKind::Deleted].Text(1, col::From), "");
}

}  // namespace
}  // namespace kestrune
