#pragma once
// The desktop shell: special folders, shortcut (.lnk) files, and opening documents,
// addresses and folders the way the user's desktop does.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Status.h"

namespace kestrune::platform {

// Shell special folder ids (CSIDL values) that the program asks for.
inline constexpr int kCsidlStartup = 7;
inline constexpr int kCsidlCommonStartup = 24;

struct ShortcutInfo {
    std::string target;
    std::string arguments;
    std::string workingFolder;
    std::string iconLocation;
    int iconIndex = 0;
    int showCommand = 1;       // 1 normal, 3 maximised, 7 minimised without focus
    std::string description;   // the comment the desktop shows as the shortcut's tip
    std::uint16_t hotKey = 0;  // virtual key in the low byte, modifier flags in the high byte
    bool operator==(const ShortcutInfo&) const = default;
};

class Shell {
public:
    virtual ~Shell() = default;

    // The folder's path with a trailing separator, or "" when the shell has no such folder.
    virtual std::string SpecialFolder(int csidl) = 0;
    // The folder as the shell's known-folder API finds it (following a redirection), without
    // a trailing separator; "" when it cannot say, or has no such API (the callers then look
    // for the folder the older ways).
    virtual std::string KnownFolder(int csidl) {
        (void)csidl;
        return "";
    }
    // nullopt when the file is missing or is not a readable shortcut.
    virtual std::optional<ShortcutInfo> ReadShortcut(const std::string& path) = 0;
    // Writes (or replaces) the shortcut file; the system's error when it cannot be written.
    virtual Status WriteShortcut(const std::string& path, const ShortcutInfo& info) = 0;
    // Deletes a shortcut file; a file that is not there is error 2.
    virtual Status DeleteShortcut(const std::string& path) = 0;
    // Renames a shortcut file within its folder; another file already named `to` (other than
    // `from` in another letter case) is error 183 and is left alone. The backends rename the
    // file itself; this fallback writes the copy first and takes it away again on failure.
    virtual Status RenameShortcut(const std::string& from, const std::string& to) {
        const auto link = ReadShortcut(from);
        if (!link) return {kErrorFileNotFound};
        if (ReadShortcut(to)) return {kErrorAlreadyExists};
        if (const Status written = WriteShortcut(to, *link); !written.Ok()) return written;
        const Status removed = DeleteShortcut(from);
        if (!removed.Ok()) DeleteShortcut(to);
        return removed;
    }
    // Moves any file (not only a shortcut) to another folder or name, its bytes untouched, even
    // onto another volume; another file already named `to` (other than `from` in another letter
    // case) is error 183 and is left alone.
    virtual Status RelocateFile(const std::string& from, const std::string& to) = 0;
    // Opens an address, a document or a program with the desktop's "open" action.
    virtual bool OpenDocument(const std::string& target) = 0;
    // Shows a folder in the desktop's file manager.
    virtual bool OpenFolder(const std::string& folder) = 0;
};

}  // namespace kestrune::platform
