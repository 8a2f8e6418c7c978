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
}

int RunDelayed(CommandContext& context) {
    // Started without a ticked row the run never ends by itself (the menu waits for a second
    // click); there is nothing to wait for.
    if (context.table(TableKind::Delayed).CountTicked() == 0) {
        context.out << kNothingToRun << std::endl;
        return kExitDone;
    }
    DelayedProgress progress(context.out);
    context.fe.echoStatus = true;
    context.fe.onDelayedWindowChanged = [&] { progress.Show(context.app.delayedWindow()); };
    const InterruptGuard guard;
    context.app.RunDelayedApplications();
    context.timers.RunUntil([&] {
        return context.fe.QuitRequested() || InterruptGuard::Interrupted() ||
               context.app.RunDelayedCaption() == kRunDelayedCaption;
    });
    context.fe.onDelayedWindowChanged = nullptr;
    return InterruptGuard::Interrupted() ? ReportInterrupted(context.out) : kExitDone;
}

}  // namespace kestrune::cli
