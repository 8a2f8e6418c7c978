// kestrunec: the program's console front end. Each run performs one command between the
// start-up and the shut-down sequence of the desktop program.

#include <unistd.h>

#include <exception>
#include <iostream>

#include "cli/Dispatcher.h"
#include "cli/ExitStatus.h"
#include "cli/Invocation.h"

int main(int argc, char** argv) {
    using namespace kestrune::cli;
    Invocation invocation;
    if (const auto status = ParseInvocation(argc, argv, invocation, std::cout, std::cerr)) return *status;
    invocation.interactive = ::isatty(STDIN_FILENO) == 1;
    try {
        return RunInvocation(invocation, std::cin, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << kProgramName << ": " << e.what() << std::endl;
        return kExitRefused;
    }
}
