#include "ui/TimelineView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "delayed/TimelinePicture.h"
#include "session/Application.h"
#include "ui/IconStore.h"

namespace kestrune::ui {

namespace {

constexpr const char* kTimelineWindowCaption = "Kestrune - Last Delayed Run";

QColor ColorOf(const TimelineShape& shape) {
    QColor color(static_cast<QRgb>(shape.color | 0xff000000u));
    color.setAlphaF(static_cast<float>(shape.opacity));
    return color;
}

void Paint(QPainter& painter, const TimelineShape& shape) {
    switch (shape.kind) {
        case TimelineShape::Kind::Rect:
            painter.fillRect(QRectF(shape.x, shape.y, shape.width, shape.height), ColorOf(shape));
            break;
        case TimelineShape::Kind::Line:
            painter.setPen(QPen(ColorOf(shape), shape.strokeWidth));
            painter.drawLine(QPointF(shape.x, shape.y), QPointF(shape.x + shape.width, shape.y + shape.height));
            break;
        case TimelineShape::Kind::Polyline: {
            QPolygonF points;
            for (const auto& [x, y] : shape.points) points << QPointF(x, y);
            painter.setPen(QPen(ColorOf(shape), shape.strokeWidth));
            painter.drawPolyline(points);
            break;
        }
        case TimelineShape::Kind::Text: {
            QFont font = painter.font();
            font.setPixelSize(std::max(1, static_cast<int>(shape.fontSize + 0.5)));
            font.setBold(shape.bold);
            painter.setFont(font);
            painter.setPen(ColorOf(shape));
            const QString text = QString::fromStdString(shape.text);
            const double width = QFontMetricsF(font).horizontalAdvance(text);
            double x = shape.x;
            if (shape.anchor == TimelineShape::Anchor::Middle) x -= width / 2;
            if (shape.anchor == TimelineShape::Anchor::End) x -= width;
            painter.drawText(QPointF(x, shape.y), text);
            break;
        }
    }
}

}  // namespace

TimelineView::TimelineView(std::function<const RunTimeline&()> timeline, std::function<unsigned long()> revision,
                           QWidget* parent)
    : QWidget(parent), timeline_(std::move(timeline)), revision_(std::move(revision)) {
    setObjectName("timeline");
    // Below this the lanes' texts would shrink past reading.
    setMinimumSize(640, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    poll_.setInterval(500);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (revision_() == shownRevision_) return;
        updateGeometry();
        update();
    });
}

QSize TimelineView::sizeHint() const {
    const TimelinePicture picture = DrawTimeline(timeline_());
    return {static_cast<int>(picture.width), static_cast<int>(picture.height)};
}

QStringList TimelineView::Texts() const {
    QStringList texts;
    for (const TimelineShape& shape : DrawTimeline(timeline_()).shapes)
        if (shape.kind == TimelineShape::Kind::Text) texts << QString::fromStdString(shape.text);
    return texts;
}

void TimelineView::paintEvent(QPaintEvent*) {
    shownRevision_ = revision_();
    const TimelinePicture picture = DrawTimeline(timeline_());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    if (picture.width <= 0 || picture.height <= 0) return;
    // The whole picture in the panel, as large as it fits without distortion.
    const double scale = std::min(width() / picture.width, height() / picture.height);
    painter.scale(scale, scale);
    for (const TimelineShape& shape : picture.shapes) Paint(painter, shape);
}

void TimelineView::showEvent(QShowEvent* event) {
    poll_.start();
    QWidget::showEvent(event);
}

void TimelineView::hideEvent(QHideEvent* event) {
    poll_.stop();
    QWidget::hideEvent(event);
}

TimelineView* CreateTimelineView(Application& app, QWidget* parent) {
    const ImpactSampler* sampler = &app.delayed().impact;
    return new TimelineView([sampler]() -> const RunTimeline& { return sampler->timeline(); },
                            [sampler] { return sampler->Revision(); }, parent);
}

void ShowTimelineWindow(Application& app, QWidget* owner) {
    auto* window = owner ? owner->findChild<QWidget*>(kTimelineWindowName, Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new QWidget(owner, Qt::Window);
        window->setObjectName(kTimelineWindowName);
        window->setWindowTitle(kTimelineWindowCaption);
        window->setWindowIcon(IconStore::AppIcon());
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(CreateTimelineView(app, window));
        window->resize(window->sizeHint());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace kestrune::ui
