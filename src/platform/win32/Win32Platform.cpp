// The Windows platform: the real registry, shell, processes and system.

#include <memory>

#include "platform/Platform.h"
#include "platform/win32/MutexInstanceLock.h"
#include "platform/win32/NtProcessorTimes.h"
#include "platform/win32/ShellLauncher.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32PlaceWatch.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32ProgramFiles.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

namespace kestrune::platform {

namespace {

class Win32Platform final : public Platform {
public:
    // The machine root belongs to the emulated machine; Windows is its own machine.
    explicit Win32Platform(const PlatformOptions& options) : system_(options.appFolder) {}

    Registry& registry() override { return registry_; }
    Shell& shell() override { return shell_; }
    FileSystem& files() override { return files_; }
    Processes& processes() override { return processes_; }
    ProcessorTimes& processorTimes() override { return times_; }
    Launcher& launcher() override { return launcher_; }
    InstanceLock& instanceLock() override { return lock_; }
    System& system() override { return system_; }
    ProgramFiles& programFiles() override { return programFiles_; }
    std::unique_ptr<PlaceWatch> WatchPlaces(const std::vector<std::string>& folders,
                                            const std::vector<WatchedKey>& keys) override {
        return win32::CreatePlaceWatch(folders, keys);
    }

private:
    win32::Win32Registry registry_;
    win32::Win32Shell shell_;
    win32::Win32FileSystem files_;
    win32::Win32Processes processes_;
    win32::NtProcessorTimes times_;
    win32::ShellLauncher launcher_;
    win32::MutexInstanceLock lock_;
    win32::Win32System system_;
    win32::Win32ProgramFiles programFiles_;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options) {
    return std::make_unique<Win32Platform>(options);
}

}  // namespace kestrune::platform
