#pragma once
// Files and folders. Paths are UTF-8 text in the system's own form; on Linux "\" is also
// accepted as a separator by the callers' path helpers, not here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::platform {

inline constexpr std::size_t kReadChunk = std::size_t{256} * 1024;

// What tells one version of a file from another without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the system's own ticks
    bool operator==(const FileStamp&) const = default;
};

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
    // Hands the file's bytes to `take` piece by piece, none larger than kReadChunk, so that a
    // large file never sits in memory whole. False when the file cannot be opened or read.
    virtual bool ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) = 0;
    // Size and last modification of an ordinary file; nullopt when there is none to look at.
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
    // Replaces the file's content through a new file renamed over the old one, so a reader
    // never sees a half-written file.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& content) = 0;
    // The same, but a file that already holds exactly `content` is left alone: a rewrite goes
    // to the disk and waits for it, and a shut-down that changed nothing should not.
    bool WriteFileIfChanged(const std::string& path, const std::string& content) {
        if (const auto existing = ReadFile(path); existing && *existing == content) return true;
        return WriteFileAtomic(path, content);
    }
    virtual bool AppendToFile(const std::string& path, const std::string& content) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Fails when the target exists.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    virtual bool CreateDirectories(const std::string& path) = 0;
    // Why the last write or rename that failed failed, as a system error code that
    // System::ErrorText words; 0 when the file system cannot say.
    virtual int LastError() const { return 0; }
};

}  // namespace kestrune::platform
