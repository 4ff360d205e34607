#pragma once

#include <QPointer>
#include <QWidget>

namespace ovex {

class frmMain;
class ThemePreview;

// "Theme Preview": a free-standing, non-modal window showing the theme of a
// main window live. It deletes itself when closed; the main window closes
// it when it closes itself.
class PreviewWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewWindow(frmMain& main);

    ThemePreview* Preview() const { return m_preview; }

private:
    // Takes the user to the slot's check box in the main window.
    void showSlot(int slot);

    QPointer<frmMain> m_main;
    ThemePreview* m_preview = nullptr;
};

} // namespace ovex
