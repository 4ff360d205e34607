// Edit, Generate Theme: the main window's side of the dialog.
#include "app/GenerateDialog.h"
#include "app/frmMain.h"

namespace ovex {

void frmMain::mnuGenerate_Click()
{
    // Window-modal, so it returns at once; the dialog applies its choice itself.
    // Its dialogs start where its last ones left off, and leave the
    // window's own where they were.
    auto* dialog = new GenerateDialog(*this, {m_generateDialogs, m_schemeDialogs}, *m_services.messages);
    dialog->open();
}

} // namespace ovex
