#pragma once
// Starting a command line the way the shell does, detached from the program.

#include <string>

namespace kestrune::platform {

enum class ShowWindow { Normal = 1, Minimised = 2 };

struct LaunchResult {
    bool ok = false;
    int errorNumber = 0;
    std::string errorText;
};

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual LaunchResult StartCommand(const std::string& commandLine, ShowWindow show) = 0;
};

}  // namespace kestrune::platform
