#include "ui/ScreenFit.h"

#include <algorithm>

namespace kestrune::ui {

QRect FitIntoArea(const QRect& client, const QMargins& frame, const QRect& area) {
    const int width = std::max(1, std::min(client.width(), area.width() - frame.left() - frame.right()));
    const int height = std::max(1, std::min(client.height(), area.height() - frame.top() - frame.bottom()));
    // The title bar comes last so that it wins when even the smallest window is too tall.
    const int x =
        std::max(std::min(client.x(), area.x() + area.width() - frame.right() - width), area.x() + frame.left());
    const int y =
        std::max(std::min(client.y(), area.y() + area.height() - frame.bottom() - height), area.y() + frame.top());
    return {x, y, width, height};
}

QRect CentreInArea(const QSize& size, const QMargins& frame, const QRect& area) {
    const QRect fitted = FitIntoArea(QRect(area.topLeft(), size), frame, area);
    const int outerWidth = fitted.width() + frame.left() + frame.right();
    const int outerHeight = fitted.height() + frame.top() + frame.bottom();
    return {area.x() + (area.width() - outerWidth) / 2 + frame.left(),
            area.y() + (area.height() - outerHeight) / 2 + frame.top(), fitted.width(), fitted.height()};
}

int AreaShowingMost(const QRect& client, const QMargins& frame, const QList<QRect>& areas) {
    const QRect outer = client.marginsAdded(frame);
    int best = -1;
    qint64 bestShown = 0;
    for (int i = 0; i < areas.size(); ++i) {
        const QRect shown = outer.intersected(areas[i]);
        const qint64 size = shown.isEmpty() ? 0 : qint64(shown.width()) * shown.height();
        if (size > bestShown) {
            best = i;
            bestShown = size;
        }
    }
    return best;
}

}  // namespace kestrune::ui
