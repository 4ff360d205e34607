#include "recovery/RecoveryKeeper.h"

#include "recovery/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDateTime>

namespace ovex {

RecoveryKeeper::RecoveryKeeper(QString folder, Capture capture)
    : m_folder(std::move(folder)), m_capture(std::move(capture))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(RecoveryDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::WriteNow);
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_closing = true;
    WriteNow();
    end(CopyEnding::Closed);
    m_worker.reset();  // waits until the last write is on disk
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
    if (m_replacing || !std::exchange(m_pending, false))
        return;
    ThemeState state = m_capture();
    // A new window's state or a saved one is no work to keep; the piece's
    // copy keeps its latest unsaved state.
    if (state == NewThemeState() || state == m_saved || (m_work && m_work->state == state))
        return;
    keep({std::move(state), m_changedAtMs, CopyEnding::Open});
}

void RecoveryKeeper::keep(RecoveryCopy copy)
{
    if (!m_started && !m_closing)
        LookUp();
    m_work = copy;
    worker().Keep(std::move(copy));
    Q_EMIT WriteQueued();
}

void RecoveryKeeper::Replace(CopyEnding ending, const std::function<bool()>& command)
{
    WriteNow();
    m_replacing = true;
    const bool replaced = command();
    m_replacing = false;
    if (replaced)
        end(ending);
    if (m_pending && !m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::end(CopyEnding ending)
{
    if (!m_work)
        return;
    RecoveryCopy ended = std::move(*m_work);
    m_work.reset();
    ended.ending = ending;
    worker().End(std::move(ended));
}

void RecoveryKeeper::Saved(const ThemeState& state)
{
    // The live copy goes when it follows what was saved: the latest change,
    // when it made unsaved work, or the last state written.
    const bool latest = m_pending ? state != NewThemeState() && state != m_saved : m_work && m_work->state == state;
    m_saved = state;
    m_pending = false;
    m_timer.stop();
    if (latest && m_work) {
        m_work.reset();
        worker().Run([](const RecoveryStore& store) { store.RemoveLive(); });
    }
    worker().Run([state](const RecoveryStore& store) { store.RemoveSaved(state); });
    for (const KeptCopy& entry : std::as_const(m_entries)) {
        if (entry.copy.state == state)
            return forget(entry.path);
    }
}

void RecoveryKeeper::Read(const ThemeState& state)
{
    m_saved = state;
}

RecoveryWorker& RecoveryKeeper::worker()
{
    if (!m_worker) {
        m_worker = std::make_unique<RecoveryWorker>(m_folder, [this](const QString& reason) {
            QMetaObject::invokeMethod(
                this,
                [this, reason] {
                    if (!std::exchange(m_told, true))
                        Q_EMIT Failed(reason);
                },
                Qt::QueuedConnection);
        });
    }
    return *m_worker;
}

void RecoveryKeeper::LookUp()
{
    if (m_closing)
        return;
    const bool first = !std::exchange(m_started, true);
    const int changes = m_changes;
    worker().Run([this, first, changes](const RecoveryStore& store) {
        if (first)
            store.RemoveStale(QDateTime::currentMSecsSinceEpoch());
        store.TakeInLeftCopies();
        QList<KeptCopy> found = store.Problem() ? QList<KeptCopy>() : ListKeptCopies(store.Folder());
        QMetaObject::invokeMethod(
            this,
            [this, changes, found = std::move(found)] {
                m_lookedUp = true;
                // Discarded or recovered meanwhile: this answer is older.
                if (changes != m_changes)
                    return LookUp();
                m_entries = found;
                Q_EMIT EntriesChanged();
            },
            Qt::QueuedConnection);
    });
}

void RecoveryKeeper::Settle()
{
    if (m_worker)
        m_worker->Wait();
    QCoreApplication::sendPostedEvents(this);
}

void RecoveryKeeper::forget(const QString& path)
{
    ++m_changes;
    m_entries.removeIf([&path](const KeptCopy& entry) { return entry.path == path; });
    Q_EMIT EntriesChanged();
}

std::optional<ThemeState> RecoveryKeeper::Recover(const QString& path)
{
    WriteNow();
    forget(path);
    std::optional<RecoveryCopy> read;
    worker().Run([&read, &path](const RecoveryStore&) {
        auto copy = ReadRecoveryCopy(path);
        if (RecoveryCopy* recovered = std::get_if<RecoveryCopy>(&copy))
            read = std::move(*recovered);
    });
    worker().Wait();
    if (!read)
        return std::nullopt;
    end(CopyEnding::ReplacedByRecovered);
    // Its live copy keeps it from being listed while it is worked on here.
    keep({read->state, read->changedAtMs, CopyEnding::Open});
    return read->state;
}

void RecoveryKeeper::Discard(const QString& path)
{
    forget(path);
    worker().Run([path](const RecoveryStore& store) { store.Discard(path); });
}

} // namespace ovex
