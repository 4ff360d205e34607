#include "theme/SaveTheme.h"

#include "fileio/Cp1252.h"
#include "fileio/FileWriter.h"
#include "theme/DefaultFolder.h"
#include "theme/ThemeKeys.h"

#include <algorithm>

namespace ovex {


std::optional<QByteArray> ThemeFileBytes(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return Cp1252_Encode(text);
}

bool SaveTheme(Editor& editor)
{
    CommonDialog& cd = *editor.cd;
    cd.Filter = ThemeExtension;
    cd.InitDir = DefaultThemeFolder;
    cd.FileName = editor.txtThemeName->text() + ThemeExtension;
    if (cd.ShowSave() == DialogResult::Cancelled)
        return false;
    if (!IO_CreateFile2(editor, cd.FileName, editor.SaveKeys))
        return false;
    editor.themeFile = cd.FileName;
    return true;
}

bool IO_CreateFile2(Editor& editor, const QString& strFileLocationAndName, const StringArray& strArray)
{
    if (editor.txtThemeName->text() == QLatin1String(PlaceholderName)) {
        editor.messages->Show(
            QStringLiteral("Sorry! You must type in a name for your theme before the theme file will be created."),
            QStringLiteral("User Input Error!"), MessageStyle::Information);
        return false;
    }

    const SettingSlots& slots = editor.slots;
    for (int slot = FirstSizeSlot; slot < SlotCount; ++slot)
        slots.s[slot]->SetTag(slots.SizeBox(slot)->text());

    // A key array longer than the slots has no slot to read for the rest.
    const int last = std::min(Mem_Count(strArray).value_or(0), SlotCount) - 1;
    QStringList lines{QString::fromLatin1(NameKey) + editor.txtThemeName->text()};
    for (int i = 0; i <= last; ++i) {
        if (slots.IsSaved(i))
            lines << strArray[i] + slots.s[i]->Tag();
    }

    // A failed write is reported, so the user knows the theme was not saved,
    // and never leaves a truncated file in place of the old one. The boxes
    // hold only what the file can; a value text brought back from elsewhere
    // might not, and is refused rather than written with a stand-in.
    const std::optional<QByteArray> bytes = ThemeFileBytes(lines);
    const auto failure = bytes ? WriteWholeFile(strFileLocationAndName, *bytes)
                               : std::optional(QStringLiteral("it holds characters a theme file cannot hold"));
    if (failure) {
        editor.messages->Show(QStringLiteral("Sorry! The theme file could not be created: ") + *failure,
                              QStringLiteral("File Output Error"), MessageStyle::Critical);
        return false;
    }
    editor.messages->Show(QStringLiteral("Success! Your theme file has now been created!"),
                          QStringLiteral("Theme Creation Notification"), MessageStyle::Information);
    return true;
}

} // namespace ovex
