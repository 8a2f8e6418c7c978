// Comparing the tables with a wanted state and applying it, against an emulated machine: the
// order the changes go in, rows the settings document adds beside live ones, the program's own
// tables, and the summary line an engine's report shows.

#include <gtest/gtest.h>

#include "desired/StateApply.h"
#include "desired/StateCompare.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "store/SettingsDocument.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using platform::RootKey;
using platform::ValueType;

class StateApplyTest : public ::testing::Test {
protected:
    StateApplyTest() : state(*machine.platform, clock) {
        state.InProgramFolder(machine.appFolder).BeginLog("test started").WithTimers(timers);
        DetermineStartupFolders(state.services.platform, state.paths);
        state.services.platform.registry().CreateKey(RootKey::CurrentUser, kRunKey);
    }
    void SetRunValue(const std::string& name, const std::string& data) {
        ASSERT_TRUE(state.services.platform.registry()
                        .SetValue(RootKey::CurrentUser, kRunKey, {name, ValueType::String, data})
                        .Ok());
    }
    std::optional<std::string> RunValue(const std::string& name) {
        auto v = state.services.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name);
        return v ? std::optional<std::string>(v->data) : std::nullopt;
    }
    // The tables as a fresh start of the program finds them: the places, then the document.
    void Rescan() {
        state.model.tables.ClearAll();
        ScanPlaces(state);
        LoadSettingsDocument(state);
    }
    static DesiredState RunKeyState(PlaceMode mode, std::vector<WantedEntry> entries) {
        DesiredState wanted;
        wanted.places[TableKind::HKCU_Run] = {mode, std::move(entries)};
        return wanted;
    }

    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state;
};

// An exact place gives an entry's command to a new name: the old name must leave first, or the
// program's rule against enabling one command twice would refuse the new one.
TEST_F(StateApplyTest, DisablingGoesFirstSoAnEntryCanTakeOverAnUnlistedEntrysCommand) {
    SetRunValue("Old Tool", "C:\\tool.exe");
    Rescan();
    const DesiredState wanted = RunKeyState(PlaceMode::Exact, {{"New Tool", "C:\\tool.exe", std::nullopt, true}});
    const StateApplyResult result = ApplyDesiredState(state, wanted);
    EXPECT_TRUE(result.Matches()) << ApplySummaryLine(result, 1);
    EXPECT_EQ(RunValue("Old Tool"), std::nullopt);
    EXPECT_EQ(RunValue("New Tool"), std::optional<std::string>("C:\\tool.exe"));
    EXPECT_TRUE(fe.messages.empty());

    Rescan();
    EXPECT_TRUE(CompareState(state.model.tables, wanted).empty());
}

// The document keeps a disabled "Clock" while another program has put a live "clock" back:
// the live one is the entry; exporting and comparing again finds nothing to do.
TEST_F(StateApplyTest, ALiveEntryWinsOverAStoredDisabledRowOfTheSameName) {
    SetRunValue("Clock", "C:\\clock.exe");
    Rescan();
    ApplyDesiredState(state, RunKeyState(PlaceMode::Listed, {{"Clock", std::nullopt, std::nullopt, false}}));
    SetRunValue("clock", "C:\\clock2.exe");
    Rescan();
    ASSERT_EQ(state.model.tables[TableKind::HKCU_Run].Count(), 2);

    const DesiredState exported = CaptureState(state.model.tables);
    const auto& entries = exported.places.at(TableKind::HKCU_Run).entries;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].enabled);
    EXPECT_EQ(entries[0].path, std::optional<std::string>("C:\\clock2.exe"));
    EXPECT_TRUE(CompareState(state.model.tables, exported).empty());

    const auto differences = CompareState(
        state.model.tables, RunKeyState(PlaceMode::Listed, {{"CLOCK", std::nullopt, std::nullopt, false}}));
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].change, StateChange::Disable);
    EXPECT_EQ(differences[0].before.path, "C:\\clock2.exe");
}

// One entry cannot be enabled (nothing says what it runs); the others are still carried out.
TEST_F(StateApplyTest, AnEntryWithoutACommandIsRefusedAndTheRestIsApplied) {
    SetRunValue("Nagger", "C:\\nag.exe");
    Rescan();
    const StateApplyResult result =
        ApplyDesiredState(state, RunKeyState(PlaceMode::Listed, {{"Ghost", std::nullopt, std::nullopt, true},
                                                                 {"Nagger", std::nullopt, std::nullopt, false},
                                                                 {"Fresh", "C:\\fresh.exe", std::nullopt, true}}));
    EXPECT_FALSE(result.Matches());
    ASSERT_EQ(result.remaining.size(), 1u);
    EXPECT_EQ(result.remaining[0].name, "Ghost");
    EXPECT_EQ(result.remaining[0].change, StateChange::Missing);
    EXPECT_TRUE(result.Changed());
    EXPECT_EQ(RunValue("Nagger"), std::nullopt);
    EXPECT_EQ(RunValue("Fresh"), std::optional<std::string>("C:\\fresh.exe"));
    EXPECT_EQ(ApplySummaryLine(result, 3).rfind(std::string(kStillDrifts) + "2 change(s): 1 difference(s)", 0), 0u)
        << ApplySummaryLine(result, 3);
}

// Delayed, Known and Process rows are plain data: added or brought up to date, stored at once
// (whatever "Skip save on exit" says), and a second apply has nothing left to do.
TEST_F(StateApplyTest, TheProgramsOwnTablesAreAddedUpdatedAndStoredAtOnce) {
    state.options.skipSave = true;
    state.model.tables[TableKind::Delayed].Add({"Mail", "C:\\mail.exe", "5", "", ""}, false);
    state.model.tables[TableKind::Known].Add({"C:\\toolbar.exe"}, true);
    DesiredState wanted;
    wanted.delayed = {{"mail", "C:\\mail.exe", -30, "Low", true}, {"Sync", "C:\\sync.exe", 10, "", false}};
    wanted.known = {{"C:\\TOOLBAR.exe", false}};
    wanted.processes = {{"indexer.exe", "", "Below Normal"}};
    ASSERT_EQ(ValidateDesiredState(wanted), std::nullopt);

    const StateApplyResult result = ApplyDesiredState(state, wanted);
    EXPECT_TRUE(result.Matches()) << ApplySummaryLine(result, 4);
    EXPECT_EQ(result.changes.size(), 4u);
    const Table& delayed = state.model.tables[TableKind::Delayed];
    ASSERT_EQ(delayed.Count(), 2);
    EXPECT_EQ(delayed.Row(1).texts, (std::vector<std::string>{"Mail", "C:\\mail.exe", "-30", "", "Low"}));
    EXPECT_TRUE(delayed.Ticked(1));
    EXPECT_FALSE(delayed.Ticked(2));
    EXPECT_FALSE(state.model.tables[TableKind::Known].Ticked(1));
    EXPECT_FALSE(state.model.settingsChanged) << "stored already";

    state.model.tables.ClearAll();
    LoadSettingsDocument(state);
    EXPECT_TRUE(CompareState(state.model.tables, wanted).empty());
    EXPECT_FALSE(ApplyDesiredState(state, wanted).Changed());
}

// What export writes for a machine is what check finds there, whatever odd rows the tables
// hold: a delay that is no number, a path known twice, running processes beside stored ones.
TEST_F(StateApplyTest, TheTablesMatchTheirOwnExport) {
    SetRunValue("Clock", "C:\\clock.exe");
    Rescan();
    Tables& t = state.model.tables;
    t[TableKind::UserStartup].Add({"Notes", "C:\\notes.exe", "-m"}, true);
    t[TableKind::UserStartup].Add({"Old", "C:\\old.exe", ""}, false);
    t[TableKind::Delayed].Add({"Soon", "C:\\soon.exe", "soon", "", ""}, true);
    t[TableKind::Delayed].Add({"Blank", "C:\\blank.exe", "", "", "high"}, false);
    t[TableKind::Known].Add({"C:\\a.exe"}, true);
    t[TableKind::Known].Add({"c:\\A.EXE"}, false);
    t[TableKind::Process].Add({"indexer.exe", "C:\\indexer.exe", "Low", ""}, true);
    t[TableKind::Process].Add({"indexer.exe", "C:\\indexer.exe", "", "4242"}, false);
    t[TableKind::Process].Add({"shell.exe", "C:\\shell.exe", "", "17"}, false);

    const DesiredState exported = CaptureState(t);
    EXPECT_EQ(ValidateDesiredState(exported), std::nullopt);
    EXPECT_TRUE(CompareState(t, exported).empty());
    ASSERT_EQ(exported.processes->size(), 1u);
    EXPECT_EQ(exported.known->size(), 1u);
    EXPECT_FALSE(ApplyDesiredState(state, exported).Changed());
}

TEST_F(StateApplyTest, UnsafeOrAmbiguousStatesAreRefusedBeforeAnythingIsCompared) {
    const struct {
        TableKind kind;
        std::vector<WantedEntry> entries;
        std::string message;
    } cases[] = {
        {TableKind::UserStartup, {{"..", "C:\\x.exe", std::nullopt, true}}, "UserStartup has a name that is not"},
        {TableKind::UserStartup, {{"a:b", "C:\\x.exe", std::nullopt, true}}, "UserStartup has a name that is not"},
        {TableKind::HKLM_Run,
         {{"line\nbreak", "x", std::nullopt, true}},
         "HKLM_Run has a name that is not a plain name: \"line?break\""},
        {TableKind::HKLM_Run, {{"", "x", std::nullopt, true}}, "HKLM_Run has an entry without a name"},
        {TableKind::RunOnce,
         {{"A", "x", std::nullopt, true}, {"a", "y", std::nullopt, false}},
         "RunOnce names this entry twice"},
        {TableKind::HKCU_Run, {{"A", "x", "-q", true}}, "HKCU_Run takes no arguments"},
        {TableKind::Delayed, {{"A", "x", std::nullopt, true}}, "Delayed is not a start-up place"},
    };
    for (const auto& c : cases) {
        DesiredState wanted;
        wanted.places[c.kind] = {PlaceMode::Listed, c.entries};
        const auto error = ValidateDesiredState(wanted);
        ASSERT_TRUE(error.has_value()) << c.message;
        EXPECT_EQ(error->rfind(c.message, 0), 0u) << *error;
    }
    DesiredState priority;
    priority.processes = {{"x.exe", "", "Turbo"}};
    EXPECT_EQ(ValidateDesiredState(priority), std::optional<std::string>("Process has an unknown priority: \"Turbo\""));
}

// Thousands of differences still make one line an engine's report shows whole.
TEST_F(StateApplyTest, TheSummaryLineStaysUnderItsLimitAndEndsOnAWholeDifference) {
    std::vector<WantedEntry> entries;
    for (int i = 0; i < 3000; ++i)
        entries.push_back({"Entry " + std::to_string(i), "C:\\é" + std::to_string(i), {}, true});
    const auto differences = CompareState(state.model.tables, RunKeyState(PlaceMode::Listed, entries));
    ASSERT_EQ(differences.size(), 3000u);
    const std::string line = SummaryLine(differences, 3000);
    EXPECT_LE(line.size(), 2000u);
    EXPECT_EQ(line.rfind(std::string(kStateDrifts) + "3000 difference(s) (HKCU Run 3000): HKCU Run \"Entry 0\"", 0), 0u)
        << line;
    EXPECT_TRUE(line.ends_with("wanted enabled; and more")) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace kestrune
