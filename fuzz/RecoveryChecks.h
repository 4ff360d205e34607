#pragma once

// The rule the recovery fuzz target checks, shared with the test that
// replays its corpus and regressions.

#include "FuzzChecks.h"

namespace ovex::fuzz {

// Decoding a recovery copy, on the bytes as given and on the same bytes with
// their length and checksum made right, so that the body's reading is reached
// too: whatever decodes encodes to exactly those bytes, and its header reads
// the same on its own.
Failure CheckRecoveryCopy(QByteArrayView bytes);

// Listing a folder of copies (ListKeptCopies) after writing the files the
// bytes describe: each a byte that picks its name and permissions, a 16-bit
// length and its bytes. Whatever is listed reads back whole from a file
// named for ended work, newest first, one entry per state; and every copy of
// ended work that reads whole is listed, as that entry or a newer one of the
// same state, unless a live copy holds its state.
Failure CheckCopyFolder(QByteArrayView bytes);

} // namespace ovex::fuzz
