#include "app/ThemeRender.h"

#include "colour/ThemePicture.h"
#include "schemes/SchemeFile.h"
#include "theme/ThemeFile.h"

#include <QBuffer>

namespace ovex {

namespace {

// "night.png" for ".../night.theme".
QString RenderFileName(const QString& theme)
{
    return SchemeBaseName(theme) + QStringLiteral(".png");
}

// Reads theme as Import does and writes its picture at size to target,
// keeping or replacing a file already there.
BatchOutcome RenderTheme(const QString& theme, const QString& target, Overwrite overwrite, const QSize& size)
{
    const ThemeFileReading reading = ReadThemeFile(FileSystemObject(), theme);
    if (const QString refusal = ThemeFileRefusal(reading); !refusal.isEmpty())
        return BatchRefused(theme, refusal);
    const QImage picture = DrawThemePicture(PreviewThemeOf(reading.state), size);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Quality 80 is zlib's fastest level: half the time of the default, for
    // a file a few per cent larger.
    if (!picture.save(&buffer, "PNG", 80))
        return BatchRefused(theme, QStringLiteral("the picture could not be made"));
    if (const std::optional<QString> failure = WriteOutputFile(target, png, overwrite))
        return BatchRefused(theme, *failure);
    return BatchWritten(theme, target, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
}

} // namespace

int RunThemeRender(const QString& program, const QStringList& themes, const QString& outputDir, Overwrite overwrite,
                   const QSize& size, QTextStream& out, QTextStream& err)
{
    const auto render = [size](const QString& theme, const QString& target, Overwrite replace) {
        return RenderTheme(theme, target, replace, size);
    };
    return RunBatch({program, themes, outputDir, overwrite, RenderFileName, render}, out, err);
}

} // namespace ovex
