#include "slots/ThemeText.h"

#include "fileio/Cp1252.h"

#include <QLineEdit>
#include <QToolTip>

#include <algorithm>
#include <memory>
#include <utility>

namespace ovex {

namespace {

constexpr qsizetype NamedInNote = 8;

bool isBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

// The code point at i and its length in UTF-16 units; a lone surrogate is
// one unit.
std::pair<char32_t, qsizetype> codePointAt(const QString& text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

bool needsCleaning(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isBreak(c.unicode()) || !Cp1252_Holds(c.unicode()); });
}

// The cleaned text; *pos, when given, moves with the character it stood before.
QString clean(const QString& text, int* pos, QStringList* leftOut)
{
    QString out;
    out.reserve(text.size());
    qsizetype mapped = -1;
    bool spacePending = false;
    for (qsizetype i = 0; i < text.size();) {
        const auto [c, length] = codePointAt(text, i);
        if (pos && mapped < 0 && *pos >= i && *pos < i + length)
            mapped = out.size() + (spacePending ? 1 : 0);
        const QString piece = text.mid(i, length);
        i += length;
        if (isBreak(c)) {
            spacePending = !out.isEmpty();
            continue;
        }
        if (!Cp1252_Holds(c)) {
            if (leftOut && !leftOut->contains(piece))
                leftOut->append(piece);
            continue;
        }
        if (spacePending)
            out += u' ';
        spacePending = false;
        out += piece;
    }
    if (pos)
        *pos = int(mapped < 0 ? out.size() : mapped);
    return out;
}

} // namespace

QString ThemeLineText(const QString& text, QStringList* leftOut)
{
    return needsCleaning(text) ? clean(text, nullptr, leftOut) : text;
}

QString LeftOutNote(const QStringList& characters)
{
    // Each with its number too: the font may have no picture for it either.
    QStringList shown;
    for (const QString& c : characters.first(std::min(characters.size(), NamedInNote))) {
        const char32_t code = codePointAt(c, 0).first;
        const QString number = QStringLiteral("U+%1").arg(QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
        const bool visible = QChar::isPrint(code) && QChar::category(code) != QChar::Mark_NonSpacing;
        shown << (visible ? QStringLiteral("%1 (%2)").arg(c, number) : number);
    }
    if (characters.size() > NamedInNote)
        shown << QStringLiteral("and %1 more").arg(characters.size() - NamedInNote);
    return QStringLiteral("Left out, as a theme file cannot hold %1: %2")
        .arg(characters.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"), shown.join(QStringLiteral(", ")));
}

QValidator::State ThemeTextFilter::validate(QString& input, int& pos) const
{
    if (!needsCleaning(input))
        return Acceptable;
    QStringList leftOut;
    input = clean(input, &pos, &leftOut);
    if (!leftOut.isEmpty())
        Q_EMIT LeftOut(leftOut);
    return Acceptable;
}

void KeepThemeText(QLineEdit* box)
{
    auto* filter = new ThemeTextFilter(box);
    box->setValidator(filter);
    // Set by a leaving out, so that the edit that left it out keeps the note.
    auto fresh = std::make_shared<bool>(false);
    QObject::connect(filter, &ThemeTextFilter::LeftOut, box, [box, fresh](const QStringList& characters) {
        const QString note = LeftOutNote(characters);
        box->setToolTip(note);
        box->setAccessibleDescription(note);
        if (box->isVisible())
            QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), note, box);
        *fresh = true;
    });
    QObject::connect(box, &QLineEdit::textEdited, box, [box, fresh] {
        if (std::exchange(*fresh, false) || box->toolTip().isEmpty())
            return;
        box->setToolTip(QString());
        box->setAccessibleDescription(QString());
    });
}

} // namespace ovex
