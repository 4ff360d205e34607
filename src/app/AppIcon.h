#pragma once

#include <QIcon>

namespace ovex {

// Window managers draw a window's icon at 64 pixels at most.
inline constexpr int MaxWindowIconSize = 64;

// The application icon at the sizes the desktop launcher installs, up to
// MaxWindowIconSize, so the windows and the launcher show the same picture.
QIcon AppIcon();

} // namespace ovex
