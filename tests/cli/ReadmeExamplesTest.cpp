// Every console example of the README, run as written on a fresh demo machine: the lines of
// its fenced blocks that start with kestrunec or kestrune-machine, each through the shell, in
// order, with the two programs on the PATH as the README tells its reader to put them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

std::vector<std::string> ReadmeExamples() {
    std::ifstream readme(KESTRUNE_README);
    std::vector<std::string> examples;
    bool fenced = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("```")) {
            fenced = !fenced;
            continue;
        }
        if (fenced && (line.starts_with("kestrunec ") || line.starts_with("kestrune-machine ")))
            examples.push_back(line);
    }
    return examples;
}

class ReadmeExamplesTest : public MachineScenario {};

TEST_F(ReadmeExamplesTest, EveryConsoleExampleRunsAsWrittenOnTheDemoMachine) {
#ifdef KESTRUNE_MACHINE_TOOL
    const std::vector<std::string> examples = ReadmeExamples();
    // The README's console block as it stands: a block that went missing must not pass unseen.
    ASSERT_GE(examples.size(), 10u);
    const std::string path = std::filesystem::path(KESTRUNEC_PATH).parent_path().string() + ":" +
                             std::filesystem::path(KESTRUNE_MACHINE_TOOL).parent_path().string() + ":" +
                             std::getenv("PATH");
    ::setenv("PATH", path.c_str(), 1);
    ::setenv("KESTRUNE_APP_DIR", app.c_str(), 1);
    ::setenv("KESTRUNE_MACHINE", machine.c_str(), 1);
    ASSERT_EQ(test::RunProcess(KESTRUNE_MACHINE_TOOL, {"init", "--demo"}).status, 0);

    for (const std::string& example : examples) {
        const test::ProcessResult result = test::RunProcess("/bin/sh", {"-c", example});
        EXPECT_EQ(result.status, 0) << example << "\n" << result.err;
    }
    // The delayed row the README adds is one the run starts.
    EXPECT_GE(LogLinesWith("Running /usr/bin/env true"), 1) << Log();
#endif
}

}  // namespace
}  // namespace kestrune::cli
