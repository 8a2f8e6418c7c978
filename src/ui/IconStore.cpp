#include "ui/IconStore.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <algorithm>
#include <cstdint>

namespace kestrune::ui {

namespace {

QPixmap Canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon DrawAppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap = Canvas(size);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, 0, size);
        fill.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
        fill.setColorAt(1, QColor(0x1f, 0x4e, 0x99));
        p.setBrush(fill);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        // A rising arrow: programs on their way up at start-up.
        QPainterPath arrow;
        const double s = size;
        arrow.moveTo(s * 0.5, s * 0.18);
        arrow.lineTo(s * 0.8, s * 0.52);
        arrow.lineTo(s * 0.6, s * 0.52);
        arrow.lineTo(s * 0.6, s * 0.82);
        arrow.lineTo(s * 0.4, s * 0.82);
        arrow.lineTo(s * 0.4, s * 0.52);
        arrow.lineTo(s * 0.2, s * 0.52);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon DrawStateIcon(std::string_view name) {
    QPixmap pixmap = Canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == "ticked") {
        p.setBrush(QColor(0x2e, 0x9d, 0x4a));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
    } else if (name == "skip") {
        p.setBrush(QColor(0xd0, 0x8a, 0x1c));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    } else {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.4));
        p.drawEllipse(QRectF(2, 2, 12, 12));
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon IconStore::AppIcon() {
    static const QIcon icon = DrawAppIcon();
    return icon;
}

QIcon IconStore::StateIcon(std::string_view name) {
    static const QIcon ticked = DrawStateIcon("ticked");
    static const QIcon skip = DrawStateIcon("skip");
    static const QIcon unticked = DrawStateIcon("unticked");
    if (name == "ticked") return ticked;
    if (name == "skip") return skip;
    return unticked;
}

QIcon IconStore::RowIcon(int number) const {
    if (const auto it = icons_.find(number); it != icons_.end()) return it->second;
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

QIcon IconStore::IconOf(const platform::IconPicture& picture) {
    QIcon icon;
    if (!picture.encoded.empty()) {
        QByteArray bytes(picture.encoded.data(), static_cast<qsizetype>(picture.encoded.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        for (int image = 0; image < std::max(reader.imageCount(), 1); ++image) {
            if (image > 0 && !reader.jumpToNextImage()) break;
            const QImage frame = reader.read();
            if (!frame.isNull()) icon.addPixmap(QPixmap::fromImage(frame));
        }
        return icon;
    }
    const auto expected = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != expected) return icon;
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        std::copy_n(picture.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width),
                    picture.width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    }
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

bool IconStore::LoadFileIcon(platform::ProgramFiles& programs, const std::string& file, int number) {
    const auto picture = programs.FirstIcon(file);
    if (!picture) return false;
    const QIcon icon = IconOf(*picture);
    if (icon.isNull()) return false;
    icons_[number] = icon;
    return true;
}

}  // namespace kestrune::ui
