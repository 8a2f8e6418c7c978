// `monitor`: the change monitor run in the foreground for a while, its prompt answered from
// the command line or on the terminal.

#include <chrono>
#include <iostream>
#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"

namespace kestrune::cli {

namespace {

// One line on standard output for each newcomer the monitor decided about, as it happens.
class DecisionPrinter final : public ModelObserver {
public:
    DecisionPrinter(ModelEvents& events, std::ostream& out) : events_(events), out_(out) { events_.Attach(*this); }
    ~DecisionPrinter() override { events_.Detach(*this); }
    DecisionPrinter(const DecisionPrinter&) = delete;
    DecisionPrinter& operator=(const DecisionPrinter&) = delete;

    void MonitorDecided(TableKind kind, const std::string& name, bool allowed) override {
        out_ << (allowed ? "allowed \"" : "removed \"") << name << (allowed ? "\" in " : "\" from ") << TabCaption(kind)
             << std::endl;
    }

private:
    ModelEvents& events_;
    std::ostream& out_;
};

}  // namespace

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
    context.app.KeepMonitoring();
    const DecisionPrinter printer(state.model.events, context.out);
    const InterruptGuard guard;
    context.timers.RunUntil([&] { return context.fe.QuitRequested() || InterruptGuard::Interrupted(); },
                            std::chrono::seconds(context.inv.seconds));
    return InterruptGuard::Interrupted() ? ReportInterrupted(context.out) : kExitDone;
}

}  // namespace kestrune::cli
