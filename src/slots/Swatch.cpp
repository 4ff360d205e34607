#include "slots/Swatch.h"

#include <QPainter>

namespace ovex {

Swatch::Swatch(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void Swatch::SetTag(const QString& text)
{
    if (text == m_tag)
        return;
    m_tag = text;
    Q_EMIT changed();
}

void Swatch::SetBackColor(ColorValue value)
{
    if (value == m_backColor)
        return;
    m_backColor = value;
    update();
    Q_EMIT changed();
}

QColor Swatch::ShownColor() const
{
    return IsSystemColor(m_backColor) ? palette().color(QPalette::Base) : PackedToQColor(m_backColor);
}

void Swatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShownColor());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ovex
