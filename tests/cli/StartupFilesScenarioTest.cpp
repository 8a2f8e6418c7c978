// A script in the user's Startup folder, put there the way a user or an installer would, driven
// through kestrunec on the emulated machine: listed, disabled into the program's own folder and
// enabled back byte for byte, and asked about by the monitor when it appears.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using kestrune::test::ReadText;
using kestrune::test::WriteText;
using test::ProcessResult;

const std::string kScript = "@echo off\r\nxcopy /y C:\\Data D:\\Backup\r\n\x1a\xff"s;

class StartupFilesScenarioTest : public MachineScenario {
protected:
    void SetUp() override {
        MachineScenario::SetUp();
        if (!IsSkipped()) InitMachine();
    }
    std::string InFolder(const std::string& name) const { return userFolder + "/" + name; }
    std::string Kept(const std::string& name) const { return app + "/Disabled startup files/User/" + name; }
};

TEST_F(StartupFilesScenarioTest, AScriptIsListedDisabledAsideAndEnabledBackByteForByte) {
    WriteText(InFolder("Backup.bat"), kScript);
    const std::string listed = Run({"list", "1", "--format", "csv"}, 0);
    EXPECT_NE(listed.find("Backup.bat," + InFolder("Backup.bat")), std::string::npos) << listed;

    Run({"disable", "1", "Backup.bat"}, 0);
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    EXPECT_EQ(ReadText(Kept("Backup.bat")), kScript);
    const std::string disabled = Run({"list", "1", "--format", "json"}, 0);
    EXPECT_NE(disabled.find("Backup.bat"), std::string::npos) << "the row stays, unticked: " << disabled;

    Run({"enable", "1", "Backup.bat"}, 0);
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript);
    EXPECT_FALSE(fs::exists(Kept("Backup.bat")));

    // Deleted and brought back from there, it is the same file again.
    Run({"delete", "1", "Backup.bat"}, 0);
    EXPECT_FALSE(fs::exists(InFolder("Backup.bat")));
    Run({"move", "Deleted", "Backup.bat", "--to", "4"}, 1);
    Run({"move", "Deleted", "Backup.bat"}, 0);
    EXPECT_EQ(ReadText(InFolder("Backup.bat")), kScript);
}

TEST_F(StartupFilesScenarioTest, TheMonitorAsksAboutANewScriptAndADeniedOneWaitsAside) {
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "deny"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    WriteText(InFolder("Intruder.cmd"), kScript);
    const ProcessResult result = monitor.Wait();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("The following programs"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("  Intruder.cmd \u2014 User\n"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(InFolder("Intruder.cmd")));
    EXPECT_EQ(ReadText(Kept("Intruder.cmd")), kScript) << "denied is not deleted";

    Run({"move", "Deleted", "Intruder.cmd"}, 0);
    EXPECT_EQ(ReadText(InFolder("Intruder.cmd")), kScript);
}

}  // namespace
}  // namespace kestrune::cli
