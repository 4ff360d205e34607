#pragma once

#include "theme/RecoveryWorker.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class QUndoStack;
class QWidget;

namespace ovex {

struct Editor;

// A change reaches the disk within a second: the write starts this long
// after the first change not yet written, and takes a few milliseconds.
inline constexpr int RecoveryDelayMs = 900;
// The look-up for a copy left behind, and the clean-up of old ones, wait
// this long after the first paint: they are not needed to start, and an
// editor opened and closed at once never does them.
inline constexpr int LookUpDelayMs = 500;

// Keeps a recovery copy of the editor's unsaved work, and finds the copy
// that an editor no longer running left behind. Nothing touches the disk
// before the window's first paint: the worker starts a while after it (or
// at the first write, or when the Edit menu is opened, should that come
// first).
class RecoveryKeeper final : public QObject
{
    Q_OBJECT
public:
    // window: where the first paint is awaited; folder: RecoveryFolder() in
    // the program.
    RecoveryKeeper(QWidget& window, const Editor& editor, const QUndoStack& stack, QString folder);
    // The window closes or the program exits: a change not yet written is
    // written now, or the copy goes when the work is saved or unchanged.
    ~RecoveryKeeper() override;

    // The theme or its saved state changed. Starts the write unless one is
    // already due: later changes never put it off.
    void NoteChange();
    // The copy to offer, by the time its work last changed; set once the
    // look-up is done (LookedUp).
    std::optional<qint64> OfferChangedAt() const { return m_offerChangedAt; }
    // The offered copy, read again and made this editor's own; nothing when
    // it can no longer be read. Either way there is no offer afterwards.
    std::optional<ThemeState> TakeOffer();

    // What the timer does: the theme as it is now goes to the worker.
    void WriteNow();
    // The look-up, now if it has not been done, waiting for its answer: the
    // Edit menu is about to show whether there is a copy to recover.
    void LookUpNow();
    // Waits until the worker is done with everything asked of it, and takes
    // in its answers (tests, benchmarks).
    void Settle();

Q_SIGNALS:
    // The look-up after start-up is done; OfferChangedAt() tells its result.
    void LookedUp();
    // A copy was handed to the worker to be written.
    void WriteQueued();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();
    RecoveryWorker& worker();

    const Editor& m_editor;
    const QUndoStack& m_stack;
    const QString m_folder;
    QTimer m_timer;
    qint64 m_changedAtMs = 0;
    bool m_pending = false;   // a change not yet handed to the worker
    bool m_kept = false;      // a copy of this editor's may be on disk
    bool m_started = false;
    bool m_closing = false;
    bool m_offerTaken = false;
    bool m_lookedUp = false;
    std::optional<qint64> m_offerChangedAt;
    // Touched on the worker's thread only, until the worker has ended.
    std::optional<RecoveryOffer> m_offer;
    std::unique_ptr<RecoveryWorker> m_worker;  // last: ends before what its jobs use
};

} // namespace ovex
