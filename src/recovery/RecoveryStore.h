#pragma once

#include "recovery/KeptCopies.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace ovex {

// Copies are removed this long after they were last written, unless their
// editor still runs.
inline constexpr qint64 RecoveryKeepMs = 30LL * 24 * 60 * 60 * 1000;

// One running editor's side of the folder of copies that all of this user's
// editors share. Its current work has a copy of its own, its live copy
// "<pid>-<random>.recovery", with a lock file beside it, taken before the
// copy is first written and held while the editor runs. An editor whose lock
// is held is running; its live copy is never listed nor touched by another.
// An editor that has kept nothing holds no lock, so that looking at the
// folder at start-up costs no sync.
//
// Work that has ended (replaced, closed, or its editor gone without saying)
// is kept under the name of its state (KeptCopyName), so identical work is
// one copy. Copies that cannot be read (damaged, foreign, from a newer
// editor) are left alone, in case a newer editor or a person can still use
// them, until they are as old as any copy may get; links, FIFOs and other
// users' files there are never touched.
class RecoveryStore
{
public:
    // folder: RecoveryFolder() in the program; tests give their own.
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();  // the live copy stays: the work it holds may be unsaved
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Why this store keeps nothing, in the user's words: the folder could not
    // be made private.
    const std::optional<QString>& Problem() const { return m_problem; }
    const QString& Folder() const { return m_folder; }
    const QString& LivePath() const { return m_livePath; }

    // Replaces the live copy with copy, all or nothing, readable by the user
    // only. When it cannot, the old live copy goes too, so that no copy poses
    // as the latest work, and the reason (in the user's words) is returned.
    std::optional<QString> Keep(const RecoveryCopy& copy) const;
    // The current work ended as copy.ending says: copy is kept among the
    // ended work (a copy of the same state kept already stays when it is as
    // new) and the live copy goes. The reason when it could not be written.
    std::optional<QString> End(const RecoveryCopy& copy) const;
    // Removes the live copy: its work is saved.
    void RemoveLive() const;
    // Removes the ended copy of exactly state: it has been saved.
    void RemoveSaved(const ThemeState& state) const;
    // Removes the ended copy at path: the user discarded it.
    void Discard(const QString& path) const;

    // Moves the live copies of editors no longer running among the ended
    // work, as they are ("editor ended unexpectedly"). Returns how many.
    int TakeInLeftCopies() const;
    // Removes the copies last written more than RecoveryKeepMs before nowMs
    // (never a running editor's live copy), and the lock files and temporary
    // files that editors killed at the wrong moment left. Returns how many
    // files it removed.
    int RemoveStale(qint64 nowMs) const;

private:
    // Takes this editor's lock unless it holds it; the reason when it cannot.
    std::optional<QString> lock() const;
    // Puts the copy at path, holding copy, under its state's name.
    void settle(const QString& path, const RecoveryCopy& copy) const;
    // True when a copy kept for state is there and at least as new as changedAtMs.
    bool keptAlready(const ThemeState& state, qint64 changedAtMs) const;

    QString m_folder;
    QString m_livePath;
    mutable std::unique_ptr<QLockFile> m_lock;  // taken by the first write
    std::optional<QString> m_problem;
};

} // namespace ovex
