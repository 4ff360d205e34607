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

} // namespace ovex::fuzz
