#pragma once

#include "schemes/Scheme.h"

#include <QByteArrayView>

namespace ovex {

// yaml-cpp needs about 250 bytes of memory and 1 µs of time for each byte of
// a hostile YAML (a long flow collection is held whole until it ends); real
// schemes are 1 to 3 KiB. This keeps any YAML within about 20 MiB and 0.1 s.
inline constexpr qsizetype MaxYamlSchemeBytes = 64 * 1024;

// A base16 or base24 scheme in either layout: the flat one ("scheme:",
// "base00:".."base0F:" at the top) or the one with "system:" and a
// "palette:" map. Colours are six hex digits, with or without "#". Refuses
// anything larger than MaxYamlSchemeBytes, or nested more than a few levels.
SchemeReading ReadYamlScheme(QByteArrayView bytes, const QString& fallbackName);

} // namespace ovex
