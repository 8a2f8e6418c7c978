// The profiles dialog's buttons over the profile list.

#include "app/Model.h"
#include "app/Paths.h"
#include "app/Prompts.h"
#include "app/Services.h"
#include "app/Text.h"
#include "store/Profiles.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

Outcome Refused(std::string text) {
    Outcome refused = Outcome::Of(OutcomeStatus::Refused, text);
    refused.Say(std::move(text), MessageIcon::Exclamation);
    return refused;
}

}  // namespace

void PrepareProfilesDialog(const Paths& paths, ProfileList& list, bool editable) {
    list.ToggleProfileButtons(editable);
    list.SelectCurrentProfile(paths);
}

Outcome ProfileList::StoreList(Services& services, const Paths& paths) const {
    if (SaveProfiles(services, paths.profilesPath)) return Outcome::Of(OutcomeStatus::Done);
    return Refused(std::string(kProfileListNotWrittenMessage) + "\r\n" + paths.profilesPath +
                   WriteFailureLine(services));
}

Outcome ProfileList::Add(Services& services, const Paths& paths, Prompts& prompts) {
    const std::string answer = prompts.InputBox(kAddProfilePrompt, kAddProfileTitle, "");
    if (answer.empty()) return Outcome::Of(OutcomeStatus::Cancelled);
    if (ProfileExists(answer)) return Refused(kProfileExistsMessage);
    if (const auto problem = ProfileNameProblem(answer, NamingOf(services))) return Refused(*problem);
    entries_.push_back(answer);
    Outcome stored = StoreList(services, paths);
    if (!stored.Succeeded()) entries_.pop_back();
    return stored;
}

Outcome ProfileList::Edit(ProfileParts parts, Prompts& prompts) {
    if (selection_ < 0) return {};
    const std::string old = entries_[static_cast<size_t>(selection_)];
    if (EqualsIgnoreCase(old, kDefaultProfile)) return Refused(kCannotEditDefaultMessage);

    const std::string answer = prompts.InputBox(kEditProfilePrompt, kEditProfileTitle, old);
    if (answer.empty()) return Refused(kEmptyProfileNameMessage);
    if (EqualsIgnoreCase(answer, kDefaultProfile)) return Refused(kDefaultNameTakenMessage);
    // Two entries of one name would share one document; a change of letter case only is fine.
    const int existing = IndexOf(answer);
    if (existing >= 0 && existing != selection_) return Refused(kProfileExistsMessage);
    Services& services = parts.services;
    const FileNaming naming = NamingOf(services);
    if (const auto problem = ProfileNameProblem(answer, naming)) return Refused(*problem);

    // A name stored by hand or by an earlier version may break today's rules and still own its
    // document, which goes with it; only one that names a file elsewhere, or settings.xml,
    // leaves that file where it is.
    const std::string oldFile = ProfileDocumentPath(parts.paths, old);
    const std::string newFile = ProfileDocumentPath(parts.paths, answer);
    auto& files = services.platform.files();
    const bool moveDocument = OwnsItsDocument(old, naming) && oldFile != newFile && services.FileExists(oldFile);
    // The move fails rather than overwrite a document already under the new name.
    if (moveDocument && !files.RenameFile(oldFile, newFile)) return Refused(kProfileFileNotMovedMessage);
    entries_[static_cast<size_t>(selection_)] = answer;
    Outcome stored = StoreList(services, parts.paths);
    if (!stored.Succeeded()) {
        // A list that still names the old profile must find its document where it was.
        entries_[static_cast<size_t>(selection_)] = old;
        if (moveDocument) files.RenameFile(newFile, oldFile);
        return stored;
    }
    // Document names ignore letter case, so a current profile spelled differently has just
    // had its document moved as well and must follow it.
    if (EqualsIgnoreCase(parts.paths.profile, old)) SwitchProfile(parts, answer, false);
    return stored;
}

Outcome ProfileList::Delete(Services& services, const Paths& paths) {
    if (selection_ < 0) return {};
    const std::string name = entries_[static_cast<size_t>(selection_)];
    if (EqualsIgnoreCase(name, kDefaultProfile)) return Refused(kCannotDeleteDefaultMessage);
    const std::string file = ProfileDocumentPath(paths, name);
    entries_.erase(entries_.begin() + selection_);
    // The document goes only once the list no longer names it.
    Outcome stored = StoreList(services, paths);
    if (!stored.Succeeded()) {
        entries_.insert(entries_.begin() + selection_, name);
        return stored;
    }
    if (OwnsItsDocument(name, NamingOf(services)) && services.FileExists(file))
        services.platform.files().RemoveFile(file);
    if (EqualsIgnoreCase(name, paths.profile)) deletedDocument_ = file;
    selection_ = IndexOf(kDefaultProfile);
    return stored;
}

ProfileSwitch ProfileList::Use(ProfileParts parts) {
    if (selection_ < 0) return {};
    // The profile in use was deleted with its document: what it had not saved goes with it,
    // rather than writing the document back under a name no longer listed.
    if (!deletedDocument_.empty() && deletedDocument_ == parts.paths.settingsDocumentPath)
        parts.model.settingsChanged = false;
    deletedDocument_.clear();
    return SwitchProfile(parts, entries_[static_cast<size_t>(selection_)], true);
}

bool ProfileList::Close(const Paths& paths, Prompts& prompts) {
    // An empty profile name is the default profile, which always exists.
    if (paths.profile.empty() || ProfileExists(paths.profile)) return true;
    prompts.ShowMessage(kProfileGoneMessage, MessageIcon::Exclamation);
    return false;
}

}  // namespace kestrune
