// View, Theme Gallery: the main window's side of the gallery.
#include "app/AppSetup.h"
#include "app/frmMain.h"
#include "preview/GalleryWindow.h"
#include "theme/DefaultFolder.h"

#include <QFileInfo>

namespace ovex {

void frmMain::mnuGallery_Click()
{
    // One gallery at most: an open one is brought forward.
    if (!m_gallery || !m_gallery->isVisible()) {
        // The folder of the theme last imported or saved.
        const QString folder = StartFolder(DefaultThemeFolder, QFileInfo(m_editor.themeFile).absoluteFilePath());
        auto* gallery = new GalleryWindow(m_editor, folder, windowIcon());
        m_gallery = gallery;
        gallery->addActions({mnuUndo, mnuRedo});
        connect(gallery, &GalleryWindow::ImportChosen, this, [this](const QString& path) {
            OpenThemeFile(path);
            BringToFront(*this);
        });
    }
    BringToFront(*m_gallery);
}

} // namespace ovex
