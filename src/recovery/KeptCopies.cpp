#include "recovery/KeptCopies.h"

#include "recovery/RecoveryFolder.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>

namespace ovex {

namespace {

constexpr qsizetype DigestLength = 32;
constexpr qsizetype MaxEntryName = 80;

} // namespace

QString KeptCopyName(const ThemeState& state)
{
    return StateDigest(state) + CopySuffix;
}

bool IsKeptCopyName(const QString& name)
{
    if (name.size() != DigestLength + CopySuffix.size() || !name.endsWith(CopySuffix))
        return false;
    return std::all_of(name.begin(), name.begin() + DigestLength,
                       [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
}

QList<KeptCopy> ListKeptCopies(const QString& folder)
{
    const QDir dir(folder);
    QList<KeptCopy> kept;
    QList<ThemeState> worked;  // what live copies hold
    const QStringList names = dir.entryList({QLatin1Char('*') + CopySuffix},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        auto read = ReadRecoveryCopy(dir.filePath(name));
        RecoveryCopy* copy = std::get_if<RecoveryCopy>(&read);
        if (!copy)
            continue;
        if (IsKeptCopyName(name))
            kept.append({dir.filePath(name), std::move(*copy)});
        else
            worked.append(std::move(copy->state));
    }
    std::stable_sort(kept.begin(), kept.end(), [](const KeptCopy& a, const KeptCopy& b) {
        return a.copy.changedAtMs > b.copy.changedAtMs;
    });
    QList<KeptCopy> listed;
    for (KeptCopy& entry : kept) {
        const auto same = [&entry](const KeptCopy& other) { return other.copy.state == entry.copy.state; };
        if (!worked.contains(entry.copy.state) && std::none_of(listed.begin(), listed.end(), same))
            listed.append(std::move(entry));
    }
    return listed;
}

QString EntryName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("(no name)");
    QString shown = name.left(MaxEntryName + 1);
    if (shown.size() > MaxEntryName) {
        shown.truncate(shown[MaxEntryName - 1].isHighSurrogate() ? MaxEntryName - 1 : MaxEntryName);
        shown += u'\u2026';
    }
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return shown;
}

QString EntryWhen(qint64 changedAtMs, const QDateTime& now)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(changedAtMs, now.timeZone());
    if (!when.isValid())
        return QStringLiteral("at an unknown time");
    const QLocale locale;
    const qint64 days = when.date().daysTo(now.date());
    if (days != 0 && days != 1)
        return locale.toString(when.date(), QLocale::ShortFormat);
    // Minutes are enough; some locales' short format still has seconds.
    static const QRegularExpression seconds(QStringLiteral("[^hHm]?s+"));
    const QString time = locale.toString(when.time(), locale.timeFormat(QLocale::ShortFormat).remove(seconds));
    return (days == 0 ? QStringLiteral("Today %1") : QStringLiteral("Yesterday %1")).arg(time);
}

QString EndingText(CopyEnding ending)
{
    switch (ending) {
    case CopyEnding::Open: return QStringLiteral("editor ended unexpectedly");
    case CopyEnding::Closed: return QStringLiteral("closed");
    case CopyEnding::ReplacedByNew: return QStringLiteral("replaced by New");
    case CopyEnding::ReplacedByImport: return QStringLiteral("replaced by Import");
    case CopyEnding::ReplacedByRecovered: return QStringLiteral("replaced by a recovered theme");
    case CopyEnding::Unrecorded: break;
    }
    return QStringLiteral("left by an earlier version");
}

} // namespace ovex
