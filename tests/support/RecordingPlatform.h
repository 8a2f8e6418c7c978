#pragma once
// A machine's platform whose shell records the addresses and folders it is asked to open
// instead of starting a browser or a file manager.

#include <string>
#include <vector>

#include "support/ForwardingPlatform.h"

namespace kestrune::test {

class RecordingShell final : public platform::Shell {
public:
    explicit RecordingShell(platform::Shell& inner) : inner_(inner) {}
    std::vector<std::string> opened, folders;

    std::string SpecialFolder(int csidl) override { return inner_.SpecialFolder(csidl); }
    std::optional<platform::ShortcutInfo> ReadShortcut(const std::string& path) override {
        return inner_.ReadShortcut(path);
    }
    platform::Status WriteShortcut(const std::string& path, const platform::ShortcutInfo& info) override {
        return inner_.WriteShortcut(path, info);
    }
    platform::Status DeleteShortcut(const std::string& path) override { return inner_.DeleteShortcut(path); }
    platform::Status RelocateFile(const std::string& from, const std::string& to) override {
        return inner_.RelocateFile(from, to);
    }
    bool OpenDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    bool OpenFolder(const std::string& folder) override {
        folders.push_back(folder);
        return true;
    }

private:
    platform::Shell& inner_;
};

class RecordingPlatform final : public ForwardingPlatform {
public:
    explicit RecordingPlatform(platform::Platform& inner) : ForwardingPlatform(inner), recorder(inner.shell()) {}
    RecordingShell recorder;

    platform::Shell& shell() override { return recorder; }
};

}  // namespace kestrune::test
