#pragma once

// The rules fuzz_scheme checks, shared with the Qt test that replays its
// corpus and regressions (tests/tst_fuzzinputs.cpp).

#include "FuzzChecks.h"

namespace ovex::fuzz {

// ReadScheme on any bytes (base16 or base24 YAML, KDE INI): a refusal gives
// a reason; a scheme holds every colour the mapping needs and a one-line
// name, reads the same again, and maps to a theme in which every checked
// pair passes, every surface is the scheme's own and only the slots listed
// as adjusted differ from it; its file is the name and 27 colour lines.
Failure CheckSchemeReading(QByteArrayView bytes);

} // namespace ovex::fuzz
