#pragma once

#include "platform/PackedColor.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

class QWidget;

namespace ovex {

// How a common dialog ended. A cancel is a result, not an error, so the
// commands that show a dialog end silently on it.
enum class DialogResult { Chosen, Cancelled };

// The shared open, save and colour dialog. Its properties persist between
// uses: the name one dialog leaves is where the next starts, and the colour
// last picked is the one the colour dialog starts with.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;

    QString Filter;
    QString InitDir;
    QString FileName;
    ColorValue Color = 0;

    virtual DialogResult ShowOpen() = 0;
    virtual DialogResult ShowSave() = 0;
    virtual DialogResult ShowColor() = 0;
    // A folder, left in FileName; starts where an open dialog would. A
    // service with no folder chooser reports every choice as cancelled.
    virtual DialogResult ShowFolder() { return DialogResult::Cancelled; }
};

// The file chooser's filter for a bare extension such as ".theme".
QString FileDialogFilter(const QString& filter);

// The folder a dialog starts in: the design's "\Program Files\ovexChat\"
// on the current drive on Windows; elsewhere, or where it does not exist,
// the user's home folder. A FileName holding a folder wins.
QString StartFolder(const QString& initDir, const QString& fileName);

// The real dialogs, Qt-drawn so that they behave alike everywhere.
class QtCommonDialog final : public CommonDialog
{
public:
    DialogResult ShowOpen() override;
    DialogResult ShowSave() override;
    DialogResult ShowColor() override;
    DialogResult ShowFolder() override;
};

// Dialogs with properties of their own, shown through another dialog whose
// properties stay as they were: a second user of the dialogs (Generate
// Theme) starts where it left off without moving where the first (File,
// Import and the colour buttons) starts. Each further user with its own
// idea of where to start takes an OwnStateDialog of its own.
class OwnStateDialog final : public CommonDialog
{
public:
    explicit OwnStateDialog(CommonDialog& shared) : m_shared(shared) {}

    DialogResult ShowOpen() override { return showOwn(&CommonDialog::ShowOpen); }
    DialogResult ShowSave() override { return showOwn(&CommonDialog::ShowSave); }
    DialogResult ShowColor() override { return showOwn(&CommonDialog::ShowColor); }
    DialogResult ShowFolder() override { return showOwn(&CommonDialog::ShowFolder); }

private:
    DialogResult showOwn(DialogResult (CommonDialog::*show)());

    CommonDialog& m_shared;
};

// A scripted user for tests: each Show* takes the next answer from its queue
// (a path, for files and folders alike, or a colour; or nothing for a cancel;
// an empty queue cancels too)
// and records what it was shown.
class FakeCommonDialog final : public CommonDialog
{
public:
    enum class Kind { Open, Save, Color, Folder };
    struct Shown
    {
        Kind kind;
        QString filter;
        QString initDir;
        QString fileName;
        ColorValue color;
    };

    void AnswerFile(const QString& path) { m_fileAnswers.append(path); }
    void CancelFile() { m_fileAnswers.append(std::nullopt); }
    void AnswerColor(ColorValue color) { m_colorAnswers.append(color); }
    void CancelColor() { m_colorAnswers.append(std::nullopt); }

    const QList<Shown>& History() const { return m_history; }

    DialogResult ShowOpen() override { return showFile(Kind::Open); }
    DialogResult ShowSave() override { return showFile(Kind::Save); }
    DialogResult ShowFolder() override { return showFile(Kind::Folder); }
    DialogResult ShowColor() override;

private:
    DialogResult showFile(Kind kind);

    QList<std::optional<QString>> m_fileAnswers;
    QList<std::optional<ColorValue>> m_colorAnswers;
    QList<Shown> m_history;
};

} // namespace ovex
