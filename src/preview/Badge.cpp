#include "preview/Badge.h"

#include <QPainter>

namespace ovex {

namespace {

const QColor BadgeColor(0xC6, 0x28, 0x28);

} // namespace

void PaintBadge(QPainter& painter, const QPoint& centre, int number)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect circle(centre - QPoint(7, 7), QSize(15, 15));
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(BadgeColor);
    painter.drawEllipse(circle);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(circle, Qt::AlignCenter, QString::number(number));
    painter.restore();
}

Badge::Badge(QWidget* parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void Badge::SetNumber(int number)
{
    m_number = number;
    update();
}

void Badge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintBadge(painter, rect().center(), m_number);
}

} // namespace ovex
