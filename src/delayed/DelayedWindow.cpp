#include "delayed/DelayedWindow.h"

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "delayed/DelayedRun.h"

namespace kestrune {

void ResetList(MainState& state, DelayedWindow& window) {
    window.listPosition = 0;
    window.selectedRow = 0;
    window.progressValue = 0;
    window.progressCaption = "0%";
    window.rows.clear();
    window.progressLine = kWaitingToRun;
    state.fe.DelayedWindowChanged();
}

void FillDelayedWindow(MainState& state, DelayedWindow& window, const std::vector<RunEntry>& entries) {
    ResetList(state, window);
    for (const RunEntry& entry : entries) {
        DelayedRow row;
        row.name = FileNameOf(SplitCommandLine(entry.command, false).path);
        row.delay = std::to_string(entry.delay);
        row.path = entry.command;
        window.rows.push_back(std::move(row));
    }
    ShowDelayedWindow(state, window);
}

bool AdvanceList(MainState& state, DelayedWindow& window) {
    ++window.listPosition;
    bool ticked = false;
    const int count = window.RowCount();
    if (window.listPosition >= 1 && window.listPosition <= count) {
        DelayedRow& row = window.rows[static_cast<size_t>(window.listPosition - 1)];
        ticked = row.ticked;
        window.selectedRow = window.listPosition;
        row.icon = ticked ? kIconTicked : kIconSkip;
        window.progressLine = row.name + " - " + std::to_string(window.listPosition) + " out of " + std::to_string(count);
        window.progressValue =
            static_cast<int>(RoundHalfEven(static_cast<double>(window.listPosition) / count * 100.0));
        window.progressCaption = std::to_string(window.progressValue) + "%";
        state.fe.DelayedWindowChanged();
    }
    state.fe.ProcessEvents();
    return ticked;
}

void ShowCPU(MainState& state, DelayedWindow& window, int percent) {
    window.cpuValue = percent;
    window.cpuCaption = "CPU " + std::to_string(percent) + "%";
    state.fe.DelayedWindowChanged();
}

void ShowDelayedWindow(MainState& state, DelayedWindow& window) {
    window.visible = true;
    state.fe.ShowDelayedWindow();
}

void HideDelayedWindow(MainState& state, DelayedWindow& window) {
    window.visible = false;
    state.fe.HideDelayedWindow();
}

}  // namespace kestrune
