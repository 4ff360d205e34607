#include "app/CaptionFrame.h"

#include <QPainter>

namespace ovex {

namespace {
constexpr int CaptionLeft = 8;
constexpr int CaptionPadding = 2;

// The outline a one-pixel pen draws for box, as four filled lines: the
// raster engine fills a rectangle far faster than it strokes one, and
// three frames are stroked in the window's first paint.
void outline(QPainter& painter, const QRect& box, const QColor& color)
{
    const int w = box.width() + 1;
    const int h = box.height() + 1;
    painter.fillRect(box.left(), box.top(), w, 1, color);
    painter.fillRect(box.left(), box.top() + box.height(), w, 1, color);
    painter.fillRect(box.left(), box.top(), 1, h, color);
    painter.fillRect(box.left() + box.width(), box.top(), 1, h, color);
}
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
    outline(painter, box, palette().color(QPalette::Dark));
    outline(painter, box.translated(1, 1), palette().color(QPalette::Light));

    if (!m_caption.isEmpty()) {
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, m_caption);
    }
}

} // namespace ovex
