// Recovery copies of unsaved work, and what makes work count as saved: the
// main window's side.
#include "app/RecoveryKeeper.h"
#include "app/frmMain.h"
#include "theme/History.h"
#include "theme/ImportTheme.h"
#include "theme/SaveTheme.h"

#include <QDateTime>
#include <QLocale>
#include <QMenu>

namespace ovex {

void frmMain::setupRecovery()
{
    if (m_services.recoveryFolder.isEmpty())
        return;
    m_recovery = std::make_unique<RecoveryKeeper>(*this, m_editor, undoStack(), m_services.recoveryFolder);
    RecoveryKeeper* keeper = m_recovery.get();
    connect(this, &frmMain::themeChanged, keeper, &RecoveryKeeper::NoteChange);
    connect(&undoStack(), &QUndoStack::cleanChanged, keeper, &RecoveryKeeper::NoteChange);
    connect(keeper, &RecoveryKeeper::LookedUp, this, &frmMain::updateRecoverItem);
}

void frmMain::addRecoverItem(QMenu* edit)
{
    mnuRecover = edit->addAction(QStringLiteral("Re&cover Unsaved Theme"));
    mnuRecover->setObjectName(QStringLiteral("mnuRecover"));
    // The window has no status bar: the tip shows as a tool tip.
    edit->setToolTipsVisible(true);
    connect(mnuRecover, &QAction::triggered, this, &frmMain::mnuRecover_Click);
    // Opened before the look-up's time: it is done now, so that the item is right.
    connect(edit, &QMenu::aboutToShow, this, [this] {
        if (m_recovery)
            m_recovery->LookUpNow();
    });
    updateRecoverItem();
}

void frmMain::updateRecoverItem()
{
    if (!mnuRecover)
        return;
    const std::optional<qint64> changedAt = m_recovery ? m_recovery->OfferChangedAt() : std::nullopt;
    QString tip;
    if (changedAt) {
        tip = QStringLiteral("Brings back the unsaved theme of an editor that has ended, last changed %1")
                  .arg(QLocale().toString(QDateTime::fromMSecsSinceEpoch(*changedAt), QLocale::ShortFormat));
    }
    mnuRecover->setEnabled(changedAt.has_value());
    mnuRecover->setStatusTip(tip);
    mnuRecover->setToolTip(tip);
}

void frmMain::mnuRecover_Click()
{
    if (!m_recovery)
        return;
    const std::optional<ThemeState> state = m_recovery->TakeOffer();
    updateRecoverItem();
    if (!state) {
        m_services.messages->Show(
            QStringLiteral("Sorry! The unsaved theme could not be read, so it cannot be recovered."),
            QStringLiteral("Recover Unsaved Theme"), MessageStyle::Information);
        return;
    }
    m_history->RecordRestore(QStringLiteral("Recover Unsaved Theme"), *state);
}

void frmMain::mnuSave_Click()
{
    if (SaveTheme(m_editor))
        undoStack().setClean();
}

void frmMain::recordImport(const std::function<bool()>& import)
{
    bool applied = false;
    m_history->Record(QStringLiteral("Import"), [&] { applied = import(); });
    // The editor holds what the file says: nothing is lost if it ends now.
    if (applied)
        undoStack().setClean();
}

} // namespace ovex
