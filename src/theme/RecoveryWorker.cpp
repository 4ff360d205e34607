#include "theme/RecoveryWorker.h"

#include <QtGlobal>

namespace ovex {

RecoveryWorker::RecoveryWorker(QString folder) : m_thread([this, folder = std::move(folder)] { loop(folder); })
{
}

RecoveryWorker::~RecoveryWorker()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecoveryWorker::Keep(std::optional<RecoveryCopy> copy)
{
    post({[copy = std::move(copy)](const RecoveryStore& store) {
              if (!copy) {
                  store.Remove();
              } else if (const auto failure = store.Write(*copy)) {
                  // The previous copy stays; the next change tries again.
                  qWarning("Recovery copy not written: %s", qUtf8Printable(*failure));
              }
          },
          true});
}

void RecoveryWorker::Run(Job job)
{
    post({std::move(job), false});
}

void RecoveryWorker::post(Task task)
{
    {
        const std::lock_guard lock(m_mutex);
        if (task.keep && !m_tasks.empty() && m_tasks.back().keep)
            m_tasks.back() = std::move(task);
        else
            m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void RecoveryWorker::Wait()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_tasks.empty() && !m_busy; });
}

void RecoveryWorker::loop(const QString& folder)
{
    const RecoveryStore store(folder);
    if (store.Problem())
        qWarning("Recovery copies are off: %s", qUtf8Printable(*store.Problem()));
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_tasks.empty() || m_stopping; });
        if (m_tasks.empty())
            return;  // stopping, with nothing left to do
        const Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        m_busy = true;
        lock.unlock();
        task.job(store);
        lock.lock();
        m_busy = false;
        if (m_tasks.empty())
            m_idle.notify_all();
    }
}

} // namespace ovex
