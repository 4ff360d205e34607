#include "preview/GalleryTile.h"

#include "colour/PreviewScene.h"
#include "preview/Badge.h"
#include "preview/GalleryModel.h"
#include "preview/GalleryPictures.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace ovex {

namespace {

constexpr int Margin = 6;
const QColor GoodColor(0x2E, 0x7D, 0x32);

// A white tick on a green disc: every text reads well.
void paintTick(QPainter& painter, const QPoint& centre)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(GoodColor);
    painter.drawEllipse(QRect(centre - QPoint(7, 7), QSize(15, 15)));
    QPainterPath tick;
    tick.moveTo(centre + QPointF(-3.5, 0.5));
    tick.lineTo(centre + QPointF(-1, 3));
    tick.lineTo(centre + QPointF(4, -2.5));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    painter.restore();
}

} // namespace

GalleryTile::GalleryTile(const GalleryProxy& proxy, GalleryPictures& pictures, QObject* parent)
    : QStyledItemDelegate(parent), m_proxy(proxy), m_pictures(pictures)
{
}

QSize GalleryTile::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int line = option.fontMetrics.height();
    return m_pictures.Size() + QSize(2 * Margin, 2 * Margin + 2 * line + 8);
}

void GalleryTile::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const GalleryEntry& entry = m_proxy.Entry(index.row());
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.showDecorationSelected = true;   // the whole tile, not only its text
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The selection and focus, as the style draws them for any item.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const QRect inner = option.rect.adjusted(Margin, Margin, -Margin, -Margin);
    const QRect pictureRect(inner.topLeft(), m_pictures.Size());
    const QImage picture = m_pictures.Picture(entry);
    if (picture.isNull()) {
        // Its main colour until the picture comes.
        const QSizeF drawn = QSizeF(MockSize).scaled(pictureRect.size(), Qt::KeepAspectRatio);
        QRectF place(QPointF(), drawn);
        place.moveCenter(QRectF(pictureRect).center());
        painter->fillRect(place, entry.theme.Color(0));
    } else {
        painter->drawImage(pictureRect, picture);
    }

    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const int line = option.fontMetrics.height();
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    const QRect nameRect(inner.left(), pictureRect.bottom() + 4, inner.width(), line);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(bold).elidedText(entry.Title(), Qt::ElideRight, nameRect.width()));
    painter->setFont(option.font);

    const QRect gradeRect(inner.left(), nameRect.bottom() + 4, inner.width(), std::max(line, 16));
    const QPoint mark(gradeRect.left() + 8, gradeRect.center().y());
    if (entry.grade.ReadsWell())
        paintTick(*painter, mark);
    else
        PaintBadge(*painter, mark, entry.grade.failing);
    // The vision mark whole; the grade's words cut where the tile is narrow.
    const QRect textRect = gradeRect.adjusted(20, 0, 0, 0);
    const QString vision = entry.grade.HoldsForDeficiencies() ? QStringLiteral("colour-blind \u2713")
                                                              : QStringLiteral("colour-blind \u2717");
    const int visionWidth = option.fontMetrics.horizontalAdvance(vision);
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, vision);
    painter->drawText(textRect.adjusted(0, 0, -visionWidth - 6, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(GradeShortText(entry.grade), Qt::ElideRight,
                                                    textRect.width() - visionWidth - 6));
    painter->restore();
}

} // namespace ovex
