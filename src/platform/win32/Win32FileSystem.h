#pragma once
// Files and folders through the wide-character file functions.

#include "platform/FileSystem.h"

namespace kestrune::platform::win32 {

class Win32FileSystem final : public FileSystem {
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
    int LastError() const override { return static_cast<int>(lastError_); }

private:
    // Keeps GetLastError() of a failed call; answers false.
    bool Failed();
    unsigned long lastError_ = 0;
};

}  // namespace kestrune::platform::win32
