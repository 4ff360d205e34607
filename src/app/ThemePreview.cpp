#include "app/ThemePreview.h"

#include "app/AppSetup.h"
#include "theme/ThemeKeys.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace ovex {

namespace {

constexpr int PanelGap = 10;
constexpr int WarningRows = 4;   // two columns of four: room for every pair
constexpr int NoteLines = 4;
const QColor MarkColor(0xFF, 0xC4, 0x00);
const QColor BadgeColor(0xC6, 0x28, 0x28);

int lineHeight() { return QFontMetrics(UiFont(false)).height() + 4; }

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

// A numbered badge centred on centre.
void paintBadge(QPainter& painter, const QPoint& centre, int number)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect circle(centre - QPoint(7, 7), QSize(15, 15));
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(BadgeColor);
    painter.drawEllipse(circle);
    QFont font = UiFont(true);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(circle, Qt::AlignCenter, QString::number(number));
    painter.restore();
}

} // namespace

ThemePreview::ThemePreview(Source source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source))
{
    setObjectName(QStringLiteral("ThemePreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFont(UiFont(false));
    setFixedSize(sizeHint());
}

QSize ThemePreview::sizeHint() const
{
    return {MockSize.width(), panelTop() + lineHeight() * (1 + WarningRows) + 6
                                  + QFontMetrics(UiFont(false)).lineSpacing() * NoteLines};
}

void ThemePreview::Invalidate()
{
    // Once stale, a paint is already due (or the first one, when shown).
    if (m_stale)
        return;
    m_stale = true;
    update();
}

void ThemePreview::refresh()
{
    if (!m_stale)
        return;
    m_theme = m_source();
    m_mock = BuildMock(m_theme);
    m_warnings = ContrastWarnings(m_theme.colors);
    m_stale = false;
    ++m_readings;
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

const QList<ContrastWarning>& ThemePreview::Warnings()
{
    refresh();
    return m_warnings;
}

int ThemePreview::panelTop() const { return MockSize.height() + PanelGap; }

QRect ThemePreview::WarningLine(qsizetype k) const
{
    const int columnWidth = MockSize.width() / 2;
    const int row = int(k) % WarningRows;
    const int column = int(k) / WarningRows;
    return {column * columnWidth, panelTop() + lineHeight() * (1 + row), columnWidth - 8, lineHeight()};
}

QRect ThemePreview::notesRect() const
{
    const int top = panelTop() + lineHeight() * (1 + WarningRows) + 6;
    return {0, top, MockSize.width(), height() - top};
}

int ThemePreview::warningAt(const QPoint& pos)
{
    refresh();
    for (qsizetype k = 0; k < m_warnings.size(); ++k) {
        if (WarningLine(k).contains(pos))
            return int(k);
    }
    return -1;
}

int ThemePreview::SlotAt(const QPoint& pos)
{
    refresh();
    if (const MockItem* item = m_mock.ItemAt(pos))
        return item->slot;
    const int k = warningAt(pos);
    return k >= 0 ? m_warnings[k].pair.text : -1;
}

QString ThemePreview::ToolTipAt(const QPoint& pos)
{
    refresh();
    if (const MockItem* item = m_mock.ItemAt(pos)) {
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
    const int k = warningAt(pos);
    if (k < 0)
        return {};
    const TextPair& pair = m_warnings[k].pair;
    return QStringLiteral("%1\non %2\n%3, at least 4.5:1 is needed to read it easily")
        .arg(caption(pair.text), caption(pair.background), ContrastText(m_warnings[k].ratio));
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
    const bool onSlot = SlotAt(event->position().toPoint()) >= 0;
    setCursor(onSlot ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void ThemePreview::paintEvent(QPaintEvent*)
{
    refresh();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    PaintMock(painter, m_theme, m_mock);
    paintMarks(painter);
    paintPanel(painter);
}

// Each hard-to-read pair is outlined in the mock in yellow and black, which
// shows on any background, and numbered as in the list.
void ThemePreview::paintMarks(QPainter& painter)
{
    const QRect inside = QRect(QPoint(0, 0), MockSize).adjusted(8, 8, -8, -8);
    for (qsizetype k = 0; k < m_warnings.size(); ++k) {
        const TextPair& pair = m_warnings[k].pair;
        const QRect place = m_mock.pairPlaces[CheckedPairIndex(pair.text, pair.background)].adjusted(-3, -3, 2, 2);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(MarkColor, 2));
        painter.drawRect(place);
        painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
        painter.drawRect(place);
        QPoint badge = place.topRight();
        badge.setX(std::clamp(badge.x(), inside.left(), inside.right()));
        badge.setY(std::clamp(badge.y(), inside.top(), inside.bottom()));
        paintBadge(painter, badge, int(k) + 1);
    }
}

void ThemePreview::paintPanel(QPainter& painter)
{
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(text);
    painter.setFont(UiFont(true));
    const QRect heading(0, panelTop(), width(), lineHeight());
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter,
                     m_warnings.isEmpty()
                         ? QStringLiteral("Readability: every text colour reads well on its background (4.5:1 or more).")
                         : QStringLiteral("Readability: text that is hard to read (below 4.5:1)"));
    painter.setFont(UiFont(false));
    for (qsizetype k = 0; k < m_warnings.size(); ++k) {
        const QRect line = WarningLine(k);
        paintBadge(painter, QPoint(line.left() + 8, line.center().y()), int(k) + 1);
        painter.setPen(text);
        const QString entry = QStringLiteral("%1: %2")
                                  .arg(QLatin1String(m_warnings[k].pair.what), ContrastText(m_warnings[k].ratio));
        painter.drawText(line.adjusted(20, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, entry);
    }
    painter.drawText(notesRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, DefaultsNote(m_theme));
}

} // namespace ovex
