#pragma once

#include "theme/RecoveryCopy.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace ovex {

// Copies are removed this long after they were last written, unless their
// editor still runs.
inline constexpr qint64 RecoveryKeepMs = 30LL * 24 * 60 * 60 * 1000;

// The copy of an editor that is no longer running, offered for recovery.
// While it exists it holds that copy's lock, so that no other editor offers
// the same copy meanwhile; dropping it lets the next editor offer it again.
class RecoveryOffer
{
public:
    RecoveryOffer(RecoveryOffer&&) noexcept;
    RecoveryOffer& operator=(RecoveryOffer&&) noexcept;
    ~RecoveryOffer();

    const RecoveryCopy& Copy() const { return m_copy; }
    const QString& Path() const { return m_path; }

private:
    friend class RecoveryStore;
    RecoveryOffer(RecoveryCopy copy, QString path, std::unique_ptr<QLockFile> lock);

    RecoveryCopy m_copy;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// One running editor's recovery copy in the folder shared by all of this
// user's editors: a file of its own, "<pid>-<random>.recovery", with a lock
// file beside it, taken before the copy is first written and held while the
// editor runs. An editor whose lock is held is running; its copy is never
// offered nor removed by another. An editor that has kept nothing holds no
// lock, so that looking for an offer at start-up costs no sync.
//
// Copies that cannot be read (damaged, foreign, from a newer editor) are left
// alone, in case a newer editor or a person can still use them, until they
// are as old as any copy may get; links, FIFOs and other users' files there
// are never touched.
class RecoveryStore
{
public:
    // folder: RecoveryFolder() in the program; tests give their own.
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();  // the copy stays: the work it holds may be unsaved
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Why this store keeps nothing: the folder could not be made private.
    const std::optional<QString>& Problem() const { return m_problem; }
    const QString& CopyPath() const { return m_copyPath; }

    // Replaces this editor's copy, all or nothing, readable by the user only.
    // Returns the reason when it was not written; the old copy then stays.
    std::optional<QString> Write(const RecoveryCopy& copy) const;
    // Removes this editor's copy: its work is saved or was never changed.
    void Remove() const;

    // The copy with the latest change among those of editors that are no
    // longer running, not clean, and read whole.
    std::optional<RecoveryOffer> FindOffer() const;
    // Makes the offered copy this editor's own (replacing its copy, if any),
    // so that it is not offered again while this editor runs.
    std::optional<QString> Adopt(RecoveryOffer offer) const;

    // Removes, of editors no longer running, the copies last written more
    // than RecoveryKeepMs before nowMs and the clean ones; and the lock files
    // and temporary files that editors killed at the wrong moment left.
    // Returns how many files it removed.
    int RemoveStale(qint64 nowMs) const;

private:
    // Takes this editor's lock unless it holds it; the reason when it cannot.
    std::optional<QString> lock() const;

    QString m_folder;
    QString m_copyPath;
    mutable std::unique_ptr<QLockFile> m_lock;  // taken by the first write
    std::optional<QString> m_problem;
};

} // namespace ovex
