#pragma once

#include "theme/ThemeCapture.h"

#include <QObject>
#include <QUndoStack>

#include <array>
#include <functional>

namespace ovex {

// The editor's one undo history. Each step holds, for the fields it changed,
// the values that are not on the screen: before it while it is done, after it
// while it is undone. Undo and redo swap those with the controls, so the
// controls stay the only live copy of the theme.
class History final : public QObject
{
    Q_OBJECT
public:
    // editor's controls must exist: typing in its text boxes is recorded from here.
    History(Editor& editor, QObject* parent);

    QUndoStack& Stack() { return m_stack; }

    // True while a step writes the controls back: the check-box handling must
    // not run then, and nothing is recorded.
    bool Restoring() const { return m_restoring; }
    // True while Record runs a change: the changes inside it are its own.
    bool Recording() const { return m_depth > 0; }

    // Runs change and records what it did to the theme as one step named
    // text; a change that leaves the theme as it was records nothing.
    void Record(const QString& text, const std::function<void()>& change);
    // Records a change that has already been made, given the theme before it.
    void RecordDone(const QString& text, const ThemeState& before);
    // Puts state into the controls exactly, as one step named text, as
    // undo and redo put theirs: the check-box handling does not run.
    void RecordRestore(const QString& text, const ThemeState& state);

    // Writes packed values of fields back into the controls, returning the
    // values they replace, in the same form.
    QByteArray Swap(ThemeFields fields, const QByteArray& packed);

    // Typing in a box merges into one step until this changes.
    int TypingRun() const { return m_typingRun; }
    // What the name or a size box shows now.
    QString ShownText(int field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textEdited(int field);

    Editor& m_editor;
    QUndoStack m_stack;
    bool m_restoring = false;
    int m_depth = 0;
    int m_typingRun = 0;
    // The text each box showed before its latest change: what a user's edit replaced.
    std::array<QString, FieldCount - NameField> m_shownBefore;
};

} // namespace ovex
