#include "delayed/ProcessorTimesMeter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/ProcessorTimes.h"

namespace kestrune {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kScale = 10000;  // four decimal places

std::int64_t Saturate(bool negative) { return negative ? kMin : kMax; }

std::int64_t SaturatingMultiply(std::int64_t a, std::int64_t b) {
    if (a == 0 || b == 0) return 0;
    const bool negative = (a < 0) != (b < 0);
    const auto magnitudeA = a < 0 ? -static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
    const auto magnitudeB = b < 0 ? -static_cast<std::uint64_t>(b) : static_cast<std::uint64_t>(b);
    if (magnitudeA > static_cast<std::uint64_t>(kMax) / magnitudeB) return Saturate(negative);
    const std::int64_t product = static_cast<std::int64_t>(magnitudeA * magnitudeB);
    return negative ? -product : product;
}

// Counters may have wrapped or been reset; the difference is taken modulo 2^64 like the
// system's own 64-bit arithmetic, never as undefined overflow.
std::int64_t Difference(std::int64_t now, std::int64_t before) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(now) - static_cast<std::uint64_t>(before));
}

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && value < 0) --quotient;
    return quotient;
}

}  // namespace

std::int64_t RoundToFourPlaces(double value) {
    if (std::isnan(value)) return 0;
    if (std::isinf(value)) return Saturate(value < 0);
    if (value == 0.0) return 0;
    // value = mantissa * 2^exponent exactly, mantissa a 53-bit integer. Since 10000 = 625 * 2^4,
    // value * 10000 = mantissa * 625 * 2^(exponent + 4), and mantissa * 625 fits in 63 bits.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const std::uint64_t scaled = mantissa * 625u;
    const int shift = exponent - 53 + 4;
    std::uint64_t result = 0;
    if (shift >= 0) {
        if (shift >= 63 || scaled > (static_cast<std::uint64_t>(kMax) >> shift)) return Saturate(value < 0);
        result = scaled << shift;
    } else if (-shift < 64) {
        const int drop = -shift;
        result = scaled >> drop;
        const std::uint64_t remainder = scaled & ((std::uint64_t{1} << drop) - 1);
        const std::uint64_t half = std::uint64_t{1} << (drop - 1);
        if (remainder > half || (remainder == half && (result & 1u) != 0)) ++result;
    }
    // (a shift of 64 or more leaves less than half of one ten-thousandth: 0)
    const auto magnitude = static_cast<std::int64_t>(result);
    return value < 0 ? -magnitude : magnitude;
}

void ProcessorTimesMeter::Initialize() {
    const auto now = times_.CurrentTime();
    if (!now) return;
    const auto idle = times_.IdleTime();
    if (!idle) return;
    idleBaseline_ = *idle;
    timeBaseline_ = *now;
}

int ProcessorTimesMeter::Query() {
    const auto processors = times_.ProcessorCount();
    if (!processors) return -1;
    const auto now = times_.CurrentTime();
    if (!now) return -1;
    const auto idle = times_.IdleTime();
    if (!idle) return -1;
    // A count of no processors cannot be divided by; it is no reading either.
    if (*processors < 1) return -1;

    const std::int64_t idleDelta = Difference(*idle, idleBaseline_);
    const std::int64_t timeDelta = Difference(*now, timeBaseline_);
    const std::int64_t share = timeDelta != 0
                                   ? RoundToFourPlaces(static_cast<double>(idleDelta) / static_cast<double>(timeDelta))
                                   : SaturatingMultiply(idleDelta, kScale);
    const std::int64_t idlePercent = SaturatingMultiply(share, 100);
    const double reading = 100.0 - (static_cast<double>(idlePercent) / static_cast<double>(kScale)) / *processors + 0.5;
    const std::int64_t usage = FloorDivide(RoundToFourPlaces(reading), kScale);

    idleBaseline_ = *idle;
    timeBaseline_ = *now;
    // Idle time that runs ahead of the clock (counters sampled a moment apart) would read below
    // 0, and a reading of exactly -1 would pass for "no reading"; the scale is 0 to 100.
    return static_cast<int>(std::clamp<std::int64_t>(usage, 0, 100));
}

}  // namespace kestrune
