#include "locations/Places.h"

#include "app/CommandLine.h"
#include "app/Paths.h"

namespace kestrune {

std::optional<RunKeyPlace> RunKeyOf(TableKind kind) {
    switch (kind) {
        case TableKind::HKLM_Run: return RunKeyPlace{platform::RootKey::LocalMachine, kRunKey};
        case TableKind::HKCU_Run: return RunKeyPlace{platform::RootKey::CurrentUser, kRunKey};
        case TableKind::RunOnce: return RunKeyPlace{platform::RootKey::LocalMachine, kRunOnceKey};
        default: return std::nullopt;
    }
}

const std::string& StartupFolderOf(const Paths& paths, TableKind kind) {
    static const std::string none;
    if (kind == TableKind::UserStartup) return paths.userStartupFolder;
    if (kind == TableKind::CommonStartup) return paths.commonStartupFolder;
    return none;
}

std::string ShortcutFileOf(const std::string& folder, std::string_view name) {
    return AddBackslash(folder) + std::string(name) + kShortcutExtension;
}

}  // namespace kestrune
