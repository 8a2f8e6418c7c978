#pragma once
// The delayed-run window on a terminal: each time the window's model changes, the lines whose
// text changed (the progress line with its percentage, the processor usage) are printed.

#include <iosfwd>
#include <string>

#include "delayed/DelayedWindow.h"

namespace kestrune::cli {

class DelayedProgress {
public:
    explicit DelayedProgress(std::ostream& out) : out_(out) {}
    // Prints what changed since the last call.
    void Show(const DelayedWindow& window);

    // "notepad.exe - 1 out of 3 (33%)": the progress line with the bar's caption.
    static std::string ProgressText(const DelayedWindow& window);

private:
    std::ostream& out_;
    std::string progress_;
    std::string cpu_;
};

}  // namespace kestrune::cli
