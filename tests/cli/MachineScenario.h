#pragma once
// A program folder and an emulated machine in a temporary folder, with kestrunec and the
// machine tool (playing the other programs and the administrator) run on them as processes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "support/TestMachine.h"

namespace kestrune::cli {

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
};

}  // namespace kestrune::cli
