#pragma once
// A platform that passes every call to another one: a test stand-in derives from it and
// overrides only the part it changes (a refusing registry, counted file reads, fake processes).

#include "platform/Platform.h"

namespace kestrune::test {

class ForwardingPlatform : public platform::Platform {
public:
    explicit ForwardingPlatform(platform::Platform& inner) : inner_(inner) {}

    platform::Registry& registry() override { return inner_.registry(); }
    platform::Shell& shell() override { return inner_.shell(); }
    platform::FileSystem& files() override { return inner_.files(); }
    platform::Processes& processes() override { return inner_.processes(); }
    platform::ProcessorTimes& processorTimes() override { return inner_.processorTimes(); }
    platform::Launcher& launcher() override { return inner_.launcher(); }
    platform::InstanceLock& instanceLock() override { return inner_.instanceLock(); }
    platform::System& system() override { return inner_.system(); }
    platform::ProgramFiles& programFiles() override { return inner_.programFiles(); }
    std::unique_ptr<platform::PlaceWatch> WatchPlaces(const std::vector<std::string>& folders,
                                                      const std::vector<platform::WatchedKey>& keys) override {
        return inner_.WatchPlaces(folders, keys);
    }

private:
    platform::Platform& inner_;
};

}  // namespace kestrune::test
