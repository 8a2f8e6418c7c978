// The profiles dialog as the window runs it: its buttons' refusals shown, the caption following
// the current profile.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Version.h"
#include "session/Application.h"
#include "store/Profiles.h"
#include "store/SettingsDocument.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

using test::WriteText;

struct Window {
    explicit Window(const std::string& profiles) {
        WriteText(machine.appFolder + "profiles.txt", profiles);
        EXPECT_TRUE(app.Startup(""));
    }
    ~Window() { app.Shutdown(CloseReason::Code); }

    void Select(const std::string& name) {
        const auto& entries = app.profiles().Entries();
        const auto at = std::find(entries.begin(), entries.end(), name);
        ASSERT_NE(at, entries.end()) << name;
        app.profiles().Select(static_cast<int>(at - entries.begin()));
    }
    // Opens the dialog and, while it is open, does what the user does in it.
    void InDialog(const std::function<void()>& action) {
        fe.onProfilesDialog = action;
        app.OpenProfiles();
        fe.onProfilesDialog = nullptr;
    }

    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app{*machine.platform, fe, clock, timers};
};

TEST(ProfileCommandsTest, TheCaptionFollowsTheProfileUsedAndItsRename) {
    Window w("Work\r\n");
    EXPECT_EQ(w.fe.caption, VersionCaption());
    w.InDialog([&] {
        // The dialog opens on the current profile, its buttons enabled.
        EXPECT_EQ(w.app.profiles().SelectedEntry(), kDefaultProfile);
        EXPECT_TRUE(w.app.profiles().ButtonsEnabled());
        w.Select("Work");
        w.app.UseSelectedProfile();
    });
    EXPECT_EQ(std::count(w.fe.events.begin(), w.fe.events.end(), "profiles"), 1);
    EXPECT_EQ(w.fe.caption, VersionCaption() + " - Work");

    w.InDialog([&] {
        w.fe.inputAnswers = {"Home"};
        w.app.EditProfile();
    });
    EXPECT_EQ(w.app.state().paths.profile, "Home");
    EXPECT_EQ(w.fe.caption, VersionCaption() + " - Home");
    EXPECT_TRUE(w.fe.messages.empty());
}

TEST(ProfileCommandsTest, TheButtonsRefusalsAreShown) {
    Window w("Work\r\n");
    w.InDialog([&] {
        w.fe.inputAnswers = {"work"};
        w.app.AddProfile();
        w.Select(kDefaultProfile);
        w.app.DeleteProfile();
    });
    ASSERT_EQ(w.fe.messages.size(), 2u);
    EXPECT_EQ(w.fe.messages[0].text, kProfileExistsMessage);
    EXPECT_EQ(w.fe.messages[1].text, kCannotDeleteDefaultMessage);
    EXPECT_EQ(w.fe.messages[1].icon, MessageIcon::Exclamation);
}

// The old profile's unsaved rows cannot be written: the switch does not happen, and the user is
// told which file could not be written.
TEST(ProfileCommandsTest, AProfileWhoseChangesCannotBeStoredIsNotLeft) {
    Window w("Work\r\n");
    WriteText(w.machine.appFolder + "work.xml", "<Root/>");
    MainState& s = w.app.state();
    WriteText(w.machine.appFolder + "blocker", "");
    s.paths.settingsDocumentPath = w.machine.appFolder + "blocker/settings.xml";
    s.model.tables[TableKind::HKCU_Run].Add({"Only here", "x.exe"}, false);
    s.model.settingsChanged = true;
    w.InDialog([&] {
        w.Select("Work");
        w.app.UseSelectedProfile();
    });
    EXPECT_EQ(s.paths.profile, "");
    EXPECT_EQ(w.fe.caption, VersionCaption());
    ASSERT_FALSE(w.fe.messages.empty());
    EXPECT_EQ(w.fe.messages[0].text.find(std::string(kNotWrittenMessage) + "\r\n" + s.paths.settingsDocumentPath), 0u)
        << w.fe.messages[0].text;
    EXPECT_EQ(s.model.tables[TableKind::HKCU_Run].Count(), 1);
}

}  // namespace
}  // namespace kestrune
