#pragma once
// A fresh platform for each contract test, over a temporary folder that holds the program
// folder and, for the emulated backend, the machine root. The Windows backend ignores the
// machine root and works on the real system, so tests there clean up what they add.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace kestrune::contract {

// "Win32" or "emulated": the backend this build of the suite runs against.
const char* BackendName();

// The folder for the cross-check files of scripts/test-wine (KESTRUNE_CONTRACT_OUT), or "".
std::string CrossCheckFolder();

class ContractTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::Platform& Os() { return *platform_; }
    // A new platform over the same program folder and machine, as a second copy of the program.
    std::unique_ptr<platform::Platform> SecondPlatform() const;

    // `relative` with "/" between parts, under the test's own folder, in the system's form.
    std::string PathOf(const std::string& relative) const;
    const std::string& Root() const { return root_; }
    const std::string& AppFolderGiven() const { return appFolder_; }

    // The helper program beside this one, quoted for a command line.
    std::string ProbeCommand(const std::string& arguments) const;
    std::string ProbeFileName() const;
    // The helper program's file: it carries the project's icon and version information.
    std::string ProbePath() const;
    std::string OwnPath();

    static std::string Quote(const std::string& text) { return "\"" + text + "\""; }
    static bool WaitFor(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));

private:
    std::string root_;       // with a trailing separator
    std::string appFolder_;  // without one, as a caller would pass it
    std::string machineRoot_;
    std::unique_ptr<platform::Platform> platform_;
};

bool EqualIgnoringCase(const std::string& a, const std::string& b);
std::string FileNameOf(const std::string& path);

}  // namespace kestrune::contract
