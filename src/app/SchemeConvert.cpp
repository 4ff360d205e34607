#include "app/SchemeConvert.h"

#include "fileio/FileWriter.h"
#include "platform/PackedColor.h"
#include "schemes/SchemeFile.h"
#include "slots/MRW_Color.h"
#include "theme/SaveTheme.h"
#include "theme/ThemeKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace ovex {

QStringList SchemeThemeLines(const SchemeTheme& theme)
{
    QStringList lines{QString::fromLatin1(NameKey) + theme.name};
    for (int slot = 0; slot < ColorSlotCount; ++slot)
        lines << QString::fromLatin1(SlotTable[slot].key) + Color_ToText(QColorToPacked(theme.colors[slot]));
    return lines;
}

ConvertResult ConvertScheme(const QString& scheme, const QString& outputDir)
{
    const auto refused = [&](const QString& reason) { return ConvertResult{scheme + QStringLiteral(": error: ") + reason, false}; };
    const SchemeReading reading = ReadSchemeFile(scheme);
    if (!reading.scheme)
        return refused(reading.error);
    const SchemeTheme theme = MapScheme(*reading.scheme);

    const QString target = QDir(outputDir).filePath(SchemeBaseName(scheme) + QStringLiteral(".theme"));
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink())
        return refused(target + QStringLiteral(" already exists"));
    if (const auto failure = WriteWholeFile(target, ThemeFileBytes(SchemeThemeLines(theme)), ExistingFile::Keep))
        return refused(QStringLiteral("could not write %1: %2").arg(target, *failure));

    const qsizetype moved = theme.adjusted.size();
    return {QStringLiteral("%1: wrote %2 (%3 %4 adjusted for readability)")
                .arg(scheme, target)
                .arg(moved)
                .arg(moved == 1 ? QStringLiteral("colour") : QStringLiteral("colours")),
            true};
}

int RunSchemeConvert(const QStringList& schemes, const QString& outputDir, QTextStream& out)
{
    bool allWritten = true;
    for (const QString& scheme : schemes) {
        const ConvertResult result = ConvertScheme(scheme, outputDir);
        out << result.line << '\n';
        allWritten = allWritten && result.written;
    }
    out.flush();
    return allWritten ? 0 : ConvertRefusedStatus;
}

} // namespace ovex
