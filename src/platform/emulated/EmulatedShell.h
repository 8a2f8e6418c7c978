#pragma once
// The desktop shell of the emulated machine: its two Startup folders, shortcut files in the
// Windows format, and opening documents and folders with the Linux desktop's "xdg-open".

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/emulated/MachineLayout.h"

namespace kestrune::platform {

class EmulatedShell final : public Shell {
public:
    EmulatedShell(const MachineLayout& layout, Registry& registry) : layout_(layout), registry_(registry) {}

    // kCsidlCommonStartup: the machine's all-users Startup folder; kCsidlStartup: the folder
    // that HKCU's Shell Folders "Startup" value names. Both with a trailing "/".
    std::string SpecialFolder(int csidl) override;
    std::optional<ShortcutInfo> ReadShortcut(const std::string& path) override;
    bool WriteShortcut(const std::string& path, const ShortcutInfo& info) override;
    bool OpenDocument(const std::string& target) override;
    bool OpenFolder(const std::string& folder) override;

private:
    const MachineLayout& layout_;
    Registry& registry_;
};

}  // namespace kestrune::platform
