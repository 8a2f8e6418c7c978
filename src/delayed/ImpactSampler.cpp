#include "delayed/ImpactSampler.h"

#include <algorithm>

#include "app/CommandLine.h"
#include "app/Model.h"
#include "app/Services.h"
#include "delayed/StartingPriority.h"

namespace kestrune {

namespace {

constexpr std::int64_t kUnitsPerMs = 10'000;  // 100-nanosecond units

Impact ImpactOf(const platform::ProcessCost& cost, int followedMs) {
    Impact impact;
    impact.cpuMs = cost.cpuTime / kUnitsPerMs;
    impact.bytesRead = cost.bytesRead;
    impact.bytesWritten = cost.bytesWritten;
    impact.followedSeconds = (followedMs + 999) / 1000;
    return impact;
}

}  // namespace

void ImpactSampler::BeginRun() {
    // Programs still followed from an earlier run go on being measured, off the new timeline.
    for (Watch& watch : watches_) {
        if (watch.program >= 0) watch.own = timeline_.programs[static_cast<size_t>(watch.program)];
        watch.program = -1;
    }
    timeline_ = RunTimeline{};
    timeline_.intervalMs = kImpactIntervalMs;
    clockMs_ = 0;
    ++revision_;
    runGoing_ = true;
    StartTimer();
}

void ImpactSampler::EndRun() {
    runGoing_ = false;
    timeline_.lengthMs = std::max(timeline_.lengthMs, clockMs_);
    StopTimerWhenIdle();
}

void ImpactSampler::NoteCpu(int percent) {
    if (!runGoing_) return;
    timeline_.cpu.push_back({clockMs_, percent});
    ++revision_;
    timeline_.lengthMs = std::max(timeline_.lengthMs, clockMs_);
}

TimelineProgram& ImpactSampler::ProgramOf(Watch& watch) {
    return watch.program >= 0 ? timeline_.programs[static_cast<size_t>(watch.program)] : watch.own;
}

void ImpactSampler::Follow(Services& services, RowId row, const std::string& command, std::uint32_t processId,
                           bool lowerWhileFollowed) {
    ++revision_;
    TimelineProgram program;
    program.name = FileNameOf(SplitCommandLine(command, false).path);
    program.command = command;
    program.startedMs = clockMs_;
    program.followedUntilMs = clockMs_;
    auto meter = processId && followSeconds > 0 ? services.platform.processes().Meter(processId) : nullptr;
    if (!meter) {
        // Gone before it could be read, or a system that cannot say: on the timeline as
        // started, and its row keeps what it had.
        if (runGoing_) timeline_.programs.push_back(std::move(program));
        return;
    }
    program.following = true;
    Watch watch;
    watch.row = row;
    watch.meter = std::move(meter);
    watch.last = watch.meter->Read().cost;
    watch.processId = processId;
    // Only a program followed is lowered: the end of following is what puts it back.
    platform::Processes& processes = services.platform.processes();
    if (lowerWhileFollowed && LowerWhileStarting(processes, processId)) watch.lowered = &processes;
    if (runGoing_) {
        watch.program = static_cast<int>(timeline_.programs.size());
        timeline_.programs.push_back(std::move(program));
    } else {
        watch.own = std::move(program);
    }
    watches_.push_back(std::move(watch));
    ++revision_;
    StartTimer();
}

void ImpactSampler::Tick(Model& model) {
    clockMs_ += kImpactIntervalMs;
    ++revision_;
    if (runGoing_) timeline_.lengthMs = clockMs_;
    for (Watch& watch : watches_) {
        const platform::CostReading reading = watch.meter->Read();
        watch.followedMs += kImpactIntervalMs;
        TimelineProgram& program = ProgramOf(watch);
        const std::int64_t busy = reading.cost.cpuTime - watch.last.cpuTime;
        program.busyPercent.push_back(
            static_cast<int>(std::clamp<std::int64_t>(busy * 100 / (kImpactIntervalMs * kUnitsPerMs), 0, 100)));
        program.followedUntilMs = program.startedMs + watch.followedMs;
        program.impact = ImpactOf(reading.cost, watch.followedMs);
        watch.last = reading.cost;
        if (watch.program >= 0) timeline_.lengthMs = std::max(timeline_.lengthMs, program.followedUntilMs);
        if (reading.ended || watch.followedMs >= followSeconds * 1000) Finish(model, watch, reading.ended);
    }
    std::erase_if(watches_, [](const Watch& watch) { return !watch.meter; });
    StopTimerWhenIdle();
}

void ImpactSampler::Finish(Model& model, Watch& watch, bool ended) {
    TimelineProgram& program = ProgramOf(watch);
    program.following = false;
    program.ended = ended;
    const Impact impact = ImpactOf(watch.last, watch.followedMs);
    program.impact = impact;
    watch.meter.reset();
    if (watch.lowered && !ended) RestoreAfterStarting(*watch.lowered, watch.processId);
    watch.lowered = nullptr;
    if (!watch.row) return;
    Table& delayed = model.table(TableKind::Delayed);
    const auto position = delayed.PositionOf(watch.row);
    // A row deleted meanwhile has nowhere to keep it.
    if (!position) return;
    EntryDetails details = delayed.Details(*position);
    details.impact = impact;
    delayed.SetDetails(*position, std::move(details));
    model.settingsChanged = true;
}

void ImpactSampler::FinishAll(Model& model) {
    for (Watch& watch : watches_) Finish(model, watch, false);
    watches_.clear();
    runGoing_ = false;
    if (timer) timer->Stop();
}

void ImpactSampler::StartTimer() {
    if (timer && !timer->Running()) timer->Start();
}

void ImpactSampler::StopTimerWhenIdle() {
    if (timer && !runGoing_ && watches_.empty()) timer->Stop();
}

}  // namespace kestrune
