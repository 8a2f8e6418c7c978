// `run-delayed`: the whole delayed run in the foreground, driven by the real one-second timer,
// its progress printed as it changes.

#include <ostream>

#include "cli/Commands.h"
#include "cli/DelayedProgress.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "delayed/DelayedTexts.h"

namespace kestrune::cli {

namespace {

constexpr const char* kNothingToRun = "No delayed application is ticked; nothing to run.";

// Prints the run's window as it changes, for as long as it lives.
class ProgressPrinter final : public ModelObserver {
public:
    explicit ProgressPrinter(CommandContext& context) : context_(context), progress_(context.out) {
        context_.app.state().events.Attach(*this);
    }
    ~ProgressPrinter() override { context_.app.state().events.Detach(*this); }
    ProgressPrinter(const ProgressPrinter&) = delete;
    ProgressPrinter& operator=(const ProgressPrinter&) = delete;

    void DelayedWindowChanged() override { progress_.Show(context_.app.delayedWindow()); }

private:
    CommandContext& context_;
    DelayedProgress progress_;
};

}  // namespace

int RunDelayed(CommandContext& context) {
    // Started without a ticked row the run never ends by itself (the menu waits for a second
    // click); there is nothing to wait for.
    if (context.table(TableKind::Delayed).CountTicked() == 0) {
        context.out << kNothingToRun << std::endl;
        return kExitDone;
    }
    const ProgressPrinter progress(context);
    context.fe.echoStatus = true;
    const InterruptGuard guard;
    context.app.RunDelayedApplications();
    context.timers.RunUntil([&] {
        return context.fe.QuitRequested() || InterruptGuard::Interrupted() ||
               context.app.RunDelayedCaption() == kRunDelayedCaption;
    });
    return InterruptGuard::Interrupted() ? ReportInterrupted(context.out) : kExitDone;
}

}  // namespace kestrune::cli
