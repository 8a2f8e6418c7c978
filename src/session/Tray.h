#pragma once
// The notification-area icon: one at most, with the program's title as its tip. The core only
// says when the window belongs in the tray (a finished run in Slimline mode) and what the
// delayed run starts; these carry it out on the window.

#include <string>

#include "app/FrontEnd.h"
#include "app/ModelObserver.h"
#include "app/ViewState.h"

namespace kestrune {

inline constexpr size_t kTrayTipLimit = 63;
inline constexpr int kBalloonTimeoutMs = 30000;

// The tip cut to 63 bytes, never inside a UTF-8 character.
std::string TrayTip(const std::string& tip);

// Adds the icon unless it is already shown.
void AddTrayIcon(ViewState& view, FrontEnd& frontEnd, const std::string& tip);
void RemoveTrayIcon(ViewState& view, FrontEnd& frontEnd);
// Hides the window into the tray (nothing when it is there already).
void SendToTray(ViewState& view, FrontEnd& frontEnd);

// While the window is in the tray, a balloon at the icon says which program the delayed run
// starts.
class TrayBalloons final : public ModelObserver {
public:
    TrayBalloons(const ViewState& view, FrontEnd& frontEnd) : view_(view), frontEnd_(frontEnd) {}
    void DelayedLaunch(const std::string& text) override;

private:
    const ViewState& view_;
    FrontEnd& frontEnd_;
};

}  // namespace kestrune
