#pragma once
// Files and folders. Paths are UTF-8 text in the system's own form; on Linux "\" is also
// accepted as a separator by the callers' path helpers, not here.

#include <optional>
#include <string>
#include <vector>

namespace kestrune::platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing ordinary file that is neither hidden nor a system file (on Linux a
    // name beginning with "." is hidden from listings only, not from this).
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // The ordinary, visible files of a folder (names only), ascending by name.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Replaces the file's content through a new file renamed over the old one, so a reader
    // never sees a half-written file.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& content) = 0;
    virtual bool AppendToFile(const std::string& path, const std::string& content) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Fails when the target exists.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    virtual bool CreateDirectories(const std::string& path) = 0;
};

}  // namespace kestrune::platform
