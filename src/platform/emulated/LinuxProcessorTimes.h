#pragma once
// Processor times from /proc/stat for the idle measurement: the idle and I/O-wait time of all
// processors together (a processor waiting for I/O is idle, as Windows counts it), the
// monotonic clock, both in 100-nanosecond units, and the number of processors listed there.

#include <string>

#include "platform/ProcessorTimes.h"

namespace kestrune::platform {

class LinuxProcessorTimes final : public ProcessorTimes {
public:
    // `statPath` lets tests read a prepared file instead of the kernel's.
    explicit LinuxProcessorTimes(std::string statPath = "/proc/stat") : statPath_(std::move(statPath)) {}

    std::optional<int> ProcessorCount() override;
    std::optional<std::int64_t> CurrentTime() override;
    std::optional<std::int64_t> IdleTime() override;

private:
    std::string statPath_;
};

}  // namespace kestrune::platform
