#pragma once
// A platform whose file system counts, per path, how often a file was read and rewritten,
// over a real one: for tests that prove a file is not read or written more than it must be.

#include <map>
#include <string>

#include "support/ForwardingPlatform.h"

namespace kestrune::test {

class CountingFileSystem final : public platform::FileSystem {
public:
    explicit CountingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    std::map<std::string, int> reads;   // whole reads and reads in pieces, each counted once
    std::map<std::string, int> writes;  // atomic rewrites
    std::size_t largestPiece = 0;       // the largest piece ReadInChunks handed out

    bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
    bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
    std::vector<std::string> ListFiles(const std::string& folder) override { return inner_.ListFiles(folder); }
    std::optional<std::string> ReadFile(const std::string& path) override {
        ++reads[path];
        return inner_.ReadFile(path);
    }
    bool ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) override {
        ++reads[path];
        return inner_.ReadInChunks(path, [&](std::string_view piece) {
            largestPiece = std::max(largestPiece, piece.size());
            take(piece);
        });
    }
    std::optional<platform::FileStamp> Stamp(const std::string& path) override { return inner_.Stamp(path); }
    bool WriteFileAtomic(const std::string& path, const std::string& content) override {
        ++writes[path];
        return inner_.WriteFileAtomic(path, content);
    }
    bool AppendToFile(const std::string& path, const std::string& content) override {
        return inner_.AppendToFile(path, content);
    }
    bool RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
    bool RenameFile(const std::string& from, const std::string& to) override { return inner_.RenameFile(from, to); }
    bool CreateDirectories(const std::string& path) override { return inner_.CreateDirectories(path); }
    int LastError() const override { return inner_.LastError(); }

private:
    platform::FileSystem& inner_;
};

class CountingPlatform final : public ForwardingPlatform {
public:
    explicit CountingPlatform(platform::Platform& inner) : ForwardingPlatform(inner), counter(inner.files()) {}
    CountingFileSystem counter;

    platform::FileSystem& files() override { return counter; }
};

}  // namespace kestrune::test
