#pragma once

#include <QIcon>

namespace ovex {

// The application icon at every size the desktop launcher installs, so the
// windows and the launcher show the same picture.
QIcon AppIcon();

} // namespace ovex
