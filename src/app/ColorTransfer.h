#pragma once

#include "platform/PackedColor.h"
#include "slots/SettingSlots.h"

#include <QObject>
#include <QPoint>

class QMenu;
class QWidget;

namespace ovex {

class frmMain;

// Copy, paste and drag of colours between the colour slots. Each ">" button
// cmd(i) gets a menu with Copy Colour and Paste Colour (right click, the Menu
// key or Shift+F10) and takes Ctrl+C and Ctrl+V while it has the focus; a
// swatch s(i) can be dragged onto another slot's swatch or button. A paste or
// drop sets the slot through frmMain::SetSlotColors, as a colour pick does.
class ColorTransfer final : public QObject
{
    Q_OBJECT
public:
    explicit ColorTransfer(frmMain* window);

    void CopyColor(int slot) const;
    void PasteColor(int slot) const;
    // Builds the slot's menu, shows it at pos (global) and returns it; it
    // deletes itself when closed.
    QMenu* ShowMenu(int slot, const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The colour slot whose swatch or button w is, or -1.
    int slotOf(const QObject* w) const;
    bool hasColor(int slot) const;
    bool buttonEvent(int slot, QEvent* event);
    bool swatchEvent(int slot, QEvent* event);
    bool dropEvent(int slot, QEvent* event);

    frmMain* m_window;
    // The window's slot controls, known without calling the window, which
    // is already gone while its controls still get events on the way out.
    const SettingSlots m_slots;
    QPoint m_pressAt;
    int m_pressSlot = -1;
};

} // namespace ovex
