// `run-delayed`: the whole delayed run in the foreground, driven by the real one-second timer,
// its progress printed as it changes; then, once every started program has been measured, what
// each one cost, and the run's timeline as a picture or as data.

#include <optional>
#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/DelayedProgress.h"
#include "cli/ExitStatus.h"
#include "cli/ImpactJson.h"
#include "cli/Interrupt.h"
#include "delayed/DelayedTexts.h"
#include "delayed/TimelinePicture.h"

namespace kestrune::cli {

namespace {

constexpr const char* kNothingToRun = "No delayed application is ticked; nothing to run.";
constexpr const char* kImpactOf = "Impact of ";
constexpr const char* kWroteTimeline = "Wrote the timeline of the run to ";
constexpr const char* kCannotWriteTimeline = "could not write the timeline to ";

// Prints the run's window as it changes, for as long as it lives.
class ProgressPrinter final : public ModelObserver {
public:
    explicit ProgressPrinter(CommandContext& context) : context_(context), progress_(context.out) {
        context_.app.state().model.events.Attach(*this);
    }
    ~ProgressPrinter() override { context_.app.state().model.events.Detach(*this); }
    ProgressPrinter(const ProgressPrinter&) = delete;
    ProgressPrinter& operator=(const ProgressPrinter&) = delete;

    void DelayedWindowChanged() override { progress_.Show(context_.app.delayedWindow()); }

private:
    CommandContext& context_;
    DelayedProgress progress_;
};

void PrintImpacts(CommandContext& context) {
    for (const TimelineProgram& program : context.app.delayed().impact.timeline().programs) {
        context.out << kImpactOf << program.name << ": " << BandText(BandOf(program.impact)) << " ("
                    << ImpactFigures(program.impact) << ")\n";
    }
    context.out << std::flush;
}

}  // namespace

int RunDelayed(CommandContext& context) {
    // Started without a ticked row the run never ends by itself (the menu waits for a second
    // click); there is nothing to wait for.
    if (context.table(TableKind::Delayed).CountTicked() == 0) {
        context.out << kNothingToRun << std::endl;
        return kExitDone;
    }
    const bool json = EqualsIgnoreCase(context.inv.format, "json");
    std::optional<ProgressPrinter> progress;
    // JSON is for a script: nothing but the document on standard output.
    if (!json) progress.emplace(context);
    context.fe.echoStatus = !json;
    const InterruptGuard guard;
    context.app.delayed().impact.followSeconds = context.inv.measureSeconds;
    context.app.RunDelayedApplications();
    const ImpactSampler& impact = context.app.delayed().impact;
    // The run ends with its last start; the measurements go on until each program has ended
    // or been followed long enough.
    context.timers.RunUntil([&] {
        return context.fe.QuitRequested() || InterruptGuard::Interrupted() ||
               (context.app.RunDelayedCaption() == kRunDelayedCaption && !impact.Following());
    });
    if (InterruptGuard::Interrupted()) return ReportInterrupted(context.out);

    if (json)
        context.out << TimelineJson(impact.timeline()).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                    << std::endl;
    else PrintImpacts(context);
    if (!context.inv.timeline.empty()) {
        const std::string svg = TimelineToSvg(DrawTimeline(impact.timeline()));
        if (!context.state().services.platform.files().WriteFileAtomic(context.inv.timeline, svg)) {
            context.err << kCannotWriteTimeline << context.inv.timeline << std::endl;
            return kExitRefused;
        }
        if (!json) context.out << kWroteTimeline << context.inv.timeline << std::endl;
    }
    return kExitDone;
}

}  // namespace kestrune::cli
