// Processor times for the idle measurement, read from /proc/stat.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/emulated/LinuxProcessorTimes.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

TEST(ProcessorTimesTest, IdleTimeCountsIdleAndIoWaitOfAllProcessorsIn100NanosecondUnits) {
    test::TempFolder temp;
    const std::string path = temp.Path() + "stat";
    test::WriteText(path,
                    "cpu  500 10 200 4000 300 0 7 0 0 0\n"
                    "cpu0 250 5 100 2000 150 0 3 0 0 0\n"
                    "cpu1 250 5 100 2000 150 0 4 0 0 0\n"
                    "intr 12345 0 0\n"
                    "ctxt 999\n");
    LinuxProcessorTimes times(path);
    const long hz = ::sysconf(_SC_CLK_TCK);
    EXPECT_EQ(times.ProcessorCount(), 2);
    EXPECT_EQ(times.IdleTime(), 4300LL * 10'000'000 / hz);

    LinuxProcessorTimes missing(temp.Path() + "absent");
    EXPECT_FALSE(missing.ProcessorCount());
    EXPECT_FALSE(missing.IdleTime());
    test::WriteText(path, "intr 1 2 3\n");
    EXPECT_FALSE(times.IdleTime());
    EXPECT_FALSE(times.ProcessorCount());
}

TEST(ProcessorTimesTest, TheRealSourcesAdvanceWithTheClock) {
    LinuxProcessorTimes times;
    const auto count = times.ProcessorCount();
    ASSERT_TRUE(count);
    EXPECT_GE(*count, 1);
    const auto idle1 = times.IdleTime();
    const auto now1 = times.CurrentTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto idle2 = times.IdleTime();
    const auto now2 = times.CurrentTime();
    ASSERT_TRUE(idle1 && idle2 && now1 && now2);
    EXPECT_GE(*now2 - *now1, 2'000'000);   // 200 ms
    EXPECT_LT(*now2 - *now1, 50'000'000);  // well under 5 s
    EXPECT_GE(*idle2, *idle1);
    EXPECT_LE(*idle2 - *idle1, (*now2 - *now1) * *count + 100'000) << "idle time beyond all processors' time";
}

}  // namespace
}  // namespace kestrune::platform
