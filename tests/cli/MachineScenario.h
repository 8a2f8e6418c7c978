#pragma once
// A program folder and an emulated machine in a temporary folder, with kestrunec and the
// machine tool (playing the other programs and the administrator) run on them as processes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "support/LogReader.h"
#include "support/TestMachine.h"

namespace kestrune::cli {

// The Run keys as the machine tool names them.
inline constexpr const char* kHkcuRun = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kHklmRun = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class MachineScenario : public ::testing::Test {
protected:
    kestrune::test::TempFolder folder;
    std::string app = folder.Path() + "app";
    std::string machine = folder.Path() + "machine";

    void SetUp() override {
#ifndef KESTRUNE_MACHINE_TOOL
        GTEST_SKIP() << "the machine tool is not part of this build";
#endif
        std::filesystem::create_directories(app);
    }

    std::vector<std::string> WithFolders(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--app-dir", app, "--machine", machine});
        return arguments;
    }
    test::ProcessResult Kestrunec(const std::vector<std::string>& arguments) const {
        return test::RunProcess(KESTRUNEC_PATH, WithFolders(arguments));
    }
    test::ProcessResult Machine(std::vector<std::string> arguments) const {
#ifdef KESTRUNE_MACHINE_TOOL
        arguments.insert(arguments.begin(), {"--machine", machine});
        return test::RunProcess(KESTRUNE_MACHINE_TOOL, arguments);
#else
        (void)arguments;
        return {};
#endif
    }

    // Runs kestrunec and expects the exit status; answers what it said on both streams.
    std::string Run(const std::vector<std::string>& arguments, int status) const {
        const test::ProcessResult result = Kestrunec(arguments);
        EXPECT_EQ(result.status, status) << result.out << result.err;
        return result.out + result.err;
    }
    // Makes the machine a fresh one and notes the user's Startup folder, for scenarios that
    // put files there before kestrunec has run.
    void InitMachine() {
        ASSERT_EQ(Machine({"init"}).status, 0);
        userFolder = UserFolder();
        ASSERT_FALSE(userFolder.empty());
    }

    // What other programs do and what a look with regedit would show. A value is REG_SZ
    // unless `type` says otherwise.
    void RegSet(const char* key, const std::string& name, const std::string& data, const std::string& type = "") const {
        std::vector<std::string> arguments{"reg", "set", key, name, data};
        if (!type.empty()) arguments.insert(arguments.end(), {"--type", type});
        const test::ProcessResult result = Machine(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
    }
    std::string RegList(const char* key) const { return Machine({"reg", "list", key}).out; }
    bool InKey(const char* key, const std::string& name) const {
        return RegList(key).find(name + "\t") != std::string::npos;
    }
    // "user" or "common": the Startup folder as the machine tool names it, without a trailing
    // separator.
    std::string Folder(const std::string& which) const {
        std::string out = Machine({"folder", which}).out;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '/')) out.pop_back();
        return out;
    }
    std::string UserFolder() const { return Folder("user"); }

    // The program's own files.
    std::string Document() const { return kestrune::test::ReadText(app + "/settings.xml"); }
    std::string Log() const { return kestrune::test::ReadText(app + "/log.txt"); }
    int LogLinesWith(const std::string& part) const { return kestrune::test::LogLinesWith(app + "/log.txt", part); }

    std::string userFolder;  // after InitMachine
};

}  // namespace kestrune::cli
