// The profiles dialog's buttons over the profile list.

#include "app/MainState.h"
#include "app/Text.h"
#include "store/Profiles.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

void Refuse(MainState& state, const std::string& text) { state.fe.ShowMessage(text, MessageIcon::Exclamation); }

}  // namespace

void ProfilesCommand(MainState& state, ProfileList& list, bool editable) {
    list.ToggleProfileButtons(editable);
    list.SelectCurrentProfile(state);
    state.fe.ShowProfilesDialog();
}

bool ProfileList::StoreList(MainState& state) {
    if (SaveProfiles(state, state.profilesPath)) return true;
    Refuse(state, std::string(kProfileListNotWrittenMessage) + "\r\n" + state.profilesPath + WriteFailureLine(state));
    return false;
}

void ProfileList::Add(MainState& state) {
    const std::string answer = state.fe.InputBox(kAddProfilePrompt, kAddProfileTitle, "");
    if (answer.empty()) return;
    if (ProfileExists(answer)) return Refuse(state, kProfileExistsMessage);
    if (const auto problem = ProfileNameProblem(answer, NamingOf(state))) return Refuse(state, *problem);
    entries_.push_back(answer);
    if (!StoreList(state)) entries_.pop_back();
}

void ProfileList::Edit(MainState& state) {
    if (selection_ < 0) return;
    const std::string old = entries_[static_cast<size_t>(selection_)];
    if (EqualsIgnoreCase(old, kDefaultProfile)) return Refuse(state, kCannotEditDefaultMessage);

    const std::string answer = state.fe.InputBox(kEditProfilePrompt, kEditProfileTitle, old);
    if (answer.empty()) return Refuse(state, kEmptyProfileNameMessage);
    if (EqualsIgnoreCase(answer, kDefaultProfile)) return Refuse(state, kDefaultNameTakenMessage);
    // Two entries of one name would share one document; a change of letter case only is fine.
    const int existing = IndexOf(answer);
    if (existing >= 0 && existing != selection_) return Refuse(state, kProfileExistsMessage);
    const FileNaming naming = NamingOf(state);
    if (const auto problem = ProfileNameProblem(answer, naming)) return Refuse(state, *problem);

    // A name stored by hand or by an earlier version may break today's rules and still own its
    // document, which goes with it; only one that names a file elsewhere, or settings.xml,
    // leaves that file where it is.
    const std::string oldFile = ProfileDocumentPath(state, old);
    const std::string newFile = ProfileDocumentPath(state, answer);
    auto& files = state.platform.files();
    const bool moveDocument = OwnsItsDocument(old, naming) && oldFile != newFile && state.FileExists(oldFile);
    // The move fails rather than overwrite a document already under the new name.
    if (moveDocument && !files.RenameFile(oldFile, newFile)) return Refuse(state, kProfileFileNotMovedMessage);
    entries_[static_cast<size_t>(selection_)] = answer;
    if (!StoreList(state)) {
        // A list that still names the old profile must find its document where it was.
        entries_[static_cast<size_t>(selection_)] = old;
        if (moveDocument) files.RenameFile(newFile, oldFile);
        return;
    }
    // Document names ignore letter case, so a current profile spelled differently has just
    // had its document moved as well and must follow it.
    if (EqualsIgnoreCase(state.profile, old)) SwitchProfile(state, answer, false);
}

void ProfileList::Delete(MainState& state) {
    if (selection_ < 0) return;
    const std::string name = entries_[static_cast<size_t>(selection_)];
    if (EqualsIgnoreCase(name, kDefaultProfile)) return Refuse(state, kCannotDeleteDefaultMessage);
    const std::string file = ProfileDocumentPath(state, name);
    entries_.erase(entries_.begin() + selection_);
    // The document goes only once the list no longer names it.
    if (!StoreList(state)) {
        entries_.insert(entries_.begin() + selection_, name);
        return;
    }
    if (OwnsItsDocument(name, NamingOf(state)) && state.FileExists(file)) state.platform.files().RemoveFile(file);
    if (EqualsIgnoreCase(name, state.profile)) deletedDocument_ = file;
    selection_ = IndexOf(kDefaultProfile);
}

bool ProfileList::Use(MainState& state) {
    if (selection_ < 0) return false;
    // The profile in use was deleted with its document: what it had not saved goes with it,
    // rather than writing the document back under a name no longer listed.
    if (!deletedDocument_.empty() && deletedDocument_ == state.settingsDocumentPath) state.settingsChanged = false;
    deletedDocument_.clear();
    return SwitchProfile(state, entries_[static_cast<size_t>(selection_)], true);
}

bool ProfileList::Close(const Paths& paths, Prompts& prompts) {
    // An empty profile name is the default profile, which always exists.
    if (paths.profile.empty() || ProfileExists(paths.profile)) return true;
    prompts.ShowMessage(kProfileGoneMessage, MessageIcon::Exclamation);
    return false;
}

}  // namespace kestrune
