#pragma once
// Starts a command line as the shell's "Run" box would: environment references expanded,
// the program found by the usual search, shown minimised with the focus.

#include "platform/Launcher.h"

namespace kestrune::platform::win32 {

class ShellLauncher final : public Launcher {
public:
    LaunchResult StartCommand(const std::string& commandLine, ShowWindow show) override;
};

// The system's text for an error number, without the line break it ends with.
std::string SystemErrorText(unsigned long errorNumber);

}  // namespace kestrune::platform::win32
