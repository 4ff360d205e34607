#include "app/RecoveryKeeper.h"

#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"
#include "theme/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QUndoStack>
#include <QWidget>

namespace ovex {

RecoveryKeeper::RecoveryKeeper(QWidget& window, const Editor& editor, const QUndoStack& stack, QString folder)
    : m_editor(editor), m_stack(stack), m_folder(std::move(folder))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(RecoveryDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::WriteNow);
    window.installEventFilter(this);
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_closing = true;
    WriteNow();
    m_worker.reset();  // waits until the last write is on disk
}

bool RecoveryKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(LookUpDelayMs, this, &RecoveryKeeper::start);
    }
    return false;
}

void RecoveryKeeper::NoteChange()
{
    m_changedAtMs = QDateTime::currentMSecsSinceEpoch();
    m_pending = true;
    if (!m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::WriteNow()
{
    m_timer.stop();
    if (!std::exchange(m_pending, false))
        return;
    if (!m_closing)
        start();
    // Saved work, or work that is back where a new window starts, needs no copy.
    const ThemeState state = CaptureTheme(m_editor);
    if (m_stack.isClean() || state == NewThemeState()) {
        if (std::exchange(m_kept, false))
            worker().Keep(std::nullopt);
        return;
    }
    m_kept = true;
    worker().Keep(RecoveryCopy{state, m_changedAtMs, false});
    Q_EMIT WriteQueued();
}

void RecoveryKeeper::start()
{
    if (std::exchange(m_started, true))
        return;
    worker().Run([this](const RecoveryStore& store) {
        store.RemoveStale(QDateTime::currentMSecsSinceEpoch());
        m_offer = store.FindOffer();
        const std::optional<qint64> changedAt =
            m_offer ? std::optional(m_offer->Copy().changedAtMs) : std::nullopt;
        QMetaObject::invokeMethod(
            this,
            [this, changedAt] {
                if (!m_offerTaken)
                    m_offerChangedAt = changedAt;
                m_lookedUp = true;
                Q_EMIT LookedUp();
            },
            Qt::QueuedConnection);
    });
}

void RecoveryKeeper::LookUpNow()
{
    if (m_lookedUp || m_closing)
        return;
    start();
    Settle();
}

RecoveryWorker& RecoveryKeeper::worker()
{
    if (!m_worker)
        m_worker = std::make_unique<RecoveryWorker>(m_folder);
    return *m_worker;
}

std::optional<ThemeState> RecoveryKeeper::TakeOffer()
{
    m_offerChangedAt.reset();
    m_offerTaken = true;
    if (!m_worker)
        return std::nullopt;
    std::optional<ThemeState> taken;
    m_worker->Run([this, &taken](const RecoveryStore& store) {
        if (!m_offer)
            return;
        // Read again: the copy may have been damaged or removed since it was found.
        auto read = ReadRecoveryCopy(m_offer->Path());
        RecoveryOffer offer = std::move(*m_offer);
        m_offer.reset();
        RecoveryCopy* copy = std::get_if<RecoveryCopy>(&read);
        if (!copy || copy->clean)
            return;
        taken = std::move(copy->state);
        // Not offered again, by this editor or another, and gone once this
        // editor's work is saved. Should the rename fail, the work is still
        // restored and kept in this editor's own copy.
        if (const auto failure = store.Adopt(std::move(offer)))
            qWarning("Recovered copy not adopted: %s", qUtf8Printable(*failure));
    });
    m_worker->Wait();
    if (taken)
        m_kept = true;
    return taken;
}

void RecoveryKeeper::Settle()
{
    if (m_worker)
        m_worker->Wait();
    QCoreApplication::sendPostedEvents(this);
}

} // namespace ovex
