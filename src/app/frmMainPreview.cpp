// View, Preview: the main window's side of the preview window.
#include "app/AppSetup.h"
#include "app/frmMain.h"
#include "platform/PackedColor.h"
#include "preview/PreviewWindow.h"

#include <QScreen>

namespace ovex {

void frmMain::mnuPreview_Click()
{
    // One preview at most: an open one is brought forward. A closed one is
    // already deleting itself, so the next opening makes a new one.
    if (!m_preview || !m_preview->isVisible()) {
        auto* preview = new PreviewWindow(m_editor, windowIcon());
        m_preview = preview;
        // The preview shows the theme, so its keys undo and redo the theme's history.
        preview->addActions({mnuUndo, mnuRedo});
        connect(this, &frmMain::themeChanged, preview, &PreviewWindow::Invalidate);
        connect(preview, &PreviewWindow::SlotChosen, this, &frmMain::showSlot);
        connect(preview, &PreviewWindow::ColorsChosen, this, [this](const QString& text, const QList<SlotFix>& fixes) {
            QList<SlotColor> colors;
            for (const SlotFix& fix : fixes)
                colors.append({fix.slot, QColorToPacked(fix.color)});
            SetSlotColors(text, colors);
        });
        preview->adjustSize();
        // Beside the main window, where the screen has room for it.
        const QPoint beside = frameGeometry().topRight() + QPoint(8, 0);
        if (screen()->availableGeometry().contains(QRect(beside, preview->frameGeometry().size())))
            preview->move(beside);
    }
    BringToFront(*m_preview);
}

// Takes the user from the picture to the slot's check box.
void frmMain::showSlot(int slot)
{
    BringToFront(*this);
    m_editor.slots.chk[slot]->setFocus(Qt::OtherFocusReason);
}

} // namespace ovex
