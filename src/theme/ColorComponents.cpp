#include "theme/ColorComponents.h"

#include <algorithm>

namespace ovex {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads one component in front of the first comma into target, then cuts
// the entry past that comma. Without a comma nothing is read or cut.
void readAndCut(QString& entry, qint16& target)
{
    const qsizetype comma = entry.indexOf(u',');
    if (comma < 0)
        return;
    if (const auto value = ReadComponent(QStringView(entry).left(comma)))
        target = *value;
    entry.remove(0, comma + 1);
}

int clampChannel(qint16 component) { return std::clamp<int>(component, 0, 255); }

} // namespace

std::optional<qint16> ReadComponent(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == u'+' || text[begin] == u'-')) {
        negative = text[begin] == u'-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    qint32 magnitude = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > 32768)
            return std::nullopt;
    }
    const qint32 value = negative ? -magnitude : magnitude;
    if (value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

QString ParseColorEntry(QString entry, ColorComponents& components)
{
    readAndCut(entry, components.red);
    readAndCut(entry, components.green);
    readAndCut(entry, components.blue);
    return entry;
}

ColorValue ComposeColor(const ColorComponents& c)
{
    return clampChannel(c.red) + 256 * clampChannel(c.green) + 65536 * clampChannel(c.blue);
}

} // namespace ovex
