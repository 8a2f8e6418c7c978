// What the user was told is done is on disk, and what a place refuses is not reported as done,
// looked at from outside: kestrunec and the machine tool as processes, the program folder
// through its files.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <thread>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;
namespace fs = std::filesystem;

class KeptEditsScenarioTest : public MachineScenario {
protected:
    // (name, path) of every item stored under Root/<table>; fails the test when the document
    // does not parse.
    std::vector<std::pair<std::string, std::string>> Stored(const char* table) const {
        std::vector<std::pair<std::string, std::string>> items;
        const std::string path = app + "/settings.xml";
        if (!fs::exists(path)) return items;
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed = doc.load_file(path.c_str());
        EXPECT_TRUE(parsed) << parsed.description() << "\n" << kestrune::test::ReadText(path);
        for (pugi::xml_node item : doc.child("Root").child(table).children())
            items.emplace_back(item.child("name").text().get(), item.child("path").text().get());
        return items;
    }
    bool StoredName(const char* table, const std::string& name) const {
        for (const auto& [stored, path] : Stored(table))
            if (stored == name) return true;
        return false;
    }
};

// Each run adds one Delayed row and is killed at a random moment; every row whose "added" line
// reached the terminal must be in the document afterwards.
TEST_F(KeptEditsScenarioTest, KilledAtRandomMomentsEveryRowReportedAddedIsInTheDocument) {
    constexpr int kRuns = 50;
    auto addArguments = [](int i) {
        return std::vector<std::string>{"add",    "Delayed",           "--name",  "Row" + std::to_string(i),
                                        "--path", "/usr/bin/env true", "--delay", "3"};
    };
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult first = Kestrunec(addArguments(0));
    ASSERT_EQ(first.status, 0) << first.err;
    const auto runTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(StoredName("Delayed", "Row0"));

    std::mt19937 random(20261210);
    // The row is reported late in a run: the kills fall around its end, some after it.
    std::uniform_int_distribution<long long> moment(runTime.count() / 2, runTime.count() * 5 / 4);
    std::vector<std::string> reported{"Row0"};
    for (int i = 1; i < kRuns; ++i) {
        test::BackgroundProcess run(KESTRUNEC_PATH, WithFolders(addArguments(i)));
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        run.Signal(SIGKILL);
        const ProcessResult result = run.Wait();
        if (result.out.find("added \"Row" + std::to_string(i) + "\"") != std::string::npos)
            reported.push_back("Row" + std::to_string(i));
        for (const std::string& name : reported)
            ASSERT_TRUE(StoredName("Delayed", name))
                << name << " was reported added but is not stored (run " << i << ")\n"
                << Document();
    }
    // The kills must have left some runs whole, or the test proved nothing.
    EXPECT_GT(reported.size(), 1u);
}

TEST_F(KeptEditsScenarioTest, ANewProcessRowWithAPriorityIsStored) {
    const ProcessResult added =
        Kestrunec({"add", "Process", "--name", "cruncher", "--path", "/opt/cruncher", "--priority", "Low"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.out.find("added \"cruncher\""), std::string::npos) << added.out;
    const auto stored = Stored("Process");
    ASSERT_EQ(stored.size(), 1u) << Document();
    EXPECT_EQ(stored[0].first, "cruncher");
    EXPECT_NE(Document().find("<priority>Low</priority>"), std::string::npos) << Document();
}

TEST_F(KeptEditsScenarioTest, WithSkipSaveOnExitTheProfileListFollowsItsDocuments) {
    ASSERT_EQ(Kestrunec({"profile", "add", "Work"}).status, 0);
    ASSERT_EQ(Kestrunec({"profile", "use", "Work"}).status, 0);
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "Mail", "--path", "/usr/bin/env true"}).status, 0);
    ASSERT_TRUE(fs::exists(app + "/work.xml"));
    ASSERT_EQ(Kestrunec({"profile", "use", "[default]"}).status, 0);
    ASSERT_EQ(Kestrunec({"option", "set", "Skip save on exit", "1"}).status, 0);

    const ProcessResult renamed = Kestrunec({"profile", "rename", "Work", "Job"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_TRUE(fs::exists(app + "/job.xml"));
    EXPECT_EQ(kestrune::test::ReadText(app + "/profiles.txt"), "Job");
    ASSERT_EQ(Kestrunec({"profile", "add", "Extra"}).status, 0);
    EXPECT_EQ(kestrune::test::ReadText(app + "/profiles.txt"), "Job\r\nExtra");

    // The renamed profile still reaches its rows.
    ASSERT_EQ(Kestrunec({"profile", "use", "Job"}).status, 0);
    EXPECT_NE(Kestrunec({"list", "Delayed"}).out.find("Mail"), std::string::npos);
}

TEST_F(KeptEditsScenarioTest, AProfileListThatCannotBeWrittenRefusesTheAdd) {
    // A folder where the file should be: no one can write it.
    fs::create_directories(app + "/profiles.txt");
    const ProcessResult added = Kestrunec({"profile", "add", "Extra"});
    EXPECT_EQ(added.status, 1) << added.out;
    EXPECT_NE(added.err.find("The profile list could not be written"), std::string::npos) << added.err;
    EXPECT_EQ(Kestrunec({"profile", "list"}).out.find("Extra"), std::string::npos);
}

TEST_F(KeptEditsScenarioTest, AMoveIntoAPlaceThatRefusesEndsWithStatusOneAndTheEntryStays) {
    RegSet(kHkcuRun, "Mover", "/usr/bin/env true");
    ASSERT_EQ(Machine({"deny", kHklmRun}).status, 0);

    const ProcessResult moved = Kestrunec({"move", "HKCU_Run", "Mover", "--to", "HKLM_Run"});
    EXPECT_EQ(moved.status, 1) << moved.out;
    EXPECT_NE(moved.err.find("Access is denied."), std::string::npos) << moved.err;
    EXPECT_NE(moved.out.find("did not move \"Mover\""), std::string::npos) << moved.out;
    EXPECT_TRUE(InKey(kHkcuRun, "Mover")) << RegList(kHkcuRun);
    EXPECT_FALSE(InKey(kHklmRun, "Mover")) << RegList(kHklmRun);
    const std::string hklm = Kestrunec({"list", "HKLM_Run", "--format", "csv"}).out;
    EXPECT_EQ(hklm.find("Mover"), std::string::npos) << hklm;
}

TEST_F(KeptEditsScenarioTest, AShortcutNamedInCapitalsCanBeDisabledAndEnabled) {
    const std::string folderPath = UserFolder();
    ASSERT_EQ(
        Machine({"lnk", "create", folderPath + "/Upper.LNK", "--target", "/usr/bin/sleep", "--args", "300"}).status, 0);
    const ProcessResult disabled = Kestrunec({"disable", "User", "Upper"});
    ASSERT_EQ(disabled.status, 0) << disabled.err;
    EXPECT_FALSE(fs::exists(folderPath + "/Upper.LNK")) << "reported disabled, but the shortcut is still there";
    ASSERT_EQ(Kestrunec({"enable", "User", "Upper"}).status, 0);
    EXPECT_NE(Machine({"lnk", "show", folderPath + "/Upper.lnk"}).out.find("/usr/bin/sleep"), std::string::npos);
}

TEST_F(KeptEditsScenarioTest, WhatTheMonitorRemovesIsKeptInDeletedAndCanComeBack) {
    const std::string folderPath = UserFolder();
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "3", "--answer", "deny"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    RegSet(kHkcuRun, "Updater", "/usr/bin/env updater");
    ASSERT_EQ(
        Machine({"lnk", "create", folderPath + "/Sleeper.lnk", "--target", "/usr/bin/sleep", "--args", "300"}).status,
        0);
    const ProcessResult watched = monitor.Wait();
    ASSERT_EQ(watched.status, 0) << watched.err;
    ASSERT_FALSE(InKey(kHkcuRun, "Updater"));
    ASSERT_FALSE(fs::exists(folderPath + "/Sleeper.lnk"));

    const auto deleted = Stored("Deleted");
    const std::vector<std::pair<std::string, std::string>> expected{{"Updater", "/usr/bin/env updater"},
                                                                    {"Sleeper", "/usr/bin/sleep"}};
    for (const auto& row : expected)
        EXPECT_NE(std::find(deleted.begin(), deleted.end(), row), deleted.end()) << row.first << "\n" << Document();

    // Both come back whole, arguments included.
    ASSERT_EQ(Kestrunec({"move", "Deleted", "Sleeper", "--to", "User"}).status, 0);
    ASSERT_EQ(Kestrunec({"enable", "User", "Sleeper"}).status, 0);
    const std::string shown = Machine({"lnk", "show", folderPath + "/Sleeper.lnk"}).out;
    EXPECT_NE(shown.find("300"), std::string::npos) << shown;
    ASSERT_EQ(Kestrunec({"move", "Deleted", "Updater", "--to", "HKCU_Run"}).status, 0);
    ASSERT_EQ(Kestrunec({"enable", "HKCU_Run", "Updater"}).status, 0);
    EXPECT_NE(RegList(kHkcuRun).find("/usr/bin/env updater"), std::string::npos) << RegList(kHkcuRun);
}

TEST_F(KeptEditsScenarioTest, TheMonitorLeavesANewcomerInAFolderThatRefusesAndSaysSoOnce) {
    const std::string folderPath = UserFolder();
    ASSERT_EQ(Machine({"deny", folderPath}).status, 0);
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "deny"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    // Another program writes its shortcut; the refusal is Kestrune's alone.
    ASSERT_EQ(Machine({"lnk", "create", folderPath + "/Agent.lnk", "--target", "/usr/bin/env"}).status, 0);
    ASSERT_EQ(monitor.Wait().status, 0);

    EXPECT_TRUE(fs::exists(folderPath + "/Agent.lnk"));
    const std::string log = Log();
    const std::string refused = "Agent.lnk: Error 5 - Access is denied.";
    EXPECT_NE(log.find("Could not remove " + folderPath), std::string::npos) << log;
    const auto at = log.find(refused);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_EQ(log.find(refused, at + 1), std::string::npos) << "logged more than once\n" << log;
    EXPECT_FALSE(StoredName("Deleted", "Agent")) << "kept in Deleted although it never left its place";
}

TEST_F(KeptEditsScenarioTest, LoadingABackupSaysThePlacesAreUnchangedAndApplyPutsItsEntriesThere) {
    RegSet(kHkcuRun, "Updater", "/usr/bin/env updater");
    const ProcessResult backup = Kestrunec({"backup"});
    ASSERT_EQ(backup.status, 0) << backup.err;
    std::string file;
    for (const auto& entry : fs::directory_iterator(app))
        if (entry.path().filename().string().starts_with("backup_")) file = entry.path().string();
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(Machine({"reg", "delete", kHkcuRun, "Updater"}).status, 0);

    const ProcessResult loaded = Kestrunec({"load-backup", file});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("HKCU Run"), std::string::npos) << loaded.out;
    EXPECT_NE(loaded.out.find("The start-up places were not changed."), std::string::npos) << loaded.out;
    EXPECT_FALSE(InKey(kHkcuRun, "Updater"));

    const ProcessResult applied = Kestrunec({"load-backup", "--apply", file});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_NE(applied.out.find("enabled \"Updater\" in HKCU Run"), std::string::npos) << applied.out;
    EXPECT_TRUE(InKey(kHkcuRun, "Updater")) << RegList(kHkcuRun);

    // Through the same refusals as a tick.
    ASSERT_EQ(Machine({"reg", "delete", kHkcuRun, "Updater"}).status, 0);
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);
    const ProcessResult refused = Kestrunec({"load-backup", "--apply", file});
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_NE(refused.err.find("Access is denied."), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace kestrune::cli
