#include "app/ColorTransfer.h"

#include "app/frmMain.h"
#include "slots/ColorClipboard.h"
#include "theme/ThemeKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

namespace ovex {

namespace {

bool isMenuKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Menu
           || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

} // namespace

ColorTransfer::ColorTransfer(frmMain* window)
    : QObject(window), m_window(window), m_slots(window->editor().slots)
{
    for (int i = 0; i < ColorSlotCount; ++i) {
        m_slots.cmd[i]->installEventFilter(this);
        m_slots.cmd[i]->setAcceptDrops(true);
        m_slots.s[i]->installEventFilter(this);
        m_slots.s[i]->setAcceptDrops(true);
    }
}

int ColorTransfer::slotOf(const QObject* w) const
{
    for (int i = 0; i < ColorSlotCount; ++i) {
        if (w == m_slots.cmd[i] || w == m_slots.s[i])
            return i;
    }
    return -1;
}

bool ColorTransfer::hasColor(int slot) const
{
    return !IsSystemColor(m_slots.s[slot]->BackColor());
}

void ColorTransfer::CopyColor(int slot) const
{
    if (!hasColor(slot))
        return;
    const ColorValue color = m_slots.s[slot]->BackColor();
    QGuiApplication::clipboard()->setMimeData(ColorMimeData(color).release());   // the clipboard owns it
}

void ColorTransfer::PasteColor(int slot) const
{
    const std::optional<ColorValue> color = ColorFromMimeData(QGuiApplication::clipboard()->mimeData());
    if (!color) {
        m_window->editor().messages->Show(QStringLiteral("Sorry! The clipboard does not hold a colour."),
                                          QStringLiteral("Paste Colour"), MessageStyle::Information);
        return;
    }
    m_window->SetSlotColors(QStringLiteral("Paste Colour: %1").arg(SlotCaption(slot)), {{slot, *color}});
}

QMenu* ColorTransfer::ShowMenu(int slot, const QPoint& pos)
{
    auto* menu = new QMenu(m_slots.cmd[slot]);
    menu->setObjectName(QStringLiteral("mnuColour"));
    menu->setAccessibleName(QStringLiteral("Colour: %1").arg(SlotCaption(slot)));
    menu->setAttribute(Qt::WA_DeleteOnClose);

    QAction* copy = menu->addAction(QStringLiteral("&Copy Colour"), this, [this, slot] { CopyColor(slot); });
    copy->setObjectName(QStringLiteral("mnuCopyColour"));
    copy->setShortcut(QKeySequence::Copy);   // shown beside the item; the button takes the key
    copy->setShortcutContext(Qt::WidgetShortcut);
    copy->setEnabled(hasColor(slot));
    QAction* paste = menu->addAction(QStringLiteral("&Paste Colour"), this, [this, slot] { PasteColor(slot); });
    paste->setObjectName(QStringLiteral("mnuPasteColour"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);

    // Not exec(): nothing waits on the menu, so a test can drive it too.
    menu->popup(pos);
    return menu;
}

bool ColorTransfer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
        break;
    default:
        return false;
    }
    const int slot = slotOf(watched);
    if (slot < 0)
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        return dropEvent(slot, event);
    if (watched == m_slots.cmd[slot])
        return buttonEvent(slot, event);
    return swatchEvent(slot, event);
}

bool ColorTransfer::buttonEvent(int slot, QEvent* event)
{
    QWidget* button = m_slots.cmd[slot];
    switch (event->type()) {
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        // From the keyboard the key press below opens it, whichever key the
        // platform turns into this event.
        if (menuEvent->reason() != QContextMenuEvent::Keyboard)
            ShowMenu(slot, menuEvent->globalPos());
        return true;
    }
    case QEvent::ShortcutOverride: {
        // The button keeps Ctrl+C and Ctrl+V from any window shortcut.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) || isMenuKey(key)) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy))
            CopyColor(slot);
        else if (key->matches(QKeySequence::Paste))
            PasteColor(slot);
        else if (isMenuKey(key))
            ShowMenu(slot, button->mapToGlobal(QPoint(0, button->height())));
        else
            return false;
        return true;
    }
    default:
        return false;
    }
}

bool ColorTransfer::swatchEvent(int slot, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressSlot = mouse->button() == Qt::LeftButton && hasColor(slot) ? slot : -1;
        m_pressAt = mouse->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_pressSlot != slot || !(mouse->buttons() & Qt::LeftButton)
            || (mouse->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
            return false;
        m_pressSlot = -1;
        auto* drag = new QDrag(m_slots.s[slot]);
        drag->setMimeData(ColorMimeData(m_slots.s[slot]->BackColor()).release());
        drag->exec(Qt::CopyAction);
        return true;
    }
    default:
        return false;
    }
}

bool ColorTransfer::dropEvent(int slot, QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    // A slot's own colour dropped back on it changes nothing.
    const bool fromSelf = drop->source() && slotOf(drop->source()) == slot;
    const std::optional<ColorValue> color = drop->mimeData()->hasColor() && !fromSelf
                                                ? ColorFromMimeData(drop->mimeData())
                                                : std::nullopt;
    if (!color) {
        drop->ignore();   // a file is left to the window
        return false;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop)
        m_window->SetSlotColors(QStringLiteral("Drop Colour: %1").arg(SlotCaption(slot)), {{slot, *color}});
    return true;
}

} // namespace ovex
