#include "delayed/DelayedWindow.h"

#include "app/CommandLine.h"
#include "app/ModelObserver.h"
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

void ResetList(ModelEvents& events, DelayedWindow& window) {
    window.Reset();
    events.DelayedWindowChanged();
}

void FillDelayedWindow(ModelEvents& events, DelayedWindow& window, const std::vector<RunEntry>& entries) {
    window.Reset();
    for (const RunEntry& entry : entries) {
        DelayedRow row;
        row.name = FileNameOf(SplitCommandLine(entry.command, false).path);
        row.delay = std::to_string(entry.delay);
        row.path = entry.command;
        window.rows.push_back(std::move(row));
    }
    ShowDelayedWindow(events, window);
}

bool AdvanceList(ModelEvents& events, DelayedWindow& window) {
    const bool ticked = window.Advance();
    events.DelayedWindowChanged();
    return ticked;
}

void ShowCPU(ModelEvents& events, DelayedWindow& window, int percent) {
    window.SetCpu(percent);
    events.DelayedWindowChanged();
}

void ShowDelayedWindow(ModelEvents& events, DelayedWindow& window) {
    window.visible = true;
    events.DelayedWindowChanged();
}

void HideDelayedWindow(ModelEvents& events, DelayedWindow& window) {
    window.visible = false;
    events.DelayedWindowChanged();
}

}  // namespace kestrune
