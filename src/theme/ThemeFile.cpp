#include "theme/ThemeFile.h"

#include "fileio/MRW_Import.h"
#include "theme/ColorComponents.h"
#include "theme/DefaultFolder.h"
#include "theme/ThemeKeys.h"

#include <algorithm>
#include <array>

namespace ovex {

namespace {

bool isPaletteWord(const QString& value)
{
    static const std::array<QString, 6> words = {
        QStringLiteral("primary1"),   QStringLiteral("primary2"),   QStringLiteral("primary3"),
        QStringLiteral("secondary1"), QStringLiteral("secondary2"), QStringLiteral("secondary3")};
    return std::find(words.begin(), words.end(), value) != words.end();
}

// The import keys: the 32 slots' and then "name=".
QLatin1String importKey(int k)
{
    return QLatin1String(k < SlotCount ? SlotTable[k].key : NameKey);
}

// Returns false when a palette word ended the import.
bool applyLine(QString& entry, ThemeState& state, ColorComponents& components, bool& found)
{
    // Every key is tried, also after a match: the rest of a value may itself
    // begin with a later key.
    for (int k = 0; k <= SlotCount; ++k) {
        if (!entry.startsWith(importKey(k)))
            continue;
        found = true;
        entry = entry.mid(entry.indexOf(u'=') + 1);
        if (isPaletteWord(entry))
            return false;
        if (k < SlotCount)
            state.slots[k].ticked = true;
        if (k == SlotCount) {
            state.name = entry;
        } else if (IsSizeSlot(k)) {
            state.sizes[k - FirstSizeSlot] = entry;
        } else {
            state.slots[k].tag = entry;
            entry = ParseColorEntry(entry + u',', components);
            state.slots[k].color = ComposeColor(components);
        }
    }
    return true;
}

// Applies lines to state as Import applies them to the controls, line by
// line; false at a palette word, with state as far as it got. found tells
// whether a line began with a key.
bool applyImportLines(StringArray& lines, ThemeState& state, bool& found)
{
    ColorComponents components;
    for (qsizetype i = 0; i <= lines.UBound(); ++i) {
        if (!applyLine(lines[i], state, components, found))
            return false;
    }
    return true;
}

} // namespace

ThemeFileReading ReadThemeFile(const FileSystemObject& fs, const QString& path)
{
    ThemeFileReading reading;
    if (!fs.FileExists(path))
        return reading;
    // Exact and case-sensitive; a path shorter than the extension is compared whole.
    if (path.right(ThemeExtension.size()) != ThemeExtension) {
        reading.status = ThemeFileStatus::NotTheme;
        return reading;
    }
    // Read whole first, so that every pass sees the same text.
    const auto file = fs.Load(path);
    if (!file) {
        reading.status = ThemeFileStatus::Unreadable;
        return reading;
    }
    if (!Import_ReadLines(*file, reading.lines)) {
        reading.status = ThemeFileStatus::NoLines;
        return reading;
    }
    ThemeState state = NewThemeState();
    bool found = false;
    if (!applyImportLines(reading.lines, state, found)) {
        reading.status = ThemeFileStatus::PaletteWord;
        return reading;
    }
    reading.status = found ? ThemeFileStatus::Read : ThemeFileStatus::NoSettings;
    reading.state = std::move(state);
    return reading;
}

QString ThemeFileRefusal(const ThemeFileReading& reading)
{
    switch (reading.status) {
    case ThemeFileStatus::Read:
        return {};
    case ThemeFileStatus::Missing:
        return QStringLiteral("file not found");
    case ThemeFileStatus::NotTheme:
        return QStringLiteral("not a .theme file");
    case ThemeFileStatus::Unreadable:
        return QStringLiteral("could not be read");
    case ThemeFileStatus::NoLines:
    case ThemeFileStatus::NoSettings:
        return QStringLiteral("no theme settings found");
    case ThemeFileStatus::PaletteWord:
        return QStringLiteral("uses the unsupported Primary/Secondary palette words");
    }
    Q_UNREACHABLE();
}

QString RefusalReason(ThemeFileStatus status)
{
    switch (status) {
    case ThemeFileStatus::Read:
        return {};
    case ThemeFileStatus::Missing:
        return QStringLiteral("Not a regular file, or no longer there.");
    case ThemeFileStatus::NotTheme:
        return QStringLiteral("Import takes only names ending in \".theme\", in small letters.");
    case ThemeFileStatus::Unreadable:
        return QStringLiteral("Cannot be read, or larger than %1 MiB.").arg(MaxReadBytes / (1024 * 1024));
    case ThemeFileStatus::NoLines:
        return QStringLiteral("Holds no setting: it is empty, starts with an empty line, or has more than %1 lines.").arg(MaxImportLines);
    case ThemeFileStatus::NoSettings:
        return QStringLiteral("Holds no theme setting: no line starts with a theme key or \"name=\".");
    case ThemeFileStatus::PaletteWord:
        return QStringLiteral("Uses the Primary/Secondary syntax, which the editor does not support.");
    }
    Q_UNREACHABLE();
}

} // namespace ovex
