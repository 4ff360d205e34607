#pragma once

#include "colour/ContrastFix.h"

#include <QWidget>

class QComboBox;
class QLabel;

namespace ovex {

struct Editor;
class ReadabilityPanel;
class ThemePreview;

// "Theme Preview": a free-standing, non-modal window showing the theme held
// by an editor's controls, live: the picture, the vision it is seen with,
// the readability list and the note on defaults. It changes nothing itself:
// the main window acts on its signals. It deletes itself when closed.
class PreviewWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewWindow(const Editor& editor, const QIcon& icon);

    ThemePreview* Preview() const { return m_preview; }
    ReadabilityPanel* Panel() const { return m_panel; }
    QComboBox* SimulateBox() const { return m_simulate; }

    // The theme changed: draw it again.
    void Invalidate();

Q_SIGNALS:
    // The user clicked the picture where it shows slot.
    void SlotChosen(int slot);
    // A fix was chosen: set these colours as one step named text.
    void ColorsChosen(const QString& text, const QList<SlotFix>& colors);

private:
    void showResults();

    ThemePreview* m_preview = nullptr;
    ReadabilityPanel* m_panel = nullptr;
    QComboBox* m_simulate = nullptr;
    QLabel* m_defaults = nullptr;
};

} // namespace ovex
