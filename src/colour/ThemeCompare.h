#pragma once

#include "theme/ThemeState.h"

#include <QList>
#include <QString>

#include <optional>

namespace ovex {

// What the theme file holds for a setting: the name (NameField) or a slot's
// value as Save writes it, or nothing when Save writes no line for it.
std::optional<QString> WrittenValue(const ThemeState& state, int setting);

// One setting two themes write differently.
struct SettingDifference
{
    int setting;   // NameField or a slot
    std::optional<QString> left;
    std::optional<QString> right;
    // Colour slots: how far apart the two colours drawn are (a setting not
    // in a theme is drawn in its default), in OKLab.
    std::optional<double> distance;
};

// Every setting that a and b write differently, the name first and then the
// slots in order.
QList<SettingDifference> CompareThemes(const ThemeState& a, const ThemeState& b);

// "Name", or the key without its "=": what a list of differences calls a setting.
QString SettingName(int setting);

} // namespace ovex
