#include "recovery/RecoveryWorker.h"

namespace ovex {

RecoveryWorker::RecoveryWorker(QString folder, Failed failed)
    : m_failed(std::move(failed)), m_thread([this, folder = std::move(folder)] { loop(folder); })
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

void RecoveryWorker::Keep(RecoveryCopy copy)
{
    post({[this, copy = std::move(copy)](const RecoveryStore& store) {
              if (const auto failure = store.Keep(copy))
                  m_failed(*failure);
          },
          true});
}

void RecoveryWorker::End(RecoveryCopy copy)
{
    Run([this, copy = std::move(copy)](const RecoveryStore& store) {
        if (const auto failure = store.End(copy))
            m_failed(*failure);
    });
}

void RecoveryWorker::Run(Job job)
{
    post({std::move(job), false});
}

void RecoveryWorker::post(Task task)
{
    {
        const std::lock_guard lock(m_mutex);
        if (task.replaceable && !m_tasks.empty() && m_tasks.back().replaceable)
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
        m_failed(*store.Problem());
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
