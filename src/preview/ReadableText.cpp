#include "preview/ReadableText.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace ovex {

ReadableText::ReadableText(const QString& name, QWidget* parent) : QLabel(parent)
{
    setObjectName(name);
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // A label takes the focus only from a click unless told otherwise.
    setFocusPolicy(Qt::StrongFocus);
    // Room for the focus frame around the text.
    setMargin(2);
}

void ReadableText::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

} // namespace ovex
