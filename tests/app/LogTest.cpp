#include <gtest/gtest.h>

#include "app/Log.h"
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

TEST(LogTest, WithoutAnyPathNothingIsWrittenAndNothingThrows) {
    test::TestMachine machine;
    test::FixedClock clock;
    Log log(machine.platform->files(), clock);
    EXPECT_NO_THROW(log.Write("lost"));
    EXPECT_NO_THROW(log.Write("also lost", machine.appFolder + "no/such/folder/log.txt"));
}

}  // namespace
}  // namespace kestrune
