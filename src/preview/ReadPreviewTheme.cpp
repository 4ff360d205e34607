#include "preview/ReadPreviewTheme.h"

#include "theme/ThemeCapture.h"

namespace ovex {

PreviewTheme ReadPreviewTheme(const Editor& editor)
{
    return PreviewThemeOf(CaptureTheme(editor), editor.slots.s[0]->palette().color(QPalette::Base));
}

} // namespace ovex
