#pragma once
// What the main window shows and how: the selected tab, whether it sits in the tray, its
// position, Slimline mode, and the answers a command keeps between the rows it acts on.

#include <cstdint>

#include "app/Options.h"

namespace kestrune {

struct ViewState {
    int currentTab = 0;  // 0 = About, otherwise the table number + 1
    bool inTray = false;
    bool slimlineMode = false;
    WindowPosition position;
    bool positionRead = false;  // "Position" was applied from settings.ini

    std::uint32_t chosenPriorityClass = 0x20;
    bool deleteAllConfirmed = false;  // multi-row deletion from Deleted asks once
};

}  // namespace kestrune
