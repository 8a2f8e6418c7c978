#include "locations/StartupFolders.h"

#include "locations/RegistryOps.h"
#include "locations/ShellOps.h"

namespace kestrune {

namespace {

// True when a "%" is left: a reference to a variable this environment does not have.
bool HasUnexpandedReference(const std::string& text) {
    const auto first = text.find('%');
    return first != std::string::npos && text.find('%', first + 1) != std::string::npos;
}

}  // namespace

std::string FindUserStartupFolder(platform::Platform& platform, const EnvironmentList& environment) {
    if (std::string known = platform.shell().KnownFolder(platform::kCsidlStartup); !known.empty()) return known;
    const RegistryRead current = ReadRegistryValue(platform.registry(), platform::RootKey::CurrentUser,
                                                   kUserShellFoldersKey, kStartupFolderValue);
    if (current.ok && !current.data.empty()) {
        std::string folder = ExpandEnvironment(current.data, environment);
        if (!HasUnexpandedReference(folder)) return folder;
    }
    return GetShellFolder(platform.registry(), kStartupFolderValue);
}

std::string FindCommonStartupFolder(platform::Platform& platform) {
    if (std::string known = platform.shell().KnownFolder(platform::kCsidlCommonStartup); !known.empty())
        return known + platform.system().PathSeparator();
    return GetSpecialFolder(platform.shell(), platform::kCsidlCommonStartup);
}

}  // namespace kestrune
