#include "schemes/SchemeText.h"

namespace ovex {

namespace {

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

QString NotASchemeReason()
{
    return QStringLiteral("not a base16, base24 or KDE colour scheme");
}

std::optional<QColor> HexColor(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.size() != 6)
        return std::nullopt;
    QRgb rgb = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c.unicode());
        if (digit < 0)
            return std::nullopt;
        rgb = rgb * 16 + QRgb(digit);
    }
    return QColor(QRgb(rgb | 0xFF000000u));
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
