#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Log.h"
#include "support/LogReader.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

TEST(LogTest, LinesCarryTheDateTimeFormatAndCrLf) {
    test::TestMachine machine;
    test::FixedClock clock;
    clock.now = {2026, 3, 4, 5, 6, 7};
    Log log(machine.platform->files(), clock);
    const std::string path = machine.appFolder + "log.txt";
    log.Write("Starting Kestrune, Slimline mode = False", path);
    clock.now = {2026, 12, 31, 23, 59, 58};
    log.Write("Exiting Kestrune");  // an empty path means the one used last
    EXPECT_EQ(test::ReadText(path),
              "04/03/2026 05:06:07 Starting Kestrune, Slimline mode = False\r\n"
              "31/12/2026 23:59:58 Exiting Kestrune\r\n");
}

// A line with nowhere to go is lost without a trace: no file, no folder made for it, and the
// log goes on where it can as soon as it is given a place.
TEST(LogTest, WithoutAnyPathNothingIsWrittenAndNothingThrows) {
    test::TestMachine machine;
    test::FixedClock clock;
    Log log(machine.platform->files(), clock);
    EXPECT_NO_THROW(log.Write("lost"));
    EXPECT_NO_THROW(log.Write("also lost", machine.appFolder + "no/such/folder/log.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(machine.appFolder));

    const std::string path = machine.appFolder + "log.txt";
    log.Write("kept", path);
    EXPECT_NO_THROW(log.Write("also kept"));
    EXPECT_EQ(test::LogTexts(path), (std::vector<std::string>{"kept", "also kept"}));
}

// Code that logs from a timer's tick stamps the line with the moment the tick was due, across
// the turn of a minute, a day and a year, seconds made up of the milliseconds between ticks.
TEST(LogTest, LinesWrittenOnATickCarryTheTimeTheTickCame) {
    test::TestMachine machine;
    test::FixedClock clock;
    clock.now = {2026, 12, 31, 23, 59, 58};
    test::ManualTimers timers{clock};
    Log log(machine.platform->files(), clock);
    const std::string path = machine.appFolder + "log.txt";
    auto timer = timers.Create(750, [&] { log.Write("tick", path); });
    timer->Start();
    timers.Advance(3000);
    std::vector<std::string> stamps;
    for (const auto& line : test::ReadLog(path)) stamps.push_back(line.stamp);
    EXPECT_EQ(stamps, (std::vector<std::string>{"31/12/2026 23:59:58", "31/12/2026 23:59:59", "01/01/2027 00:00:00",
                                                "01/01/2027 00:00:01"}));
    timer->Stop();
    timers.Advance(1000);
    EXPECT_EQ(clock.Now().second, 2);  // time goes on with no timer running
}

}  // namespace
}  // namespace kestrune
