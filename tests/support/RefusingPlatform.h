#pragma once
// A machine's platform on which the system refuses some removals, as Windows does to a user
// without the right: deleting values under one root key, and deleting files in one folder.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "support/ForwardingPlatform.h"

namespace kestrune::test {

inline constexpr int kAccessDenied = 5;

class RefusingRegistry final : public platform::Registry {
public:
    RefusingRegistry(platform::Registry& inner, platform::RootKey refusedRoot)
        : inner_(inner), refusedRoot_(refusedRoot) {}
    int refusals = 0;

    bool KeyExists(platform::RootKey root, std::string_view subkey) override { return inner_.KeyExists(root, subkey); }
    std::optional<std::vector<platform::RegistryValue>> EnumValues(platform::RootKey root,
                                                                   std::string_view subkey) override {
        return inner_.EnumValues(root, subkey);
    }
    std::optional<platform::RegistryValue> QueryValue(platform::RootKey root, std::string_view subkey,
                                                      std::string_view name) override {
        return inner_.QueryValue(root, subkey, name);
    }
    platform::RegistryStatus SetValue(platform::RootKey root, std::string_view subkey,
                                      const platform::RegistryValue& value) override {
        return inner_.SetValue(root, subkey, value);
    }
    platform::RegistryStatus DeleteValue(platform::RootKey root, std::string_view subkey,
                                         std::string_view name) override {
        if (root != refusedRoot_) return inner_.DeleteValue(root, subkey, name);
        ++refusals;
        return {kAccessDenied};
    }
    platform::RegistryStatus CreateKey(platform::RootKey root, std::string_view subkey) override {
        return inner_.CreateKey(root, subkey);
    }
    // The 32-bit view refuses the same root.
    platform::Registry& InView(platform::RegistryView view) override {
        if (view != platform::RegistryView::Bits32) return *this;
        if (!bits32_) bits32_ = std::make_unique<RefusingRegistry>(inner_.InView(view), refusedRoot_);
        return *bits32_;
    }

private:
    platform::Registry& inner_;
    platform::RootKey refusedRoot_;
    std::unique_ptr<RefusingRegistry> bits32_;
};

class RefusingFileSystem final : public platform::FileSystem {
public:
    RefusingFileSystem(platform::FileSystem& inner, std::string refusedFolder)
        : inner_(inner), refusedFolder_(std::move(refusedFolder)) {}
    int refusals = 0;

    bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
    bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
    std::vector<std::string> ListFiles(const std::string& folder) override { return inner_.ListFiles(folder); }
    std::optional<std::string> ReadFile(const std::string& path) override { return inner_.ReadFile(path); }
    bool ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) override {
        return inner_.ReadInChunks(path, take);
    }
    std::optional<platform::FileStamp> Stamp(const std::string& path) override { return inner_.Stamp(path); }
    bool WriteFileAtomic(const std::string& path, const std::string& content) override {
        return inner_.WriteFileAtomic(path, content);
    }
    bool AppendToFile(const std::string& path, const std::string& content) override {
        return inner_.AppendToFile(path, content);
    }
    bool RemoveFile(const std::string& path) override {
        if (refusedFolder_.empty() || path.rfind(refusedFolder_, 0) != 0) return inner_.RemoveFile(path);
        ++refusals;
        return false;
    }
    bool RenameFile(const std::string& from, const std::string& to) override { return inner_.RenameFile(from, to); }
    bool CreateDirectories(const std::string& path) override { return inner_.CreateDirectories(path); }
    int LastError() const override { return inner_.LastError(); }

private:
    platform::FileSystem& inner_;
    std::string refusedFolder_;
};

// The shell refuses to delete shortcuts in (or move files out of) the folder its file system refuses, and counts
// the refusals with the file system's.
class RefusingShell final : public platform::Shell {
public:
    RefusingShell(platform::Shell& inner, RefusingFileSystem& files, std::string refusedFolder)
        : inner_(inner), files_(files), refusedFolder_(std::move(refusedFolder)) {}

    std::string SpecialFolder(int csidl) override { return inner_.SpecialFolder(csidl); }
    std::optional<platform::ShortcutInfo> ReadShortcut(const std::string& path) override {
        return inner_.ReadShortcut(path);
    }
    platform::Status WriteShortcut(const std::string& path, const platform::ShortcutInfo& info) override {
        return inner_.WriteShortcut(path, info);
    }
    platform::Status DeleteShortcut(const std::string& path) override {
        if (refusedFolder_.empty() || path.rfind(refusedFolder_, 0) != 0) return inner_.DeleteShortcut(path);
        ++files_.refusals;
        return {kAccessDenied};
    }
    platform::Status RelocateFile(const std::string& from, const std::string& to) override {
        if (refusedFolder_.empty() || from.rfind(refusedFolder_, 0) != 0) return inner_.RelocateFile(from, to);
        ++files_.refusals;
        return {kAccessDenied};
    }
    bool OpenDocument(const std::string& target) override { return inner_.OpenDocument(target); }
    bool OpenFolder(const std::string& folder) override { return inner_.OpenFolder(folder); }

private:
    platform::Shell& inner_;
    RefusingFileSystem& files_;
    std::string refusedFolder_;
};

// Forwards everything to `inner` but the refusing registry, file system and shell.
class RefusingPlatform final : public ForwardingPlatform {
public:
    RefusingPlatform(platform::Platform& inner, platform::RootKey refusedRoot, std::string refusedFolder)
        : ForwardingPlatform(inner),
          registryRefusals(inner.registry(), refusedRoot),
          fileRefusals(inner.files(), refusedFolder),
          shellRefusals(inner.shell(), fileRefusals, refusedFolder) {}
    RefusingRegistry registryRefusals;
    RefusingFileSystem fileRefusals;
    RefusingShell shellRefusals;

    platform::Registry& registry() override { return registryRefusals; }
    platform::FileSystem& files() override { return fileRefusals; }
    platform::Shell& shell() override { return shellRefusals; }
};

}  // namespace kestrune::test
