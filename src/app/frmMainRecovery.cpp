// Unsaved work kept and recovered, and what makes work count as saved: the
// main window's side.
#include "app/RecoverDialog.h"
#include "app/frmMain.h"
#include "recovery/RecoveryKeeper.h"
#include "theme/History.h"
#include "theme/ImportTheme.h"
#include "theme/NewTheme.h"
#include "theme/SaveTheme.h"

#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace ovex {

namespace {

const QString RecoverTitle = QStringLiteral("Recover Unsaved Themes");

// Asks the keeper for its first look at the folder a while after the
// window's first paint, so that start-up does nothing on disk.
class LookUpAfterPaint final : public QObject
{
public:
    LookUpAfterPaint(QWidget& window, RecoveryKeeper& keeper) : QObject(&keeper), m_keeper(keeper)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(LookUpDelayMs, &m_keeper, [this] {
                if (!m_keeper.LookedUp())
                    m_keeper.LookUp();
            });
        }
        return false;
    }

private:
    RecoveryKeeper& m_keeper;
};

} // namespace

void frmMain::setupRecovery()
{
    if (m_services.recoveryFolder.isEmpty())
        return;
    m_recovery = std::make_unique<RecoveryKeeper>(m_services.recoveryFolder, [this] { return CaptureTheme(m_editor); });
    RecoveryKeeper* keeper = m_recovery.get();
    new LookUpAfterPaint(*this, *keeper);
    connect(this, &frmMain::themeChanged, keeper, &RecoveryKeeper::NoteChange);
    connect(keeper, &RecoveryKeeper::EntriesChanged, this, &frmMain::updateRecoverItem);
    connect(keeper, &RecoveryKeeper::Failed, this, &frmMain::tellRecoveryFailed);
}

void frmMain::addRecoverItem(QMenu* edit)
{
    mnuRecover = edit->addAction(QStringLiteral("Re&cover Unsaved Themes..."));
    mnuRecover->setObjectName(QStringLiteral("mnuRecover"));
    connect(mnuRecover, &QAction::triggered, this, &frmMain::mnuRecover_Click);
    // Work left by an editor closed since the last look shows at once.
    connect(edit, &QMenu::aboutToShow, this, [this] {
        if (m_recovery)
            m_recovery->LookUp();
    });
    updateRecoverItem();
}

void frmMain::updateRecoverItem()
{
    if (mnuRecover)
        mnuRecover->setEnabled(m_recovery && !m_recovery->Entries().isEmpty());
}

void frmMain::mnuRecover_Click()
{
    if (!m_recovery)
        return;
    m_recovery->LookUp();
    auto* dialog = new RecoverDialog(*m_recovery, [this](const QString& path) { return recover(path); }, this);
    dialog->show();
}

bool frmMain::recover(const QString& path)
{
    const std::optional<ThemeState> state = m_recovery->Recover(path);
    if (!state) {
        m_services.messages->Show(
            QStringLiteral("Sorry! The unsaved theme could not be read, so it cannot be recovered."), RecoverTitle,
            MessageStyle::Information);
        return false;
    }
    m_history->RecordRestore(QStringLiteral("Recover Unsaved Theme"), *state);
    return true;
}

void frmMain::tellRecoveryFailed(const QString& reason)
{
    m_services.messages->Show(
        QStringLiteral("Sorry! Unsaved work cannot be kept in %1: %2.\n\nThe editor works on as before, but what "
                       "is not saved is lost if it closes or ends.")
            .arg(QDir::toNativeSeparators(m_recovery->Folder()), reason),
        QStringLiteral("Unsaved Work"), MessageStyle::Information);
}

void frmMain::replaceWork(CopyEnding ending, const std::function<bool()>& command)
{
    if (m_recovery)
        m_recovery->Replace(ending, command);
    else
        command();
}

void frmMain::mnuNew_Click()
{
    replaceWork(CopyEnding::ReplacedByNew, [this] {
        m_history->Record(QStringLiteral("New"), [this] { NewTheme(m_editor); });
        return true;
    });
}

void frmMain::mnuSave_Click()
{
    if (!SaveTheme(m_editor))
        return;
    undoStack().setClean();
    if (m_recovery)
        m_recovery->Saved(CaptureTheme(m_editor));
}

void frmMain::recordImport(const std::function<bool()>& import)
{
    // A refused Import, which runs New, replaces the work too.
    replaceWork(CopyEnding::ReplacedByImport, [&] {
        const ThemeState before = CaptureTheme(m_editor);
        bool applied = false;
        m_history->Record(QStringLiteral("Import"), [&] { applied = import(); });
        // The editor holds what the file says: nothing is lost if it ends now.
        if (applied)
            undoStack().setClean();
        const ThemeState after = CaptureTheme(m_editor);
        if (applied && m_recovery)
            m_recovery->Read(after);
        return after != before;
    });
}

} // namespace ovex
