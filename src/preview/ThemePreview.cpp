#include "preview/ThemePreview.h"

#include "preview/Badge.h"
#include "theme/ThemeKeys.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace ovex {

namespace {

const QColor MarkColor(0xFF, 0xC4, 0x00);

QString caption(int slot) { return QString::fromLatin1(SlotTable[slot].caption); }

QString slotState(const PreviewTheme& theme, int slot)
{
    if (IsSizeSlot(slot)) {
        const QString size = QString::number(theme.PointSize(slot));
        return theme.inTheme[slot] ? QStringLiteral("%1 pt, from the theme").arg(size)
                                   : QStringLiteral("not in the theme: default %1 pt shown").arg(size);
    }
    if (!theme.inTheme[slot])
        return QStringLiteral("not in the theme: neutral default shown");
    const QColor c = theme.Color(slot);
    return QStringLiteral("%1,%2,%3, from the theme").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

ThemePreview::ThemePreview(Source source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source))
{
    setObjectName(QStringLiteral("ThemePreview"));
    setAccessibleName(QStringLiteral("Theme preview picture"));
    setAccessibleDescription(QStringLiteral("Point at the picture to hear which setting draws each part."));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Reached by Tab, so that a screen reader can read its description.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

QSize ThemePreview::sizeHint() const
{
    return MockSize;
}

void ThemePreview::Invalidate()
{
    // Once stale, a paint is already due (or the first one, when shown).
    if (m_stale)
        return;
    m_stale = true;
    m_seenStale = true;
    update();
}

void ThemePreview::SetVision(VisionType vision)
{
    if (vision == m_vision)
        return;
    m_vision = vision;
    m_seenStale = true;
    update();
}

void ThemePreview::refresh()
{
    if (m_stale) {
        m_theme = m_source();
        m_stale = false;
    }
    if (!m_seenStale)
        return;
    m_seen = SimulatedTheme(m_theme, m_vision);
    m_mock = BuildMock(m_seen);
    m_results = EvaluatePairs(m_seen.colors);
    m_warnings.clear();
    for (const PairResult& result : m_results) {
        if (result.IsWarning())
            m_warnings.append(result);
    }
    m_seenStale = false;
    Q_EMIT Refreshed();
}

const PreviewTheme& ThemePreview::Theme()
{
    refresh();
    return m_theme;
}

const Mock& ThemePreview::CurrentMock()
{
    refresh();
    return m_mock;
}

const std::array<PairResult, CheckedPairCount>& ThemePreview::Results()
{
    refresh();
    return m_results;
}

const QList<PairResult>& ThemePreview::Warnings()
{
    refresh();
    return m_warnings;
}

int ThemePreview::SlotAt(const QPoint& pos)
{
    refresh();
    const MockItem* item = m_mock.ItemAt(pos);
    return item ? item->slot : -1;
}

QString ThemePreview::ToolTipAt(const QPoint& pos)
{
    refresh();
    const MockItem* item = m_mock.ItemAt(pos);
    if (!item)
        return {};
    const int slot = item->slot;
    QString tip = caption(slot) + u'\n' + slotState(m_theme, slot);
    // Text shows two settings: its colour and its size.
    if (item->kind == MockItem::Kind::Text) {
        const int other = slot == item->fontSlot ? item->color : item->fontSlot;
        if (other >= 0)
            tip += QStringLiteral("\n\n%1\n%2").arg(caption(other), slotState(m_theme, other));
    }
    return tip;
}

bool ThemePreview::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void ThemePreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int slot = SlotAt(event->position().toPoint());
    if (slot >= 0)
        Q_EMIT SlotChosen(slot);
}

void ThemePreview::mouseMoveEvent(QMouseEvent* event)
{
    const QString tip = ToolTipAt(event->position().toPoint());
    setCursor(tip.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    // What a screen reader says of the picture: the part under the pointer.
    QString described = tip;
    described.replace(QStringLiteral("\n\n"), QStringLiteral("; ")).replace(u'\n', QStringLiteral(": "));
    if (!described.isEmpty() && described != accessibleDescription())
        setAccessibleDescription(described);
    QWidget::mouseMoveEvent(event);
}

void ThemePreview::paintEvent(QPaintEvent*)
{
    refresh();
    QPainter painter(this);
    PaintMock(painter, m_seen, m_mock, m_vision);
    paintMarks(painter);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

// Each pair that reads badly is outlined in the mock in yellow and black,
// which shows on any background, and numbered as in the list.
void ThemePreview::paintMarks(QPainter& painter)
{
    const QRect inside = rect().adjusted(8, 8, -8, -8);
    for (qsizetype k = 0; k < m_warnings.size(); ++k) {
        const QRect place = m_mock.pairPlaces[m_warnings[k].pair].adjusted(-3, -3, 2, 2);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(MarkColor, 2));
        painter.drawRect(place);
        painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
        painter.drawRect(place);
        QPoint badge = place.topRight();
        badge.setX(std::clamp(badge.x(), inside.left(), inside.right()));
        badge.setY(std::clamp(badge.y(), inside.top(), inside.bottom()));
        PaintBadge(painter, badge, int(k) + 1);
    }
}

} // namespace ovex
