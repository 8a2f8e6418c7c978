#pragma once
// The desktop shell of the emulated machine: its two Startup folders, shortcut files in the
// Windows format, and opening documents and folders with the Linux desktop's "xdg-open".

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/emulated/MachineLayout.h"
#include "platform/emulated/Refusals.h"

namespace kestrune::platform {

class EmulatedShell final : public Shell {
public:
    EmulatedShell(const MachineLayout& layout, Registry& registry)
        : layout_(layout), registry_(registry), refusals_(layout.Root()) {}

    // kCsidlCommonStartup: the machine's all-users Startup folder; kCsidlStartup: the folder
    // that HKCU's Shell Folders "Startup" value names. Both with a trailing "/".
    std::string SpecialFolder(int csidl) override;
    std::optional<ShortcutInfo> ReadShortcut(const std::string& path) override;
    // A file or folder listed as refusing changes (see Refusals) answers "access denied".
    Status WriteShortcut(const std::string& path, const ShortcutInfo& info) override;
    Status DeleteShortcut(const std::string& path) override;
    Status RenameShortcut(const std::string& from, const std::string& to) override;
    Status RelocateFile(const std::string& from, const std::string& to) override;
    bool OpenDocument(const std::string& target) override;
    bool OpenFolder(const std::string& folder) override;
    // See EmulatedRegistry::IgnoreRefusals.
    void IgnoreRefusals() { honourRefusals_ = false; }

private:
    const MachineLayout& layout_;
    Registry& registry_;
    Refusals refusals_;
    bool honourRefusals_ = true;
};

}  // namespace kestrune::platform
