#include "platform/emulated/LinuxProcessorTimes.h"

#include <time.h>  // NOLINT(modernize-deprecated-headers): clock_gettime() is POSIX, which <ctime> need not declare
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace kestrune::platform {

namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;  // 100 ns

}  // namespace

std::optional<int> LinuxProcessorTimes::ProcessorCount() {
    std::ifstream in(statPath_);
    if (!in) return std::nullopt;
    int count = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 3 && line.compare(0, 3, "cpu") == 0 && line[3] >= '0' && line[3] <= '9') ++count;
    }
    if (count == 0) return std::nullopt;
    return count;
}

std::optional<std::int64_t> LinuxProcessorTimes::CurrentTime() {
    timespec now{};
    if (::clock_gettime(CLOCK_MONOTONIC, &now) != 0) return std::nullopt;
    return static_cast<std::int64_t>(now.tv_sec) * kUnitsPerSecond + now.tv_nsec / 100;
}

std::optional<std::int64_t> LinuxProcessorTimes::IdleTime() {
    std::ifstream in(statPath_);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    std::istringstream fields(line);
    std::string label;
    long long user = 0, nice = 0, system = 0, idle = 0, ioWait = 0;
    if (!(fields >> label >> user >> nice >> system >> idle) || label != "cpu") return std::nullopt;
    if (!(fields >> ioWait)) ioWait = 0;  // kernels before 2.5.41 lack the column
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0 || idle < 0 || ioWait < 0) return std::nullopt;
    const std::int64_t ticks = idle + ioWait;
    return ticks / ticksPerSecond * kUnitsPerSecond + ticks % ticksPerSecond * kUnitsPerSecond / ticksPerSecond;
}

}  // namespace kestrune::platform
