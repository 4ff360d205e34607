#pragma once

#include "theme/ThemeState.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <variant>

namespace ovex {

// What a recovery copy holds: the editor's whole state, exactly, with what a
// .theme file cannot say (an unticked slot's colour, any text as typed), the
// moment it last changed and whether it was clean then (saved, or unchanged
// since an Import).
struct RecoveryCopy
{
    ThemeState state;
    qint64 changedAtMs = 0;  // milliseconds since 1970, UTC
    bool clean = false;
    friend bool operator==(const RecoveryCopy&, const RecoveryCopy&) = default;
};

// A full theme's copy takes about 1.2 KiB; this leaves room for texts far
// longer than any theme uses, and bounds what is read from an unknown file
// at start-up. A state beyond it (megabyte texts, imported or pasted) gets
// no copy.
inline constexpr qsizetype MaxRecoveryCopyBytes = 1024 * 1024;
inline constexpr quint16 RecoveryFormatVersion = 1;

// The layout: magic (8), version (2), flags (2: bit 0 clean), changed-at (8),
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

// The header's fields, read without checking the body: enough to sort copies
// and pass over the clean ones without reading them whole.
struct CopyHeader
{
    bool clean = false;
    qint64 changedAtMs = 0;
};

// The copy's bytes, or nothing when they would exceed MaxRecoveryCopyBytes.
std::optional<QByteArray> EncodeRecoveryCopy(const RecoveryCopy& copy);

// Strict: anything but the exact bytes EncodeRecoveryCopy makes is refused.
std::variant<CopyDefect, RecoveryCopy> DecodeRecoveryCopy(QByteArrayView bytes);

// The header of bytes that begin a copy (at least RecoveryHeaderBytes of them,
// or the whole file); totalBytes is the file's size.
std::variant<CopyDefect, CopyHeader> PeekRecoveryHeader(QByteArrayView bytes, qint64 totalBytes);

// Fills in the body length and the checksum of a copy's bytes (at least the
// header's), as the encoder does; lets a fuzzer reach past the checksum.
void SealRecoveryCopy(QByteArray& bytes);

} // namespace ovex
