#pragma once
// The cost of a Linux process from /proc: its own and its reaped children's processor time
// from /proc/<id>/stat, the characters it read and wrote from /proc/<id>/io (what Windows'
// transfer counts count: every read and write, whether the disk or the cache served it), and
// the same for the processes it started that are still running (/proc/<id>/task/*/children).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ProcessCost.h"

namespace kestrune::platform {

// Null when the process is not there (or is already a zombie).
std::unique_ptr<ProcessMeter> CreateLinuxProcessMeter(std::uint32_t id);

// The fields of a /proc/<id>/stat line that the meter uses; nullopt for a line it cannot read.
struct StatCost {
    char state = '?';
    std::int64_t ownTicks = 0;       // utime + stime
    std::int64_t childrenTicks = 0;  // cutime + cstime: children that ended and were waited for
    std::uint64_t startTime = 0;     // in clock ticks after boot: tells a reused id apart
};
std::optional<StatCost> ParseStatCost(const std::string& line);
// rchar and wchar of a /proc/<id>/io text (0 for those missing).
ProcessCost ParseIoCost(const std::string& text);

}  // namespace kestrune::platform
