#pragma once
// What a running program has cost the machine so far: processor time and bytes moved through
// its reads and writes, read by a meter that follows one process from when it is asked for
// until the program ends.

#include <cstdint>

namespace kestrune::platform {

struct ProcessCost {
    std::int64_t cpuTime = 0;  // user and kernel time together, in 100-nanosecond units
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    bool operator==(const ProcessCost&) const = default;
};

struct CostReading {
    ProcessCost cost;
    // The process has exited: `cost` is the last that could be read and will not move again.
    bool ended = false;
};

class ProcessMeter {
public:
    virtual ~ProcessMeter() = default;
    // The cost since the process started, with the processes it started where the system can
    // say. Never less than an earlier reading of the same meter.
    virtual CostReading Read() = 0;
};

}  // namespace kestrune::platform
