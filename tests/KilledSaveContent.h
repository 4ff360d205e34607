#pragma once

// The two contents that the save child writes in turn and the killed-save
// test expects to find: long enough (about 110 KiB) that a kill often lands
// inside a write, different in length and in every line so that any mix of
// the two shows.

#include <QByteArray>
#include <QString>

namespace ovex::test {

inline constexpr int KilledSaveLines = 10000;

// The theme name whose name line makes the whole file.
inline QString KilledSaveName(char which)
{
    QString name;
    name.reserve(KilledSaveLines * 24);
    for (int i = 0; i < KilledSaveLines + (which == 'B' ? 1700 : 0); ++i)
        name += QStringLiteral("%1 %2 ").arg(QLatin1Char(which)).arg(i, 8, 10, QLatin1Char('0'));
    return name;
}

// The whole file as the editor writes it for that name and nothing ticked.
inline QByteArray KilledSaveBytes(char which)
{
    return "name=" + KilledSaveName(which).toLatin1() + "\r\n";
}

} // namespace ovex::test
