// kestrunec: the program's console front end. Each run performs one command between the
// start-up and the shut-down sequence of the desktop program.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Dispatcher.h"
#include "cli/ExitStatus.h"
#include "cli/Invocation.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
    using namespace kestrune::cli;
    namespace platform = kestrune::platform;
    const platform::ConsoleStreams console;
    // Every argument as UTF-8, whatever code page the system would have handed them over in.
    const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
    std::vector<const char*> utf8Argv{argc > 0 ? argv[0] : kProgramName};
    for (const std::string& argument : arguments) utf8Argv.push_back(argument.c_str());

    Invocation invocation;
    if (const auto status =
            ParseInvocation(static_cast<int>(utf8Argv.size()), utf8Argv.data(), invocation, std::cout, std::cerr)) {
        return *status;
    }
    invocation.interactive = platform::StandardInputIsConsole();
    try {
        return RunInvocation(invocation, std::cin, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << kProgramName << ": " << e.what() << std::endl;
        return kExitRefused;
    }
}
