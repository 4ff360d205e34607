#pragma once

#include "colour/PreviewTheme.h"
#include "theme/Editor.h"

namespace ovex {

// The theme in the editor's controls, as the preview draws it: a slot
// without a colour shows the swatches' background.
PreviewTheme ReadPreviewTheme(const Editor& editor);

} // namespace ovex
