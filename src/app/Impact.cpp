#include "app/Impact.h"

#include <cstdio>

namespace kestrune {

namespace {

constexpr std::uint64_t kKB = 1024;
constexpr std::uint64_t kMB = 1024 * kKB;

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Megabytes(std::uint64_t bytes) { return Fixed(static_cast<double>(bytes) / kMB, 1) + " MB"; }

}  // namespace

ImpactBand BandOf(const std::optional<Impact>& impact) {
    if (!impact) return ImpactBand::NotMeasured;
    const std::uint64_t moved = impact->bytesRead + impact->bytesWritten;
    if (impact->cpuMs > 1000 || moved > 3 * kMB) return ImpactBand::High;
    if (impact->cpuMs >= 300 || moved >= 300 * kKB) return ImpactBand::Medium;
    return ImpactBand::Low;
}

const char* BandText(ImpactBand band) {
    switch (band) {
        case ImpactBand::High: return "High";
        case ImpactBand::Medium: return "Medium";
        case ImpactBand::Low: return "Low";
        case ImpactBand::NotMeasured: break;
    }
    return "Not measured";
}

std::string ImpactFigures(const std::optional<Impact>& impact) {
    if (!impact) return "Not measured: Kestrune has not started this program since it began keeping measurements";
    return Fixed(static_cast<double>(impact->cpuMs) / 1000.0, 2) + " s processor time, " +
           Megabytes(impact->bytesRead) + " read, " + Megabytes(impact->bytesWritten) + " written in the first " +
           std::to_string(impact->followedSeconds) + " s";
}

}  // namespace kestrune
