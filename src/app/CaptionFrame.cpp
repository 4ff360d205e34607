#include "app/CaptionFrame.h"

#include <QPainter>

namespace ovex {

namespace {
constexpr int CaptionLeft = 8;
constexpr int CaptionPadding = 2;
}

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption)
{
    setAccessibleName(caption);
}

QRect CaptionFrame::CaptionRect() const
{
    if (m_caption.isEmpty())
        return {};
    const QFontMetrics metrics = fontMetrics();
    return {CaptionLeft, 0, metrics.horizontalAdvance(m_caption) + 2 * CaptionPadding, metrics.height()};
}

void CaptionFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect caption = CaptionRect();
    const int top = m_caption.isEmpty() ? 0 : caption.center().y();
    const QRect box = rect().adjusted(0, top, -2, -2);

    // Etched: a shadow line with a light line beside it.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));

    if (!m_caption.isEmpty()) {
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, m_caption);
    }
}

} // namespace ovex
