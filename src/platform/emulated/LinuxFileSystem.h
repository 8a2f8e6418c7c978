#pragma once
// Files and folders on Linux. "desktop.ini" and "Thumbs.db" count as system files, as Windows
// marks them. A name beginning with "." is hidden from folder listings only: Linux has no
// hidden attribute, and a file the program names itself (a profile's document) or a path the
// user typed is there whatever its name.

#include "platform/FileSystem.h"

namespace kestrune::platform {

class LinuxFileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    bool WriteFileAtomic(const std::string& path, const std::string& content) override;
    bool AppendToFile(const std::string& path, const std::string& content) override;
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
    bool CreateDirectories(const std::string& path) override;
    int LastError() const override { return lastError_; }

private:
    // Keeps errno of a failed call, in the system's terms.
    bool Failed();
    int lastError_ = 0;
};

// Windows finds a file whatever the letter case of its name, and programs write shortcuts as
// "Name.LNK" as well as "Name.lnk". For a shortcut's path ("/" separated) that names no file,
// the file of its folder whose name equals the last part ignoring case; otherwise the path.
std::string ShortcutPathIgnoringCase(const std::string& path);

// The hidden and system files that a folder listing leaves out.
bool IsHiddenOrSystemName(const std::string& name);
// The system files that no look-up finds.
bool IsSystemName(const std::string& name);

}  // namespace kestrune::platform
