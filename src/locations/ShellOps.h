#pragma once
// The shell operations on the places: the special folders and reading and writing shortcut
// files. Failures give empty results.

#include <string>

#include "platform/Shell.h"

namespace kestrune {

// The special folder's path ending with a separator; "" when the shell has no such folder.
std::string GetSpecialFolder(platform::Shell& shell, int folderId);

struct ShortcutTarget {
    std::string target;
    std::string arguments;
    platform::ShortcutInfo link;  // every field of the file
};

// The target and arguments (and every other field) of the shortcut `fileName` in `folder`; all
// empty when the file is missing or is not a shortcut.
ShortcutTarget ResolveShortcut(platform::Shell& shell, const std::string& folder, const std::string& fileName);

// Writes (or replaces) "<folder>\<name>.lnk" pointing at `target`, normal window, the target's
// first icon. Nothing is written without a folder (error 3, path not found).
platform::Status CreateShortcut(platform::Shell& shell, const std::string& folder, const std::string& name,
                                const std::string& target, const std::string& arguments);
// The same with every field given (a shortcut put back as it was).
platform::Status CreateShortcut(platform::Shell& shell, const std::string& folder, const std::string& name,
                                const platform::ShortcutInfo& link);
// The fields of a new shortcut to `target`: normal window, the target's first icon.
platform::ShortcutInfo NewShortcut(const std::string& target, const std::string& arguments);

}  // namespace kestrune
