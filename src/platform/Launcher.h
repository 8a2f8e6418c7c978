#pragma once
// Starting a command line the way the shell does, detached from the program.

#include <cstdint>
#include <string>

namespace kestrune::platform {

enum class ShowWindow { Normal = 1, Minimised = 2 };

struct LaunchResult {
    bool ok = false;
    int errorNumber = 0;
    std::string errorText;
    // The started program's own process (0 when the system does not tell), so that what is
    // asked of it next, such as a priority, reaches that process and no other.
    std::uint32_t processId = 0;
};

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual LaunchResult StartCommand(const std::string& commandLine, ShowWindow show) = 0;
};

}  // namespace kestrune::platform
