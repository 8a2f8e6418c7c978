// Finding the current user's Startup folder after it was redirected: "User Shell Folders"
// (with its %NAME% references) before the legacy "Shell Folders" copy.

#include <filesystem>

#include "LocationFixture.h"
#include "locations/StartupFolders.h"

namespace kestrune::test {
namespace {

class StartupFoldersTest : public LocationFixture {
protected:
    std::string legacy = machine.machineRoot + "/Users/User/Old Startup";

    void SetUp() override {
        ASSERT_TRUE(
            Registry().SetValue(RootKey::CurrentUser, kShellFoldersKey, {"Startup", ValueType::String, legacy}).Ok());
    }
    void Redirect(ValueType type, const std::string& data) {
        ASSERT_TRUE(Registry().CreateKey(RootKey::CurrentUser, kUserShellFoldersKey).Ok());
        ASSERT_TRUE(Registry().SetValue(RootKey::CurrentUser, kUserShellFoldersKey, {"Startup", type, data}).Ok());
    }
};

TEST_F(StartupFoldersTest, TheRedirectedFolderIsFoundBeforeTheLegacyValue) {
    const EnvironmentList environment = {{"OneDrive", machine.machineRoot + "/OneDrive"}};
    // Without the newer value the legacy one is all there is.
    EXPECT_EQ(FindUserStartupFolder(Platform(), environment), legacy);

    Redirect(ValueType::ExpandString, "%onedrive%/Start Menu/Startup");
    EXPECT_EQ(FindUserStartupFolder(Platform(), environment), machine.machineRoot + "/OneDrive/Start Menu/Startup");

    Redirect(ValueType::String, machine.machineRoot + "/Plain");
    EXPECT_EQ(FindUserStartupFolder(Platform(), environment), machine.machineRoot + "/Plain");

    // A reference to a variable this session lacks names no folder; nor does an empty value.
    Redirect(ValueType::ExpandString, "%HOMESHARE%/Startup");
    EXPECT_EQ(FindUserStartupFolder(Platform(), environment), legacy);
    Redirect(ValueType::ExpandString, "");
    EXPECT_EQ(FindUserStartupFolder(Platform(), environment), legacy);
}

TEST_F(StartupFoldersTest, TheScanListsTheShortcutsOfTheRedirectedFolderOnly) {
    const std::string redirected = machine.machineRoot + "/Redirected/Startup";
    std::filesystem::create_directories(redirected);
    std::filesystem::create_directories(legacy);
    Link(redirected, "Notes.lnk", Program("notes.exe", "notes"));
    Link(legacy, "Stale.lnk", Program("stale.exe", "stale"));
    Redirect(ValueType::String, redirected);

    DetermineStartupFolders(state.services.platform, state.paths);
    ScanPlaces(state);
    EXPECT_EQ(state.paths.userStartupFolder, redirected);
    ASSERT_EQ(state.model.tables[TableKind::UserStartup].Count(), 1);
    EXPECT_EQ(state.model.tables[TableKind::UserStartup].Name(1), "Notes");
}

}  // namespace
}  // namespace kestrune::test
