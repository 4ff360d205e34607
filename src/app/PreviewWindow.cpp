#include "app/PreviewWindow.h"

#include "app/AppSetup.h"
#include "app/ThemePreview.h"
#include "app/frmMain.h"

#include <QVBoxLayout>

namespace ovex {

PreviewWindow::PreviewWindow(frmMain& main) : QWidget(nullptr, Qt::Window), m_main(&main)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Theme Preview"));
    setWindowIcon(main.windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    // The user points at the picture while working in the main window.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    const Editor& editor = main.editor();
    m_preview = new ThemePreview([&editor] { return ReadPreviewTheme(editor); }, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_preview);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(&main, &frmMain::themeChanged, m_preview, &ThemePreview::Invalidate);
    connect(m_preview, &ThemePreview::SlotChosen, this, &PreviewWindow::showSlot);
}

void PreviewWindow::showSlot(int slot)
{
    if (!m_main)
        return;
    BringToFront(*m_main);
    m_main->editor().slots.chk[slot]->setFocus(Qt::OtherFocusReason);
}

} // namespace ovex
