#pragma once

#include "recovery/RecoveryWorker.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace ovex {

// A change reaches the disk within a second: the write starts this long
// after the first change not yet written, and takes a few milliseconds.
inline constexpr int RecoveryDelayMs = 900;
// The first look at the folder (the clean-up, and the list of work to
// recover) waits this long after the window's first paint: it is not needed
// to start, and an editor opened and closed at once never does it.
inline constexpr int LookUpDelayMs = 500;

// Keeps the editor's unsaved work, piece by piece, and lists the work that
// can be recovered. A piece of work runs from a new window or a replacement
// (New, an Import, a recovered theme) to the next replacement or the end; its
// live copy follows its latest unsaved state, and when it ends the copy is
// kept with how it ended. Work is unsaved unless it is a new window's state
// or the state last saved or read from a file. Nothing touches the disk
// before the window asks for the first look (LookUp) or the first write.
// Widget-free: the window tells it what happens and how to read the theme.
class RecoveryKeeper final : public QObject
{
    Q_OBJECT
public:
    using Capture = std::function<ThemeState()>;

    // folder: RecoveryFolder() in the program; capture: the theme as the
    // window holds it now.
    RecoveryKeeper(QString folder, Capture capture);
    // The window closes or the program exits: the work is written as it is
    // now and kept as closed; the worker finishes before the keeper goes.
    ~RecoveryKeeper() override;

    const QString& Folder() const { return m_folder; }

    // The theme changed. Starts the write unless one is already due: later
    // changes never put it off.
    void NoteChange();
    // What the timer does: the theme as it is now goes to the worker, when
    // it is unsaved work and not what was kept last.
    void WriteNow();
    // Runs a command that may replace the work (New, Import), which returns
    // whether it did: the work as it is before goes to the worker first,
    // nothing is written while the command runs (a message it shows lets
    // the timer fire on a half-done state), and when it replaced the work
    // the piece ends as ending says.
    void Replace(CopyEnding ending, const std::function<bool()>& command);
    // Save wrote state: it is no unsaved work, and its copies go.
    void Saved(const ThemeState& state);
    // Import read state from a file: it is no unsaved work.
    void Read(const ThemeState& state);

    // Lists the work that can be recovered again; the first time, also makes
    // the folder and cleans it up. The answer comes as EntriesChanged.
    void LookUp();
    // Waits until the worker is done with everything asked of it, and takes
    // in its answers (tests, benchmarks).
    void Settle();
    // The ended work to recover, newest first, as the last look found it.
    const QList<KeptCopy>& Entries() const { return m_entries; }
    bool LookedUp() const { return m_lookedUp; }

    // The work kept at path, read again (waiting for it), which becomes this
    // editor's work: the current piece ends as replaced by it. Nothing when it
    // can no longer be read; it is no longer listed either way.
    std::optional<ThemeState> Recover(const QString& path);
    // Removes the work kept at path.
    void Discard(const QString& path);

Q_SIGNALS:
    // Entries() changed.
    void EntriesChanged();
    // A copy was handed to the worker to be written.
    void WriteQueued();
    // Unsaved work cannot be kept, for reason (in the user's words). Emitted
    // once, at the first failure.
    void Failed(const QString& reason);

private:
    RecoveryWorker& worker();
    void keep(RecoveryCopy copy);
    void end(CopyEnding ending);
    void forget(const QString& path);

    const QString m_folder;
    const Capture m_capture;
    QTimer m_timer;
    qint64 m_changedAtMs = 0;
    bool m_pending = false;        // a change not yet handed to the worker
    std::optional<RecoveryCopy> m_work;  // the live copy of this piece, as last handed over
    std::optional<ThemeState> m_saved;   // the state last saved or read from a file
    bool m_closing = false;
    bool m_replacing = false;
    bool m_started = false;
    bool m_lookedUp = false;
    bool m_told = false;
    int m_changes = 0;             // local changes to the list, so a late answer is not taken
    QList<KeptCopy> m_entries;
    std::unique_ptr<RecoveryWorker> m_worker;  // last: ends before what its jobs use
};

} // namespace ovex
