#include "delayed/DelayedWindow.h"

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "delayed/DelayedRun.h"

namespace kestrune {

void DelayedWindow::Reset() {
    listPosition = 0;
    selectedRow = 0;
    progressValue = 0;
    progressCaption = "0%";
    rows.clear();
    progressLine = kWaitingToRun;
}

bool DelayedWindow::Advance() {
    ++listPosition;
    const int count = RowCount();
    if (listPosition < 1 || listPosition > count) return false;
    DelayedRow& row = rows[static_cast<size_t>(listPosition - 1)];
    selectedRow = listPosition;
    row.icon = row.ticked ? kIconTicked : kIconSkip;
    progressLine = row.name + " - " + std::to_string(listPosition) + " out of " + std::to_string(count);
    progressValue = static_cast<int>(RoundHalfEven(static_cast<double>(listPosition) / count * 100.0));
    progressCaption = std::to_string(progressValue) + "%";
    return row.ticked;
}

void DelayedWindow::SetCpu(int percent) {
    cpuValue = percent;
    cpuCaption = "CPU " + std::to_string(percent) + "%";
}

void ResetList(MainState& state, DelayedWindow& window) {
    window.Reset();
    state.events.DelayedWindowChanged();
}

void FillDelayedWindow(MainState& state, DelayedWindow& window, const std::vector<RunEntry>& entries) {
    window.Reset();
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
    const bool ticked = window.Advance();
    state.events.DelayedWindowChanged();
    return ticked;
}

void ShowCPU(MainState& state, DelayedWindow& window, int percent) {
    window.SetCpu(percent);
    state.events.DelayedWindowChanged();
}

void ShowDelayedWindow(MainState& state, DelayedWindow& window) {
    window.visible = true;
    state.events.DelayedWindowChanged();
}

void HideDelayedWindow(MainState& state, DelayedWindow& window) {
    window.visible = false;
    state.events.DelayedWindowChanged();
}

}  // namespace kestrune
