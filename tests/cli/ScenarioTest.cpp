// Scenarios that run the built kestrunec against a temporary program folder and emulated
// machine, as a script would.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "ChildProcess.h"
#include "support/TestMachine.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;
namespace fs = std::filesystem;

class ScenarioTest : public ::testing::Test {
protected:
    kestrune::test::TempFolder folder;
    std::string app = folder.Path() + "app";
    std::string machine = folder.Path() + "machine";

    void SetUp() override { fs::create_directories(app); }

    ProcessResult Kestrunec(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--app-dir", app, "--machine", machine});
        return test::RunProcess(KESTRUNEC_PATH, arguments);
    }
    std::string AppFile(const std::string& name) const { return app + "/" + name; }
    // The files of the program folder and of the machine with their contents, to see that
    // nothing changed. The log is left out: every run logs its start.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name != "log.txt" && name != "kestrune.lock")
                files[entry.path().string()] = kestrune::test::ReadText(entry.path());
        }
        return files;
    }
    static int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

TEST_F(ScenarioTest, ListAsJsonHasAllNineTablesInOrder) {
    const ProcessResult result = Kestrunec({"list", "--format", "json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto doc = nlohmann::json::parse(result.out);
    ASSERT_EQ(doc["tables"].size(), 9u);
    const char* kinds[] = {"UserStartup", "CommonStartup", "HKLM_Run", "HKCU_Run", "RunOnce",
                           "Delayed",     "Deleted",       "Known",    "Process"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(doc["tables"][i]["number"], i + 1);
        EXPECT_EQ(doc["tables"][i]["kind"], kinds[i]);
    }
    EXPECT_EQ(doc["tables"][3]["caption"], "HKCU Run");
}

TEST_F(ScenarioTest, EachRunWritesTheStartAndTheOptionsLikeTheDesktopProgram) {
    ASSERT_EQ(Kestrunec({"option", "set", "skip running", "yes"}).status, 0);
    const std::string ini = kestrune::test::ReadText(AppFile("settings.ini"));
    EXPECT_NE(ini.find("Skip running=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Idle threshold=20"), std::string::npos) << ini;
    EXPECT_NE(kestrune::test::ReadText(AppFile("log.txt")).find("Starting Kestrune, Slimline mode = False"),
              std::string::npos);

    const ProcessResult list = Kestrunec({"option", "list"});
    ASSERT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("Skip running=1\n"), std::string::npos) << list.out;
    EXPECT_EQ(Lines(list.out), 13);
}

TEST_F(ScenarioTest, TheConsoleLeavesTheWindowsPositionAsTheDesktopLeftIt) {
    // No window, no position: a zero Position would open the desktop program at (0,0).
    ASSERT_EQ(Kestrunec({"option", "set", "Monitor", "1"}).status, 0);
    EXPECT_EQ(kestrune::test::ReadText(AppFile("settings.ini")).find("[Position]"), std::string::npos);

    const std::string position =
        "[Position]\r\nWindow state=2\r\nTop=1500\r\nLeft=3000\r\nWidth=11700\r\n"
        "Height=7800\r\nLast tab=4\r\n";
    kestrune::test::WriteText(AppFile("settings.ini"), "[Options]\r\nMonitor=1\r\n" + position);
    ASSERT_EQ(Kestrunec({"list", "HKCU_Run"}).status, 0);
    const std::string ini = kestrune::test::ReadText(AppFile("settings.ini"));
    EXPECT_NE(ini.find(position), std::string::npos) << ini;
}

TEST_F(ScenarioTest, BadInputIsOneLineAndChangesNothing) {
    ASSERT_EQ(Kestrunec({"option", "set", "Monitor", "1"}).status, 0);
    const auto before = Snapshot();
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* error;
    } cases[] = {
        {{"list", "HKCU"}, 2, "kestrunec: unknown table \"HKCU\""},
        {{"enable", "Nowhere", "x"}, 2, "kestrunec: unknown table \"Nowhere\""},
        {{"disable", "HKCU_Run", "Missing"}, 1, "kestrunec: no row named \"Missing\" in table HKCU Run"},
        {{"toggle", "4", "--row", "3"}, 1, "kestrunec: no row 3 in table HKCU Run (0 row(s))"},
        {{"enable", "4"}, 2, "kestrunec: name the row: NAME or --row N"},
        {{"option", "set", "Window state", "1"}, 2, "kestrunec: unknown option \"Window state\""},
        {{"option", "set", "Monitor", "maybe"}, 2, "kestrunec: bad value \"maybe\" for option \"Monitor\""},
        {{"option", "set", "Idle seconds", "99999"}, 2, "kestrunec: bad value \"99999\" for option \"Idle seconds\""},
        {{"move", "4", "x", "--to", "Known"}, 2, "kestrunec: a row of table HKCU Run cannot move to table Known"},
        {{"delete", "Processes", "x"}, 2, "kestrunec: delete is not offered for table Processes"},
        {{"dedupe"}, 2, "kestrunec: name a TABLE or give --all, not both"},
        {{"list", "--format", "xml"}, 2, "kestrunec: --format"},
        {{"frobnicate"}, 2, "kestrunec: unknown command \"frobnicate\" ("},  // nothing near it
        {{"disbale", "HKCU Run", "x"}, 2, "kestrunec: unknown command \"disbale\"; did you mean \"disable\"?"},
        {{"LIST"}, 2, "kestrunec: unknown command \"LIST\"; did you mean \"list\"?"},
        {{"profile", "lst"}, 2, "kestrunec: unknown profile command \"lst\"; did you mean \"list\"?"},
        {{"list", "HKCU Rn"}, 2, "kestrunec: unknown table \"HKCU Rn\"; did you mean \"HKCU Run\"?"},
        {{"disable", "delayd", "x"}, 2, "kestrunec: unknown table \"delayd\"; did you mean \"Delayed\"?"},
        {{"option", "set", "idle treshold", "5"},
         2,
         "kestrunec: unknown option \"idle treshold\"; did you mean \"Idle threshold\"?"},
        {{"option", "set", "Idle threshold", "500"},
         2,
         "kestrunec: bad value \"500\" for option \"Idle threshold\": The CPU threshold must be a whole number from 1 "
         "to 100 (percent)."},
        {{"option", "set", "Idle seconds", "0"},
         2,
         "kestrunec: bad value \"0\" for option \"Idle seconds\": The idle time must be a whole number of seconds "
         "from 1 to 32767."},
        {{"load-backup", "/nonexistent/backup.xml"}, 1, "kestrunec: no backup file \"/nonexistent/backup.xml\""},
        {{"monitor", "--seconds", "1"}, 2, "kestrunec: the monitor's question needs an answer: --answer allow|deny"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = Kestrunec(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments[0] << ": " << result.err;
        EXPECT_EQ(result.err.rfind(c.error, 0), 0u) << result.err;
        EXPECT_EQ(Lines(result.err), 1) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ScenarioTest, ProfilesAreAddedRenamedUsedAndDeletedThroughTheProfileList) {
    ASSERT_EQ(Kestrunec({"profile", "add", "Work"}).status, 0);
    const ProcessResult twice = Kestrunec({"profile", "add", "WORK"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.err, "Profile already exists!\n");
    ASSERT_EQ(Kestrunec({"profile", "use", "work"}).status, 0);
    ASSERT_EQ(Kestrunec({"profile", "rename", "Work", "Home"}).status, 0);
    EXPECT_EQ(Kestrunec({"profile", "list"}).out, "  [default]\n* Home\n");
    EXPECT_NE(kestrune::test::ReadText(AppFile("settings.ini")).find("Profile=Home"), std::string::npos);

    const ProcessResult inUse = Kestrunec({"profile", "delete", "home"});
    EXPECT_EQ(inUse.status, 1);
    EXPECT_EQ(inUse.err, "kestrunec: profile \"home\" is in use; make another profile current first\n");
    ASSERT_EQ(Kestrunec({"option", "set", "Profile", "[default]"}).status, 0);
    ASSERT_EQ(Kestrunec({"profile", "delete", "home"}).status, 0);
    EXPECT_EQ(Kestrunec({"profile", "list"}).out, "* [default]\n");
    const ProcessResult missing = Kestrunec({"profile", "use", "Gone"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "kestrunec: no profile named \"Gone\"\n");
}

TEST_F(ScenarioTest, AProfileNameWithAPathSeparatorIsRefusedAndNothingIsWritten) {
    ASSERT_EQ(Kestrunec({"profile", "add", "Work"}).status, 0);
    const auto before = Snapshot();
    for (const char* name : {"../evil", "a\\b", "sub/dir"}) {
        const ProcessResult added = Kestrunec({"profile", "add", name});
        EXPECT_EQ(added.status, 1) << name;
        EXPECT_EQ(Lines(added.err), 1) << added.err;
        EXPECT_NE(added.err.find("A profile name cannot contain"), std::string::npos) << added.err;
        EXPECT_EQ(Kestrunec({"profile", "rename", "Work", name}).status, 1) << name;
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(fs::exists(folder.Path() + "evil.xml"));
}

TEST_F(ScenarioTest, RunDelayedWithNothingTickedEndsAtOnce) {
    const auto started = std::chrono::steady_clock::now();
    const ProcessResult result = Kestrunec({"run-delayed"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "No delayed application is ticked; nothing to run.\n");
}

// scripts/test-wine runs the same under Windows, where the folder's name once reached the
// file system in the ANSI code page and the backup was "not found".
TEST_F(ScenarioTest, ABackupInAFolderNamedWithNonAsciiLettersLoadsAgain) {
    app = folder.Path() + "Zoë 山田";
    fs::create_directories(app);
    ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", "Marker Zoë", "--path", "/bin/true"}).status, 0);
    ASSERT_EQ(Kestrunec({"backup"}).status, 0);
    std::string backup;
    for (const auto& entry : fs::directory_iterator(app)) {
        if (entry.path().filename().string().rfind("backup_", 0) == 0) backup = entry.path().string();
    }
    ASSERT_FALSE(backup.empty()) << "no backup in " << app;
    ASSERT_EQ(Kestrunec({"delete", "Delayed", "Marker Zoë"}).status, 0);
    ASSERT_EQ(Kestrunec({"list", "Delayed", "--format", "csv"}).out.find("Marker Zoë"), std::string::npos);

    const ProcessResult loaded = Kestrunec({"load-backup", backup});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(Kestrunec({"list", "Delayed", "--format", "csv"}).out.find("Marker Zoë"), std::string::npos);
}

TEST_F(ScenarioTest, VersionIsPrintedWithoutTouchingAnyFile) {
    const auto before = Snapshot();
    for (const char* asked : {"--version", "version"}) {
        const ProcessResult result = Kestrunec({asked});
        EXPECT_EQ(result.status, 0) << asked << ": " << result.err;
        EXPECT_EQ(result.out, "kestrunec (Kestrune) 1.0.0\n") << asked;
        EXPECT_TRUE(result.err.empty()) << result.err;
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(fs::exists(AppFile("log.txt")));
}

TEST_F(ScenarioTest, AnIdleSettingInItsRangeIsStoredAloneAndKeptByTheNextRun) {
    // A threshold outside the range in settings.ini (as an older version let it be stored)
    // does not stop the seconds from being set.
    kestrune::test::WriteText(AppFile("settings.ini"), "[Options]\r\nIdle threshold=500\r\n");
    ASSERT_EQ(Kestrunec({"option", "set", "Idle seconds", "9"}).status, 0);
    ASSERT_EQ(Kestrunec({"option", "set", "Idle threshold", " 100"}).status, 0);
    const ProcessResult list = Kestrunec({"option", "list"});
    EXPECT_NE(list.out.find("Idle threshold=100\nIdle seconds=9\n"), std::string::npos) << list.out;
}

TEST_F(ScenarioTest, HelpEndsWithStatusZero) {
    const ProcessResult result = Kestrunec({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("run-delayed"), std::string::npos);
}

}  // namespace
}  // namespace kestrune::cli
