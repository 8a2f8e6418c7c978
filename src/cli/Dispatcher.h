#pragma once
// One invocation of the console program: the checks of its arguments, the start-up sequence
// (never in Slimline mode), one command, and the shut-down sequence, so that settings.ini, the
// settings document, the profiles and the log are written as the desktop program writes them.

#include <iosfwd>

#include "cli/Invocation.h"

namespace kestrune::cli {

inline constexpr const char* kAlreadyRunningText = "Kestrune is already running; close it first.";

// Answers the exit status: 0 done, 1 refused by the program, 2 wrong usage.
int RunInvocation(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kestrune::cli
