#pragma once

#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/WebOpener.h"

#include <QString>

#include <memory>

namespace ovex {

// The desktop services the editor calls, handed to the main window when it
// is built: the real ones in the program, doubles in tests.
struct DesktopServices
{
    std::unique_ptr<CommonDialog> cd;
    std::unique_ptr<MessageBoxService> messages;
    std::unique_ptr<WebOpener> web;
    // Where the window keeps recovery copies of unsaved work; empty keeps
    // none. Tests give a folder of their own, never the user's.
    QString recoveryFolder = {};

    // The program's services, keeping copies in recoveryFolder (the user's
    // RecoveryFolder() in the program).
    static DesktopServices Real(QString recoveryFolder)
    {
        return {std::make_unique<QtCommonDialog>(), std::make_unique<QtMessageBox>(),
                std::make_unique<DesktopWebOpener>(), std::move(recoveryFolder)};
    }
};

} // namespace ovex
