// `monitor`: the change monitor run in the foreground for a while, its prompt answered from
// the command line or on the terminal.

#include <chrono>
#include <iostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"

namespace kestrune::cli {

void CheckMonitor(const Invocation& inv, ConsoleAnswers& answers) {
    if (inv.answer) {
        answers.monitorKeep = EqualsIgnoreCase(*inv.answer, "allow");
    } else if (!inv.interactive) {
        // The prompt may come at any moment of the run; refuse before anything has started.
        throw CommandError(kExitUsage, std::string("the monitor's question needs an answer: ") + kMonitorOptions +
                                           " [--remember] (standard input is not a terminal)");
    }
    answers.remember = inv.remember;
}

int RunMonitor(CommandContext& context) {
    MainState& state = context.state();
    context.fe.echoStatus = true;
    // The first look only takes the snapshot; taking it now means that everything registered
    // after the line below is seen.
    context.app.MonitorTick();
    std::cout << "Watching the start-up places for " << context.inv.seconds << " second(s)..." << std::endl;
    // The timer runs for this command only; the option "Monitor" stays as it is.
    if (!state.monitorTimer->Running()) state.monitorTimer->Start();
    const InterruptGuard guard;
    context.timers.RunUntil([&] { return context.fe.QuitRequested() || InterruptGuard::Interrupted(); },
                            std::chrono::seconds(context.inv.seconds));
    return InterruptGuard::Interrupted() ? ReportInterrupted(context.out) : kExitDone;
}

}  // namespace kestrune::cli
