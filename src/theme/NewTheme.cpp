#include "theme/NewTheme.h"

namespace ovex {

namespace {
const QString PlaceholderName = QStringLiteral("Theme Name");
const QString DefaultSize = QStringLiteral("12");
} // namespace

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

    editor.txtThemeName->setText(PlaceholderName);
    for (QLineEdit* box : slots.sizeBox)
        box->setText(DefaultSize);
}

ThemeState NewThemeState()
{
    ThemeState state;
    state.name = PlaceholderName;
    state.sizes.fill(DefaultSize);
    return state;
}

} // namespace ovex
