#pragma once
// Starting a command line through the shell ("/bin/sh -c"), detached from the program: the
// command runs in a session of its own, belongs to init (or the nearest subreaper) rather
// than to us, so it outlives the program and never lingers as our zombie. Failing to start
// answers the system's error number and its text. The window style has no meaning here.

#include <string>
#include <vector>

#include "platform/Launcher.h"

namespace kestrune::platform {

// Runs the program argv[0] (a path) with its arguments, detached as described above.
LaunchResult SpawnDetached(const std::vector<std::string>& argv);

class ShellLauncher final : public Launcher {
public:
    LaunchResult StartCommand(const std::string& commandLine, ShowWindow show) override;
};

}  // namespace kestrune::platform
