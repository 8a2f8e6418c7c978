#pragma once
// What a program cost the machine in its first seconds after Kestrune started it, and the band
// the Delayed table shows for it. A row without a measurement (never started by Kestrune, or
// stored before measurements were kept) is "Not measured".

#include <cstdint>
#include <optional>
#include <string>

namespace kestrune {

inline constexpr const char* kImpactHeader = "Impact";

struct Impact {
    std::int64_t cpuMs = 0;  // processor time, all of its threads together
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    int followedSeconds = 0;  // how long it was followed: until it ended, at most kFollowSeconds
    bool operator==(const Impact&) const = default;
};

enum class ImpactBand { NotMeasured, Low, Medium, High };

// High: more than 1 s of processor time or 3 MB moved (read and written together); Medium:
// from 300 ms, or from 300 KB; Low below both. KB and MB count 1024.
ImpactBand BandOf(const std::optional<Impact>& impact);
// "High", "Medium", "Low", "Not measured".
const char* BandText(ImpactBand band);
// "1.52 s processor time, 30.0 MB read, 0.1 MB written in the first 2 s" (the tooltip).
std::string ImpactFigures(const std::optional<Impact>& impact);

}  // namespace kestrune
