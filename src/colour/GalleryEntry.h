#pragma once

#include "colour/PreviewTheme.h"
#include "theme/ThemeFolder.h"

#include <QList>
#include <QString>

#include <array>

namespace ovex {

// What a list of themes shows of each and how it orders them: plain
// functions, so that a folder can be read on any thread.

// The colour-vision deficiencies a theme's grade speaks for.
inline constexpr std::array<VisionType, 3> Deficiencies = {VisionType::Protanopia, VisionType::Deuteranopia,
                                                          VisionType::Tritanopia};

struct ThemeGrade
{
    // Pairs that fail for normal vision (hints do not count).
    int failing = 0;
    // Of Deficiencies, those with which a pair fails that passes for normal vision.
    QList<VisionType> failingWith;

    bool ReadsWell() const { return failing == 0; }
    bool HoldsForDeficiencies() const { return failingWith.isEmpty(); }
    friend bool operator==(const ThemeGrade&, const ThemeGrade&) = default;
};

ThemeGrade GradeTheme(const SlotColors& colors);

// "Reads well" or "3 pairs fail": under a picture, beside its mark.
QString GradeShortText(const ThemeGrade& grade);
// The whole grade in words, the deficiencies named: for a tip and a screen reader.
QString GradeDescription(const ThemeGrade& grade);

// One file of a folder as a list of themes shows it.
struct GalleryEntry
{
    ThemeFolderFile file;
    ThemeFileStatus status = ThemeFileStatus::Missing;
    // The rest only when read: what the picture draws, the grade, the lightness.
    PreviewTheme theme;
    ThemeGrade grade;
    double lightness = 0;

    bool Read() const { return status == ThemeFileStatus::Read; }
    // The theme's name, or the file's where the name is blank.
    QString Title() const { return theme.name.trimmed().isEmpty() ? file.fileName : theme.name; }
};

// Reads file as Import would and grades it.
GalleryEntry ReadGalleryEntry(const FileSystemObject& fs, const ThemeFolderFile& file);

// Whether text (blanks around it ignored) is in the theme's name or the file
// name, in any case. Empty text matches everything.
bool MatchesFilter(const GalleryEntry& entry, const QString& text);

enum class GalleryOrder { Name, LightToDark, Readability };
inline constexpr std::array<GalleryOrder, 3> GalleryOrders = {GalleryOrder::Name, GalleryOrder::LightToDark,
                                                             GalleryOrder::Readability};
// "Name", "Light to dark", "Readability".
QString GalleryOrderName(GalleryOrder order);

// A strict total order on entries of different paths: the order's key, then
// the title in any case, then the file's path.
bool GalleryLess(const GalleryEntry& a, const GalleryEntry& b, GalleryOrder order);

} // namespace ovex
