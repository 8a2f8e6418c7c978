// The two processor meters and the choice between them.

#include <gmock/gmock.h>

#include "DelayedFixture.h"
#include "delayed/ProcessorTimesMeter.h"
#include "delayed/RegistryStatsMeter.h"

namespace kestrune {
namespace {

using ::testing::ElementsAre;

TEST(RoundToFourPlacesTest, HalvesGoToEvenOnTheExactValue) {
    const std::pair<double, std::int64_t> cases[] = {
        {0.0, 0},
        {1.0, 10000},
        {0.5, 5000},
        {0.12345, 1235},  // the double lies just above ...45: up, where value * 10000 = 1234.5 -> 1234
        {0.00015, 1},     // the double lies just below ...15: down
        {0.00125, 13},    // just above the half
        {1.0 / 3.0, 3333},
        {2.0 / 3.0, 6667},
        {-0.5, -5000},
        {-2.0 / 3.0, -6667},
        {0.000025, 0},  // a quarter of the last place
        {100.5, 1005000},
        {1e300, std::numeric_limits<std::int64_t>::max()},
        {-1e300, std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(RoundToFourPlaces(value), expected) << value;
}

TEST(RoundToFourPlacesTest, ExactHalvesOfTheLastPlace) {
    // x.xxxx5 exactly representable: multiples of 1/2^k with k small.
    EXPECT_EQ(RoundToFourPlaces(0.03125), 312);  // 312.5 -> 312
    EXPECT_EQ(RoundToFourPlaces(0.09375), 938);  // 937.5 -> 938
    EXPECT_EQ(RoundToFourPlaces(-0.03125), -312);
}

class ProcessorTimesMeterTest : public ::testing::Test {
protected:
    // Sets the next reading: clock and idle time in 100-nanosecond units.
    void At(std::int64_t now, std::int64_t idle) {
        times.now = now;
        times.idle = idle;
    }
    test::ScriptedTimes times;
    ProcessorTimesMeter meter{times};
};

TEST_F(ProcessorTimesMeterTest, ReadsTheShareOfBusyTimeSinceTheLastReading) {
    struct Case {
        int processors;
        std::int64_t timeStep, idleStep;
        int expected;
    };
    const Case cases[] = {
        {2, 10'000'000, 10'000'000, 50},  // one of two processors idle all the time
        {1, 10'000'000, 10'000'000, 0},
        {1, 10'000'000, 0, 100},
        {1, 10'000'000, 2'550'000, 75},  // 74.5 + 0.5 = 75.0: a value ending in .5 rounds up
        {1, 10'000'000, 2'560'000, 74},  // 74.4 -> 74
        {4, 10'000'000, 30'000'000, 25},
        {3, 10'000'000, 10'000'000, 67},  // 100 - 33.3333 + 0.5 = 67.1667 -> 67
        {1, 10'000'000, 12'000'000, 0},   // idle ahead of the clock: held at 0
        {2, 0, 0, 100},                   // two readings within one clock tick
    };
    for (const Case& c : cases) {
        times.processors = c.processors;
        At(1'000'000'000, 500'000'000);
        meter.Initialize();
        At(1'000'000'000 + c.timeStep, 500'000'000 + c.idleStep);
        EXPECT_EQ(meter.Query(), c.expected) << c.processors << " " << c.timeStep << " " << c.idleStep;
    }
}

TEST_F(ProcessorTimesMeterTest, EachReadingBecomesTheNextBaseline) {
    times.processors = 1;
    At(0, 0);
    meter.Initialize();
    std::vector<int> readings;
    At(100, 50);
    readings.push_back(meter.Query());
    At(200, 150);
    readings.push_back(meter.Query());
    At(300, 150);
    readings.push_back(meter.Query());
    EXPECT_THAT(readings, ElementsAre(50, 0, 100));
}

TEST_F(ProcessorTimesMeterTest, AFailedReadingAnswersMinusOneAndKeepsTheBaseline) {
    times.processors = 2;
    At(1000, 1000);
    meter.Initialize();
    At(2000, 2000);
    times.idle.reset();
    EXPECT_EQ(meter.Query(), -1);
    times.idle = 2000;
    times.processors.reset();
    EXPECT_EQ(meter.Query(), -1);
    times.processors = 0;
    EXPECT_EQ(meter.Query(), -1);
    times.processors = 2;
    times.now.reset();
    EXPECT_EQ(meter.Query(), -1);
    At(2000, 2000);
    // Measured against the baseline of Initialize: 1000 idle in 1000 on two processors.
    EXPECT_EQ(meter.Query(), 50);
}

TEST_F(ProcessorTimesMeterTest, AFailedStartLeavesTheBaselineAtZero) {
    times.processors = 1;
    At(1000, 0);
    times.idle.reset();
    meter.Initialize();
    At(2000, 1000);
    EXPECT_EQ(meter.Query(), 50);  // 1000 idle of 2000 since zero
}

TEST(RegistryStatsMeterTest, ReadsTheKernelCounterFromTheDynamicData) {
    test::MemoryRegistry registry;
    registry.Put(kPerfStartKey, kCpuUsageValue, std::string("\x00\x00\x00\x00", 4));
    registry.Put(kPerfStopKey, kCpuUsageValue, std::string("\x00\x00\x00\x00", 4));
    registry.Put(kPerfDataKey, kCpuUsageValue, std::string("\x2a\x01\x00\x00", 4));
    RegistryStatsMeter meter(registry);
    meter.Initialize();
    EXPECT_THAT(registry.reads, ElementsAre("PerfStats\\StartStat|KERNEL\\CPUUsage"));
    EXPECT_EQ(meter.Query(), 42);                                                        // the low byte of 0x12a
    registry.Put(kPerfDataKey, kCpuUsageValue, std::string("\x07\x00\x00\x00\x00", 5));  // does not fit
    EXPECT_EQ(meter.Query(), 42);
    registry.keys.erase(ToLower(kPerfDataKey));
    EXPECT_EQ(meter.Query(), 42);  // a failed read answers the last content
    meter.Terminate();
    EXPECT_EQ(registry.reads.back(), "PerfStats\\StopStat|KERNEL\\CPUUsage");
    registry.Put(kPerfDataKey, kCpuUsageValue, std::string("\x09\x00\x00\x00", 4));
    EXPECT_EQ(meter.Query(), 42);  // the key was closed
}

TEST(RegistryStatsMeterTest, WithoutTheStatisticsItReadsZero) {
    test::MemoryRegistry registry;
    registry.Put(kPerfDataKey, kCpuUsageValue, std::string("\x30\x00\x00\x00", 4));
    RegistryStatsMeter meter(registry);
    meter.Initialize();  // no StartStat: the counter never starts and the data key stays closed
    EXPECT_EQ(meter.Query(), 0);
    meter.Terminate();
    EXPECT_THAT(registry.reads, testing::IsEmpty());
}

TEST(CreateCpuMeterTest, PrefersTheProcessorTimes) {
    test::ScriptedPlatform platform;
    platform.scriptedTimes.processors = 1;
    platform.scriptedTimes.now = 100;
    platform.scriptedTimes.idle = 0;
    auto meter = CreateCpuMeter(platform);
    ASSERT_NE(dynamic_cast<ProcessorTimesMeter*>(meter.get()), nullptr);
    platform.scriptedTimes.now = 200;
    platform.scriptedTimes.idle = 100;
    EXPECT_EQ(meter->Query(), 0);  // initialized: measured from the first baseline

    platform.scriptedTimes.idle.reset();
    platform.memoryRegistry.Put(kPerfStartKey, kCpuUsageValue, "");
    platform.memoryRegistry.Put(kPerfDataKey, kCpuUsageValue, std::string("\x11\x00\x00\x00", 4));
    auto older = CreateCpuMeter(platform);
    ASSERT_NE(dynamic_cast<RegistryStatsMeter*>(older.get()), nullptr);
    EXPECT_EQ(older->Query(), 17);
}

}  // namespace
}  // namespace kestrune
