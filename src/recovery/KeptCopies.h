#pragma once

#include "recovery/RecoveryCopy.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace ovex {

inline const QString CopySuffix = QStringLiteral(".recovery");

// A piece of ended work that can be recovered: where its copy is, and what
// it holds.
struct KeptCopy
{
    QString path;
    RecoveryCopy copy;
    friend bool operator==(const KeptCopy&, const KeptCopy&) = default;
};

// The file name of ended work holding state: StateDigest and CopySuffix.
QString KeptCopyName(const ThemeState& state);
// True for names KeptCopyName makes; any other copy is an editor's live one.
bool IsKeptCopyName(const QString& name);

// The ended work in folder that can be recovered, newest first: each copy
// under a name KeptCopyName makes that reads whole, one per state (the
// newest), and none whose state a live copy holds, as a running editor is
// working on it. Damaged, foreign and newer editors' copies are never listed.
QList<KeptCopy> ListKeptCopies(const QString& folder);

// How an entry names its theme: the name, cut short, on one line; "(no
// name)" for an empty one.
QString EntryName(const QString& name);
// When the work last changed, as "Today 15:33", "Yesterday 09:05" or a date,
// seen from now.
QString EntryWhen(qint64 changedAtMs, const QDateTime& now);
// How the work ended, in a few words ("closed", "replaced by New").
QString EndingText(CopyEnding ending);

} // namespace ovex
