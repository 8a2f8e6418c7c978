#include "cli/DelayedProgress.h"

#include <ostream>

namespace kestrune::cli {

std::string DelayedProgress::ProgressText(const DelayedWindow& window) {
    if (window.progressLine.empty()) return {};
    return window.progressLine + " (" + window.progressCaption + ")";
}

void DelayedProgress::Show(const DelayedWindow& window) {
    if (const std::string progress = ProgressText(window); progress != progress_) {
        progress_ = progress;
        if (!progress.empty()) out_ << progress << std::endl;
    }
    if (window.cpuCaption != cpu_) {
        cpu_ = window.cpuCaption;
        if (!cpu_.empty()) out_ << cpu_ << std::endl;
    }
}

}  // namespace kestrune::cli
