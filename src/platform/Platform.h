#pragma once
// Everything the program asks of the operating system, in one place. The core reaches the
// system only through these interfaces; `platform/emulated` and `platform/win32` implement them.

#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/Launcher.h"
#include "platform/PlaceWatch.h"
#include "platform/Processes.h"
#include "platform/ProcessorTimes.h"
#include "platform/ProgramFiles.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace kestrune::platform {

class Platform {
public:
    virtual ~Platform() = default;
    virtual Registry& registry() = 0;
    virtual Shell& shell() = 0;
    virtual FileSystem& files() = 0;
    virtual Processes& processes() = 0;
    virtual ProcessorTimes& processorTimes() = 0;
    virtual Launcher& launcher() = 0;
    virtual InstanceLock& instanceLock() = 0;
    virtual System& system() = 0;
    // Icons and publishers of program files. A platform that cannot read them answers none.
    virtual ProgramFiles& programFiles() {
        static NoProgramFiles none;
        return none;
    }
    // Starts watching the folders (missing ones included: they may appear) and the registry
    // keys for changes. Null when this platform cannot watch: the caller must then look every
    // time.
    virtual std::unique_ptr<PlaceWatch> WatchPlaces(const std::vector<std::string>& folders,
                                                    const std::vector<WatchedKey>& keys) {
        (void)folders;
        (void)keys;
        return nullptr;
    }
};

struct PlatformOptions {
    std::string appFolder;    // "" = the program's folder, or KESTRUNE_APP_DIR
    std::string machineRoot;  // emulated machine only: "" = KESTRUNE_MACHINE, or <app folder>/machine
};

// The platform this build runs on: the emulated machine on Linux, Windows itself on Windows.
std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options = {});

}  // namespace kestrune::platform
