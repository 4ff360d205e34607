#pragma once

#include "fileio/MRW_File_IO.h"
#include "fileio/MRW_Memory.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "slots/SettingSlots.h"

#include <QLineEdit>

namespace ovex {

// Everything the document commands work on: the main window's controls (the
// only copy of the theme), the key tables, the lines of the last import and
// the services the commands call. The window fills it and owns what it
// points to.
struct Editor
{
    SettingSlots slots;
    QLineEdit* txtThemeName = nullptr;

    CommonDialog* cd = nullptr;
    MessageBoxService* messages = nullptr;

    StringArray SaveKeys;
    StringArray ImportKeys;
    StringArray ImportLines;
    FileSystemRef FileSystem;

    // The theme file last imported or saved, however it was chosen (a file
    // dialog, a drop, the command line, the gallery): the gallery starts in
    // its folder. The file dialogs keep their own state in cd.
    QString themeFile;
};

} // namespace ovex
