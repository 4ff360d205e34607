#include "schemes/KdeScheme.h"

#include "schemes/SchemeSources.h"
#include "schemes/SchemeText.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace ovex {

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

// Calls line(text) for each line without its end, CR LF, LF or CR, trimmed.
template <typename Line>
void forEachLine(QByteArrayView bytes, Line line)
{
    if (bytes.startsWith(Utf8Bom))
        bytes = bytes.sliced(Utf8Bom.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (!line(bytes.sliced(start, end - start).trimmed()))
            return;
        start = end + 1;
    }
}

bool isComment(QByteArrayView line)
{
    return line.startsWith('#') || line.startsWith(';');
}

// "r,g,b" or "r,g,b,a", each 0..255; or "#rrggbb".
std::optional<QColor> kdeColor(QByteArrayView text)
{
    if (text.startsWith('#'))
        return HexColor(QString::fromLatin1(text));
    const QList<QByteArray> parts = text.toByteArray().split(',');
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> values{};
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QByteArray part = parts[k].trimmed();
        bool ok = false;
        const int value = part.toInt(&ok);
        // toInt takes a sign; only plain digits are a component.
        if (!ok || part.isEmpty() || !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })
            || value > 255)
            return std::nullopt;
        values[std::size_t(k)] = value;
    }
    return QColor(values[0], values[1], values[2]);
}

// KConfig's escapes in a value: \s (a space), \t, \n, \r and \\.
QString unescape(const QString& raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype k = 0; k < raw.size(); ++k) {
        const QChar c = raw[k];
        if (c != u'\\' || k + 1 == raw.size()) {
            text += c;
            continue;
        }
        const QChar next = raw[++k];
        text += next == u's' ? u' ' : next == u't' ? u'\t' : next == u'n' ? u'\n' : next == u'r' ? u'\r' : next;
    }
    return text;
}

} // namespace

bool LooksLikeIni(QByteArrayView bytes)
{
    bool ini = false;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (line.isEmpty() || isComment(line))
            return true;
        ini = line.startsWith('[') && line.endsWith(']');
        return false;
    });
    return ini;
}

SchemeReading ReadKdeScheme(QByteArrayView bytes, const QString& fallbackName)
{
    // The groups read, as their headers, and in each the keys the mapping
    // needs, as "Group/Key"; the last value of a key wins.
    const QStringList needed = NeededColors(SchemeFormat::Kde);
    std::array<QByteArray, KdeGroups.size()> headers;
    std::array<QList<QByteArray>, KdeGroups.size()> neededKeys;
    for (std::size_t g = 0; g < KdeGroups.size(); ++g) {
        headers[g] = QByteArray("[Colors:") + KdeGroups[g] + ']';
        for (const QString& key : needed) {
            if (key.section(u'/', 0, 0) == QLatin1String(KdeGroups[g]))
                neededKeys[g] << key.section(u'/', 1).toLatin1();
        }
    }
    QHash<QByteArray, QByteArray> values;
    std::array<bool, KdeGroups.size()> groupSeen{};
    bool anyColorsGroup = false;
    bool general = false;
    int group = -1;   // index in KdeGroups of the group being read, or -1
    QByteArray name;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (line.isEmpty() || isComment(line))
            return true;
        if (line.startsWith('[')) {
            anyColorsGroup = anyColorsGroup || line.startsWith("[Colors:");
            general = line == "[General]";
            const auto found = std::find(headers.begin(), headers.end(), line);
            group = found == headers.end() ? -1 : int(found - headers.begin());
            if (group >= 0)
                groupSeen[std::size_t(group)] = true;
            return true;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || (group < 0 && !general))
            return true;
        const QByteArrayView key = line.first(equals).trimmed();
        const QByteArrayView value = line.sliced(equals + 1).trimmed();
        if (general) {
            if (key == "Name")
                name = value.toByteArray();
            return true;
        }
        if (neededKeys[std::size_t(group)].contains(key))
            values.insert(QByteArray(KdeGroups[std::size_t(group)]) + '/' + key.toByteArray(), value.toByteArray());
        return true;
    });

    if (!anyColorsGroup)
        return SchemeRefused(NotASchemeReason());
    Scheme scheme;
    scheme.format = SchemeFormat::Kde;
    for (const QString& key : needed) {
        const QString groupName = key.section(u'/', 0, 0);
        const auto g = std::find_if(KdeGroups.begin(), KdeGroups.end(), [&](const char* n) { return groupName == QLatin1String(n); });
        if (!groupSeen[std::size_t(g - KdeGroups.begin())])
            return SchemeRefused(QStringLiteral("[Colors:%1] is missing").arg(groupName));
        const auto it = values.constFind(key.toLatin1());
        if (it == values.cend())
            return SchemeRefused(QStringLiteral("%1 is missing").arg(ColorLabel(key, SchemeFormat::Kde)));
        const std::optional<QColor> colour = kdeColor(*it);
        if (!colour) {
            return SchemeRefused(NotAColourReason(ColorLabel(key, SchemeFormat::Kde), FoundText(QString::fromUtf8(*it)),
                                                  KdeColourForm));
        }
        scheme.colors.insert(key, *colour);
    }
    scheme.givenName = unescape(QString::fromUtf8(name));
    scheme.name = SchemeName(scheme.givenName, fallbackName);
    return {scheme, {}};
}

} // namespace ovex
