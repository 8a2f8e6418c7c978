#include "store/Profiles.h"

#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "store/SettingsDocument.h"

namespace kestrune {
namespace {

using test::ReadText;
using test::WriteText;

class ProfilesTest : public test::StoreFixture {
protected:
    ProfilesTest() { state.paths.profilesPath = AppFile("profiles.txt"); }

    void LoadList(const std::string& fileContent) {
        WriteText(state.paths.profilesPath, fileContent);
        list.LoadProfiles(state.services, state.paths.profilesPath);
    }
    void SelectName(const std::string& name) {
        for (size_t i = 0; i < list.Entries().size(); ++i)
            if (list.Entries()[i] == name) return list.Select(static_cast<int>(i));
        FAIL() << "no entry " << name;
    }
    // A button of the dialog as the window presses it: what it refused is shown.
    void Press(const Outcome& outcome) { fe.ShowOutcome(outcome); }
    // "Use selected profile": whether the tables are read again; a refusal is shown.
    bool Use() {
        const ProfileSwitch switched = list.Use(state);
        Press(switched.outcome);
        return switched.reload;
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : fe.messages) texts.push_back(m.text);
        return texts;
    }

    ProfileList list;
};

TEST_F(ProfilesTest, TheListIsDefaultThenTheFileInOrderWithoutEmptyLines) {
    LoadList("Work\r\n\r\nHome\r\nMixed\r\n");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Work", "Home", "Mixed"}));
    EXPECT_TRUE(list.ProfileExists("WORK"));
    EXPECT_TRUE(list.ProfileExists("[DEFAULT]"));
    EXPECT_FALSE(list.ProfileExists("Play"));

    list.SaveProfiles(state.services, state.paths.profilesPath);
    EXPECT_EQ(ReadText(state.paths.profilesPath), "Work\r\nHome\r\nMixed");
}

// A list edited by hand: lines ended by "\n" alone are names of their own, and a "[default]"
// line does not list the default profile a second time. Saved and loaded again, it reads the same.
TEST_F(ProfilesTest, AHandEditedListLoadsOneNamePerLineAndTheDefaultOnce) {
    LoadList("Work\nHome\r\n[DEFAULT]\r\nPlay\rMixed\n");
    const std::vector<std::string> expected{"[default]", "Work", "Home", "Play", "Mixed"};
    EXPECT_EQ(list.Entries(), expected);

    list.SaveProfiles(state.services, state.paths.profilesPath);
    ProfileList again;
    again.LoadProfiles(state.services, state.paths.profilesPath);
    EXPECT_EQ(again.Entries(), expected);
}

TEST_F(ProfilesTest, AMissingListFileGivesOnlyTheDefault) {
    list.LoadProfiles(state.services, state.paths.profilesPath);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]"}));
    list.SelectCurrentProfile(state.paths);  // "" is the default profile
    EXPECT_EQ(list.SelectedEntry(), "[default]");
    EXPECT_TRUE(list.Close(state.paths, fe));
}

TEST_F(ProfilesTest, SwitchProfileSetsTheDocumentAndTheCaption) {
    struct Case {
        const char* profile;
        const char* document;
        const char* caption;
    };
    const Case cases[] = {
        {"Mixed", "mixed.xml", "Kestrune - v1.0.0 - Mixed"},
        {"", "settings.xml", "Kestrune - v1.0.0"},
        {"[Default]", "settings.xml", "Kestrune - v1.0.0"},
        {"Jörg", "jörg.xml", "Kestrune - v1.0.0 - Jörg"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(SwitchProfile(state, c.profile, false).reload);
        EXPECT_EQ(state.paths.settingsDocumentPath, AppFile(c.document)) << c.profile;
        EXPECT_EQ(ProfileCaption(state.paths), c.caption);
    }
}

TEST_F(ProfilesTest, ChangingProfileReloadsOnlyWhenItsDocumentExistsAndStartUpIsOver) {
    state.paths.profile = "Work";
    // No document yet: the current tables become the new profile's document at the next save.
    EXPECT_FALSE(SwitchProfile(state, "Home", true).reload);
    EXPECT_TRUE(state.model.settingsChanged);

    state.model.settingsChanged = false;
    WriteText(AppFile("work.xml"), "<Root/>");
    EXPECT_TRUE(SwitchProfile(state, "Work", true).reload);
    EXPECT_FALSE(state.model.settingsChanged);

    // The same profile in another letter case is no change.
    EXPECT_FALSE(SwitchProfile(state, "WORK", true).reload);
    EXPECT_EQ(state.paths.profile, "Work");

    state.model.loadingInProgress = true;
    WriteText(AppFile("home.xml"), "<Root/>");
    EXPECT_FALSE(SwitchProfile(state, "Home", true).reload);
    EXPECT_EQ(state.paths.profile, "Home");
}

TEST_F(ProfilesTest, SwitchingProfileFirstStoresUnsavedChangesInTheOldOne) {
    state.paths.profile = "Work";
    state.paths.settingsDocumentPath = AppFile("work.xml");
    WriteText(AppFile("home.xml"), "<Root/>");
    state.model.tables[TableKind::HKCU_Run].Add({"Disabled", "C:\\d.exe"}, false);
    state.model.settingsChanged = true;
    EXPECT_TRUE(SwitchProfile(state, "Home", true).reload);
    EXPECT_NE(ReadText(AppFile("work.xml")).find("Disabled"), std::string::npos);
    EXPECT_TRUE(fe.messages.empty());
}

TEST_F(ProfilesTest, AddAppendsANewNameAndRefusesOneAlreadyListed) {
    LoadList("work\r\n");
    fe.inputAnswers = {"Work", "Home", "", "[default]"};
    for (int i = 0; i < 4; ++i) Press(list.Add(state.services, state.paths, fe));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "work", "Home"}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kProfileExistsMessage, kProfileExistsMessage}));
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fe.inputTitles[0], kAddProfileTitle);
    EXPECT_EQ(fe.questions[0], kAddProfilePrompt);
    EXPECT_FALSE(state.services.FileExists(AppFile("home.xml")));  // adding makes no file
}

TEST_F(ProfilesTest, NamesThatCannotBeFilesInTheProgramFolderAreRefusedInAddAndEdit) {
    using enum FileNaming;
    struct Case {
        const char* name;
        const char* onWindows;  // nullptr: a fine name
        const char* onLinux;
    };
    const Case cases[] = {
        {"..\\outside", kProfileNameCharactersMessage, kProfileNameSeparatorMessage},
        {"../outside", kProfileNameCharactersMessage, kProfileNameSeparatorMessage},
        {"sub/name", kProfileNameCharactersMessage, kProfileNameSeparatorMessage},
        {"tab\there", kProfileNameCharactersMessage, kProfileNameSeparatorMessage},
        {"C:name", kProfileNameCharactersMessage, nullptr},
        {"what?", kProfileNameCharactersMessage, nullptr},
        {"a|b", kProfileNameCharactersMessage, nullptr},
        {"con", kProfileNameDeviceMessage, nullptr},
        {"Nul.backup", kProfileNameDeviceMessage, nullptr},
        {"COM1", kProfileNameDeviceMessage, nullptr},
        {"lpt9 ", kProfileNameDeviceMessage, nullptr},
        {"Work.", kProfileNameEndMessage, nullptr},
        {"Work ", kProfileNameEndMessage, nullptr},
        {"Settings", kProfileNameSettingsMessage, kProfileNameSettingsMessage},
        // The document is the name + ".xml": dots alone never leave the folder.
        {"..", kProfileNameEndMessage, nullptr},
        {"a..b", nullptr, nullptr},
        {".hidden", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProfileNameProblem(c.name, Windows),
                  c.onWindows ? std::optional<std::string>(c.onWindows) : std::nullopt)
            << c.name;
        EXPECT_EQ(ProfileNameProblem(c.name, Posix), c.onLinux ? std::optional<std::string>(c.onLinux) : std::nullopt)
            << c.name;
    }
    std::string tooLong(252, 'x');
    EXPECT_EQ(ProfileNameProblem(tooLong, Posix), kProfileNameLengthMessage);
    tooLong.pop_back();
    EXPECT_EQ(ProfileNameProblem(tooLong, Windows), std::nullopt);
    for (const char* fine : {"Work", "Home Office", "v1.2", "Jörg", "COM10", "console", "[x]"})
        EXPECT_EQ(ProfileNameProblem(fine, Windows), std::nullopt) << fine;

    // The dialog goes by the rules of the system it runs on, here Linux.
    ASSERT_EQ(NamingOf(state.services), Posix);
    LoadList("Work\r\n");
    for (const Case& c : cases) {
        if (!c.onLinux) continue;
        fe.messages.clear();
        fe.inputAnswers = {c.name};
        Press(list.Add(state.services, state.paths, fe));
        SelectName("Work");
        fe.inputAnswers = {c.name};
        Press(list.Edit(state, fe));
        EXPECT_EQ(MessageTexts(), (std::vector<std::string>{c.onLinux, c.onLinux})) << c.name;
    }
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Work"}));
    fe.inputAnswers = {"a..b", "Work."};
    Press(list.Add(state.services, state.paths, fe));
    Press(list.Add(state.services, state.paths, fe));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Work", "a..b", "Work."}));
}

TEST_F(ProfilesTest, RenamingOrDeletingAStoredNameThatOlderChecksRefusedTakesItsDocumentAlong) {
    LoadList("a..b\r\nOld..One\r\n../outside\r\nSettings\r\n");
    WriteText(AppFile("a..b.xml"), "<Root><A/></Root>");
    WriteText(AppFile("old..one.xml"), "<Root/>");
    WriteText(AppFile("settings.xml"), "<Root><Default/></Root>");
    state.paths.profile = "a..b";

    SelectName("a..b");
    fe.inputAnswers = {"Home"};
    Press(list.Edit(state, fe));
    EXPECT_TRUE(fe.messages.empty()) << fe.messages[0].text;
    EXPECT_EQ(ReadText(AppFile("home.xml")), "<Root><A/></Root>");
    EXPECT_FALSE(state.services.FileExists(AppFile("a..b.xml")));
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile("home.xml"));

    SelectName("Old..One");
    Press(list.Delete(state.services, state.paths));
    EXPECT_FALSE(state.services.FileExists(AppFile("old..one.xml")));

    // Names that point elsewhere, or at the default profile's document, leave those files be.
    SelectName("Settings");
    Press(list.Delete(state.services, state.paths));
    EXPECT_EQ(ReadText(AppFile("settings.xml")), "<Root><Default/></Root>");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Home", "../outside"}));
}

TEST_F(ProfilesTest, SwitchingAwayFromTheDeletedProfileInUseDoesNotWriteItsDocumentBack) {
    LoadList("Work\r\n");
    WriteText(AppFile("work.xml"), "<Root/>");
    WriteText(AppFile("settings.xml"), "<Root/>");
    SwitchProfile(state, "Work", false);
    state.model.tables[TableKind::Delayed].Add({"Later", "C:\\later.exe", "5"}, true);
    state.model.settingsChanged = true;

    SelectName("Work");
    Press(list.Delete(state.services, state.paths));
    EXPECT_FALSE(state.services.FileExists(AppFile("work.xml")));
    SelectName("[default]");
    EXPECT_TRUE(Use());  // settings.xml exists: the tables are read from it
    EXPECT_FALSE(state.services.FileExists(AppFile("work.xml"))) << "the deleted profile's document came back";
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile("settings.xml"));
}

TEST_F(ProfilesTest, AProfileWhoseNameBeginsWithADotReadsItsDocument) {
    WriteText(AppFile(".quiet.xml"), "<Root/>");
    // The document exists, so switching to the profile reloads the tables from it rather than
    // writing the current ones over it.
    EXPECT_TRUE(SwitchProfile(state, ".Quiet", true).reload);
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile(".quiet.xml"));
    EXPECT_FALSE(state.model.settingsChanged);
}

TEST_F(ProfilesTest, EditRefusesTheDefaultEmptyAndTakenNames) {
    LoadList("Work\r\nHome\r\n");
    SelectName("[default]");
    Press(list.Edit(state, fe));  // no input box for the default entry
    SelectName("Work");
    fe.inputAnswers = {"", "[DEFAULT]", "home"};
    for (int i = 0; i < 3; ++i) Press(list.Edit(state, fe));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kCannotEditDefaultMessage, kEmptyProfileNameMessage,
                                                        kDefaultNameTakenMessage, kProfileExistsMessage}));
    for (const auto& m : fe.messages) EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(fe.inputTitles, (std::vector<std::string>(3, kEditProfileTitle)));
    EXPECT_EQ(fe.inputDefaults, (std::vector<std::string>(3, "Work")));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Work", "Home"}));
}

TEST_F(ProfilesTest, RenamingTheCurrentProfileMovesItsDocumentAndTheCaption) {
    LoadList("Work\r\nPlay\r\n");
    SwitchProfile(state, "Work", false);
    WriteText(AppFile("work.xml"), "<Root><Deleted/></Root>");
    SelectName("Work");
    fe.inputAnswers = {"Home"};
    Press(list.Edit(state, fe));

    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Home", "Play"}));
    EXPECT_FALSE(state.services.FileExists(AppFile("work.xml")));
    EXPECT_EQ(ReadText(AppFile("home.xml")), "<Root><Deleted/></Root>");
    EXPECT_EQ(state.paths.profile, "Home");
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile("home.xml"));
    EXPECT_EQ(ProfileCaption(state.paths), "Kestrune - v1.0.0 - Home");
    EXPECT_TRUE(list.Close(state.paths, fe));

    // Another profile's rename leaves the current one alone; a letter-case change keeps the file.
    SelectName("Play");
    fe.inputAnswers = {"PLAY"};
    WriteText(AppFile("play.xml"), "<Root/>");
    Press(list.Edit(state, fe));
    EXPECT_EQ(list.Entries()[2], "PLAY");
    EXPECT_TRUE(state.services.FileExists(AppFile("play.xml")));
    EXPECT_EQ(state.paths.profile, "Home");
}

TEST_F(ProfilesTest, ARenameNeverOverwritesAnotherDocument) {
    LoadList("Work\r\n");
    WriteText(AppFile("work.xml"), "<Root>work</Root>");
    WriteText(AppFile("home.xml"), "<Root>left over</Root>");
    SelectName("Work");
    fe.inputAnswers = {"Home"};
    Press(list.Edit(state, fe));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kProfileFileNotMovedMessage}));
    EXPECT_EQ(list.Entries()[1], "Work");
    EXPECT_EQ(ReadText(AppFile("home.xml")), "<Root>left over</Root>");
    EXPECT_EQ(ReadText(AppFile("work.xml")), "<Root>work</Root>");
}

TEST_F(ProfilesTest, DeletingTheCurrentProfileMakesCloseRefuse) {
    LoadList("Work\r\nHome\r\n");
    SwitchProfile(state, "Work", false);
    WriteText(AppFile("work.xml"), "<Root/>");
    SelectName("Work");
    Press(list.Delete(state.services, state.paths));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]", "Home"}));
    EXPECT_EQ(list.SelectedEntry(), "[default]");
    EXPECT_FALSE(state.services.FileExists(AppFile("work.xml")));

    EXPECT_FALSE(list.Close(state.paths, fe));
    ASSERT_EQ(fe.messages.size(), 1u);
    EXPECT_EQ(fe.messages[0].text,
              "The profile that was in use no longer exists. Please select a different profile from the list\n"
              "and click on the 'Use selected profile' button.");
    EXPECT_EQ(fe.messages[0].icon, MessageIcon::Exclamation);

    // Using the default selected by the deletion lets the dialog close.
    EXPECT_FALSE(Use());
    EXPECT_EQ(state.paths.profile, "[default]");
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile("settings.xml"));
    EXPECT_TRUE(list.Close(state.paths, fe));
}

TEST_F(ProfilesTest, DeleteRefusesTheDefaultAndRemovesOnlyTheEntryWithoutADocument) {
    LoadList("Home\r\nSettings\r\n");
    SelectName("[default]");
    Press(list.Delete(state.services, state.paths));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kCannotDeleteDefaultMessage}));
    SelectName("Home");
    Press(list.Delete(state.services, state.paths));
    // A hand-listed "Settings" must not take the default profile's document with it.
    WriteText(AppFile("settings.xml"), "<Root/>");
    SelectName("Settings");
    Press(list.Delete(state.services, state.paths));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"[default]"}));
    EXPECT_TRUE(state.services.FileExists(AppFile("settings.xml")));
    list.Select(-1);
    Press(list.Delete(state.services, state.paths));  // nothing selected: nothing happens
    EXPECT_EQ(fe.messages.size(), 1u);
}

TEST_F(ProfilesTest, UseMakesTheSelectedProfileCurrentAndSaysWhetherToReload) {
    LoadList("Mixed\r\n");
    state.paths.profile = "";
    state.paths.settingsDocumentPath = AppFile("settings.xml");
    SelectName("Mixed");
    EXPECT_FALSE(Use());  // no mixed.xml yet
    EXPECT_EQ(state.paths.settingsDocumentPath, AppFile("mixed.xml"));
    EXPECT_TRUE(state.model.settingsChanged);
    SaveSettingsDocument(state, false);
    EXPECT_TRUE(state.services.FileExists(AppFile("mixed.xml")));

    SelectName("[default]");
    WriteText(AppFile("settings.xml"), "<Root/>");
    EXPECT_TRUE(Use());
    list.SelectCurrentProfile(state.paths);
    EXPECT_EQ(list.SelectedEntry(), "[default]");
}

TEST_F(ProfilesTest, TheDialogOpensOnTheCurrentProfile) {
    LoadList("Work\r\nHome\r\n");
    state.paths.profile = "home";
    PrepareProfilesDialog(state.paths, list, false);
    EXPECT_EQ(list.SelectedEntry(), "Home");
    EXPECT_FALSE(list.ButtonsEnabled());
}

}  // namespace
}  // namespace kestrune
