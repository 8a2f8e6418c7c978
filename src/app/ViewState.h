#pragma once
// What the main window shows and how: the selected tab, whether it sits in the tray, its
// position and Slimline mode.

#include <cstdint>
#include <optional>

#include "app/Options.h"
#include "app/TableKind.h"

namespace kestrune {

struct ViewState {
    int currentTab = 0;  // 0 = About, otherwise the table number + 1
    bool inTray = false;
    bool slimlineMode = false;
    WindowPosition position;
    bool positionRead = false;  // "Position" was applied from settings.ini

    // The counts the status line last showed, and of which table: when the current table's
    // differ, the status line is out of date (UpdateTableStatus).
    struct ShownCounts {
        std::optional<TableKind> kind;
        int rows = -1;
        int ticked = -1;
        bool operator==(const ShownCounts&) const = default;
    } shownCounts;
};

}  // namespace kestrune
