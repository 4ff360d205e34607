// View, Preview: the main window's side of the preview window.
#include "app/AppSetup.h"
#include "app/PreviewWindow.h"
#include "app/frmMain.h"

#include <QScreen>

namespace ovex {

void frmMain::mnuPreview_Click()
{
    // One preview at most: an open one is brought forward. A closed one is
    // already deleting itself, so the next opening makes a new one.
    if (!m_preview || !m_preview->isVisible()) {
        m_preview = new PreviewWindow(*this);
        m_preview->adjustSize();
        // Beside the main window, where the screen has room for it.
        const QPoint beside = frameGeometry().topRight() + QPoint(8, 0);
        if (screen()->availableGeometry().contains(QRect(beside, m_preview->frameGeometry().size())))
            m_preview->move(beside);
    }
    BringToFront(*m_preview);
}

} // namespace ovex
