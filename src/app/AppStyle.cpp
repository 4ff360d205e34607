#include "app/AppStyle.h"

#include "app/DeferredIcon.h"

#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include <memory>

namespace ovex {

AppStyle::AppStyle(QStyle* fusion) : QProxyStyle(fusion) {}

QIcon AppStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const
{
    const bool extensionArrow = which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton;
    // Without an option the arrow depends on the layout direction alone,
    // which the style reads when the icon is built.
    if (!extensionArrow || option)
        return QProxyStyle::standardIcon(which, option, widget);
    const QPointer<QStyle> base = baseStyle();
    return DeferredIcon([base, name = base->name(), which] {
        if (base)
            return base->standardIcon(which);
        // The application's style was replaced before the arrow was drawn.
        const std::unique_ptr<QStyle> same(QStyleFactory::create(name));
        return same ? same->standardIcon(which) : QIcon();
    });
}

void AppStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    // Fusion paints every check box's square anew, gradient and all; the
    // window shows 32 of them alike, so each look is painted once and kept.
    const auto* box = qstyleoption_cast<const QStyleOptionButton*>(option);
    const qreal ratio = painter && painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    // Only at the window's own scale: at other scales Fusion's half-pixel
    // lines cover pixels in part, and a kept picture blends them otherwise.
    if (element != PE_IndicatorCheckBox || !box || !painter || ratio != 1.0)
        return QProxyStyle::drawPrimitive(element, option, painter, widget);
    const QString key = QStringLiteral("ovex-check-%1-%2x%3-%4")
                            .arg(uint(option->state))
                            .arg(option->rect.width())
                            .arg(option->rect.height())
                            .arg(option->palette.cacheKey());
    QPixmap square;
    if (!QPixmapCache::find(key, &square)) {
        square = QPixmap(option->rect.size());
        square.fill(Qt::transparent);
        QPainter inside(&square);
        QStyleOptionButton moved(*box);
        moved.rect.moveTo(0, 0);
        QProxyStyle::drawPrimitive(element, &moved, &inside, widget);
        inside.end();
        QPixmapCache::insert(key, square);
    }
    painter->drawPixmap(option->rect.topLeft(), square);
}

} // namespace ovex
