#include "theme/NewTheme.h"

#include "theme/ThemeKeys.h"

namespace ovex {

void NewTheme(Editor& editor)
{
    const SettingSlots& slots = editor.slots;
    const int last = Mem_Count(editor.SaveKeys).value_or(0) - 1;
    for (int i = 0; i <= last; ++i) {
        slots.s[i]->SetTag(QString());
        slots.SetValue(i, 0);
        slots.s[i]->SetBackColor(UnsetColor);
    }

    // Before the first import the array has no bounds: nothing to empty.
    StringArray& lines = editor.ImportLines;
    if (lines.IsDimensioned()) {
        for (qsizetype i = 0; i <= lines.UBound(); ++i)
            lines[i].clear();
    }

    editor.txtThemeName->setText(QString::fromLatin1(PlaceholderName));
    for (QLineEdit* box : slots.sizeBox)
        box->setText(QString::fromLatin1(DefaultSize));
}

} // namespace ovex
