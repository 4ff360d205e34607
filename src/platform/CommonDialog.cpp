#include "platform/CommonDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>

#include <utility>

namespace ovex {

QString FileDialogFilter(const QString& filter)
{
    if (filter.startsWith(u'.') && !filter.contains(u'|')) {
        const QString ext = filter.mid(1);
        return QStringLiteral("%1 files (*.%2)").arg(ext.left(1).toUpper() + ext.mid(1), ext);
    }
    return filter;
}

QString StartFolder(const QString& initDir, const QString& fileName)
{
    const QFileInfo named(fileName);
    if (!fileName.isEmpty() && (named.isAbsolute() || fileName.contains(u'/'))
        && named.absoluteDir().exists()) {
        return named.absolutePath();
    }
#ifdef Q_OS_WIN
    // A path without a drive letter is on the current drive.
    const QString onDrive = QDir::fromNativeSeparators(initDir);
    if (!onDrive.isEmpty() && QDir(onDrive).exists())
        return QDir(onDrive).absolutePath();
#else
    Q_UNUSED(initDir);
#endif
    return QDir::homePath();
}

namespace {

DialogResult runFileDialog(CommonDialog& cd, QFileDialog::AcceptMode mode,
                           QFileDialog::FileMode fileMode = QFileDialog::AnyFile)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // Open: a typed name of a missing file still reaches the command, which
    // has its own messages for it. Save: no default suffix is added.
    dialog.setFileMode(fileMode);
    if (fileMode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    else
        dialog.setNameFilter(FileDialogFilter(cd.Filter));
    dialog.setDirectory(StartFolder(cd.InitDir, cd.FileName));
    if (!cd.FileName.isEmpty())
        dialog.selectFile(QFileInfo(cd.FileName).fileName());
    // Like every desktop save dialog, ask before an existing file is replaced.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return DialogResult::Cancelled;
    cd.FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return DialogResult::Chosen;
}

} // namespace

DialogResult QtCommonDialog::ShowOpen()
{
    return runFileDialog(*this, QFileDialog::AcceptOpen);
}

DialogResult QtCommonDialog::ShowSave()
{
    return runFileDialog(*this, QFileDialog::AcceptSave);
}

DialogResult QtCommonDialog::ShowFolder()
{
    return runFileDialog(*this, QFileDialog::AcceptOpen, QFileDialog::Directory);
}

DialogResult QtCommonDialog::ShowColor()
{
    QColorDialog dialog(QApplication::activeWindow());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(PackedToQColor(IsSystemColor(Color) ? 0 : Color));
    if (dialog.exec() != QDialog::Accepted)
        return DialogResult::Cancelled;
    Color = QColorToPacked(dialog.selectedColor());
    return DialogResult::Chosen;
}

namespace {

void swapProperties(CommonDialog& a, CommonDialog& b)
{
    std::swap(a.Filter, b.Filter);
    std::swap(a.InitDir, b.InitDir);
    std::swap(a.FileName, b.FileName);
    std::swap(a.Color, b.Color);
}

} // namespace

DialogResult OwnStateDialog::showOwn(DialogResult (CommonDialog::*show)())
{
    swapProperties(*this, m_shared);
    // Swapped back however the dialog ends: what it left is ours, the rest
    // is the shared dialog's again.
    const auto restore = qScopeGuard([this] { swapProperties(*this, m_shared); });
    return (m_shared.*show)();
}

DialogResult FakeCommonDialog::showFile(Kind kind)
{
    m_history.append({kind, Filter, InitDir, FileName, Color});
    const auto answer = m_fileAnswers.isEmpty() ? std::nullopt : m_fileAnswers.takeFirst();
    if (!answer)
        return DialogResult::Cancelled;
    FileName = *answer;
    return DialogResult::Chosen;
}

DialogResult FakeCommonDialog::ShowColor()
{
    m_history.append({Kind::Color, Filter, InitDir, FileName, Color});
    const auto answer = m_colorAnswers.isEmpty() ? std::nullopt : m_colorAnswers.takeFirst();
    if (!answer)
        return DialogResult::Cancelled;
    Color = *answer;
    return DialogResult::Chosen;
}

} // namespace ovex
