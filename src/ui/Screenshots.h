#pragma once
// A picture of every tab, menu and dialog of the running program, written as PNG files into a
// folder (KESTRUNE_SCREENSHOTS=<folder>); the program ends afterwards. Used to look at the
// program's windows without clicking through them.

#include <QString>

namespace kestrune {
class Application;
}

namespace kestrune::ui {

class QtFrontEnd;

inline constexpr const char* kScreenshotsVariable = "KESTRUNE_SCREENSHOTS";

// Schedules the pictures once the event loop runs.
void ScheduleScreenshots(Application& app, QtFrontEnd& frontEnd, const QString& folder);

}  // namespace kestrune::ui
