// What kestrunec leaves behind when a change goes wrong, looked at from outside: the machine
// through the machine tool and the program folder through its files. An entry taken out of its
// place must be in a stored document before the command ends, whatever the options say, and
// whenever the program is killed; a change that the document or the system refuses leaves the
// entry where it was and ends with status 1.

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

class DurabilityScenarioTest : public MachineScenario {
protected:
    void RegSet(const std::string& name, const std::string& data) const {
        MachineScenario::RegSet(kHkcuRun, name, data);
    }
    std::string RunKey() const { return Machine({"reg", "list", kHkcuRun}).out; }
    bool InPlace(const std::string& name) const { return RunKey().find(name + "\t") != std::string::npos; }
    std::string DocumentPath() const { return app + "/settings.xml"; }

    // The names stored under HKCU_Run and Deleted; fails the test when the document does not parse.
    std::vector<std::string> StoredNames() const {
        std::vector<std::string> names;
        if (!fs::exists(DocumentPath())) return names;
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed = doc.load_file(DocumentPath().c_str());
        EXPECT_TRUE(parsed) << parsed.description() << "\n" << kestrune::test::ReadText(DocumentPath());
        for (const char* table : {"HKCU_Run", "Deleted"}) {
            for (pugi::xml_node item : doc.child("Root").child(table).children())
                names.push_back(item.first_child().text().get());
        }
        return names;
    }
    bool Stored(const std::string& name) const {
        const auto names = StoredNames();
        return std::find(names.begin(), names.end(), name) != names.end();
    }
};

TEST_F(DurabilityScenarioTest, WithSkipSaveOnExitADisabledEntryIsStillStored) {
    RegSet("Updater", "C:\\up.exe");
    ASSERT_EQ(Kestrunec({"option", "set", "Skip save on exit", "1"}).status, 0);

    const ProcessResult disabled = Kestrunec({"disable", "HKCU_Run", "Updater"});
    ASSERT_EQ(disabled.status, 0) << disabled.err;
    EXPECT_FALSE(InPlace("Updater")) << RunKey();
    EXPECT_TRUE(Stored("Updater")) << "the entry is in neither its place nor the document";

    // Deleting and moving take entries out too.
    RegSet("Helper", "C:\\helper.exe");
    RegSet("Mover", "C:\\mover.exe");
    ASSERT_EQ(Kestrunec({"delete", "HKCU_Run", "Helper"}).status, 0);
    ASSERT_EQ(Kestrunec({"move", "HKCU_Run", "Mover", "--to", "Delayed"}).status, 0);
    EXPECT_FALSE(InPlace("Helper"));
    EXPECT_FALSE(InPlace("Mover"));
    EXPECT_TRUE(Stored("Helper")) << kestrune::test::ReadText(DocumentPath());
    EXPECT_NE(kestrune::test::ReadText(DocumentPath()).find("<name>Mover</name>"), std::string::npos);
    EXPECT_TRUE(Stored("Updater"));
}

TEST_F(DurabilityScenarioTest, AProgramFolderThatCannotBeWrittenLeavesTheEntryInItsPlace) {
    RegSet("Updater", "C:\\up.exe");
    // A folder below a plain file can be made by no one, root included.
    kestrune::test::WriteText(folder.Path() + "blocker", "not a folder");
    app = folder.Path() + "blocker/app";

    const ProcessResult disabled = Kestrunec({"disable", "HKCU_Run", "Updater"});
    EXPECT_EQ(disabled.status, 1);
    EXPECT_NE(disabled.err.find(DocumentPath()), std::string::npos) << disabled.err;
    // The system's reason follows on a line of its own.
    EXPECT_NE(disabled.err.find("so the entry was left in its place.\nThe system cannot find the path specified.\n"),
              std::string::npos)
        << disabled.err;
    EXPECT_TRUE(InPlace("Updater")) << RunKey();

    const ProcessResult deleted = Kestrunec({"delete", "HKCU_Run", "Updater"});
    EXPECT_EQ(deleted.status, 1);
    EXPECT_TRUE(InPlace("Updater")) << RunKey();
}

TEST_F(DurabilityScenarioTest, AKeyThatRefusesChangesIsNotReportedAsChanged) {
    RegSet("Updater", "C:\\up.exe");
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);

    const ProcessResult disabled = Kestrunec({"disable", "HKCU_Run", "Updater"});
    EXPECT_EQ(disabled.status, 1);
    EXPECT_NE(disabled.err.find("Access is denied."), std::string::npos) << disabled.err;
    EXPECT_TRUE(InPlace("Updater"));
    EXPECT_FALSE(Stored("Updater")) << "stored as if it had been disabled";
    EXPECT_GE(LogLinesWith("Could not delete registry shortcut to C:\\up.exe: Error 5 - Access is denied."), 1)
        << Log();

    // Once allowed, the same command works; enabling in a refusing key then fails the same way.
    ASSERT_EQ(Machine({"allow", kHkcuRun}).status, 0);
    ASSERT_EQ(Kestrunec({"disable", "HKCU_Run", "Updater"}).status, 0);
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);
    const ProcessResult enabled = Kestrunec({"enable", "HKCU_Run", "Updater"});
    EXPECT_EQ(enabled.status, 1);
    EXPECT_FALSE(InPlace("Updater"));
    EXPECT_TRUE(Stored("Updater")) << "the disabled row must stay stored";
}

TEST_F(DurabilityScenarioTest, AStartupFolderThatRefusesChangesKeepsItsShortcut) {
    const std::string common = Machine({"folder", "common"}).out;
    const std::string folderPath = common.substr(0, common.find('\n'));
    ASSERT_EQ(Machine({"lnk", "create", folderPath + "/Agent.lnk", "--target", "/usr/bin/env"}).status, 0);
    ASSERT_EQ(Machine({"deny", folderPath}).status, 0);

    const ProcessResult disabled = Kestrunec({"disable", "Common", "Agent"});
    EXPECT_EQ(disabled.status, 1);
    EXPECT_NE(disabled.err.find("Access is denied."), std::string::npos) << disabled.err;
    EXPECT_TRUE(fs::exists(folderPath + "/Agent.lnk"));
}

// Every run disables one more entry and is killed at a random moment of its life; after each,
// the document must parse and every entry disabled so far must be in its place or stored.
TEST_F(DurabilityScenarioTest, KilledAtRandomMomentsTheDocumentKeepsEveryRow) {
    constexpr int kRuns = 50;
    for (int i = 0; i < kRuns; ++i) RegSet("Entry" + std::to_string(i), "C:\\entry" + std::to_string(i) + ".exe");
    ASSERT_EQ(Kestrunec({"option", "set", "Skip save on exit", "1"}).status, 0);

    // How long one uninterrupted run takes, to spread the kills over it.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Kestrunec({"disable", "HKCU_Run", "Entry0"}).status, 0);
    const auto runTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

    std::mt19937 random(20261209);
    // Start-up takes most of a run and the saves come at its end: the kills fall in its second half.
    std::uniform_int_distribution<long long> moment(runTime.count() / 2, runTime.count());
    for (int i = 1; i < kRuns; ++i) {
        const std::string name = "Entry" + std::to_string(i);
        test::BackgroundProcess run(KESTRUNEC_PATH, WithFolders({"disable", "HKCU_Run", name}));
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        run.Signal(SIGKILL);
        run.Wait();
        const std::vector<std::string> stored = StoredNames();
        const std::string place = RunKey();
        for (int j = 0; j <= i; ++j) {
            const std::string entry = "Entry" + std::to_string(j);
            const bool kept = place.find(entry + "\t") != std::string::npos ||
                              std::find(stored.begin(), stored.end(), entry) != stored.end();
            ASSERT_TRUE(kept) << entry << " lost after run " << i << "\n" << place;
        }
    }
}

}  // namespace
}  // namespace kestrune::cli
