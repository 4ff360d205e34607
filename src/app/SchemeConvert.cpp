#include "app/SchemeConvert.h"

#include "platform/PackedColor.h"
#include "schemes/SchemeFile.h"
#include "schemes/SchemeText.h"
#include "slots/MRW_Color.h"
#include "theme/SaveTheme.h"
#include "theme/ThemeKeys.h"

namespace ovex {

namespace {

// A name as long as a file can make it stays readable on one line.
constexpr qsizetype MaxNameShown = 100;

} // namespace

QStringList SchemeThemeLines(const SchemeTheme& theme)
{
    QStringList lines{QString::fromLatin1(NameKey) + theme.name};
    for (int slot = 0; slot < ColorSlotCount; ++slot)
        lines << QString::fromLatin1(SlotTable[slot].key) + Color_ToText(QColorToPacked(theme.colors[slot]));
    return lines;
}

QString SchemeThemeFileName(const QString& scheme)
{
    return SchemeBaseName(scheme) + QStringLiteral(".theme");
}

BatchOutcome ConvertScheme(const QString& scheme, const QString& target, Overwrite overwrite)
{
    const SchemeReading reading = ReadSchemeFile(scheme);
    if (!reading.scheme)
        return BatchRefused(scheme, reading.error);
    const SchemeTheme theme = MapScheme(*reading.scheme);
    const std::optional<QByteArray> bytes = ThemeFileBytes(SchemeThemeLines(theme));
    if (!bytes)
        return BatchRefused(scheme, QStringLiteral("the theme holds characters a theme file cannot hold"));
    if (const std::optional<QString> failure = WriteOutputFile(target, *bytes, overwrite))
        return BatchRefused(scheme, *failure);

    const qsizetype moved = theme.adjusted.size();
    QString details = QStringLiteral("%1 %2 adjusted for readability")
                          .arg(moved)
                          .arg(moved == 1 ? QStringLiteral("colour") : QStringLiteral("colours"));
    const QString& given = reading.scheme->givenName;
    if (!given.isEmpty() && given != theme.name)
        details += QStringLiteral("; name %1 written as %2").arg(FoundText(given, MaxNameShown), FoundText(theme.name, MaxNameShown));
    return BatchWritten(scheme, target, details);
}

int RunSchemeConvert(const QString& program, const QStringList& schemes, const QString& outputDir, Overwrite overwrite,
                     QTextStream& out, QTextStream& err)
{
    return RunBatch({program, schemes, outputDir, overwrite, SchemeThemeFileName, ConvertScheme}, out, err);
}

} // namespace ovex
