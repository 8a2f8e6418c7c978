#pragma once
// Where the two Startup folders are. The shell's known-folder API knows best (it follows a
// folder the user or an administrator redirected); without it, the current user's folder is
// the "User Shell Folders" value, which Windows keeps up to date, before the legacy "Shell
// Folders" copy, which a redirection can leave behind.

#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "platform/Platform.h"

namespace kestrune {

inline constexpr std::string_view kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
inline constexpr std::string_view kStartupFolderValue = "Startup";

// The current user's Startup folder without a trailing separator (as the registry holds it);
// "" when nothing names one. %NAME% references of "User Shell Folders" are expanded from
// `environment`; a value naming a variable that is not there is passed over.
std::string FindUserStartupFolder(platform::Platform& platform, const EnvironmentList& environment);
// All users' Startup folder with a trailing separator; "" when the shell has none.
std::string FindCommonStartupFolder(platform::Platform& platform);

}  // namespace kestrune
