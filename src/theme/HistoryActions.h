#pragma once

#include <QKeySequence>
#include <QList>

class QAction;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QObject;
class QUndoStack;

namespace ovex {

enum class HistoryKey { None, Undo, Redo };

// The keys of Undo or Redo: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, on
// every platform and key scheme, followed by the platform's own keys for it
// (which a text box would otherwise take for its own undo).
QList<QKeySequence> HistoryShortcuts(HistoryKey which, const QList<QKeySequence>& platform);
QList<QKeySequence> HistoryShortcuts(HistoryKey which);

// What a key pressed means to the history, given the shortcut lists.
HistoryKey HistoryKeyOf(const QKeyEvent& event, const QList<QKeySequence>& undo, const QList<QKeySequence>& redo);
HistoryKey HistoryKeyOf(const QKeyEvent& event);

// An Undo or Redo item of stack: named after the step ("&Undo Import"),
// enabled while there is one, with the keys above.
QAction* CreateHistoryAction(QUndoStack& stack, HistoryKey which, QObject* parent);

// box's standard context menu, with its Undo and Redo acting on stack
// instead of the box's own undo.
QMenu* CreateTextBoxMenu(QLineEdit& box, QUndoStack& stack);

} // namespace ovex
