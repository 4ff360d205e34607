#include "schemes/SchemeText.h"

#include "fileio/Cp1252.h"

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

QString FoundText(const QString& text, qsizetype shown)
{
    return u'"' + (text.size() > shown ? text.left(shown) + QStringLiteral("...") : text) + u'"';
}

QString NotAColourReason(const QString& label, const QString& found, const char* expected)
{
    return QStringLiteral("%1 is not a colour: found %2, expected %3").arg(label, found, QString::fromLatin1(expected));
}

namespace {

QString cleanName(const QString& raw)
{
    QString name;
    name.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        const bool pair = c.isHighSurrogate() && i + 1 < raw.size() && raw[i + 1].isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, raw[++i]) : c.unicode();
        const bool space = code == u' ' || QChar::category(code) == QChar::Other_Control;
        if (space) {
            if (!name.isEmpty() && !name.endsWith(u' '))
                name += u' ';
        } else if (Cp1252_Holds(code)) {
            name += c;
        }
    }
    if (name.endsWith(u' '))
        name.chop(1);
    return name;
}

} // namespace

QString SchemeName(const QString& raw, const QString& fallback)
{
    for (const QString& name : {cleanName(raw), cleanName(fallback)}) {
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("Untitled");
}

} // namespace ovex
