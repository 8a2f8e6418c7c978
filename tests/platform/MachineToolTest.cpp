// The kestrune-machine tool as scripts use it: its command lines, output and errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/MachineLayout.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    return out + "'";
}

class MachineToolTest : public ::testing::Test {
protected:
    ToolRun Tool(const std::vector<std::string>& arguments) {
        std::string command =
            Quoted(std::string(KESTRUNE_BINARY_DIR) + "/src/platform/emulated/tool/kestrune-machine") + " --machine " +
            Quoted(root_);
        for (const std::string& argument : arguments) command += " " + Quoted(argument);
        const std::string out = temp_.Path() + "out.txt";
        const std::string err = temp_.Path() + "err.txt";
        const int raw = std::system((command + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }
    std::vector<std::vector<std::string>> Lines(const std::string& text) {
        std::vector<std::vector<std::string>> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> fields;
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
            if (!line.empty() && line.back() == '\t') fields.push_back("");
            lines.push_back(fields);
        }
        return lines;
    }

    test::TempFolder temp_;
    std::string root_ = temp_.Path() + "machine";
};

TEST_F(MachineToolTest, InitDemoFillsEveryPlaceWithProgramsThisMachineHas) {
    ASSERT_EQ(Tool({"init", "--demo"}).status, 0);
    for (const char* key : {"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                            "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"}) {
        const ToolRun list = Tool({"reg", "list", key});
        ASSERT_EQ(list.status, 0) << list.err;
        const auto lines = Lines(list.out);
        ASSERT_FALSE(lines.empty()) << key;
        for (const auto& fields : lines) {
            ASSERT_EQ(fields.size(), 3u) << key;
            EXPECT_EQ(fields[1], "REG_SZ");
            EXPECT_TRUE(fs::exists(fields[2].substr(0, fields[2].find(' ')))) << fields[2];
        }
    }
    EmulatedMachine machine(root_);
    for (int csidl : {kCsidlStartup, kCsidlCommonStartup}) {
        const std::string folder = machine.shell().SpecialFolder(csidl);
        size_t shortcuts = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const auto link = machine.shell().ReadShortcut(entry.path().string());
            ASSERT_TRUE(link) << entry.path();
            EXPECT_TRUE(fs::exists(link->target)) << link->target;
            ++shortcuts;
        }
        EXPECT_GT(shortcuts, 0u) << folder;
        const ToolRun printed = Tool({"folder", csidl == kCsidlStartup ? "user" : "common"});
        EXPECT_EQ(printed.out, folder.substr(0, folder.size() - 1) + "\n");
    }
    const std::string before = ReadText(root_ + "/HKEY_LOCAL_MACHINE.reg");
    ASSERT_EQ(Tool({"init", "--demo"}).status, 0);
    EXPECT_EQ(ReadText(root_ + "/HKEY_LOCAL_MACHINE.reg"), before) << "a second init adds nothing";
}

TEST_F(MachineToolTest, SetsListsAndDeletesValuesOfEveryType) {
    const std::string key = "HKCU\\Software\\Kestrune Tool";
    struct Case {
        std::string name, data, type, listed;
    };
    const std::vector<Case> cases = {
        {"", "default text", "REG_SZ", "default text"}, {"Path", "%windir%\\x.exe", "REG_EXPAND_SZ", "%windir%\\x.exe"},
        {"Count", "0x2A", "REG_DWORD", "42"},           {"Big", "4294967296", "REG_QWORD", "4294967296"},
        {"Blob", "00 FF,10", "REG_BINARY", "00,ff,10"}, {"List", "one\\0two words", "REG_MULTI_SZ", "one\\0two words"},
    };
    for (const Case& c : cases) {
        const ToolRun set = Tool({"reg", "set", key, c.name, c.data, "--type", c.type});
        EXPECT_EQ(set.status, 0) << c.type << ": " << set.err;
    }
    const auto lines = Lines(Tool({"reg", "list", key}).out);
    ASSERT_EQ(lines.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(lines[i], (std::vector<std::string>{cases[i].name, cases[i].type, cases[i].listed}));

    EXPECT_EQ(Tool({"reg", "delete", key, "count"}).status, 0);
    EXPECT_EQ(Lines(Tool({"reg", "list", key}).out).size(), cases.size() - 1);
    EXPECT_EQ(Tool({"reg", "set", key, "Plain", "no type given"}).status, 0);
    EXPECT_EQ(Lines(Tool({"reg", "list", key}).out).back(),
              (std::vector<std::string>{"Plain", "REG_SZ", "no type given"}));
}

TEST_F(MachineToolTest, ImportsAndExportsRegFilesAndShortcuts) {
    const std::string sample = temp_.Path() + "run_hklm.reg";
    test::WriteText(sample, ReadText(test::SamplePath("run_hklm.reg")));
    ASSERT_EQ(Tool({"reg", "import", sample}).status, 0);
    const std::string run = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string listed = Tool({"reg", "list", run}).out;
    EXPECT_NE(listed.find("Audio Tray\tREG_SZ\t\"C:\\Program Files\\Audio\\tray.exe\" -s\n"), std::string::npos)
        << listed;
    EXPECT_NE(listed.find("Multi\tREG_MULTI_SZ\tone\\0two\n"), std::string::npos);

    const std::string exported = temp_.Path() + "export.reg";
    ASSERT_EQ(Tool({"reg", "export", run, exported}).status, 0);
    EXPECT_EQ(ReadText(exported).rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    root_ = temp_.Path() + "second";
    ASSERT_EQ(Tool({"reg", "import", exported}).status, 0);
    EXPECT_EQ(Tool({"reg", "list", run}).out, listed);

    const std::string link = temp_.Path() + "Sleeper.lnk";
    ASSERT_EQ(Tool({"lnk", "create", link, "--target", "/usr/bin/sleep", "--args", "30 \"quoted\""}).status, 0);
    EXPECT_EQ(Tool({"lnk", "show", link}).out, "/usr/bin/sleep\n30 \"quoted\"\n");
    const std::string full = temp_.Path() + "Full.lnk";
    ASSERT_EQ(Tool({"lnk", "create", full, "--target", "/usr/bin/env", "--dir", "/tmp", "--icon", "/usr/bin/top",
                    "--icon-index", "2", "--show", "7", "--comment", "Clock", "--hotkey", "0x654"})
                  .status,
              0);
    EXPECT_EQ(Tool({"lnk", "show", full, "--all"}).out,
              "/usr/bin/env\n\ndir: /tmp\nicon: /usr/bin/top,2\nshow: 7\ncomment: Clock\nhotkey: 0x0654\n");
    const std::string sampleLink = temp_.Path() + "Sync Tool.lnk";
    test::WriteText(sampleLink, ReadText(test::SamplePath("lnk/Sync Tool.lnk")));
    EXPECT_EQ(Tool({"lnk", "show", sampleLink}).out,
              "C:\\Program Files\\Sync\\sync tool.exe\n--minimized --profile \"Home\"\n");
}

TEST_F(MachineToolTest, InitLaysOutCurrentWindowsAndApprovalsAreTaskManagersBytes) {
    // A machine made before the 32-bit and approval keys existed gains them from init.
    fs::create_directories(root_);
    test::WriteText(root_ + "/HKEY_LOCAL_MACHINE.reg",
                    "Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                    "\"Old\"=\"/usr/bin/env\"\r\n\r\n");
    ASSERT_EQ(Tool({"init"}).status, 0);
    const std::string approved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
    for (const std::string& key : std::vector<std::string>{
             "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
             "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
             "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "HKLM\\" + approved + "Run",
             "HKLM\\" + approved + "Run32", "HKLM\\" + approved + "StartupFolder", "HKCU\\" + approved + "Run",
             "HKCU\\" + approved + "StartupFolder"}) {
        EXPECT_EQ(Tool({"reg", "list", key}).status, 0) << key;
    }
    EXPECT_EQ(Lines(Tool({"reg", "list", "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"}).out).size(), 1u)
        << "init keeps what the machine held";

    ASSERT_EQ(Tool({"disapprove", "HKLM_Run32", "Updater"}).status, 0);
    ASSERT_EQ(Tool({"approve", "UserStartup", "Notes.lnk"}).status, 0);
    const auto off = Lines(Tool({"reg", "list", "HKLM\\" + approved + "Run32"}).out);
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0][0], "Updater");
    EXPECT_EQ(off[0][1], "REG_BINARY");
    ASSERT_EQ(off[0][2].size(), 12u * 3 - 1);
    EXPECT_EQ(off[0][2].substr(0, 12), "03,00,00,00,");
    EXPECT_NE(off[0][2].substr(12), "00,00,00,00,00,00,00,00") << "the time of the change";
    EXPECT_EQ(
        Lines(Tool({"reg", "list", "HKCU\\" + approved + "StartupFolder"}).out),
        (std::vector<std::vector<std::string>>{{"Notes.lnk", "REG_BINARY", "02,00,00,00,00,00,00,00,00,00,00,00"}}));
    EXPECT_EQ(Tool({"approve", "HKCU_RunOnce", "x"}).status, 1) << "RunOnce has no approvals";
}

TEST_F(MachineToolTest, ErrorsAreOneLineOnStandardErrorAndStatusOne) {
    const std::string damaged = temp_.Path() + "damaged.reg";
    test::WriteText(damaged, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=hex:zz\r\n");
    const std::vector<std::vector<std::string>> failing = {
        {},
        {"reg"},
        {"reg", "set", "HKXX\\Software", "a", "b"},
        {"reg", "set", "HKCU\\Software", "a", "12x", "--type", "REG_DWORD"},
        {"reg", "set", "HKCU\\Software", "a", "1", "--type", "REG_FANCY"},
        {"reg", "delete", "HKCU\\Software", "absent"},
        {"reg", "list", "HKCU\\No\\Such\\Key"},
        {"reg", "import", damaged},
        {"reg", "import", temp_.Path() + "missing.reg"},
        {"reg", "export", "HKLM\\No\\Such\\Key", temp_.Path() + "x.reg"},
        {"lnk", "show", damaged},
        {"lnk", "create", temp_.Path() + "x.lnk"},
        {"folder", "both"},
    };
    for (const auto& arguments : failing) {
        const ToolRun run = Tool(arguments);
        std::string shown;
        for (const std::string& a : arguments) shown += a + " ";
        EXPECT_EQ(run.status, 1) << shown;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << shown << ": " << run.err;
        EXPECT_EQ(run.err.rfind("kestrune-machine: ", 0), 0u) << shown << ": " << run.err;
    }
    EXPECT_NE(Tool({"reg", "import", damaged}).err.find("line 4"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp_.Path() + "x.lnk"));
}

}  // namespace
}  // namespace kestrune::platform
