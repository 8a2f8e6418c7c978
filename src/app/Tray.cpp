#include "app/Tray.h"

#include "app/MainState.h"
#include "app/Version.h"

namespace kestrune {

void AddTrayIcon(MainState& state, const std::string& tip) {
    if (state.inTray) return;
    std::string cut = tip;
    if (cut.size() > kTrayTipLimit) {
        cut.resize(kTrayTipLimit);
        // Do not leave half of a UTF-8 character at the end.
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
        if (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0xC0) cut.pop_back();
    }
    state.fe.AddTrayIcon(cut);
    state.inTray = true;
}

void RemoveTrayIcon(MainState& state) {
    if (!state.inTray) return;
    state.fe.RemoveTrayIcon();
    state.inTray = false;
}

void SendToTray(MainState& state) {
    if (state.inTray) return;
    AddTrayIcon(state, kTitle);
    state.fe.HideWindow();
    state.fe.MinimiseWindow();
}

void ShowTrayBalloon(MainState& state, const std::string& text) {
    if (state.inTray) state.fe.ShowBalloon(kTitle, text, 30000);
}

}  // namespace kestrune
