#pragma once
// What the last delayed run did over time: when each program was started, how busy it kept
// the processor while it was followed, and the processor usage the run read while it waited
// for an idle processor. Times are milliseconds from the start of the run.

#include <optional>
#include <string>
#include <vector>

#include "app/Impact.h"

namespace kestrune {

struct TimelineProgram {
    std::string name;     // the program's file name
    std::string command;  // the command line it was started with
    int startedMs = 0;
    // Until when it was followed: its end, or the end of the time it is followed for. While it
    // is still followed, the latest reading.
    int followedUntilMs = 0;
    bool ended = false;      // it ended while followed
    bool following = false;  // it is followed still
    // Share of one processor it used, in percent, for each reading interval from its start.
    std::vector<int> busyPercent;
    std::optional<Impact> impact;  // nullopt: it could not be followed
};

struct TimelineCpuReading {
    int atMs = 0;
    int percent = 0;
};

struct RunTimeline {
    int intervalMs = 250;  // the length of one busyPercent step
    int lengthMs = 0;      // from the start of the run to the last reading
    std::vector<TimelineProgram> programs;
    std::vector<TimelineCpuReading> cpu;

    bool Empty() const { return programs.empty() && cpu.empty(); }
};

}  // namespace kestrune
