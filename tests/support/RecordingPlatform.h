#pragma once
// A machine's platform whose shell records the addresses and folders it is asked to open
// instead of starting a browser or a file manager.

#include <string>
#include <vector>

#include "platform/Platform.h"

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

class RecordingPlatform final : public platform::Platform {
public:
    explicit RecordingPlatform(platform::Platform& inner) : recorder(inner.shell()), inner_(inner) {}
    RecordingShell recorder;

    platform::Registry& registry() override { return inner_.registry(); }
    platform::Shell& shell() override { return recorder; }
    platform::FileSystem& files() override { return inner_.files(); }
    platform::Processes& processes() override { return inner_.processes(); }
    platform::ProcessorTimes& processorTimes() override { return inner_.processorTimes(); }
    platform::Launcher& launcher() override { return inner_.launcher(); }
    platform::InstanceLock& instanceLock() override { return inner_.instanceLock(); }
    platform::System& system() override { return inner_.system(); }
    std::unique_ptr<platform::PlaceWatch> WatchPlaces(const std::vector<std::string>& folders,
                                                      const std::vector<platform::WatchedKey>& keys) override {
        return inner_.WatchPlaces(folders, keys);
    }

private:
    platform::Platform& inner_;
};

}  // namespace kestrune::test
