#include "store/Profiles.h"

#include <algorithm>
#include <array>

#include "app/Model.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/Text.h"
#include "app/Version.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

constexpr std::string_view kProfileSeparator = "\r\n";
constexpr std::string_view kDocumentExtension = ".xml";
// Windows keeps a file name to 255 characters, and the ".xml" comes on top of the name.
constexpr size_t kLongestProfileName = 255 - 4;

bool IsDefaultProfile(std::string_view profile) {
    return profile.empty() || EqualsIgnoreCase(profile, kDefaultProfile);
}

// Windows opens the device, not a file, for these names whatever extension follows them.
bool IsDeviceName(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = ToUpper(base);
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9';
}

}  // namespace

FileNaming NamingOf(Services& services) {
    return services.platform.system().PathSeparator() == '\\' ? FileNaming::Windows : FileNaming::Posix;
}

bool OwnsItsDocument(std::string_view name, FileNaming naming) {
    // "\\" separates folders on Linux too: the program's paths accept it there.
    if (name.find_first_of("\\/") != std::string_view::npos) return false;
    // A drive or a stream of another file, or a device rather than a file.
    if (naming == FileNaming::Windows && (name.find(':') != std::string_view::npos || IsDeviceName(name))) return false;
    return !IsDefaultProfile(name) && ToLower(name) + std::string(kDocumentExtension) != kDefaultDocumentName;
}

std::optional<std::string> ProfileNameProblem(std::string_view name, FileNaming naming) {
    const bool windows = naming == FileNaming::Windows;
    const std::string_view forbidden = windows ? "\\/:*?\"<>|" : "\\/";
    // Control characters are file names on Linux, but not lines of profiles.txt.
    const bool badCharacter = std::any_of(name.begin(), name.end(), [&](char c) {
        return static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string_view::npos;
    });
    if (badCharacter) return windows ? kProfileNameCharactersMessage : kProfileNameSeparatorMessage;
    if (windows && IsDeviceName(name)) return kProfileNameDeviceMessage;
    // Windows drops a trailing dot or space from a name, so two profiles would look one.
    if (windows && !name.empty() && (name.back() == '.' || name.back() == ' ')) return kProfileNameEndMessage;
    if (ToLower(name) + std::string(kDocumentExtension) == kDefaultDocumentName) return kProfileNameSettingsMessage;
    if (name.size() > kLongestProfileName) return kProfileNameLengthMessage;
    return std::nullopt;
}

std::string ProfileDocumentPath(const Paths& paths, std::string_view profile) {
    if (IsDefaultProfile(profile)) return paths.appFolder + kDefaultDocumentName;
    return paths.appFolder + ToLower(profile) + std::string(kDocumentExtension);
}

std::string ProfileCaption(const Paths& paths) {
    std::string caption = VersionCaption();
    if (!IsDefaultProfile(paths.profile)) caption += " - " + paths.profile;
    return caption;
}

ProfileSwitch SwitchProfile(ProfileParts parts, const std::string& newProfile, bool refresh) {
    Model& model = parts.model;
    Paths& paths = parts.paths;
    bool changed = false;
    if (!EqualsIgnoreCase(newProfile, paths.profile)) {
        // Switching away with unsaved changes would lose them: a row unticked since the last
        // save is in neither its place nor any document. They go to the profile they belong to.
        // When they cannot be written the switch does not happen: the tables stay with their profile.
        if (refresh && model.settingsChanged && !model.loadingInProgress) {
            Outcome pending = StorePendingBeforeReload(parts.rows());
            if (!pending.Succeeded()) return {false, std::move(pending)};
        }
        paths.profile = newProfile;
        changed = true;
    }
    paths.settingsDocumentPath = ProfileDocumentPath(paths, paths.profile);

    if (!refresh || !changed) return {};
    if (!parts.services.FileExists(paths.settingsDocumentPath)) {
        model.settingsChanged = true;
        return {};
    }
    return {!model.loadingInProgress, {}};
}

void ProfileList::LoadProfiles(Services& services, const std::string& file) {
    entries_.emplace_back(kDefaultProfile);
    if (!services.FileExists(file)) return;
    const std::optional<std::string> text = services.platform.files().ReadFile(file);
    if (!text) return;
    // The file is written with "\r\n"; one edited by hand may end its lines with "\n" alone, and
    // a name never holds a line break. "[default]" is listed first already and never written.
    std::string line;
    for (size_t at = 0; at <= text->size(); ++at) {
        if (at < text->size() && (*text)[at] != '\r' && (*text)[at] != '\n') {
            line.push_back((*text)[at]);
            continue;
        }
        if (!line.empty() && !EqualsIgnoreCase(line, kDefaultProfile)) entries_.push_back(std::move(line));
        line.clear();
    }
}

bool ProfileList::SaveProfiles(Services& services, const std::string& file) const {
    std::vector<std::string> names;
    for (const std::string& entry : entries_) {
        if (!EqualsIgnoreCase(entry, kDefaultProfile)) names.push_back(entry);
    }
    return services.platform.files().WriteFileIfChanged(file, Join(names, kProfileSeparator));
}

int ProfileList::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (EqualsIgnoreCase(entries_[i], name)) return static_cast<int>(i);
    }
    return -1;
}

bool ProfileList::ProfileExists(std::string_view name) const { return IndexOf(name) >= 0; }

void ProfileList::Select(int index) {
    selection_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

std::string ProfileList::SelectedEntry() const {
    return selection_ >= 0 ? entries_[static_cast<size_t>(selection_)] : std::string{};
}

void ProfileList::SelectCurrentProfile(const Paths& paths) {
    selection_ = IndexOf(paths.profile.empty() ? std::string_view(kDefaultProfile) : paths.profile);
}

}  // namespace kestrune
