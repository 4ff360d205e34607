#include "colour/ThemePicture.h"

#include <QPainter>

#include <algorithm>

namespace ovex {

QImage DrawThemePicture(const PreviewTheme& theme, const QSize& size, VisionType vision)
{
    const QSize target = size.expandedTo(QSize(1, 1));
    // Opaque where the window fills the picture: cheaper to scale, draw and encode.
    const bool fills = qint64(target.width()) * MockSize.height() == qint64(target.height()) * MockSize.width();
    QImage picture(target, fills ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    const double scale = std::min(double(picture.width()) / MockSize.width(), double(picture.height()) / MockSize.height());
    const QSizeF drawn = QSizeF(MockSize) * scale;
    picture.fill(Qt::transparent);
    const PreviewTheme seen = SimulatedTheme(theme, vision);
    QPainter painter(&picture);
    painter.translate((picture.width() - drawn.width()) / 2, (picture.height() - drawn.height()) / 2);
    painter.scale(scale, scale);
    PaintMock(painter, seen, BuildMock(seen), vision);
    return picture;
}

} // namespace ovex
