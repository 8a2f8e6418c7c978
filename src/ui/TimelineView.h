#pragma once
// The timeline of the last delayed run, painted from the same shapes that `kestrunec
// run-delayed --timeline` writes as SVG, scaled to the panel's width. It follows the run by
// looking for a new reading twice a second while it is shown.

#include <functional>

#include <QTimer>
#include <QWidget>

#include "delayed/RunTimeline.h"

namespace kestrune {
class Application;
}

namespace kestrune::ui {

class TimelineView final : public QWidget {
    Q_OBJECT
public:
    // `timeline` answers the timeline as it stands; `revision` changes whenever it does.
    TimelineView(std::function<const RunTimeline&()> timeline, std::function<unsigned long()> revision,
                 QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The texts it paints, in order (the GUI tests read them).
    QStringList Texts() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::function<const RunTimeline&()> timeline_;
    std::function<unsigned long()> revision_;
    unsigned long shownRevision_ = 0;
    QTimer poll_;
};

// The object name of that window, a direct child of its owner.
inline constexpr const char* kTimelineWindowName = "timelineWindow";
// The timeline of `app`'s last run in a window of its own (one per owner), shown and raised.
void ShowTimelineWindow(Application& app, QWidget* owner);
// A panel over `app`'s timeline.
TimelineView* CreateTimelineView(Application& app, QWidget* parent);

}  // namespace kestrune::ui
