#include <algorithm>
#include <functional>

#include "LocationFixture.h"
#include "procs/ProcessList.h"
#include "store/SettingsDocument.h"

namespace kestrune::test {
namespace {

using Texts = std::vector<std::string>;

class RefreshingTest : public LocationFixture {
protected:
    RefreshingTest() { state.paths.settingsDocumentPath = machine.appFolder + "settings.xml"; }

    void StoreDocument(const std::string& body) {
        WriteText(state.paths.settingsDocumentPath, "<?xml version=\"1.0\"?>\n<Root>" + body + "</Root>\n");
    }
    // The rows of a table as "name|path|ticked".
    Texts Rows(TableKind kind) {
        Texts rows;
        const Table& table = state.model.tables[kind];
        for (int i = 1; i <= table.Count(); ++i)
            rows.push_back(table.Name(i) + "|" + table.Text(i, PathColumn(kind) == 0 ? 0 : 1) + "|" +
                           (table.Ticked(i) ? "on" : "off"));
        return rows;
    }
};

TEST_F(RefreshingTest, ALiveAndAStoredRowWithTheSameNameBothAppearAfterStartUp) {
    const std::string tray = Program("tray.exe", "tray");
    SetValue(TableKind::HKCU_Run, "Tray", ValueType::String, tray);
    StoreDocument("<HKCU_Run><item_1><name>Tray</name><path>old-tray.exe</path></item_1></HKCU_Run>");

    // Start-up: the folders, the scan of the five places, then the stored rows.
    DetermineStartupFolders(state.services.platform, state.paths);
    ScanPlaces(state);
    LoadSettingsDocument(state);

    EXPECT_EQ(Rows(TableKind::HKCU_Run), (Texts{"Tray|" + tray + "|on", "Tray|old-tray.exe|off"}));
}

TEST_F(RefreshingTest, ScanAllLocationsRefillsEveryTableAndLeavesSlimlineMode) {
    const std::string a = Program("a.exe", "a");
    Link(state.paths.userStartupFolder, "Live.lnk", a);
    SetValue(TableKind::HKLM_Run, "Machine", ValueType::String, a);
    StoreDocument(
        "<UserStartup><item_1><name>Stored</name><path>s.exe</path><arg>-x</arg></item_1></UserStartup>"
        "<Deleted><item_1><name>Old</name><path>old.exe</path></item_1></Deleted>");
    state.view.slimlineMode = true;
    state.model.tables[TableKind::Known].Add({"stale.exe"}, true);
    state.model.tables[TableKind::HKLM_Run].Add({"Stale", "stale.exe"}, false);

    ScanAllLocations(state);

    EXPECT_FALSE(state.view.slimlineMode);
    EXPECT_EQ(Rows(TableKind::UserStartup), (Texts{"Live|" + a + "|on", "Stored|s.exe|off"}));
    EXPECT_EQ(Rows(TableKind::HKLM_Run), (Texts{"Machine|" + a + "|on"}));
    EXPECT_EQ(Rows(TableKind::Deleted), (Texts{"Old|old.exe|off"}));
    EXPECT_TRUE(state.model.tables[TableKind::Known].Empty());
    // Icons are numbered now that Slimline mode is over.
    EXPECT_EQ(state.model.tables[TableKind::UserStartup].Icon(1), 2);
    EXPECT_EQ(state.model.tables[TableKind::HKLM_Run].Icon(1), 2);
}

TEST_F(RefreshingTest, RefreshAllTablesKeepsSlimlineModeAndListsProcesses) {
    SetValue(TableKind::RunOnce, "Once", ValueType::String, "once.exe");
    StoreDocument(
        "<Process><item_1><name>zz-not-running.exe</name><path>/nowhere/zz-not-running.exe</path>"
        "<priority>Low</priority></item_1></Process>");
    state.view.slimlineMode = true;
    RefreshAllTables(state);
    EXPECT_TRUE(state.view.slimlineMode);
    EXPECT_EQ(Rows(TableKind::RunOnce), (Texts{"Once|once.exe|on"}));
    // The process table is filled from the machine's own processes.
    const Table& processes = state.model.tables[TableKind::Process];
    EXPECT_EQ(processes.Count() > 1, !Platform().processes().List().empty());
    // The stored row is read after the running processes were listed.
    const int last = processes.Count();
    ASSERT_GE(last, 1);
    EXPECT_EQ(processes.Name(last), "zz-not-running.exe");
    EXPECT_TRUE(processes.Ticked(last));
    EXPECT_EQ(processes.Text(last, col::Handle), "");
}

TEST_F(RefreshingTest, RescanLocationRefillsOnlyItsOwnTable) {
    SetValue(TableKind::HKCU_Run, "First", ValueType::String, "first.exe");
    StoreDocument(
        "<HKCU_Run><item_1><name>Off</name><path>off.exe</path></item_1></HKCU_Run>"
        "<HKLM_Run><item_1><name>Other</name><path>o.exe</path></item_1></HKLM_Run>");
    state.model.tables[TableKind::HKCU_Run].Add({"Gone", "gone.exe"}, true);
    state.model.tables[TableKind::HKLM_Run].Add({"Untouched", "u.exe"}, true);

    RescanLocation(state, TableKind::HKCU_Run);

    EXPECT_EQ(Rows(TableKind::HKCU_Run), (Texts{"First|first.exe|on", "Off|off.exe|off"}));
    EXPECT_EQ(Rows(TableKind::HKLM_Run), (Texts{"Untouched|u.exe|on"}));
}

// A row added or disabled since the last save exists only in memory; a refill that reads the
// document again must write it first.
TEST_F(RefreshingTest, EveryRefillStoresTheRowsNotYetWrittenBeforeReading) {
    StoreDocument("");
    const std::vector<std::pair<std::string, std::function<bool()>>> refills = {
        {"scan", [&] { return ScanAllLocations(state).Succeeded(); }},
        {"refresh", [&] { return RefreshAllTables(state).Succeeded(); }},
        {"rescan", [&] { return RescanLocation(state, TableKind::HKCU_Run); }},
    };
    for (const auto& [name, refill] : refills) {
        state.model.tables[TableKind::HKCU_Run].Add({"Pending " + name, name + ".exe"}, false);
        state.model.settingsChanged = true;
        ASSERT_TRUE(refill()) << name;
        const Texts rows = Rows(TableKind::HKCU_Run);
        EXPECT_NE(std::find(rows.begin(), rows.end(), "Pending " + name + "|" + name + ".exe|off"), rows.end())
            << name << " dropped the row";
    }
}

TEST_F(RefreshingTest, ARefillThatCannotStoreTheTablesLeavesThemAsTheyAre) {
    WriteText(machine.appFolder + "blocker", "");
    state.paths.settingsDocumentPath = machine.appFolder + "blocker/settings.xml";
    state.model.tables[TableKind::HKCU_Run].Add({"Only here", "x.exe"}, false);
    state.model.settingsChanged = true;

    const Outcome refused = RefreshAllTables(state);
    EXPECT_EQ(refused.status, OutcomeStatus::Refused);
    fe.ShowOutcome(refused);
    EXPECT_FALSE(RescanLocation(state, TableKind::HKCU_Run));
    EXPECT_EQ(Rows(TableKind::HKCU_Run), (Texts{"Only here|x.exe|off"}));
    EXPECT_NE(fe.LastMessage().find(state.paths.settingsDocumentPath), std::string::npos) << fe.LastMessage();
}

}  // namespace
}  // namespace kestrune::test
