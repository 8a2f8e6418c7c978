#pragma once
// Where things live on the emulated machine, under its root folder:
//
//   HKEY_LOCAL_MACHINE.reg, HKEY_CURRENT_USER.reg, HKEY_DYN_DATA.reg   the registry
//   ProgramData/Microsoft/Windows/Start Menu/Programs/Startup/          all users' Startup
//   Users/User/                                                         the user profile, whose
//       AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup   Startup folder is named
//                                                                       by HKCU's Shell Folders
//   Windows/, Windows/System32/                                         Windows and System folders
//
// A new machine gets what current 64-bit Windows has: the Run and RunOnce keys of HKLM in both
// registry views (the 32-bit ones under SOFTWARE\WOW6432Node), HKCU's Run and RunOnce keys,
// the StartupApproved keys of HKLM and HKCU (Run, Run32, StartupFolder), the Shell Folders
// "Startup" value and the older processor-usage keys under HKEY_DYN_DATA. Parts that exist
// already are left as they are, so a test or script may shape a machine before the program
// starts on it.

#include <string>
#include <string_view>

namespace kestrune::platform {

class EmulatedRegistry;

inline constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr std::string_view kStartupValue = "Startup";
inline constexpr std::string_view kRun32Key = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunOnce32Key = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class MachineLayout {
public:
    // `root` may be relative; the layout works with its absolute form.
    explicit MachineLayout(const std::string& root);

    // The root with a trailing "/".
    const std::string& Root() const { return root_; }
    // All users' Startup folder, with a trailing "/".
    std::string CommonStartup() const;
    // The user's Startup folder as a new machine records it (no trailing "/").
    std::string DefaultUserStartup() const;
    std::string UserProfile() const;

    // Creates the missing folders and registry files with their keys.
    void Ensure(EmulatedRegistry& registry) const;
    // Also creates each key of the layout that an existing registry file lacks (a machine made
    // by an older version); false when a registry file cannot be written.
    bool EnsureKeys(EmulatedRegistry& registry) const;

private:
    std::string root_;
};

}  // namespace kestrune::platform
