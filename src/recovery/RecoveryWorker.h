#pragma once

#include "recovery/RecoveryStore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace ovex {

// A RecoveryStore on a thread of its own, so that the editor's thread never
// waits for the disk: the folder is made and locked there, and every copy is
// written there. Jobs run one at a time, in the order given. A live copy
// still waiting for its turn is replaced by a later one, so a burst of
// changes costs one write and only the latest state reaches the disk.
class RecoveryWorker
{
public:
    using Job = std::function<void(const RecoveryStore&)>;
    // Called on the worker's thread with the reason, in the user's words,
    // whenever a copy cannot be kept (the folder's problem included).
    using Failed = std::function<void(const QString& reason)>;

    // The store is opened on the worker's thread, before the first job.
    RecoveryWorker(QString folder, Failed failed);
    // Does everything still queued, then ends the thread.
    ~RecoveryWorker();
    RecoveryWorker(const RecoveryWorker&) = delete;
    RecoveryWorker& operator=(const RecoveryWorker&) = delete;

    // Writes copy as the editor's live copy.
    void Keep(RecoveryCopy copy);
    // Keeps copy among the ended work; the live copy goes.
    void End(RecoveryCopy copy);
    // Runs job on the worker's thread after everything queued before it.
    void Run(Job job);
    // Returns once everything queued so far is done.
    void Wait();

private:
    struct Task
    {
        Job job;
        bool replaceable = false;  // a live copy's write, which a later one replaces
    };

    void post(Task task);
    void loop(const QString& folder);

    Failed m_failed;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Task> m_tasks;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;  // last: starts once the rest exists
};

} // namespace ovex
