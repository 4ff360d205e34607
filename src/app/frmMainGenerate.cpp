// Edit, Generate Theme: the main window's side of the dialog.
#include "app/GenerateDialog.h"
#include "app/frmMain.h"

namespace ovex {

void frmMain::mnuGenerate_Click()
{
    // Window-modal, so it returns at once; the dialog applies its choice itself.
    auto* dialog = new GenerateDialog(*this, *m_services.cd, *m_services.messages);
    dialog->open();
}

} // namespace ovex
