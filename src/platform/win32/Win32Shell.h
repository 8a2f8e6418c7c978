#pragma once
// The desktop shell: special folders, shortcut files through IShellLinkW, and opening
// documents and folders.

#include "platform/Shell.h"

namespace kestrune::platform::win32 {

class Win32Shell final : public Shell {
public:
    std::string SpecialFolder(int csidl) override;
    std::string KnownFolder(int csidl) override;
    std::optional<ShortcutInfo> ReadShortcut(const std::string& path) override;
    Status WriteShortcut(const std::string& path, const ShortcutInfo& info) override;
    Status DeleteShortcut(const std::string& path) override;
    Status RenameShortcut(const std::string& from, const std::string& to) override;
    Status RelocateFile(const std::string& from, const std::string& to) override;
    bool OpenDocument(const std::string& target) override;
    bool OpenFolder(const std::string& folder) override;
};

}  // namespace kestrune::platform::win32
