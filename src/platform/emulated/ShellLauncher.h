#pragma once
// Starting a command line detached from the program: the command runs in a session of its
// own, belongs to init (or the nearest subreaper) rather than to us, so it outlives the
// program and never lingers as our zombie.
//
// A plain command line (a program and its arguments, quoted the way the shell quotes) starts
// the program itself, so a program that is missing or cannot be run fails the start with the
// system's error, and the process id answered is the program's. A line that needs a shell (a
// pipe, a list, a redirection, an expansion) is handed to "/bin/sh -c", which can report a
// missing program only in its exit status. The window style has no meaning here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Launcher.h"

namespace kestrune::platform {

// Runs the program arguments[0] (a path) with its arguments, detached as described above.
LaunchResult SpawnDetached(const std::vector<std::string>& arguments);

// The words of a plain command line: blanks separate them, '...' and "..." quote, and a
// backslash takes the next character as it is (inside double quotes only before $ ` " \).
// Nothing when the line asks for anything only a shell does.
std::optional<std::vector<std::string>> PlainCommandWords(std::string_view line);

class ShellLauncher final : public Launcher {
public:
    LaunchResult StartCommand(const std::string& commandLine, ShowWindow show) override;
};

}  // namespace kestrune::platform
