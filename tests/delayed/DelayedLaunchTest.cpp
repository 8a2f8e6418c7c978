// A delayed run on the emulated machine really starts its commands, on a real one-second tick.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "delayed/DelayedRun.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune {
namespace {

using Clock = std::chrono::steady_clock;

// Waits until the file exists and answers its content ("" after the time-out).
std::string AwaitFile(const std::string& path, std::chrono::seconds timeout) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        if (std::filesystem::exists(path)) return test::ReadText(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

TEST(DelayedLaunchTest, TwoCommandsStartInOrderAboutASecondApart) {
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    test::TestState state(*machine.platform, clock);
    state.LogIn(machine.appFolder).BeginLog("test begins");
    DelayedRun run;
    run.timer = timers.Create(1000, [] {});
    const RunParts parts{state.model, state.services, state.options, false,
                         [&fe](const std::string& text) { fe.SetStatus(text); }};

    const std::string folder = machine.folder.Path();
    // Each command writes the moment it ran, in nanoseconds, and renames the file into place so
    // that the test never reads it half written.
    const auto stamp = [&](const std::string& name) {
        return "date +%s%N > '" + folder + name + ".tmp' && mv '" + folder + name + ".tmp' '" + folder + name + "'";
    };
    Table& delayed = state.model.table(TableKind::Delayed);
    delayed.Add({"second", stamp("second"), "2", "", ""}, true);
    delayed.Add({"first", stamp("first"), "1", "", ""}, true);

    StartDelayedRun(parts, run);
    ASSERT_TRUE(run.timer->Running());
    const auto began = Clock::now();
    for (int second = 1; second <= 5 && run.timer->Running(); ++second) {
        std::this_thread::sleep_until(began + std::chrono::seconds(second));
        CarryOut(
            OnDelayedRunTick(parts, run), [] {}, [] {});
    }
    EXPECT_FALSE(run.timer->Running());
    const std::string log = test::ReadText(state.paths.logPath);
    ASSERT_EQ(log.find("Error"), std::string::npos) << log;

    const std::string first = AwaitFile(folder + "first", std::chrono::seconds(5));
    const std::string second = AwaitFile(folder + "second", std::chrono::seconds(5));
    ASSERT_FALSE(first.empty()) << log;
    ASSERT_FALSE(second.empty()) << log;
    const double apart = (std::stod(second) - std::stod(first)) / 1e9;
    EXPECT_GT(apart, 0.6);
    EXPECT_LT(apart, 1.6);
}

}  // namespace
}  // namespace kestrune
