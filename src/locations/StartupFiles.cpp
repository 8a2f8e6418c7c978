#include "locations/StartupFiles.h"

#include "app/CommandLine.h"
#include "app/Paths.h"
#include "app/Text.h"
#include "locations/Places.h"

namespace kestrune {

namespace {

constexpr const char* kFolderSettings = "desktop.ini";

bool IsShortcutName(const std::string& fileName) { return EqualsIgnoreCase(ExtensionOf(fileName), kShortcutExtension); }

std::string KeptFolderOf(platform::Platform& platform, const Paths& paths, TableKind kind) {
    const char separator = platform.system().PathSeparator();
    return AddBackslash(paths.appFolder) + kKeptFilesFolder + separator + std::string(TabCaption(kind)) + separator;
}

// "Backup.bat" as "Backup (2).bat".
std::string Numbered(const std::string& fileName, int number) {
    const std::string extension = ExtensionOf(fileName);
    const bool hasExtension = !extension.empty() && extension.size() < fileName.size();
    const std::string stem = hasExtension ? fileName.substr(0, fileName.size() - extension.size()) : fileName;
    return stem + " (" + std::to_string(number) + ")" + (hasExtension ? extension : "");
}

}  // namespace

std::vector<FolderEntry> ReadStartupFolder(platform::Platform& platform, const std::string& folder) {
    std::vector<FolderEntry> entries;
    auto& files = platform.files();
    if (folder.empty() || !files.DirectoryExists(folder)) return entries;
    for (const std::string& fileName : files.ListFiles(folder)) {
        if (EqualsIgnoreCase(fileName, kFolderSettings)) continue;
        const std::string path = AddBackslash(folder) + fileName;
        const auto link = platform.shell().ReadShortcut(path);
        FolderEntry entry;
        entry.fileName = fileName;
        if (link && !link->target.empty()) {
            entry.name = fileName.substr(0, fileName.size() - ExtensionOf(fileName).size());
            entry.target = link->target;
            entry.arguments = link->arguments;
            entry.link = *link;
        } else {
            // A shortcut that names no file, or cannot be read, starts nothing; any other file
            // Windows opens as a document.
            if (IsShortcutName(fileName)) continue;
            entry.name = fileName;
            entry.target = path;
            entry.startupFile = true;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FolderFileName(const std::string& rowName, bool startupFile) {
    return startupFile ? rowName : rowName + kShortcutExtension;
}

std::string FreeKeptFile(platform::Platform& platform, const Paths& paths, TableKind kind,
                         const std::string& fileName) {
    const std::string folder = KeptFolderOf(platform, paths, kind);
    const std::vector<std::string> kept =
        platform.files().DirectoryExists(folder) ? platform.files().ListFiles(folder) : std::vector<std::string>{};
    auto taken = [&](const std::string& name) {
        for (const std::string& other : kept)
            if (EqualsIgnoreCase(other, name)) return true;
        return false;
    };
    std::string name = fileName;
    for (int number = 2; taken(name); ++number) name = Numbered(fileName, number);
    return folder + name;
}

platform::Status MoveStartupFile(platform::Platform& platform, const std::string& from, const std::string& to) {
    const std::string folder = to.substr(0, to.find_last_of("\\/") + 1);
    if (!folder.empty() && !platform.files().DirectoryExists(folder) && !platform.files().CreateDirectories(folder))
        return {platform::kErrorPathNotFound};
    return platform.shell().RelocateFile(from, to);
}

}  // namespace kestrune
