#pragma once
// The notification-area icon: one at most, with the program's title as its tip.

#include <string>

namespace kestrune {

struct MainState;

inline constexpr size_t kTrayTipLimit = 63;

// Adds the icon unless it is already shown; the tip is cut to 63 characters.
void AddTrayIcon(MainState& state, const std::string& tip);
void RemoveTrayIcon(MainState& state);
// Hides the window into the tray (nothing when it is there already).
void SendToTray(MainState& state);
// Shows a balloon at the icon while the program is in the tray.
void ShowTrayBalloon(MainState& state, const std::string& text);

}  // namespace kestrune
