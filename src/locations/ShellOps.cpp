#include "locations/ShellOps.h"

#include "app/CommandLine.h"
#include "locations/Places.h"

namespace kestrune {

namespace {
constexpr int kNormalWindow = 1;
}

std::string GetSpecialFolder(platform::Shell& shell, int folderId) {
    const std::string folder = shell.SpecialFolder(folderId);
    return folder.empty() ? folder : AddBackslash(folder);
}

ShortcutTarget ResolveShortcut(platform::Shell& shell, const std::string& folder, const std::string& fileName) {
    if (folder.empty() || fileName.empty()) return {};
    const auto link = shell.ReadShortcut(AddBackslash(folder) + fileName);
    if (!link) return {};
    return {link->target, link->arguments, *link};
}

platform::ShortcutInfo NewShortcut(const std::string& target, const std::string& arguments) {
    platform::ShortcutInfo link;
    link.target = target;
    link.arguments = arguments;
    link.iconLocation = target;
    link.iconIndex = 0;
    link.showCommand = kNormalWindow;
    return link;
}

platform::Status CreateShortcut(platform::Shell& shell, const std::string& folder, const std::string& name,
                                const platform::ShortcutInfo& link) {
    // Without a folder the name alone would land in the file system's root.
    if (folder.empty()) return {platform::kErrorPathNotFound};
    return shell.WriteShortcut(ShortcutFileOf(folder, name), link);
}

platform::Status CreateShortcut(platform::Shell& shell, const std::string& folder, const std::string& name,
                                const std::string& target, const std::string& arguments) {
    return CreateShortcut(shell, folder, name, NewShortcut(target, arguments));
}

}  // namespace kestrune
