// The Linux platform: the emulated Windows machine under one folder, real Linux processes.

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/Platform.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedRegistry.h"
#include "platform/emulated/FileInstanceLock.h"
#include "platform/emulated/InotifyPlaceWatch.h"
#include "platform/emulated/LinuxFileSystem.h"
#include "platform/emulated/LinuxSystem.h"
#include "platform/emulated/SiblingProgramFiles.h"

namespace kestrune::platform {

namespace {

class EmulatedPlatform final : public Platform {
public:
    explicit EmulatedPlatform(const PlatformOptions& options)
        : system_(options.appFolder, MachineRootFor(options)),
          machine_(MachineRootFor(options)),
          lock_(system_.AppFolder() + "kestrune.lock") {}

    Registry& registry() override { return machine_.registry(); }
    Shell& shell() override { return machine_.shell(); }
    FileSystem& files() override { return files_; }
    Processes& processes() override { return machine_.processes(); }
    ProcessorTimes& processorTimes() override { return machine_.processorTimes(); }
    Launcher& launcher() override { return machine_.launcher(); }
    InstanceLock& instanceLock() override { return lock_; }
    System& system() override { return system_; }
    ProgramFiles& programFiles() override { return programFiles_; }
    std::unique_ptr<PlaceWatch> WatchPlaces(const std::vector<std::string>& folders,
                                            const std::vector<WatchedKey>& keys) override {
        std::vector<std::string> files;
        for (const WatchedKey& key : keys) {
            const std::string file = machine_.emulatedRegistry().FilePath(key.root);
            if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
        }
        return CreateInotifyPlaceWatch(folders, files);
    }

private:
    static std::string MachineRootFor(const PlatformOptions& options) {
        if (!options.machineRoot.empty()) return options.machineRoot;
        if (const char* root = std::getenv("KESTRUNE_MACHINE"); root && *root) return root;
        const std::string app = options.appFolder.empty() ? DefaultAppFolder() : options.appFolder;
        return app + (app.empty() || app.back() == '/' ? "" : "/") + "machine";
    }

    LinuxFileSystem files_;
    LinuxSystem system_;
    EmulatedMachine machine_;
    FileInstanceLock lock_;
    SiblingProgramFiles programFiles_;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options) {
    return std::make_unique<EmulatedPlatform>(options);
}

}  // namespace kestrune::platform
