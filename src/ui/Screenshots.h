#pragma once
// A picture of every tab, menu and dialog of the running program, written as PNG files into a
// folder (KESTRUNE_SCREENSHOTS=<folder>), with the rows' icons and publishers once they are
// filled in; the program ends afterwards. Used to look at the program's windows without
// clicking through them, and by scripts/test-wine to check the icons and publishers.

#include <QString>

namespace kestrune {
class Application;
}

namespace kestrune::ui {

class QtFrontEnd;

inline constexpr const char* kScreenshotsVariable = "KESTRUNE_SCREENSHOTS";
// The subfolder with what the location rows show of their programs (rows.tsv, icon-N.png).
inline constexpr const char* kRowDetailsFolder = "rows";

// Schedules the pictures once the event loop runs.
void ScheduleScreenshots(Application& app, QtFrontEnd& frontEnd, const QString& folder);

}  // namespace kestrune::ui
