#pragma once

#include "recovery/RecoveryCopy.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

namespace ovex {

// Where this user's recovery copies live: $XDG_STATE_HOME/ovex-theme-editor
// on Linux (~/.local/state/ovex-theme-editor when that is unset or not
// absolute), the application's local data folder elsewhere.
QString RecoveryFolder();

// Makes folder (and any missing parent) readable by its owner only, or
// tightens it to that when it exists and is ours. The reason, in the user's
// words, when it cannot be made private: then nothing must be kept there.
std::optional<QString> MakePrivateFolder(const QString& folder);

// A reason the system gave for a failed write, in the user's words where
// it is one of the usual ones (no room, no permission, a read-only disk).
QString PlainReason(const QString& systemReason);

// The first bytes of a file, and its whole size.
struct PrivateFile
{
    QByteArray bytes;
    qint64 size = 0;
};

// Reads at most limit bytes of a regular file that this user owns and no one
// else may read, never following a link nor waiting on a FIFO; anything else
// is NotOurs. A file larger than MaxRecoveryCopyBytes is Oversized, unread.
std::variant<CopyDefect, PrivateFile> ReadPrivateFile(const QString& path, qsizetype limit);

// A whole copy file read and decoded.
std::variant<CopyDefect, RecoveryCopy> ReadRecoveryCopy(const QString& path);

} // namespace ovex
