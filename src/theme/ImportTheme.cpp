#include "theme/ImportTheme.h"

#include "fileio/MRW_Import.h"
#include "theme/ColorComponents.h"
#include "theme/DefaultFolder.h"
#include "theme/NewTheme.h"
#include "theme/ThemeKeys.h"

#include <array>

namespace ovex {

namespace {

const QString InputErrorTitle = QStringLiteral("File Input Error");

bool isPaletteWord(const QString& value)
{
    static const std::array<QString, 6> words = {
        QStringLiteral("primary1"),   QStringLiteral("primary2"),   QStringLiteral("primary3"),
        QStringLiteral("secondary1"), QStringLiteral("secondary2"), QStringLiteral("secondary3")};
    return std::find(words.begin(), words.end(), value) != words.end();
}

// The text box a name or font-size key fills, or null for a colour key.
QLineEdit* textBoxFor(const Editor& editor, int keyIndex)
{
    if (keyIndex == SlotCount)
        return editor.txtThemeName;
    if (IsSizeSlot(keyIndex))
        return editor.slots.SizeBox(keyIndex);
    return nullptr;
}

// Returns false when a palette word ended the import.
bool applyLine(Editor& editor, QString& entry, ColorComponents& components)
{
    const StringArray& keys = editor.ImportKeys;
    const int keyCount = Mem_Count(keys).value_or(0);
    // Every key is tried, also after a match: the rest of a value may itself
    // begin with a later key.
    for (int k = 0; k < keyCount; ++k) {
        if (!entry.startsWith(keys[k]))
            continue;
        entry = entry.mid(entry.indexOf(u'=') + 1);
        if (isPaletteWord(entry)) {
            editor.messages->Show(
                QStringLiteral("Sorry! Currently the Ovex Theme Editor does not support the "
                               "Primary/Secondary syntax, however, the same effects can be "
                               "accomplished using some of the standard editor features..."),
                QStringLiteral("File Support Notice"), MessageStyle::Critical);
            NewTheme(editor);
            return false;
        }
        if (k < SlotCount)
            editor.slots.SetValue(k, 1);

        if (QLineEdit* box = textBoxFor(editor, k)) {
            box->setText(entry);
        } else {
            Swatch* s = editor.slots.s[k];
            s->SetTag(entry);
            entry = ParseColorEntry(entry + u',', components);
            s->SetBackColor(ComposeColor(components));
        }
    }
    return true;
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
    // Exact and case-sensitive; a path shorter than the extension is compared whole.
    const bool themeName = path.right(ThemeExtension.size()) == ThemeExtension;
    if (!editor.FileSystem->FileExists(path)) {
        editor.messages->Show(
            themeName ? QStringLiteral("Sorry! File not found in this folder.")
                      : QStringLiteral("Sorry! File not found in this folder, also, you must select "
                                       "a valid theme file with an *.theme extension."),
            InputErrorTitle, MessageStyle::Information);
        return false;
    }
    if (!themeName) {
        editor.messages->Show(QStringLiteral("Sorry! You must select a valid theme file."),
                              InputErrorTitle, MessageStyle::Information);
        return false;
    }

    // Read whole before anything changes, so a file that cannot be read
    // leaves the editor as it was and the user learns why.
    const auto file = editor.FileSystem->Load(path);
    if (!file) {
        editor.messages->Show(QStringLiteral("Sorry! The file could not be read."), InputErrorTitle,
                              MessageStyle::Information);
        return false;
    }

    NewTheme(editor);
    if (!Import_ReadLines(*file, editor.ImportLines))
        return false;

    ColorComponents components;
    const qsizetype last = editor.ImportLines.UBound();
    for (qsizetype i = 0; i <= last; ++i) {
        if (!applyLine(editor, editor.ImportLines[i], components))
            return false;
    }
    return true;
}

} // namespace ovex
