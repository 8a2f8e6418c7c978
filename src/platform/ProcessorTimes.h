#pragma once
// The processor times that the idle measurement reads. Each reading can fail on its own.

#include <cstdint>
#include <optional>

namespace kestrune::platform {

class ProcessorTimes {
public:
    virtual ~ProcessorTimes() = default;

    virtual std::optional<int> ProcessorCount() = 0;
    // The current time in 100-nanosecond units (any fixed origin).
    virtual std::optional<std::int64_t> CurrentTime() = 0;
    // The idle time of all processors added together, in 100-nanosecond units.
    virtual std::optional<std::int64_t> IdleTime() = 0;
};

}  // namespace kestrune::platform
