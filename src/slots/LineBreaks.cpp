#include "slots/LineBreaks.h"

namespace ovex {

namespace {

bool isBreak(QChar c) { return c == u'\r' || c == u'\n'; }
bool hasBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

// The cleaned text; *pos, when given, moves with the character it stood before.
QString clean(const QString& text, int* pos)
{
    QString out;
    out.reserve(text.size());
    qsizetype mapped = -1;
    bool spacePending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (pos && i == *pos)
            mapped = out.size() + (spacePending ? 1 : 0);
        if (isBreak(text[i])) {
            spacePending = !out.isEmpty();
            continue;
        }
        if (spacePending)
            out += u' ';
        spacePending = false;
        out += text[i];
    }
    if (pos)
        *pos = int(mapped < 0 ? out.size() : mapped);
    return out;
}

} // namespace

QString WithoutLineBreaks(const QString& text)
{
    return hasBreak(text) ? clean(text, nullptr) : text;
}

QValidator::State LineBreakFilter::validate(QString& input, int& pos) const
{
    if (hasBreak(input))
        input = clean(input, &pos);
    return Acceptable;
}

} // namespace ovex
