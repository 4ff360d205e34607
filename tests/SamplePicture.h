#pragma once

// A photo-like picture for the generator's benchmark and its documentation:
// an evening sky over hills and a lake, with a low sun.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace ovex::test {

inline QImage SampleLandscape(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    const double w = size.width();
    const double h = size.height();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    QLinearGradient sky(0, 0, 0, h * 0.62);
    sky.setColorAt(0, QColor(38, 64, 120));
    sky.setColorAt(0.55, QColor(196, 120, 110));
    sky.setColorAt(1, QColor(250, 186, 110));
    p.fillRect(QRectF(0, 0, w, h * 0.62), sky);

    QRadialGradient sun(w * 0.68, h * 0.5, h * 0.16);
    sun.setColorAt(0, QColor(255, 236, 170));
    sun.setColorAt(0.35, QColor(255, 190, 90));
    sun.setColorAt(1, QColor(255, 190, 90, 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(w * 0.68, h * 0.5), h * 0.16, h * 0.16);

    const auto hills = [&](double base, double height, double phase, const QColor& color) {
        QPainterPath path(QPointF(0, h));
        for (int i = 0; i <= 40; ++i) {
            const double x = w * i / 40;
            path.lineTo(x, h * (base - height * (0.5 + 0.5 * std::sin(i * 0.37 + phase) * std::cos(i * 0.11))));
        }
        path.lineTo(w, h);
        p.setBrush(color);
        p.drawPath(path);
    };
    hills(0.62, 0.14, 0.0, QColor(92, 70, 96));
    hills(0.70, 0.12, 1.7, QColor(58, 74, 62));

    QLinearGradient lake(0, h * 0.74, 0, h);
    lake.setColorAt(0, QColor(210, 140, 110));
    lake.setColorAt(1, QColor(30, 52, 84));
    p.setBrush(lake);
    p.drawRect(QRectF(0, h * 0.74, w, h * 0.26));
    hills(1.0, 0.12, 3.1, QColor(34, 48, 36));
    return picture;
}

} // namespace ovex::test
