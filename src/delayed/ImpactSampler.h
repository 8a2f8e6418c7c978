#pragma once
// Follows each program Kestrune starts for its first 30 seconds or until it ends, reading its
// cost at short intervals on its own timer, so that neither the run nor the window waits for
// it. When a program has been followed, its Delayed row gets the measurement (and the settings
// document is due to be written); the run's timeline grows with every reading.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Table.h"
#include "delayed/RunTimeline.h"
#include "platform/ProcessCost.h"

namespace kestrune {

struct Model;
struct Services;
namespace platform {
class Processes;
}

inline constexpr int kImpactIntervalMs = 250;
inline constexpr int kFollowSeconds = 30;

class ImpactSampler {
public:
    // Ticks every kImpactIntervalMs while a run goes or a program is followed (the session
    // creates it with the other timers).
    std::unique_ptr<Timer> timer;
    // How long each program is followed at most; 0 follows none (their rows keep what they had).
    int followSeconds = kFollowSeconds;

    // A new timeline: its clock starts now.
    void BeginRun();
    // The run is over; the timer stops once no program is followed any more.
    void EndRun();
    // The processor usage the run read this second.
    void NoteCpu(int percent);
    // Starts following the program a Delayed row (or "Run now" on one) started; `row` is 0
    // for a program no Delayed row stands for. With `lowerWhileFollowed` the program runs at
    // the starting class (StartingPriority.h) for as long as it is followed.
    void Follow(Services& services, RowId row, const std::string& command, std::uint32_t processId,
                bool lowerWhileFollowed = false);
    // One reading of every program followed; those that ended or have been followed long
    // enough are stored with their rows.
    void Tick(Model& model);

    // Stores what every program followed has cost so far, as if its time were up (the
    // program is closing down), and puts the lowered ones back: nobody would later.
    void FinishAll(Model& model);

    bool Following() const { return !watches_.empty(); }
    bool RunGoing() const { return runGoing_; }
    const RunTimeline& timeline() const { return timeline_; }
    // Moves on whenever the timeline changes, so that a view knows when to draw it again.
    unsigned long Revision() const { return revision_; }

private:
    struct Watch {
        RowId row = 0;
        int program = -1;     // in timeline_.programs; -1 for "Run now" outside a run
        TimelineProgram own;  // what it has shown so far, when it is on no timeline
        std::unique_ptr<platform::ProcessMeter> meter;
        platform::ProcessCost last;
        int followedMs = 0;
        std::uint32_t processId = 0;
        // At the starting class until it has been followed; what puts it back.
        platform::Processes* lowered = nullptr;
    };
    TimelineProgram& ProgramOf(Watch& watch);
    void Finish(Model& model, Watch& watch, bool ended);
    void StartTimer();
    void StopTimerWhenIdle();

    RunTimeline timeline_;
    std::vector<Watch> watches_;
    int clockMs_ = 0;
    unsigned long revision_ = 0;
    bool runGoing_ = false;
};

}  // namespace kestrune
