// Scenarios with other programs played by the machine tool: entries appear in the places
// while kestrunec lists, disables, enables, runs and watches them.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;
namespace fs = std::filesystem;
using Json = nlohmann::json;

class MachineScenarioTest : public MachineScenario {
protected:
    Json ListJson(const std::vector<std::string>& tables = {}) const {
        std::vector<std::string> arguments = {"list", "--format", "json"};
        arguments.insert(arguments.end(), tables.begin(), tables.end());
        const ProcessResult result = Kestrunec(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return Json::parse(result.out);
    }
    Json Row(const std::string& table, const std::string& name) const {
        const Json doc = ListJson({table});
        for (const Json& row : doc["tables"][0]["rows"])
            if (row["values"]["Name"] == name) return row;
        ADD_FAILURE() << "no row " << name << " in " << table;
        return {};
    }
};

TEST_F(MachineScenarioTest, ListsEveryTableAsJsonAfterOtherProgramsAddedEntries) {
    RegSet(kHkcuRun, "Updater", "C:\\Program Files\\Up\\up.exe /silent");
    RegSet(kHklmRun, "Agent", "C:\\agent.exe");
    const Json doc = ListJson();
    ASSERT_EQ(doc["tables"].size(), 9u);
    const Json& hkcu = doc["tables"][3];
    EXPECT_EQ(hkcu["kind"], "HKCU_Run");
    ASSERT_EQ(hkcu["rows"].size(), 1u);
    EXPECT_EQ(hkcu["rows"][0]["position"], 1);
    EXPECT_EQ(hkcu["rows"][0]["ticked"], true);
    EXPECT_EQ(hkcu["rows"][0]["values"],
              Json({{"Name", "Updater"}, {"Path", "C:\\Program Files\\Up\\up.exe /silent"}}));
    ASSERT_EQ(doc["tables"][2]["rows"].size(), 1u);
    EXPECT_EQ(doc["tables"][2]["rows"][0]["values"]["Name"], "Agent");

    const ProcessResult csv = Kestrunec({"list", "hkcu run", "--format", "csv"});
    EXPECT_EQ(csv.out,
              "Table,Position,Ticked,Name,Path,Publisher,Key,Windows\r\n4,1,1,Updater,C:\\Program Files\\Up\\up.exe "
              "/silent,,,\r\n");
}

TEST_F(MachineScenarioTest, ListShowsThePublisherTheProgramFileNames) {
    const std::string up = folder.Path() + "Up Software/up.exe";
    fs::create_directories(folder.Path() + "Up Software");
    kestrune::test::WriteText(up, "the updater");
    kestrune::test::WriteText(up + ".version", "FileVersion=2.1\nCompanyName=Up, \"the\" Company\n");
    const std::string plain = folder.Path() + "plain.exe";
    kestrune::test::WriteText(plain, "no version information beside it");
    RegSet(kHkcuRun, "Updater", "\"" + up + "\" /silent");
    RegSet(kHkcuRun, "Plain", plain);
    ASSERT_EQ(Machine({"lnk", "create", Folder("common") + "/Up.lnk", "--target", up}).status, 0);

    EXPECT_EQ(Row("HKCU_Run", "Updater")["publisher"], "Up, \"the\" Company");
    EXPECT_EQ(Row("HKCU_Run", "Plain")["publisher"], "");
    EXPECT_EQ(Row("Common", "Up")["publisher"], "Up, \"the\" Company");
    // Tables of the program's own carry no publisher.
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "Mail", "--path", up, "--delay", "3"}).status, 0);
    EXPECT_FALSE(Row("Delayed", "Mail").contains("publisher"));

    // In CSV the publisher comes last, after every listed table's own columns.
    const ProcessResult csv = Kestrunec({"list", "HKCU_Run", "Delayed", "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.out.find("Table,Position,Ticked,Name,Path,Delay,Previous,Priority,Publisher,Key,Windows,Impact,"),
              std::string::npos)
        << csv.out;
    EXPECT_NE(csv.out.find("/silent\",,,,\"Up, \"\"the\"\" Company\",,,,,,,\r\n"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("6,1,0,Mail," + up + ",3,,,,,,Not measured,,,,\r\n"), std::string::npos) << csv.out;
}

TEST_F(MachineScenarioTest, ARedirectedUserStartupFolderIsTheOneListed) {
    const std::string redirected = folder.Path() + "Redirected Startup";
    fs::create_directories(redirected);
    ASSERT_EQ(Machine({"lnk", "create", redirected + "/Notes.lnk", "--target", "/usr/bin/env"}).status, 0);
    ASSERT_EQ(Machine({"lnk", "create", Folder("user") + "/Stale.lnk", "--target", "/usr/bin/env"}).status, 0);
    RegSet("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Startup", redirected);

    const Json doc = ListJson({"User"});
    ASSERT_EQ(doc["tables"][0]["rows"].size(), 1u) << doc.dump();
    EXPECT_EQ(doc["tables"][0]["rows"][0]["values"]["Name"], "Notes");
}

TEST_F(MachineScenarioTest, DisablingAndEnablingTakesTheValueOutAndPutsItBack) {
    RegSet(kHkcuRun, "Updater", "C:\\up.exe");
    RegSet(kHkcuRun, "Other", "C:\\other.exe");

    const ProcessResult disabled = Kestrunec({"disable", "HKCU_Run", "updater"});
    ASSERT_EQ(disabled.status, 0) << disabled.err;
    EXPECT_EQ(RegList(kHkcuRun).find("Updater"), std::string::npos) << RegList(kHkcuRun);
    EXPECT_NE(RegList(kHkcuRun).find("Other"), std::string::npos);
    // The unticked row lives in the settings document until it is enabled again.
    EXPECT_NE(Document().find("<HKCU_Run>"), std::string::npos) << Document();
    EXPECT_NE(Document().find("<name>Updater</name>"), std::string::npos) << Document();
    const Json between = ListJson({"4"});
    ASSERT_EQ(between["tables"][0]["rows"].size(), 2u);
    bool foundUnticked = false;
    for (const Json& row : between["tables"][0]["rows"]) {
        if (row["values"]["Name"] == "Updater") foundUnticked = row["ticked"] == false;
    }
    EXPECT_TRUE(foundUnticked) << between.dump();
    EXPECT_GE(LogLinesWith("Deleting registry shortcut to C:\\up.exe"), 1) << Log();

    const ProcessResult again = Kestrunec({"disable", "HKCU Run", "Updater"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "\"Updater\" is already disabled\n");

    const ProcessResult enabled = Kestrunec({"enable", "4", "UPDATER"});
    ASSERT_EQ(enabled.status, 0) << enabled.err;
    EXPECT_NE(RegList(kHkcuRun).find("C:\\up.exe"), std::string::npos) << RegList(kHkcuRun);
    EXPECT_EQ(Document().find("<name>Updater</name>"), std::string::npos) << Document();
    const Json after = ListJson({"HKCU_Run"});
    for (const Json& row : after["tables"][0]["rows"]) EXPECT_EQ(row["ticked"], true) << row.dump();
}

// What each command did, in words for someone who sees no table, and an exit status that says
// whether it was done.
TEST_F(MachineScenarioTest, EachRowCommandSaysWhatItDidAndRefusalsEndWithStatusOne) {
    RegSet(kHkcuRun, "Updater", "C:\\up.exe");
    RegSet(kHkcuRun, "Locked", "C:\\locked.exe");

    const ProcessResult disabled = Kestrunec({"disable", "HKCU_Run", "updater"});
    EXPECT_EQ(disabled.status, 0) << disabled.err;
    EXPECT_EQ(disabled.out, "disabled \"Updater\" in HKCU Run; it is kept in settings.xml\n");
    const ProcessResult enabled = Kestrunec({"toggle", "HKCU_Run", "Updater"});
    EXPECT_EQ(enabled.status, 0) << enabled.err;
    EXPECT_EQ(enabled.out, "enabled \"Updater\" in HKCU Run\n");
    const ProcessResult already = Kestrunec({"enable", "HKCU_Run", "Updater"});
    EXPECT_EQ(already.status, 0) << already.err;
    EXPECT_EQ(already.out, "\"Updater\" is already enabled\n");

    const ProcessResult deleted = Kestrunec({"delete", "HKCU_Run", "Updater"});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "deleted \"Updater\" from HKCU Run; it is kept in Deleted\n");
    const ProcessResult kept = Kestrunec({"--no", "delete", "Deleted", "Updater"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.out, "kept \"Updater\" in Deleted\n");

    const ProcessResult moved = Kestrunec({"move", "Deleted", "Updater", "--to", "User"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    EXPECT_EQ(moved.out, "moved \"Updater\" from Deleted to Startup (user)\n");

    // The system's refusal: its reason on standard error, what was not done on standard output.
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);
    const ProcessResult refused = Kestrunec({"disable", "HKCU_Run", "Locked"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "did not disable \"Locked\" in HKCU Run\n");
    EXPECT_EQ(refused.err, "The system refused the change to Locked:\nAccess is denied.\n");
    EXPECT_NE(RegList(kHkcuRun).find("Locked"), std::string::npos);
}

// The editor's commands say what they stored, and a refusal (the system keeping the old entry)
// ends with status 1 and leaves the place as it was.
TEST_F(MachineScenarioTest, AddAndEditSayWhatTheyStoredAndRefusalsEndWithStatusOne) {
    const ProcessResult added = Kestrunec({"add", "HKCU_Run", "--name", "Updater", "--path", "C:\\up.exe"});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "added \"Updater\" to HKCU Run\n");

    const ProcessResult delayed = Kestrunec({"add", "Delayed", "--name", "Mail", "--path", "mail.exe"});
    EXPECT_EQ(delayed.out, "added \"Mail\" to Delayed\n");
    const ProcessResult renamed = Kestrunec({"edit", "Delayed", "Mail", "--name", "Post", "--delay", "5"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "changed \"Post\" in Delayed\n");

    ASSERT_EQ(Kestrunec({"enable", "HKCU_Run", "Updater"}).status, 0);
    const ProcessResult identified = Kestrunec({"identify", "HKCU_Run", "Updater", "--engine", "5"});
    EXPECT_EQ(identified.status, 0) << identified.err;
    EXPECT_EQ(identified.out, "http://www.google.com/search?q=up.exe\n");

    // The new path is one that is already enabled: the row keeps its new fields, disabled.
    RegSet(kHkcuRun, "Other", "C:\\other.exe");
    const ProcessResult clash = Kestrunec({"edit", "HKCU_Run", "Other", "--path", "C:\\up.exe"});
    EXPECT_EQ(clash.status, 1);
    EXPECT_EQ(clash.out,
              "changed \"Other\" in HKCU Run; its new entry could not be put in its place, so it is disabled\n");
    EXPECT_EQ(clash.err, "This program has already been enabled\n");
    EXPECT_EQ(RegList(kHkcuRun).find("Other"), std::string::npos);
    EXPECT_EQ(Row("HKCU_Run", "Other")["ticked"], false);

    // A new path takes the old entry out first; the system keeps it, so nothing changes.
    const std::string before = RegList(kHkcuRun);
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);
    const ProcessResult refused = Kestrunec({"edit", "HKCU_Run", "Updater", "--path", "C:\\new.exe"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "did not change \"Updater\" in HKCU Run\n");
    EXPECT_EQ(refused.err, "The system refused the change to Updater:\nAccess is denied.\n");
    EXPECT_EQ(RegList(kHkcuRun), before);
    const Json row = Row("HKCU_Run", "Updater");
    EXPECT_EQ(row["values"]["Path"], "C:\\up.exe");
    EXPECT_EQ(row["ticked"], true);
}

TEST_F(MachineScenarioTest, ABackupSaysWhichFileItWrote) {
    const ProcessResult backup = Kestrunec({"backup"});
    ASSERT_EQ(backup.status, 0) << backup.err;
    std::string written;
    for (const auto& entry : fs::directory_iterator(app))
        if (entry.path().filename().string().rfind("backup_", 0) == 0) written = entry.path().filename().string();
    ASSERT_FALSE(written.empty());
    // The message keeps its text and names the file on a line of its own.
    EXPECT_EQ(backup.err.rfind("Backup XML file saved.\n", 0), 0u) << backup.err;
    EXPECT_NE(backup.err.find(written + "\n"), std::string::npos) << backup.err;
    EXPECT_NE(backup.out.find("saved a backup of every table to "), std::string::npos) << backup.out;
}

TEST_F(MachineScenarioTest, EnablingAPathAlreadyEnabledIsRefusedWithTheProgramsMessage) {
    RegSet(kHkcuRun, "First", "C:\\same.exe");
    ASSERT_EQ(Kestrunec({"add", "HKCU_Run", "--name", "Second", "--path", "C:\\same.exe"}).status, 0);
    const ProcessResult refused = Kestrunec({"enable", "HKCU_Run", "Second"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "This program has already been enabled\n");
    EXPECT_EQ(RegList(kHkcuRun).find("Second"), std::string::npos);
}

TEST_F(MachineScenarioTest, DeletingFromDeletedAsksAndWithoutAnAnswerRefusesWithStatusTwo) {
    RegSet(kHkcuRun, "Updater", "C:\\up.exe");
    ASSERT_EQ(Kestrunec({"delete", "HKCU_Run", "Updater"}).status, 0);
    EXPECT_EQ(RegList(kHkcuRun).find("Updater"), std::string::npos);
    Json doc = ListJson({"Deleted"});
    ASSERT_EQ(doc["tables"][0]["rows"].size(), 1u);
    EXPECT_EQ(doc["tables"][0]["rows"][0]["values"]["Path"], "C:\\up.exe");

    const ProcessResult unanswered = Kestrunec({"delete", "Deleted", "updater"});
    EXPECT_EQ(unanswered.status, 2);
    EXPECT_EQ(unanswered.err,
              "kestrunec: the program asks \"Do you want to permanantly delete this item?\": answer it with --yes or "
              "--no\n");
    EXPECT_EQ(ListJson({"7"})["tables"][0]["rows"].size(), 1u);

    EXPECT_EQ(Kestrunec({"--no", "delete", "Deleted", "updater"}).status, 1);
    EXPECT_EQ(ListJson({"7"})["tables"][0]["rows"].size(), 1u);
    EXPECT_EQ(Kestrunec({"delete", "Deleted", "--row", "1", "--yes"}).status, 0);
    EXPECT_TRUE(ListJson({"7"})["tables"][0]["rows"].empty());
}

TEST_F(MachineScenarioTest, AddedAndEditedRowsGoThroughTheItemEditor) {
    const ProcessResult added =
        Kestrunec({"add", "Delayed", "--name", "Mail", "--path", "mail.exe", "--priority", "high"});
    ASSERT_EQ(added.status, 0) << added.err;
    Json row = ListJson({"Delayed"})["tables"][0]["rows"][0];
    EXPECT_EQ(row["ticked"], false);
    EXPECT_EQ(row["values"]["Delay"], "1");  // the editor's default for a new delayed row
    EXPECT_EQ(row["values"]["Priority"], "High");

    ASSERT_EQ(Kestrunec({"edit", "Delayed", "mail", "--delay", "-2", "--name", "Post"}).status, 0);
    row = ListJson({"Delayed"})["tables"][0]["rows"][0];
    EXPECT_EQ(row["values"]["Name"], "Post");
    EXPECT_EQ(row["values"]["Delay"], "-2");
    EXPECT_EQ(row["values"]["Path"], "mail.exe");

    const ProcessResult badPriority = Kestrunec({"edit", "Delayed", "Post", "--priority", "Urgent"});
    EXPECT_EQ(badPriority.status, 2);
    EXPECT_EQ(badPriority.err.rfind("kestrunec: unknown priority \"Urgent\"", 0), 0u) << badPriority.err;
    EXPECT_EQ(Kestrunec({"add", "HKCU_Run", "--name", "X", "--path", "x.exe", "--delay", "3"}).status, 2);

    ASSERT_EQ(Kestrunec({"add", "User", "--name", "Tool", "--path", "C:\\tool.exe", "--args", "/min"}).status, 0);
    row = ListJson({"User"})["tables"][0]["rows"][0];
    EXPECT_EQ(row["values"]["Arguments"], "/min");
    ASSERT_EQ(Kestrunec({"add", "4", "--name", "Spaced", "--path", "C:\\My Apps\\a.exe", "--args", "-q"}).status, 0);
    EXPECT_EQ(ListJson({"4"})["tables"][0]["rows"][0]["values"]["Path"], "\"C:\\My Apps\\a.exe\" -q");
}

TEST_F(MachineScenarioTest, ADelayedRunStartsBothCommandsAndShowsItsProgress) {
    const std::string first = folder.Path() + "first.txt", second = folder.Path() + "second.txt";
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "One", "--path", "/bin/sh -c 'echo one > " + first + "'",
                         "--delay", "1"})
                  .status,
              0);
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "Two", "--path", "/bin/sh -c 'echo two > " + second + "'",
                         "--delay", "2"})
                  .status,
              0);
    ASSERT_EQ(Kestrunec({"enable", "Delayed", "One"}).status, 0);
    ASSERT_EQ(Kestrunec({"enable", "Delayed", "Two"}).status, 0);

    const auto begin = std::chrono::steady_clock::now();
    const ProcessResult run = Kestrunec({"run-delayed"});
    const auto took = std::chrono::steady_clock::now() - begin;
    ASSERT_EQ(run.status, 0) << run.err;
    // The run ends by itself once both have started; the margin is for start-up and shut-down
    // under sanitizers on a busy machine.
    EXPECT_GE(took, std::chrono::seconds(2));
    EXPECT_LT(took, std::chrono::seconds(60));
    EXPECT_NE(run.out.find("Running delayed applications..."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 seconds have passed"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sh - 1 out of 2 (50%)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sh - 2 out of 2 (100%)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Finished running delayed applications."), std::string::npos) << run.out;

    for (int wait = 0; wait < 50 && !(fs::exists(first) && fs::exists(second)); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(kestrune::test::ReadText(first), "one\n");
    EXPECT_EQ(kestrune::test::ReadText(second), "two\n");
}

TEST_F(MachineScenarioTest, ADelayedProgramThatCannotStartIsLoggedAsAnError) {
    const std::string command = "/nonexistent/prog.exe -a";
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "Gone", "--path", command, "--delay", "1"}).status, 0);
    ASSERT_EQ(Kestrunec({"enable", "Delayed", "Gone"}).status, 0);
    const ProcessResult run = Kestrunec({"run-delayed"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string log = Log();
    const size_t running = log.find("Running " + command + "\r\n");
    ASSERT_NE(running, std::string::npos) << log;
    const size_t error = log.find("Error running " + command + "\r\n", running);
    ASSERT_NE(error, std::string::npos) << log;
    EXPECT_NE(log.find("Error 2 - No such file or directory\r\n", error), std::string::npos) << log;
}

TEST_F(MachineScenarioTest, ADelayedRowsPriorityReachesTheProgramItStarted) {
    // A copy of sleep under a name no other process has, so that only the started one counts.
    const std::string name = "KestruneLowly" + std::to_string(::getpid());
    const std::string program = folder.Path() + name;
    fs::copy_file("/usr/bin/sleep", program);
    ASSERT_EQ(
        Kestrunec({"add", "Delayed", "--name", name, "--path", program + " 30", "--delay", "1", "--priority", "Low"})
            .status,
        0);
    ASSERT_EQ(Kestrunec({"enable", "Delayed", name}).status, 0);
    // Not followed: the run would otherwise wait the program's 30 seconds out before ending.
    const ProcessResult run = Kestrunec({"run-delayed", "--measure", "0"});
    ASSERT_EQ(run.status, 0) << run.err;

    long started = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string id = entry.path().filename().string();
        if (id.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code linkError;
        if (fs::read_symlink(entry.path() / "exe", linkError) == program) started = std::stol(id);
    }
    ASSERT_NE(started, 0) << "the program is not running";
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(started));
    ::kill(static_cast<pid_t>(started), SIGKILL);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(nice, 19) << "Low is the lowest priority";
}

TEST_F(MachineScenarioTest, TheMonitorDeniesAValueAddedDuringItsRun) {
    RegSet(kHkcuRun, "Present", "C:\\present.exe");
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "deny"}));
    // The value must come after the monitor's first look, which only takes its snapshot.
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    RegSet(kHkcuRun, "Intruder", "C:\\intruder.exe");
    const ProcessResult result = monitor.Wait();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("The following programs"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("C:\\intruder.exe"), std::string::npos) << result.err;
    // The question says where the newcomer registered.
    EXPECT_NE(result.err.find("  Intruder \u2014 HKCU Run\n"), std::string::npos) << result.err;
    EXPECT_EQ(RegList(kHkcuRun).find("Intruder"), std::string::npos) << RegList(kHkcuRun);
    EXPECT_NE(RegList(kHkcuRun).find("Present"), std::string::npos);
    EXPECT_GE(LogLinesWith("Deleting "), 1) << Log();
    // The option itself is left as it was.
    EXPECT_NE(kestrune::test::ReadText(app + "/settings.ini").find("Monitor=0"), std::string::npos);
}

TEST_F(MachineScenarioTest, CtrlCEndsTheMonitorButKeepsWhatItRemembered) {
    test::BackgroundProcess monitor(KESTRUNEC_PATH,
                                    WithFolders({"monitor", "--seconds", "600", "--answer", "allow", "--remember"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    RegSet(kHkcuRun, "Newcomer", "C:\\newcomer.exe");
    // The answer is taken on the tick that asked; a signal that comes meanwhile waits for the tick.
    ASSERT_TRUE(monitor.WaitForError("C:\\newcomer.exe", std::chrono::seconds(30)));

    const auto interrupted = std::chrono::steady_clock::now();
    monitor.Signal(SIGINT);
    const ProcessResult result = monitor.Wait();
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(10));
    EXPECT_EQ(result.status, 130) << result.err;
    EXPECT_NE(result.out.find("Interrupted; saving the settings and exiting."), std::string::npos) << result.out;
    // The shut-down ran: the remembered answer is in the document and the options were written.
    EXPECT_NE(Document().find("C:\\newcomer.exe"), std::string::npos) << Document();
    EXPECT_TRUE(fs::exists(app + "/settings.ini"));
    EXPECT_NE(RegList(kHkcuRun).find("Newcomer"), std::string::npos);
}

}  // namespace
}  // namespace kestrune::cli
