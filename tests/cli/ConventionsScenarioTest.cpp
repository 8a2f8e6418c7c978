// The console program's own conventions, run as a user would: numbers checked in its own words
// and against what their field holds, a line for each thing a command did, listings that work
// (and write nothing) while the desktop program runs, unknown options named, and a text table
// that lines up whatever script its names are in.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;
namespace fs = std::filesystem;

class ConventionsScenarioTest : public MachineScenario {
protected:
    void RegSet(const std::string& name, const std::string& data) const {
        MachineScenario::RegSet(kHkcuRun, name, data);
    }
    // Every file of the program's folder and the machine, with its content.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const std::string& root : {app, machine}) {
            if (!fs::exists(root)) continue;
            for (const auto& entry : fs::recursive_directory_iterator(root)) {
                if (entry.is_regular_file())
                    files[entry.path().string()] = kestrune::test::ReadText(entry.path().string());
            }
        }
        return files;
    }
};

void ExpectUsage(const ProcessResult& result, const std::string& message) {
    EXPECT_EQ(result.status, 2) << result.out;
    EXPECT_EQ(result.err, "kestrunec: " + message + "\n");
}

TEST_F(ConventionsScenarioTest, NumbersAreCheckedInTheProgramsWordsAndAgainstTheirField) {
    ExpectUsage(Kestrunec({"monitor", "--seconds", "0", "--answer", "deny"}),
                "--seconds must be a whole number from 1 to 2147483647");
    ExpectUsage(Kestrunec({"monitor", "--seconds", "ten", "--answer", "deny"}),
                "--seconds must be a whole number from 1 to 2147483647");
    ExpectUsage(Kestrunec({"enable", "HKCU_Run", "--row", "0"}), "--row must be a whole number from 1 to 2147483647");
    ExpectUsage(Kestrunec({"identify", "HKCU_Run", "x", "--engine", "7"}),
                "--engine must be a whole number from 0 to 6");

    // A delay past what the settings document holds would have been stored as 0.
    for (const char* delay : {"99999999999", "2147483648", "-2147483648", "1.5", "5s"}) {
        ExpectUsage(Kestrunec({"add", "Delayed", "--name", "Mail", "--path", "/usr/bin/env true", "--delay", delay}),
                    "--delay must be a whole number from -2147483647 to 2147483647");
    }
    EXPECT_FALSE(fs::exists(app + "/settings.xml"));
    for (const char* delay : {"2147483647", "-2147483647", "-5"}) {
        const ProcessResult added = Kestrunec(
            {"add", "Delayed", "--name", std::string("Mail") + delay, "--path", "/usr/bin/env true", "--delay", delay});
        EXPECT_EQ(added.status, 0) << delay << ": " << added.err;
    }
    const ProcessResult listed = Kestrunec({"list", "Delayed", "--format", "csv"});
    EXPECT_NE(listed.out.find(",2147483647,"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(",-2147483647,"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(",-5,"), std::string::npos) << listed.out;

    // The idle seconds are a 16-bit field.
    const ProcessResult idle = Kestrunec({"option", "set", "Idle seconds", "99999"});
    EXPECT_EQ(idle.status, 2);
    EXPECT_NE(idle.err.find("from 1 to 32767"), std::string::npos) << idle.err;
}

TEST_F(ConventionsScenarioTest, AnUnknownOptionNamesItself) {
    ExpectUsage(Kestrunec({"--bogus"}), "unknown option \"--bogus\" (kestrunec --help lists them)");
    ExpectUsage(Kestrunec({"--bogus", "list"}), "unknown option \"--bogus\" (kestrunec --help lists them)");
    ExpectUsage(Kestrunec({"list", "--formt", "json"}),
                "unknown option \"--formt\"; did you mean \"--format\"? (kestrunec list --help lists them)");
    ExpectUsage(Kestrunec({"monitor", "--answer", "deny", "--second=3"}),
                "unknown option \"--second\"; did you mean \"--seconds\"? (kestrunec monitor --help lists them)");
    // Options of the program itself are still taken after the command, and negative numbers
    // are values, not options.
    EXPECT_EQ(Kestrunec({"list", "4", "--yes"}).status, 0);
    const ProcessResult negative =
        Kestrunec({"add", "Delayed", "--name", "Idle", "--path", "/usr/bin/env true", "--delay", "-3"});
    EXPECT_EQ(negative.status, 0) << negative.err;
}

TEST_F(ConventionsScenarioTest, EveryChangingCommandSaysWhatItDid) {
    const auto expectDone = [](const ProcessResult& result, const std::string& line) {
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, line + "\n");
    };
    expectDone(Kestrunec({"option", "set", "Monitor", "1"}), "set \"Monitor\" to 1");
    expectDone(Kestrunec({"option", "set", "monitor", "on"}), "\"Monitor\" is already 1");
    expectDone(Kestrunec({"option", "set", "Idle threshold", "30"}), "set \"Idle threshold\" to 30");
    expectDone(Kestrunec({"profile", "add", "Work"}), "added profile \"Work\"");
    expectDone(Kestrunec({"profile", "rename", "Work", "Home"}), "renamed profile \"Work\" to \"Home\"");
    expectDone(Kestrunec({"profile", "use", "Home"}), "now using profile \"Home\"");
    expectDone(Kestrunec({"profile", "use", "home"}), "profile \"home\" is already in use");
    expectDone(Kestrunec({"option", "set", "Profile", "[default]"}), "now using profile \"[default]\"");
    expectDone(Kestrunec({"profile", "delete", "Home"}), "deleted profile \"Home\"");
    // What they said is what the files hold.
    const ProcessResult options = Kestrunec({"option", "list"});
    EXPECT_NE(options.out.find("Monitor=1\n"), std::string::npos) << options.out;
    EXPECT_NE(options.out.find("Idle threshold=30\n"), std::string::npos) << options.out;
    EXPECT_EQ(Kestrunec({"profile", "list"}).out, "* [default]\n");
}

TEST_F(ConventionsScenarioTest, TheMonitorPrintsALineForEachEntryItRemovedOrAllowed) {
    RegSet("Present", "C:\\present.exe");
    {
        test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "deny"}));
        ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
        RegSet("Intruder", "C:\\intruder.exe");
        const ProcessResult result = monitor.Wait();
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("\nremoved \"Intruder\" from HKCU Run\n"), std::string::npos) << result.out;
        EXPECT_EQ(result.out.find("Present"), std::string::npos) << result.out;
    }
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "allow"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    RegSet("Guest", "C:\\guest.exe");
    const ProcessResult result = monitor.Wait();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\nallowed \"Guest\" in HKCU Run\n"), std::string::npos) << result.out;
    EXPECT_NE(Machine({"reg", "list", kHkcuRun}).out.find("Guest"), std::string::npos);
}

TEST_F(ConventionsScenarioTest, ReadingCommandsWorkWhileTheProgramRunsAndWriteNothing) {
    RegSet("Present", "C:\\present.exe");
    ASSERT_EQ(Kestrunec({"profile", "add", "Work"}).status, 0);
    // A running copy of the program holds the single-instance lock.
    test::BackgroundProcess running(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "600", "--answer", "deny"}));
    ASSERT_TRUE(running.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    const auto before = Files();
    ASSERT_TRUE(before.count(app + "/log.txt"));

    const ProcessResult list = Kestrunec({"list", "HKCU_Run", "--format", "csv"});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Present,C:\\present.exe"), std::string::npos) << list.out;
    EXPECT_EQ(Kestrunec({"list"}).status, 0);
    const ProcessResult profiles = Kestrunec({"profile", "list"});
    EXPECT_EQ(profiles.status, 0) << profiles.err;
    EXPECT_EQ(profiles.out, "* [default]\n  Work\n");
    EXPECT_EQ(Kestrunec({"option", "list"}).status, 0);
    const ProcessResult identify = Kestrunec({"identify", "HKCU_Run", "Present"});
    EXPECT_EQ(identify.status, 0) << identify.err;
    EXPECT_EQ(Kestrunec({"--help"}).status, 0);
    EXPECT_EQ(Files(), before) << "a reading command wrote a file";

    // A changing command still waits for the program to end.
    const ProcessResult disable = Kestrunec({"disable", "HKCU_Run", "Present"});
    EXPECT_EQ(disable.status, 1);
    EXPECT_EQ(disable.err, "kestrunec: Kestrune is already running; close it first.\n");
    EXPECT_NE(Machine({"reg", "list", kHkcuRun}).out.find("Present"), std::string::npos);

    running.Signal(SIGINT);
    EXPECT_EQ(running.Wait().status, 130);
}

// The columns a text takes on a terminal, for the names this test uses: a CJK letter takes two.
size_t Columns(const std::string& text) {
    size_t columns = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        columns += length == 3 && lead >= 0xE3 ? 2 : 1;
        i += length;
    }
    return columns;
}

TEST_F(ConventionsScenarioTest, TheTextTableLinesUpWideLetters) {
    RegSet("Bob", "C:\\bob.exe");
    RegSet("\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E", "C:\\yamada.exe");  // 山田 太郎
    RegSet("Zo\xC3\xAB", "C:\\zoe.exe");
    const ProcessResult listed = Kestrunec({"list", "HKCU_Run"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::istringstream lines(listed.out);
    std::string line;
    std::vector<size_t> pathColumns;
    while (std::getline(lines, line)) {
        const size_t at = line.find("C:\\");
        if (at == std::string::npos) continue;
        pathColumns.push_back(Columns(line.substr(0, at)));
    }
    ASSERT_EQ(pathColumns.size(), 3u) << listed.out;
    EXPECT_EQ(pathColumns[0], pathColumns[1]) << listed.out;
    EXPECT_EQ(pathColumns[1], pathColumns[2]) << listed.out;
}

}  // namespace
}  // namespace kestrune::cli
