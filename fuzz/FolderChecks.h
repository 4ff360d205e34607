#pragma once

// The rules fuzz_folder checks, shared with the Qt test that replays its
// corpus and regressions (tests/tst_fuzzinputs.cpp).

#include "FuzzChecks.h"

namespace ovex::fuzz {

// A folder made from the bytes (theme files of any content and case of
// extension, other files, FIFOs, folders named like themes, links), read as
// the gallery reads it: exactly the files that may be themes are listed,
// each read as Import reads it and graded as the preview grades it; the
// filter finds each entry by its own names; every order is a strict total
// order; two themes' differences name exactly the settings they write
// differently, the same both ways round. Needs a QGuiApplication (fonts).
// workDir: an existing folder the check may empty and fill.
Failure CheckFolderReading(QByteArrayView bytes, const QString& workDir);

} // namespace ovex::fuzz
