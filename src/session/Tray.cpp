#include "session/Tray.h"

#include "app/Version.h"

namespace kestrune {

std::string TrayTip(const std::string& tip) {
    std::string cut = tip;
    if (cut.size() > kTrayTipLimit) {
        cut.resize(kTrayTipLimit);
        // Do not leave half of a UTF-8 character at the end.
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
        if (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0xC0) cut.pop_back();
    }
    return cut;
}

void AddTrayIcon(ViewState& view, FrontEnd& frontEnd, const std::string& tip) {
    if (view.inTray) return;
    frontEnd.AddTrayIcon(TrayTip(tip));
    view.inTray = true;
}

void RemoveTrayIcon(ViewState& view, FrontEnd& frontEnd) {
    if (!view.inTray) return;
    frontEnd.RemoveTrayIcon();
    view.inTray = false;
}

void SendToTray(ViewState& view, FrontEnd& frontEnd) {
    if (view.inTray) return;
    AddTrayIcon(view, frontEnd, kTitle);
    frontEnd.HideWindow();
    frontEnd.MinimiseWindow();
}

void TrayBalloons::DelayedLaunch(const std::string& text) {
    if (view_.inTray) frontEnd_.ShowBalloon(kTitle, text, kBalloonTimeoutMs);
}

}  // namespace kestrune
