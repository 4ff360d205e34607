#pragma once

#include "schemes/Scheme.h"

#include <QByteArrayView>

namespace ovex {

// Whether bytes read as an INI file: the first line that is not blank or a
// comment is a group header such as "[General]".
bool LooksLikeIni(QByteArrayView bytes);

// A KDE colour scheme (.colors): the groups [Colors:View], [Colors:Window],
// [Colors:Button], [Colors:Selection] and [Colors:Tooltip], colours as
// "r,g,b" (an alpha value after them is ignored), the name from [General]
// Name=. Other groups ([Colors:Header][Inactive], [ColorEffects:Disabled],
// [WM], ...) are skipped. Keys are case-sensitive.
SchemeReading ReadKdeScheme(QByteArrayView bytes, const QString& fallbackName);

} // namespace ovex
