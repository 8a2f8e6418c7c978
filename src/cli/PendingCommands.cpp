// Commands whose core parts have not reached this branch yet.

#include "cli/Commands.h"
#include "cli/ExitStatus.h"

namespace kestrune::cli {

namespace {
constexpr const char* kNotYet = "this command is not available in this build yet";
}

void CheckIdentify(const Invocation&, ConsoleAnswers&) { throw CommandError(kExitRefused, kNotYet); }
int RunIdentify(CommandContext&) { throw CommandError(kExitRefused, kNotYet); }
int RunDelayed(CommandContext&) { throw CommandError(kExitRefused, kNotYet); }

}  // namespace kestrune::cli
