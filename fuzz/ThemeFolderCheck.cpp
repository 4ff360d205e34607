// A folder as the gallery reads it, made from the input: theme files of any
// content, names Import refuses, other files, FIFOs, folders named like
// themes and links to any of them, or to nothing.
#include "FolderChecks.h"

#include "colour/GalleryEntry.h"
#include "colour/ThemeCompare.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

namespace ovex::fuzz {

namespace {

enum Kind { Theme, UpperCase, Text, Fifo, Folder, Link, KindCount };
constexpr qsizetype MaxRecords = 12;

struct Record
{
    Kind kind;
    QString name;
    QByteArray content;
    qsizetype target = -1;   // Link: the record it points to, -1 for nothing
};

// Records are separated by 0xFF: a kind byte, a name byte (bit 0 a second
// form of the name, bit 1 hidden), then the content; a link's first content
// byte picks the record it points to, itself included.
QList<Record> records(QByteArrayView bytes)
{
    QList<Record> list;
    for (const QByteArray& part : bytes.toByteArray().split('\xFF')) {
        if (list.size() == MaxRecords)
            break;
        const auto at = [&](qsizetype i) { return i < part.size() ? uchar(part[i]) : 0u; };
        const Kind kind = Kind(at(0) % KindCount);
        QString name = QStringLiteral("%1f%2%3").arg(at(1) & 2 ? "." : "").arg(list.size()).arg(at(1) & 1 ? "-x" : "");
        name += kind == UpperCase ? (at(1) & 1 ? ".THEME" : ".Theme") : kind == Text ? ".txt" : ".theme";
        list.append({kind, name, part.size() > 2 ? part.sliced(2) : QByteArray()});
    }
    for (Record& r : list) {
        if (r.kind == Link && !r.content.isEmpty())
            r.target = uchar(r.content[0]) % (list.size() + 1);
        if (r.target == list.size())
            r.target = -1;
    }
    return list;
}

bool make(const QString& dir, const QList<Record>& list)
{
    for (const Record& r : list) {
        const QString path = dir + u'/' + r.name;
        bool made = false;
        switch (r.kind) {
        case Fifo:
            made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
            break;
        case Folder:
            made = QDir(dir).mkdir(r.name);
            break;
        case Link:
            made = QFile::link(r.target < 0 ? QStringLiteral("nothing") : list[r.target].name, path);
            break;
        default: {
            QFile file(path);
            made = file.open(QIODevice::WriteOnly) && file.write(r.content) == r.content.size();
        }
        }
        if (!made)
            return false;
    }
    return true;
}

// Whether the gallery lists the record: anything named like a theme that is
// not a folder, nor a link that leads to one.
bool listed(const QList<Record>& list, const Record& r)
{
    if (r.kind == Text)
        return false;
    const Record* end = &r;
    for (qsizetype step = 0; end->kind == Link && end->target >= 0 && step < list.size(); ++step)
        end = &list[end->target];
    return end->kind != Folder;
}

QList<int> allSettings()
{
    QList<int> all{NameField};
    for (int k = 0; k < SlotCount; ++k)
        all << k;
    return all;
}

bool samePicture(const PreviewTheme& a, const PreviewTheme& b)
{
    return a.name == b.name && a.colors == b.colors && a.pointSizes == b.pointSizes && a.inTheme == b.inTheme;
}

Failure checkEntry(const GalleryEntry& entry, const Record& r, const FileSystemObject& fs)
{
    const ThemeFileReading reading = ReadThemeFile(fs, entry.file.path);
    if (entry.status != reading.status)
        return QStringLiteral("%1 read as %2, Import reads %3").arg(r.name).arg(int(entry.status)).arg(int(reading.status));
    if ((r.kind == Fifo && entry.status != ThemeFileStatus::Missing)
        || (r.kind == UpperCase && entry.status != ThemeFileStatus::NotTheme))
        return QStringLiteral("%1 gave status %2").arg(r.name).arg(int(entry.status));
    if (RefusalReason(entry.status).isEmpty() != entry.Read())
        return QStringLiteral("%1 has no reason for status %2").arg(r.name).arg(int(entry.status));
    if (!entry.Read())
        return {};
    if (!samePicture(entry.theme, PreviewThemeOf(reading.state)))
        return QStringLiteral("%1 is drawn otherwise than the preview draws it").arg(r.name);
    const ThemeGrade& grade = entry.grade;
    if (grade.failing != Warnings(entry.theme.colors).size() || !std::is_sorted(grade.failingWith.begin(), grade.failingWith.end())
        || std::adjacent_find(grade.failingWith.begin(), grade.failingWith.end()) != grade.failingWith.end()
        || std::any_of(grade.failingWith.begin(), grade.failingWith.end(), [](VisionType v) {
               return std::find(Deficiencies.begin(), Deficiencies.end(), v) == Deficiencies.end();
           }))
        return QStringLiteral("%1 is graded wrongly").arg(r.name);
    if (!(entry.lightness >= 0 && entry.lightness <= 1))
        return QStringLiteral("%1 has the lightness %2").arg(r.name).arg(entry.lightness);
    if (!MatchesFilter(entry, {}) || !MatchesFilter(entry, entry.file.fileName.toUpper()) || !MatchesFilter(entry, entry.theme.name))
        return QStringLiteral("the filter misses %1").arg(r.name);
    return {};
}

Failure checkOrders(const QList<GalleryEntry>& entries)
{
    for (const GalleryOrder order : GalleryOrders) {
        const auto less = [order](const GalleryEntry& a, const GalleryEntry& b) { return GalleryLess(a, b, order); };
        for (const GalleryEntry& a : entries) {
            for (const GalleryEntry& b : entries) {
                if (int(less(a, b)) + int(less(b, a)) != int(a.file.path != b.file.path))
                    return QStringLiteral("order %1 does not tell %2 and %3 apart").arg(int(order)).arg(a.file.fileName, b.file.fileName);
            }
        }
        QList<GalleryEntry> sorted = entries;
        std::sort(sorted.begin(), sorted.end(), less);
        for (qsizetype i = 0; i + 1 < sorted.size(); ++i) {
            for (qsizetype j = i + 1; j < sorted.size(); ++j) {
                if (less(sorted[j], sorted[i]))
                    return QStringLiteral("order %1 is not transitive").arg(int(order));
            }
        }
    }
    return {};
}

Failure checkCompare(const ThemeState& a, const ThemeState& b)
{
    if (!CompareThemes(a, a).isEmpty())
        return QStringLiteral("a theme differs from itself");
    const QList<SettingDifference> there = CompareThemes(a, b);
    const QList<SettingDifference> back = CompareThemes(b, a);
    if (there.size() != back.size())
        return QStringLiteral("%1 differences one way, %2 the other").arg(there.size()).arg(back.size());
    qsizetype next = 0;
    for (const int setting : allSettings()) {
        const bool differs = WrittenValue(a, setting) != WrittenValue(b, setting);
        const bool named = next < there.size() && there[next].setting == setting;
        if (differs != named)
            return QStringLiteral("setting %1 %2").arg(SettingName(setting), differs ? "is missing" : "is listed alike");
        if (!named)
            continue;
        const SettingDifference& d = there[next];
        const SettingDifference& e = back[next++];
        if (e.setting != setting || d.left != WrittenValue(a, setting) || d.right != WrittenValue(b, setting)
            || e.left != d.right || e.right != d.left || d.distance != e.distance)
            return QStringLiteral("setting %1 reads otherwise both ways").arg(SettingName(setting));
        if (d.distance.has_value() != (setting != NameField && !IsSizeSlot(setting))
            || (d.distance && !(std::isfinite(*d.distance) && *d.distance >= 0)))
            return QStringLiteral("setting %1 has a wrong distance").arg(SettingName(setting));
    }
    return {};
}

} // namespace

Failure CheckFolderReading(QByteArrayView bytes, const QString& workDir)
{
    const QString dir = workDir + QStringLiteral("/folder");
    QDir(dir).removeRecursively();
    const QList<Record> list = records(bytes);
    if (!QDir().mkpath(dir) || !make(dir, list))
        return QStringLiteral("cannot make the folder");

    const QList<ThemeFolderFile> files = ListThemeFolder(dir);
    QStringList expected;
    for (const Record& r : list)
        if (listed(list, r))
            expected << r.name;
    std::sort(expected.begin(), expected.end());
    QStringList names;
    for (const ThemeFolderFile& file : files) {
        names << file.fileName;
        if (file.path != dir + u'/' + file.fileName)
            return QStringLiteral("%1 is listed at %2").arg(file.fileName, file.path);
    }
    if (names != expected)
        return QStringLiteral("listed %1, not %2").arg(names.join(u' '), expected.join(u' '));

    const auto fs = IO_CreateFileSystem();
    QList<GalleryEntry> entries;
    QList<ThemeState> states;
    for (const ThemeFolderFile& file : files) {
        const Record& r = *std::find_if(list.begin(), list.end(), [&](const Record& r) { return r.name == file.fileName; });
        entries.append(ReadGalleryEntry(*fs, file));
        if (const Failure failure = checkEntry(entries.last(), r, *fs))
            return failure;
        if (entries.last().Read())
            states.append(ReadThemeFile(*fs, file.path).state);
    }
    if (const Failure failure = checkOrders(entries))
        return failure;
    for (qsizetype i = 0; i < states.size(); ++i) {
        for (qsizetype j = i + 1; j < states.size(); ++j) {
            if (const Failure failure = checkCompare(states[i], states[j]))
                return failure;
        }
    }
    return {};
}

} // namespace ovex::fuzz
