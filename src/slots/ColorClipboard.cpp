#include "slots/ColorClipboard.h"

#include <QColor>
#include <QMimeData>
#include <QRegularExpression>

namespace ovex {

QString ColorClipboardText(ColorValue color)
{
    return PackedToQColor(color).name(QColor::HexRgb);
}

std::unique_ptr<QMimeData> ColorMimeData(ColorValue color)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setText(ColorClipboardText(color));
    mime->setColorData(PackedToQColor(color));
    return mime;
}

std::optional<ColorValue> ParseColorText(const QString& text)
{
    // QColor alone would also take "#rrrgggbbb", "#aarrggbb" and names with
    // blanks inside, so each accepted form is matched here first.
    static const QRegularExpression hex(QStringLiteral("^#(?:[0-9A-Fa-f]{3}|[0-9A-Fa-f]{6})$"));
    static const QRegularExpression triple(QStringLiteral("^(\\d{1,3}),(\\d{1,3}),(\\d{1,3})$"));
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]+$"));

    const QString t = text.trimmed();
    if (const QRegularExpressionMatch m = triple.match(t); m.hasMatch()) {
        int rgb[3] = {};
        for (int k = 0; k < 3; ++k) {
            rgb[k] = m.captured(k + 1).toInt();
            if (rgb[k] > 255)
                return std::nullopt;
        }
        return QColorToPacked(QColor(rgb[0], rgb[1], rgb[2]));
    }
    if (!hex.match(t).hasMatch() && !name.match(t).hasMatch())
        return std::nullopt;
    const QColor color = QColor::fromString(t);
    // "transparent" is a colour to QColor but not an SVG colour name.
    if (!color.isValid() || color.alpha() != 255)
        return std::nullopt;
    return QColorToPacked(color);
}

std::optional<ColorValue> ColorFromMimeData(const QMimeData* mime)
{
    if (!mime)
        return std::nullopt;
    if (mime->hasColor()) {
        const QColor color = qvariant_cast<QColor>(mime->colorData());
        if (color.isValid())
            return QColorToPacked(color);
    }
    if (mime->hasText())
        return ParseColorText(mime->text());
    return std::nullopt;
}

} // namespace ovex
