#include "schemes/SchemeText.h"

namespace ovex {

QString NotASchemeReason()
{
    return QStringLiteral("not a base16, base24 or KDE colour scheme");
}

std::optional<QColor> HexColor(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    // Six digits exactly: QColor would also take three, nine or twelve.
    if (text.size() != 6)
        return std::nullopt;
    const QColor color = QColor::fromString(u'#' + text.toString());
    return color.isValid() ? std::optional(color) : std::nullopt;
}

QString SchemeName(const QString& raw, const QString& fallback)
{
    QString name = raw;
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    name = name.trimmed();
    return name.isEmpty() ? fallback : name;
}

} // namespace ovex
