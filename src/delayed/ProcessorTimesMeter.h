#pragma once
// The processor meter of the NT family, over the accumulated idle time of all processors and
// the system time. Its arithmetic keeps four decimal places at the points where the program
// always has, so that equal inputs give equal readings everywhere.

#include <cstdint>

#include "delayed/CpuMeter.h"

namespace kestrune {

namespace platform {
class ProcessorTimes;
}

class ProcessorTimesMeter final : public CpuMeter {
public:
    explicit ProcessorTimesMeter(platform::ProcessorTimes& times) : times_(times) {}

    void Initialize() override;
    int Query() override;
    void Terminate() override {}

private:
    platform::ProcessorTimes& times_;
    std::int64_t idleBaseline_ = 0;
    std::int64_t timeBaseline_ = 0;
};

// The value in ten-thousandths, rounded halves to even on the double's exact value (no second
// rounding through a scaled double). Values beyond the 64-bit range saturate.
std::int64_t RoundToFourPlaces(double value);

}  // namespace kestrune
