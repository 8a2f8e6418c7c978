#pragma once
// The model of the delayed-run window: the run's applications in run order with their ticks,
// the progress bar and line, and the processor bar. The desktop window and the console draw
// it; the user may untick a row (set `ticked` false) to have the run pass it over.

#include <string>
#include <vector>

namespace kestrune {

class ModelEvents;
struct RunEntry;

inline constexpr const char* kDelayedWindowCaption = "Kestrune - Delayed Apps";
inline constexpr const char* kDelayedColumns = "Name,Delay,Path";
// Row icons: waiting, reached and run, reached and passed over.
inline constexpr const char* kIconUnticked = "unticked";
inline constexpr const char* kIconTicked = "ticked";
inline constexpr const char* kIconSkip = "skip";
inline constexpr const char* kWaitingToRun = "Waiting to run applications...";

struct DelayedRow {
    std::string name;   // the program's file name
    std::string delay;  // seconds, as text
    std::string path;   // the command line
    bool ticked = true;
    std::string icon = kIconUnticked;
};

struct DelayedWindow {
    std::vector<DelayedRow> rows;
    int listPosition = 0;   // the row reached so far (1-based), 0 before the first
    int selectedRow = 0;    // the highlighted row (1-based), 0 for none
    int progressValue = 0;  // 0 to 100
    std::string progressCaption = "0%";
    std::string progressLine;
    int cpuValue = 0;
    std::string cpuCaption;
    bool visible = false;
    bool exitButtonVisible = false;

    int RowCount() const { return static_cast<int>(rows.size()); }

    // Empties the list and sets the progress back to its start.
    void Reset();
    // Moves to the next row and answers whether it is ticked (false past the last row).
    bool Advance();
    void SetCpu(int percent);
};

// The functions below change the model and tell the views (ModelObserver::DelayedWindowChanged).

void ResetList(ModelEvents& events, DelayedWindow& window);
// One ticked row per entry, in order, and the window shown.
void FillDelayedWindow(ModelEvents& events, DelayedWindow& window, const std::vector<RunEntry>& entries);
bool AdvanceList(ModelEvents& events, DelayedWindow& window);
void ShowCPU(ModelEvents& events, DelayedWindow& window, int percent);
void ShowDelayedWindow(ModelEvents& events, DelayedWindow& window);
// Also what the window's close box does: the run goes on.
void HideDelayedWindow(ModelEvents& events, DelayedWindow& window);

}  // namespace kestrune
