#include "theme/ImportTheme.h"

#include "theme/DefaultFolder.h"
#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"
#include "theme/ThemeFile.h"

namespace ovex {

namespace {

const QString InputErrorTitle = QStringLiteral("File Input Error");

// Ticks each slot the file names, which runs the check-box handling as a
// user's tick would, then sets the values the file gives.
void applyState(Editor& editor, const ThemeState& state)
{
    for (int i = 0; i < SlotCount; ++i) {
        const SlotState& slot = state.slots[i];
        if (!slot.ticked)
            continue;
        editor.slots.SetValue(i, 1);
        if (!IsSizeSlot(i)) {
            editor.slots.s[i]->SetTag(slot.tag);
            editor.slots.s[i]->SetBackColor(slot.color);
        }
    }
    for (int field = NameField; field < FieldCount; ++field) {
        if (TextOf(state, field) != TextOf(NewThemeState(), field))
            TextBox(editor, field)->setText(TextOf(state, field));
    }
}

} // namespace

bool ImportTheme(Editor& editor)
{
    CommonDialog& cd = *editor.cd;
    cd.Filter = ThemeExtension;
    cd.InitDir = DefaultThemeFolder;
    if (cd.ShowOpen() == DialogResult::Cancelled)
        return false;
    return ImportThemeFile(editor, cd.FileName);
}

bool ImportThemeFile(Editor& editor, const QString& path)
{
    ThemeFileReading reading = ReadThemeFile(*editor.FileSystem, path);
    switch (reading.status) {
    case ThemeFileStatus::Missing:
        editor.messages->Show(
            path.right(ThemeExtension.size()) == ThemeExtension
                ? QStringLiteral("Sorry! File not found in this folder.")
                : QStringLiteral("Sorry! File not found in this folder, also, you must select "
                                 "a valid theme file with an *.theme extension."),
            InputErrorTitle, MessageStyle::Information);
        return false;
    case ThemeFileStatus::NotTheme:
        editor.messages->Show(QStringLiteral("Sorry! You must select a valid theme file."),
                              InputErrorTitle, MessageStyle::Information);
        return false;
    case ThemeFileStatus::Unreadable:
        // Nothing has changed, and the user learns why.
        editor.messages->Show(QStringLiteral("Sorry! The file could not be read."), InputErrorTitle,
                              MessageStyle::Information);
        return false;
    case ThemeFileStatus::NoLines:
        NewTheme(editor);
        return false;
    case ThemeFileStatus::PaletteWord:
        // The lines stay counted, emptied, as after any import that New follows.
        editor.ImportLines = std::move(reading.lines);
        NewTheme(editor);
        editor.messages->Show(
            QStringLiteral("Sorry! Currently the Ovex Theme Editor does not support the "
                           "Primary/Secondary syntax, however, the same effects can be "
                           "accomplished using some of the standard editor features..."),
            QStringLiteral("File Support Notice"), MessageStyle::Critical);
        return false;
    case ThemeFileStatus::Read:
    case ThemeFileStatus::NoSettings:
        NewTheme(editor);
        editor.ImportLines = std::move(reading.lines);
        applyState(editor, reading.state);
        editor.themeFile = path;
        return true;
    }
    Q_UNREACHABLE();
}

} // namespace ovex
