// What a started program costs: processor time, bytes read and written, and its end, read by a
// meter that follows the process.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "ContractFixture.h"
#include "ProcessId.h"

namespace kestrune::contract {
namespace {

using platform::ShowWindow;

using ProcessCostContract = ContractTest;

constexpr std::int64_t kMillisecond = 10'000;  // in 100-nanosecond units

// Wine answers GetProcessIoCounters with zeros: the byte counts are real only on Windows itself
// and on the emulated machine. (scripts/test-wine runs the suite with WINEPREFIX set.)
bool SystemCountsBytes() { return std::getenv("WINEPREFIX") == nullptr; }

TEST_F(ProcessCostContract, AMeterFollowsAStartedProgramToItsEndAndKeepsItsLastFigures) {
    constexpr std::uint64_t kBytes = 2'000'000;
    constexpr int kBusyMs = 600;
    const auto started =
        Os().launcher().StartCommand(ProbeCommand("work " + Quote(PathOf("work.bin")) + " " + std::to_string(kBytes) +
                                                  " " + std::to_string(kBusyMs)),
                                     ShowWindow::Minimised);
    ASSERT_TRUE(started.ok) << started.errorText;
    ASSERT_NE(started.processId, 0u);
    const auto meter = Os().processes().Meter(started.processId);
    ASSERT_NE(meter, nullptr) << "a program that has just started cannot be followed";

    platform::CostReading reading;
    platform::ProcessCost before;
    ASSERT_TRUE(WaitFor([&] {
        reading = meter->Read();
        EXPECT_GE(reading.cost.cpuTime, before.cpuTime) << "the processor time went back";
        EXPECT_GE(reading.cost.bytesRead, before.bytesRead) << "the bytes read went back";
        before = reading.cost;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return reading.ended;
    })) << "the meter never saw the program end";

    // The spin is timed by the clock: on two cores shared with builds (and under Wine) it gets
    // a part of them only, so the floor shows just that another program's time is counted.
    EXPECT_GE(reading.cost.cpuTime, kBusyMs * kMillisecond / 12);
    EXPECT_LE(reading.cost.cpuTime, 20 * kBusyMs * kMillisecond);
    if (SystemCountsBytes()) {
        EXPECT_GE(reading.cost.bytesWritten, kBytes);
        EXPECT_GE(reading.cost.bytesRead, kBytes);
    }

    const platform::CostReading again = meter->Read();
    EXPECT_TRUE(again.ended);
    EXPECT_EQ(again.cost, reading.cost) << "an ended program's figures moved";
}

TEST_F(ProcessCostContract, TheProgramsOwnWorkShowsInItsOwnMeter) {
    const auto meter = Os().processes().Meter(CurrentProcessId());
    ASSERT_NE(meter, nullptr);
    const platform::CostReading first = meter->Read();
    EXPECT_FALSE(first.ended);

    // Spin for 300 ms of this process's own processor time, not of the wall clock: on a
    // loaded machine 300 ms of wall time can hold well under 100 ms of it. (Where clock()
    // counts wall time, as on Windows, this is the wall clock again; the cap keeps it short.)
    const std::clock_t cpuStart = std::clock();
    const auto cap = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    volatile unsigned spin = 0;
    while (std::clock() - cpuStart < CLOCKS_PER_SEC * 3 / 10 && std::chrono::steady_clock::now() < cap) spin = spin + 1;
    const std::string file = PathOf("own.bin");
    ASSERT_TRUE(Os().files().WriteFileAtomic(file, std::string(500'000, 'y')));
    ASSERT_TRUE(Os().files().ReadFile(file).has_value());

    const platform::CostReading second = meter->Read();
    EXPECT_FALSE(second.ended);
    EXPECT_GE(second.cost.cpuTime - first.cost.cpuTime, 100 * kMillisecond);
    if (SystemCountsBytes()) {
        EXPECT_GE(second.cost.bytesWritten - first.cost.bytesWritten, 500'000u);
        EXPECT_GE(second.cost.bytesRead - first.cost.bytesRead, 500'000u);
    }
}

TEST_F(ProcessCostContract, AProgramThatHasEndedCannotBeFollowed) {
    const std::string marker = PathOf("ended.txt");
    const auto started = Os().launcher().StartCommand(ProbeCommand("touch " + Quote(marker)), ShowWindow::Minimised);
    ASSERT_TRUE(started.ok) << started.errorText;
    ASSERT_TRUE(WaitFor([&] { return Os().files().FileExists(marker); }));
    EXPECT_TRUE(WaitFor([&] { return Os().processes().Meter(started.processId) == nullptr; }))
        << "a meter was given for a program that has ended";
}

}  // namespace
}  // namespace kestrune::contract
