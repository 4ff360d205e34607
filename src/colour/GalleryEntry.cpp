#include "colour/GalleryEntry.h"

#include "colour/PreviewScene.h"

#include <algorithm>

namespace ovex {

namespace {

// "protanopia, deuteranopia and tritanopia"
QString visionList(const QList<VisionType>& visions, const QString& last)
{
    QStringList names;
    for (const VisionType vision : visions)
        names << VisionTypeName(vision).toLower();
    const QString tail = names.takeLast();
    return names.isEmpty() ? tail : QStringLiteral("%1 %2 %3").arg(names.join(QStringLiteral(", ")), last, tail);
}

int compareNames(const GalleryEntry& a, const GalleryEntry& b)
{
    if (const int c = QString::compare(a.Title(), b.Title(), Qt::CaseInsensitive))
        return c;
    if (const int c = QString::compare(a.Title(), b.Title()))
        return c;
    return QString::compare(a.file.path, b.file.path);
}

// How much of the mock each colour slot's surfaces show, at the default
// sizes: the surface on top at each point of a grid, the window system's own
// parts left out. Laid out once, as every theme's surfaces lie nearly alike.
const std::array<double, ColorSlotCount>& surfaceShares()
{
    static const std::array<double, ColorSlotCount> shares = [] {
        constexpr int Step = 10;
        std::array<double, ColorSlotCount> counts{};
        const Mock mock = BuildMock(DefaultPreviewTheme());
        double total = 0;
        for (int y = Step / 2; y < mock.size.height(); y += Step) {
            for (int x = Step / 2; x < mock.size.width(); x += Step) {
                const auto top = std::find_if(mock.items.crbegin(), mock.items.crend(), [&](const MockItem& item) {
                    return item.kind == MockItem::Kind::Fill && item.rect.contains(x, y);
                });
                if (top != mock.items.crend() && top->color >= 0) {
                    counts[std::size_t(top->color)] += 1;
                    total += 1;
                }
            }
        }
        for (double& count : counts)
            count /= std::max(1.0, total);
        return counts;
    }();
    return shares;
}

// How light the picture looks, 0 (black) to 1 (white): the OKLab lightness of
// the mock's surfaces, each counted by the area it shows at the default sizes.
double themeLightness(const PreviewTheme& theme)
{
    double lightness = 0;
    const std::array<double, ColorSlotCount>& shares = surfaceShares();
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        if (shares[slot] > 0)
            lightness += shares[slot] * ToOkLab(theme.Color(slot)).L;
    }
    return lightness;
}

} // namespace

ThemeGrade GradeTheme(const SlotColors& colors)
{
    ThemeGrade grade;
    const auto normal = EvaluatePairs(colors);
    grade.failing = int(std::count_if(normal.begin(), normal.end(), [](const PairResult& r) { return r.IsWarning(); }));
    // A deficiency counts where a pair fails for it that reads for normal vision.
    for (const VisionType vision : Deficiencies) {
        const auto seen = EvaluatePairs(colors, vision);
        const bool fails = std::any_of(seen.begin(), seen.end(), [&](const PairResult& r) {
            return r.IsWarning() && !normal[r.pair].IsWarning();
        });
        if (fails)
            grade.failingWith.append(vision);
    }
    return grade;
}

QString GradeShortText(const ThemeGrade& grade)
{
    if (grade.ReadsWell())
        return QStringLiteral("Reads well");
    return grade.failing == 1 ? QStringLiteral("1 pair fails") : QStringLiteral("%1 pairs fail").arg(grade.failing);
}

QString GradeDescription(const ThemeGrade& grade)
{
    const QList<VisionType> all(Deficiencies.begin(), Deficiencies.end());
    if (grade.ReadsWell()) {
        return grade.HoldsForDeficiencies()
            ? QStringLiteral("every text reads well, also with %1").arg(visionList(all, QStringLiteral("and")))
            : QStringLiteral("every text reads well, but not with %1").arg(visionList(grade.failingWith, QStringLiteral("or")));
    }
    const QString fail = GradeShortText(grade);
    return grade.HoldsForDeficiencies()
        ? QStringLiteral("%1, and no more with %2").arg(fail, visionList(all, QStringLiteral("or")))
        : QStringLiteral("%1, and more with %2").arg(fail, visionList(grade.failingWith, QStringLiteral("or")));
}

GalleryEntry ReadGalleryEntry(const FileSystemObject& fs, const ThemeFolderFile& file)
{
    GalleryEntry entry;
    entry.file = file;
    const ThemeFileReading reading = ReadThemeFile(fs, file.path);
    entry.status = reading.status;
    if (!entry.Read())
        return entry;
    entry.theme = PreviewThemeOf(reading.state);
    entry.grade = GradeTheme(entry.theme.colors);
    entry.lightness = themeLightness(entry.theme);
    return entry;
}

bool MatchesFilter(const GalleryEntry& entry, const QString& text)
{
    const QString wanted = text.trimmed();
    return entry.theme.name.contains(wanted, Qt::CaseInsensitive) || entry.file.fileName.contains(wanted, Qt::CaseInsensitive);
}

QString GalleryOrderName(GalleryOrder order)
{
    switch (order) {
    case GalleryOrder::Name:
        return QStringLiteral("Name");
    case GalleryOrder::LightToDark:
        return QStringLiteral("Light to dark");
    case GalleryOrder::Readability:
        return QStringLiteral("Readability");
    }
    Q_UNREACHABLE();
}

bool GalleryLess(const GalleryEntry& a, const GalleryEntry& b, GalleryOrder order)
{
    if (order == GalleryOrder::LightToDark && a.lightness != b.lightness)
        return a.lightness > b.lightness;
    if (order == GalleryOrder::Readability) {
        if (a.grade.failing != b.grade.failing)
            return a.grade.failing < b.grade.failing;
        if (a.grade.failingWith.size() != b.grade.failingWith.size())
            return a.grade.failingWith.size() < b.grade.failingWith.size();
    }
    return compareNames(a, b) < 0;
}

} // namespace ovex
