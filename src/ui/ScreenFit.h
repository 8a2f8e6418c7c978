#pragma once
// Where the main window may go: never larger than the screen it opens on, never where no screen
// shows it. Plain geometry, so that any screen layout can be tried without the screens.

#include <QList>
#include <QMargins>
#include <QRect>

namespace kestrune::ui {

// `client` is the window without its frame; `frame` what the title bar and borders add around
// it. The result is `client` made small enough for `area` and moved inside it.
QRect FitIntoArea(const QRect& client, const QMargins& frame, const QRect& area);

// A window of `size` (without its frame) centred in `area`, made small enough for it first.
QRect CentreInArea(const QSize& size, const QMargins& frame, const QRect& area);

// The index in `areas` of the one that shows most of the framed window, or -1 when it lies off
// every one of them.
int AreaShowingMost(const QRect& client, const QMargins& frame, const QList<QRect>& areas);

}  // namespace kestrune::ui
