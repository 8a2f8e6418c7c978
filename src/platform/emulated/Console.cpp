#include "platform/Console.h"

#include <unistd.h>

namespace kestrune::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

bool StandardInputIsConsole() { return ::isatty(STDIN_FILENO) == 1; }

// A Linux terminal takes UTF-8 as it is.
ConsoleStreams::ConsoleStreams() = default;
ConsoleStreams::~ConsoleStreams() = default;

}  // namespace kestrune::platform
