#include "theme/History.h"

#include "theme/HistoryActions.h"
#include "theme/ThemeKeys.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QUndoCommand>

namespace ovex {

namespace {

// One step: the fields it changed, and their values that are not on the screen.
class ThemeStep : public QUndoCommand
{
public:
    ThemeStep(History& history, const QString& text, ThemeFields fields, QByteArray hidden)
        : QUndoCommand(text), m_history(history), m_fields(fields), m_hidden(std::move(hidden))
    {
    }

    void undo() override { m_hidden = m_history.Swap(m_fields, m_hidden); }
    void redo() override
    {
        // Recorded once the change was made: the first redo has nothing to do.
        if (std::exchange(m_done, false))
            return;
        m_hidden = m_history.Swap(m_fields, m_hidden);
    }

protected:
    History& m_history;
    ThemeFields m_fields;
    QByteArray m_hidden;
    bool m_done = true;
};

// Typing in one box: a run of edits is one step, which ends when the box
// loses the focus or anything else happens to the history.
class TypingStep final : public ThemeStep
{
public:
    TypingStep(History& history, const QString& text, int field, QByteArray hidden)
        : ThemeStep(history, text, Field(field), std::move(hidden)), m_field(field), m_run(history.TypingRun())
    {
    }

    int id() const override { return m_field + 1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const TypingStep*>(other);
        if (next->m_run != m_run)
            return false;
        // Typed back to where it began: no step at all.
        ThemeState before;
        UnpackFields(m_hidden, m_fields, before);
        setObsolete(TextOf(before, m_field) == m_history.ShownText(m_field));
        return true;
    }

private:
    int m_field;
    int m_run;
};

QString boxCaption(int field)
{
    return field == NameField ? QStringLiteral("Theme Name") : SlotCaption(FirstSizeSlot + field - FirstSizeField);
}

} // namespace

History::History(Editor& editor, QObject* parent) : QObject(parent), m_editor(editor)
{
    for (int field = NameField; field < FieldCount; ++field) {
        QLineEdit* box = TextBox(editor, field);
        m_shownBefore[field - NameField] = box->text();
        // textEdited comes before textChanged: the text replaced is still known.
        connect(box, &QLineEdit::textEdited, this, [this, field] { textEdited(field); });
        connect(box, &QLineEdit::textChanged, this,
                [this, field](const QString& text) { m_shownBefore[field - NameField] = text; });
        box->installEventFilter(this);
    }
}

void History::Record(const QString& text, const std::function<void()>& change)
{
    const ThemeState before = CaptureTheme(m_editor);
    ++m_depth;
    change();
    --m_depth;
    RecordDone(text, before);
}

void History::RecordDone(const QString& text, const ThemeState& before)
{
    if (m_restoring || m_depth > 0)
        return;
    const ThemeFields fields = ChangedFields(before, CaptureTheme(m_editor));
    if (fields != 0)
        m_stack.push(new ThemeStep(*this, text, fields, PackFields(before, fields)));
}

void History::RecordRestore(const QString& text, const ThemeState& state)
{
    const ThemeState before = CaptureTheme(m_editor);
    const ThemeFields fields = ChangedFields(before, state);
    Swap(fields, PackFields(state, fields));
    RecordDone(text, before);
}

QByteArray History::Swap(ThemeFields fields, const QByteArray& packed)
{
    const QByteArray shown = PackFields(CaptureTheme(m_editor), fields);
    ThemeState state;
    UnpackFields(packed, fields, state);
    m_restoring = true;
    RestoreTheme(m_editor, state, fields);
    m_restoring = false;
    ++m_typingRun;
    return shown;
}

QString History::ShownText(int field) const
{
    return TextBox(m_editor, field)->text();
}

void History::textEdited(int field)
{
    // An edit whose every character was left out changes nothing.
    if (m_restoring || m_depth > 0 || m_shownBefore[field - NameField] == ShownText(field))
        return;
    ThemeState before;
    TextOf(before, field) = m_shownBefore[field - NameField];
    m_stack.push(new TypingStep(*this, QStringLiteral("Typing: %1").arg(boxCaption(field)), field,
                                PackFields(before, Field(field))));
}

bool History::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusOut:
        ++m_typingRun;
        break;
    case QEvent::ShortcutOverride:
        // Claimed from the Edit menu too, so that the keys reach the box and
        // take the same way on every platform.
        if (HistoryKeyOf(*static_cast<QKeyEvent*>(event)) != HistoryKey::None) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // A text box takes these keys for an undo of its own: they go through
        // the one history instead.
        switch (HistoryKeyOf(*static_cast<QKeyEvent*>(event))) {
        case HistoryKey::Undo:
            m_stack.undo();
            return true;
        case HistoryKey::Redo:
            m_stack.redo();
            return true;
        case HistoryKey::None:
            break;
        }
        break;
    case QEvent::ContextMenu: {
        // The box's menu, with the history's Undo and Redo in place of its own.
        auto* box = static_cast<QLineEdit*>(watched);
        QMenu* menu = CreateTextBoxMenu(*box, m_stack);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ovex
