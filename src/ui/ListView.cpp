#include "ui/ListView.h"

#include <QHeaderView>
#include <QPainter>

namespace kestrune::ui {

void ListView::SetPlaceholder(const QString& text) {
    if (text == placeholder_) return;
    placeholder_ = text;
    viewport()->update();
}

void ListView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (placeholder_.isEmpty() || !model() || model()->rowCount() > 0) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, placeholder_);
}

}  // namespace kestrune::ui
