#include "theme/HistoryActions.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QUndoStack>

#include <tuple>

namespace ovex {

QList<QKeySequence> HistoryShortcuts(HistoryKey which, const QList<QKeySequence>& platform)
{
    QList<QKeySequence> keys;
    if (which == HistoryKey::Undo)
        keys = {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    else if (which == HistoryKey::Redo)
        keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& key : platform) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

QList<QKeySequence> HistoryShortcuts(HistoryKey which)
{
    if (which == HistoryKey::None)
        return {};
    return HistoryShortcuts(which, QKeySequence::keyBindings(which == HistoryKey::Undo ? QKeySequence::Undo
                                                                                        : QKeySequence::Redo));
}

HistoryKey HistoryKeyOf(const QKeyEvent& event, const QList<QKeySequence>& undo, const QList<QKeySequence>& redo)
{
    // Ctrl+Z typed on the keypad is still Ctrl+Z.
    const QKeySequence pressed(QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    if (undo.contains(pressed))
        return HistoryKey::Undo;
    if (redo.contains(pressed))
        return HistoryKey::Redo;
    return HistoryKey::None;
}

HistoryKey HistoryKeyOf(const QKeyEvent& event)
{
    return HistoryKeyOf(event, HistoryShortcuts(HistoryKey::Undo), HistoryShortcuts(HistoryKey::Redo));
}

QAction* CreateHistoryAction(QUndoStack& stack, HistoryKey which, QObject* parent)
{
    const bool undo = which == HistoryKey::Undo;
    QAction* action = undo ? stack.createUndoAction(parent, QStringLiteral("&Undo"))
                           : stack.createRedoAction(parent, QStringLiteral("&Redo"));
    action->setShortcuts(HistoryShortcuts(which));
    return action;
}

QMenu* CreateTextBoxMenu(QLineEdit& box, QUndoStack& stack)
{
    QMenu* menu = box.createStandardContextMenu();
    // Qt 6.4 gives the standard items no names: they are known by their
    // text, translated as Qt translates it.
    const auto standardItem = [menu](const char* name, const char* text) -> QAction* {
        const QString caption = QCoreApplication::translate("QLineEdit", text);
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String(name) || action->text().section(u'\t', 0, 0) == caption)
                return action;
        }
        return nullptr;
    };
    for (const auto& [name, text, which] : {std::tuple{"edit-undo", "&Undo", HistoryKey::Undo},
                                            std::tuple{"edit-redo", "&Redo", HistoryKey::Redo}}) {
        QAction* own = standardItem(name, text);
        if (!own)
            continue;   // a read-only box has no undo of its own to replace
        QAction* shared = CreateHistoryAction(stack, which, menu);
        shared->setObjectName(QLatin1String(name));
        shared->setIcon(own->icon());
        menu->insertAction(own, shared);
        delete own;
    }
    return menu;
}

} // namespace ovex
