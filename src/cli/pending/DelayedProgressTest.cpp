// The delayed-run window on a terminal: a line for each change of the progress or of the
// processor usage, none for a redraw that changed neither.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/DelayedProgress.h"

namespace kestrune::cli {
namespace {

TEST(DelayedProgressTest, PrintsOnlyWhatChanged) {
    std::ostringstream out;
    DelayedProgress progress(out);
    DelayedWindow window;
    window.progressLine = kWaitingToRun;
    progress.Show(window);
    progress.Show(window);
    window.progressLine = "notepad.exe - 1 out of 3";
    window.progressCaption = "33%";
    progress.Show(window);
    window.cpuCaption = "CPU 12%";
    progress.Show(window);
    window.cpuCaption = "CPU 12%";
    progress.Show(window);
    window.progressLine = "calc - 2 out of 3";
    window.progressCaption = "67%";
    progress.Show(window);
    EXPECT_EQ(out.str(),
              "Waiting to run applications... (0%)\n"
              "notepad.exe - 1 out of 3 (33%)\n"
              "CPU 12%\n"
              "calc - 2 out of 3 (67%)\n");
}

}  // namespace
}  // namespace kestrune::cli
