#pragma once
// Profiles: named settings documents the user switches between. The default profile, listed
// as "[default]", uses settings.xml; any other uses its name in lower case + ".xml" beside the
// program. The list lives in profiles.txt; the profiles dialog shows it over ProfileList, whose
// operations carry out the dialog's buttons.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Outcome.h"
#include "app/RowFiles.h"

namespace kestrune {

class Prompts;

inline constexpr const char* kDefaultProfile = "[default]";
inline constexpr const char* kDefaultDocumentName = "settings.xml";
inline constexpr const char* kProfilesCaption = "Kestrune - Profiles";

inline constexpr const char* kAddProfileTitle = "Add Profile";
inline constexpr const char* kAddProfilePrompt = "Please enter a name for the new profile:";
inline constexpr const char* kEditProfileTitle = "Edit Profile";
inline constexpr const char* kEditProfilePrompt = "Please enter a new name for the profile:";
inline constexpr const char* kProfileExistsMessage = "Profile already exists!";
inline constexpr const char* kCannotEditDefaultMessage = "Cannot edit default profile name.";
inline constexpr const char* kEmptyProfileNameMessage = "Profile name cannot be empty.";
inline constexpr const char* kDefaultNameTakenMessage = "Cannot use the default profile name.";
inline constexpr const char* kCannotDeleteDefaultMessage = "Cannot delete default profile.";
inline constexpr const char* kProfileGoneMessage =
    "The profile that was in use no longer exists. Please select a different profile from the list\n"
    "and click on the 'Use selected profile' button.";
inline constexpr const char* kProfileFileNotMovedMessage =
    "The profile's settings file could not be renamed, so the profile keeps its name.";
inline constexpr const char* kProfileListNotWrittenMessage =
    "The profile list could not be written, so the profiles stay as they were:";
inline constexpr const char* kProfileNameCharactersMessage =
    "A profile name cannot contain any of the characters \\ / : * ? \" < > | or control characters.";
inline constexpr const char* kProfileNameSeparatorMessage =
    "A profile name cannot contain \\ or / or control characters.";
inline constexpr const char* kProfileNameEndMessage = "A profile name cannot end in a dot or a space.";
inline constexpr const char* kProfileNameDeviceMessage =
    "A profile name cannot be a device name such as CON, PRN, AUX, NUL, COM1 or LPT1.";
inline constexpr const char* kProfileNameSettingsMessage =
    "A profile cannot be named \"settings\": settings.xml is the default profile's document.";
inline constexpr const char* kProfileNameLengthMessage = "A profile name cannot be longer than 251 characters.";

// The file names a system allows: on Windows none of \ / : * ? " < > |, no device names such
// as CON or COM1, and no dot or space at the end; on Linux anything but the separators.
enum class FileNaming { Posix, Windows };
FileNaming NamingOf(Services& services);

// Why a name cannot be a new profile: it becomes a file name in the program's folder, so it
// must be a file name of this system that stays in that folder and is not the default
// profile's file. Empty when the name will do.
std::optional<std::string> ProfileNameProblem(std::string_view name, FileNaming naming);
// True when the profile's document is a file of its own directly in the program folder, which
// renaming or deleting the profile may move or delete. Also for names that could not be added
// today but were stored by hand or by an earlier version.
bool OwnsItsDocument(std::string_view name, FileNaming naming);

// The document of a profile: AppFolder + the name in lower case + ".xml", or settings.xml for
// "" and "[default]".
std::string ProfileDocumentPath(const Paths& paths, std::string_view profile);

// What a switch of profile works on: the paths it points at another document, and the tables
// and services that store what the old document lacks first. Any state made of these parts
// (the main state, a test's) passes as one.
struct ProfileParts {
    ProfileParts(Model& model, Services& services, Paths& paths) : model(model), services(services), paths(paths) {}
    template <MadeOfRowParts State>
    ProfileParts(State& state)  // NOLINT(google-explicit-constructor): a state is its parts
        : ProfileParts(state.model, state.services, state.paths) {}

    Model& model;
    Services& services;
    Paths& paths;

    RowParts rows() const { return {model, services, paths}; }
};

// The main window's caption, which names the current profile unless it is the default one.
std::string ProfileCaption(const Paths& paths);

// What a switch of profile leaves to its caller, who also shows ProfileCaption again.
struct ProfileSwitch {
    // All tables must be read again ("Refresh && reload tables").
    bool reload = false;
    // Refused, with the message to show, when the old profile's unsaved changes could not be
    // written: the profile then stays as it was.
    Outcome outcome;
};

// Makes a profile current (`BuildXMLName`): sets profile and the document path. Asks for a
// reload when the profile changed with `refresh` set, its document exists and start-up is over.
// When its document does not exist yet, the current tables are marked to be written as that
// document instead.
ProfileSwitch SwitchProfile(ProfileParts parts, const std::string& newProfile, bool refresh);

class ProfileList {
public:
    // Adds "[default]" and then the non-empty lines of `file` (when it exists); clears nothing.
    void LoadProfiles(Services& services, const std::string& file);
    // Writes every entry but "[default]", one per line; false when the file could not be written.
    bool SaveProfiles(Services& services, const std::string& file) const;
    bool ProfileExists(std::string_view name) const;

    const std::vector<std::string>& Entries() const { return entries_; }
    // The selected entry's index into Entries(), or -1.
    int Selection() const { return selection_; }
    void Select(int index);
    std::string SelectedEntry() const;
    // Selects the entry of profile ("[default]" when it is empty).
    void SelectCurrentProfile(const Paths& paths);

    // Add, Edit and Delete are enabled or disabled together.
    void ToggleProfileButtons(bool enable) { buttonsEnabled_ = enable; }
    bool ButtonsEnabled() const { return buttonsEnabled_; }

    // The dialog's buttons. Each says what it refused in its outcome; the window shows it and
    // then the caption, which a renamed current profile changes.
    Outcome Add(Services& services, const Paths& paths, Prompts& prompts);
    Outcome Edit(ProfileParts parts, Prompts& prompts);
    Outcome Delete(Services& services, const Paths& paths);
    // "Use selected profile": whether all tables must be reloaded; the dialog then hides.
    ProfileSwitch Use(ProfileParts parts);
    // Close button or close box: answers whether the dialog may hide.
    bool Close(const Paths& paths, Prompts& prompts);

private:
    int IndexOf(std::string_view name) const;
    // The buttons change the list on disk at once, so that it always names the documents
    // beside it. Refused, with the reason, when profiles.txt could not be written.
    Outcome StoreList(Services& services, const Paths& paths) const;

    std::vector<std::string> entries_;
    int selection_ = -1;
    bool buttonsEnabled_ = true;
    std::string deletedDocument_;  // of the profile in use, deleted while the dialog was open
};

// The "Profiles" menu command, and the start-up choice of a profile with `editable` clear:
// Add, Edit and Delete enabled or not and the current profile selected; the caller then shows
// the dialog.
void PrepareProfilesDialog(const Paths& paths, ProfileList& list, bool editable = true);

}  // namespace kestrune
