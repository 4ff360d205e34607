#include "app/AppStyle.h"

#include "app/DeferredIcon.h"

#include <QPointer>
#include <QStyleFactory>

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

} // namespace ovex
