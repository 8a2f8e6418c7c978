#pragma once
// The processor meter of the older Windows family: the kernel's usage counter published in
// the registry's dynamic data, started and stopped by reading a value under two other keys.

#include <array>
#include <cstdint>

#include "delayed/CpuMeter.h"

namespace kestrune {

namespace platform {
class Registry;
}

inline constexpr const char* kPerfStartKey = "PerfStats\\StartStat";
inline constexpr const char* kPerfDataKey = "PerfStats\\StatData";
inline constexpr const char* kPerfStopKey = "PerfStats\\StopStat";
inline constexpr const char* kCpuUsageValue = "KERNEL\\CPUUsage";

class RegistryStatsMeter final : public CpuMeter {
public:
    explicit RegistryStatsMeter(platform::Registry& registry) : registry_(registry) {}

    void Initialize() override;
    // The low byte of the counter; a failed read answers the previous content (0 at first).
    int Query() override;
    void Terminate() override;

private:
    platform::Registry& registry_;
    bool dataKeyOpen_ = false;
    std::array<std::uint8_t, 4> buffer_{};
};

}  // namespace kestrune
