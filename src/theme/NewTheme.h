#pragma once

#include "theme/Editor.h"
#include "theme/ThemeState.h"

namespace ovex {

// File, New: every slot back to Empty, the lines of the last import emptied
// (their number kept), the name back to "Theme Name", the sizes to "12".
void NewTheme(Editor& editor);

} // namespace ovex
