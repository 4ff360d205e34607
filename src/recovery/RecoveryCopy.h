#pragma once

#include "theme/ThemeState.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <variant>

namespace ovex {

// How the work in a copy ended. Open: its editor still works on it, or
// ended without saying (killed, a crash, a power cut). Unrecorded: written
// by an editor of format 1, which did not say.
enum class CopyEnding : quint16 {
    Open = 0,
    Closed = 1,
    ReplacedByNew = 2,
    ReplacedByImport = 3,
    ReplacedByRecovered = 4,
    Unrecorded = 0xFFFF,
};

// What a recovery copy holds: a piece of unsaved work, exactly, with what a
// .theme file cannot say (an unticked slot's colour, any text as typed), the
// moment it last changed and how it ended.
struct RecoveryCopy
{
    ThemeState state;
    qint64 changedAtMs = 0;  // milliseconds since 1970, UTC
    CopyEnding ending = CopyEnding::Open;
    friend bool operator==(const RecoveryCopy&, const RecoveryCopy&) = default;
};

// A full theme's copy takes about 1.2 KiB; this leaves room for texts far
// longer than any theme uses, and bounds what is read from an unknown file
// at start-up. A state beyond it (megabyte texts, imported or pasted) gets
// no copy.
inline constexpr qsizetype MaxRecoveryCopyBytes = 1024 * 1024;
// Format 1 had a flags field where format 2 has the ending; its editors
// always wrote it 0. Both are read; only format 2 is written.
inline constexpr quint16 RecoveryFormatVersion = 2;

// The layout: magic (8), version (2), ending (2; 0 in format 1), changed-at (8),
// body length (4), SHA-256 of bytes 8..24 and the body (32), then the body:
// per slot tick (1), colour (4), value text; the name; the five size texts.
// A text is its UTF-16 length (4) and code units. All numbers little-endian.
inline constexpr qsizetype RecoveryHeaderBytes = 56;

// Why bytes are not a copy this editor can restore.
enum class CopyDefect {
    Foreign,        // not a recovery copy at all
    Truncated,      // shorter than its header says
    Oversized,      // longer than MaxRecoveryCopyBytes
    FutureVersion,  // written by a newer editor
    Damaged,        // the checksum does not match, or bytes follow the body
    Malformed,      // checksum right, content impossible
    NotOurs,        // a link, a FIFO, a folder, another user's or a readable-by-others file
    Unreadable,
};

// The header's fields, read without checking the body.
struct CopyHeader
{
    CopyEnding ending = CopyEnding::Open;
    qint64 changedAtMs = 0;
};

// The copy's bytes, or nothing when they would exceed MaxRecoveryCopyBytes.
std::optional<QByteArray> EncodeRecoveryCopy(const RecoveryCopy& copy);

// Strict: anything but the exact bytes EncodeRecoveryCopy makes is refused.
std::variant<CopyDefect, RecoveryCopy> DecodeRecoveryCopy(QByteArrayView bytes);

// The header of bytes that begin a copy (at least RecoveryHeaderBytes of them,
// or the whole file); totalBytes is the file's size.
std::variant<CopyDefect, CopyHeader> PeekRecoveryHeader(QByteArrayView bytes, qint64 totalBytes);

// The name a copy of state is kept under once its work has ended: identical
// states share one name, so that they make one copy. 32 hexadecimal digits.
QString StateDigest(const ThemeState& state);

// Fills in the body length and the checksum of a copy's bytes (at least the
// header's), as the encoder does; lets a fuzzer reach past the checksum.
void SealRecoveryCopy(QByteArray& bytes);

} // namespace ovex
