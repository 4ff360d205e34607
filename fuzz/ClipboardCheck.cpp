// What Paste and a colour drop read from the clipboard or a drag, against a
// reading of the accepted colour texts written out by hand.
#include "FuzzChecks.h"

#include "slots/ColorClipboard.h"

#include <QColor>
#include <QMimeData>

namespace ovex::fuzz {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

ColorValue packed(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// "#rgb" or "#rrggbb".
std::optional<ColorValue> referenceHex(const QString& t)
{
    if ((t.size() != 4 && t.size() != 7) || t[0] != u'#')
        return std::nullopt;
    int v[6] = {};
    for (qsizetype i = 1; i < t.size(); ++i) {
        v[i - 1] = hexDigit(t[i]);
        if (v[i - 1] < 0)
            return std::nullopt;
    }
    if (t.size() == 4)
        return packed(v[0] * 17, v[1] * 17, v[2] * 17);
    return packed(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

// "r,g,b": three runs of one to three ASCII digits, each at most 255.
std::optional<ColorValue> referenceTriple(const QString& t)
{
    const QStringList parts = t.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    int v[3] = {};
    for (int k = 0; k < 3; ++k) {
        if (parts[k].isEmpty() || parts[k].size() > 3)
            return std::nullopt;
        for (const QChar c : parts[k]) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            v[k] = v[k] * 10 + (c.unicode() - u'0');
        }
        if (v[k] > 255)
            return std::nullopt;
    }
    return packed(v[0], v[1], v[2]);
}

// A name of ASCII letters that QColor knows as an opaque colour.
std::optional<ColorValue> referenceName(const QString& t)
{
    if (t.isEmpty())
        return std::nullopt;
    for (const QChar c : t) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return std::nullopt;
    }
    if (!QColor::isValidColorName(t))
        return std::nullopt;
    const QColor c = QColor::fromString(t);
    if (c.alpha() != 255)
        return std::nullopt;
    return packed(c.red(), c.green(), c.blue());
}

std::optional<ColorValue> referenceText(const QString& text)
{
    const QString t = text.trimmed();
    if (auto v = referenceHex(t))
        return v;
    if (auto v = referenceTriple(t))
        return v;
    return referenceName(t);
}

QString describe(const std::optional<ColorValue>& v)
{
    return v ? QStringLiteral("0x%1").arg(*v, 6, 16, QLatin1Char('0')) : QStringLiteral("nothing");
}

// The colour data an input puts on the mime data.
enum class ColourData { None, Color, RawBytes, Text };
// How an input gives its text.
enum class TextForm { None, Utf8, PlainBytes, Utf16 };

std::uint16_t word(QByteArrayView b, qsizetype at)
{
    const auto byte = [&](qsizetype k) { return k < b.size() ? static_cast<unsigned char>(b[k]) : 0u; };
    return static_cast<std::uint16_t>(byte(at) | (byte(at + 1) << 8));
}

// A QColor of any colour model, valid or not, from eight bytes and a model number.
QColor colorFrom(QByteArrayView b, int model)
{
    const QColor c = QColor::fromRgba64(word(b, 0), word(b, 2), word(b, 4), word(b, 6));
    switch (model) {
    case 0: return c;
    case 1: return c.toHsv();
    case 2: return c.toCmyk();
    case 3: return c.toHsl();
    case 4: return QColor::fromRgbF(word(b, 0) / 256.0f - 64, word(b, 2) / 256.0f - 64, word(b, 4) / 256.0f - 64);
    default: return QColor();
    }
}

} // namespace

// Byte 0: bits 0-1 the colour data, bits 2-3 the text form, bits 4-6 the
// colour's model; byte 1: how many of the rest belong to the colour data; the
// text takes what follows.
Failure CheckClipboard(QByteArrayView bytes)
{
    const auto flags = bytes.isEmpty() ? 0u : static_cast<unsigned char>(bytes[0]);
    const auto colourData = ColourData(flags & 3);
    const auto textForm = TextForm((flags >> 2) & 3);
    const int model = int((flags >> 4) & 7);
    const QByteArrayView rest = bytes.size() > 2 ? bytes.sliced(2) : QByteArrayView();
    const qsizetype split = std::min<qsizetype>(bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0, rest.size());
    const QByteArrayView colourBytes = rest.first(split);
    const QByteArrayView textBytes = rest.sliced(split);

    QMimeData mime;
    QColor given;
    switch (colourData) {
    case ColourData::None: break;
    case ColourData::Color:
        given = colorFrom(colourBytes, model);
        mime.setColorData(given);
        break;
    case ColourData::RawBytes: mime.setData(QStringLiteral("application/x-color"), colourBytes.toByteArray()); break;
    case ColourData::Text: mime.setColorData(QString::fromUtf8(colourBytes)); break;
    }
    switch (textForm) {
    case TextForm::None: break;
    case TextForm::Utf8: mime.setText(QString::fromUtf8(textBytes)); break;
    case TextForm::PlainBytes: mime.setData(QStringLiteral("text/plain"), textBytes.toByteArray()); break;
    case TextForm::Utf16:
        mime.setText(QString(reinterpret_cast<const QChar*>(textBytes.data()), textBytes.size() / 2));
        break;
    }

    const std::optional<ColorValue> got = ColorFromMimeData(&mime);
    if (got && (*got < 0 || *got > 0xFFFFFF))
        return QStringLiteral("a pasted colour is %1, outside 0..0xFFFFFF").arg(*got);

    // A valid colour given as colour data wins over any text.
    std::optional<ColorValue> expected;
    if (given.isValid()) {
        const QColor rgb = given.toRgb();
        expected = packed(rgb.red(), rgb.green(), rgb.blue());
    } else if (mime.hasColor() && qvariant_cast<QColor>(mime.colorData()).isValid()) {
        expected = got;   // colour data in another form: whatever QColor made of it
    } else if (mime.hasText()) {
        expected = referenceText(mime.text());
    }
    if (got != expected)
        return QStringLiteral("pasted %1, not %2 (text \"%3\")")
            .arg(describe(got), describe(expected), mime.text().left(60));

    if (!got)
        return {};
    // What Copy Colour puts on the clipboard pastes back as the same colour.
    const QString text = ColorClipboardText(*got);
    if (text.size() != 7 || text != text.toLower() || referenceHex(text) != got)
        return QStringLiteral("the colour %1 is copied as \"%2\"").arg(describe(got), text);
    if (ParseColorText(text) != got || ColorFromMimeData(ColorMimeData(*got).get()) != got)
        return QStringLiteral("the copied colour %1 does not paste back").arg(describe(got));
    return {};
}

} // namespace ovex::fuzz
