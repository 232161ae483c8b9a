#include "settings/save_queue.h"

#include <QMutexLocker>

namespace tintavo {

SaveQueue::SaveQueue(QObject *parent)
    : QObject(parent), m_thread(QThread::create([this] { work(); }))
{
    m_thread->setObjectName(QStringLiteral("settings saves"));
}

SaveQueue::~SaveQueue()
{
    {
        const QMutexLocker locker(&m_mutex);
        m_ending = true;
    }
    m_queued.wakeAll();
    if (m_thread->isRunning())
        m_thread->wait();
    delete m_thread;
}

quint64 SaveQueue::enqueue(QObject *owner, Job job, Done done)
{
    // The thread starts with the first save, not with the program: most runs
    // save only at the end, and a start-up has better things to do.
    if (!m_thread->isRunning() && !m_thread->isFinished())
        m_thread->start();
    const QMutexLocker locker(&m_mutex);
    const quint64 number = ++m_lastNumber;
    for (Pending &waiting : m_pending) {
        if (waiting.owner == owner) {
            waiting = {owner, owner, number, std::move(job), std::move(done)};
            return number;
        }
    }
    m_pending.push_back({owner, owner, number, std::move(job), std::move(done)});
    m_queued.wakeAll();
    return number;
}

void SaveQueue::post(QObject *owner, Job job, Done done)
{
    enqueue(owner, std::move(job), std::move(done));
}

SaveResult SaveQueue::runAndWait(QObject *owner, Job job)
{
    const quint64 number = enqueue(owner, std::move(job), {});
    QMutexLocker locker(&m_mutex);
    while (!m_results.contains(number))
        m_ran.wait(&m_mutex);
    const SaveResult result = m_results.at(number);
    m_results.erase(number);
    return result;
}

void SaveQueue::work()
{
    QMutexLocker locker(&m_mutex);
    for (;;) {
        while (m_pending.empty() && !m_ending)
            m_queued.wait(&m_mutex);
        if (m_pending.empty())
            return;
        Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        locker.unlock();
        const SaveResult result = next.job();
        locker.relock();
        if (!next.done) {
            m_results[next.number] = result;
            m_ran.wakeAll();
            continue;
        }
        // Back on the window's thread, where the owner lives; this object
        // outlives the thread, and a call still queued when it goes is dropped.
        QMetaObject::invokeMethod(
            this,
            [alive = std::move(next.alive), done = std::move(next.done), result] {
                if (alive)
                    done(result);
            },
            Qt::QueuedConnection);
    }
}

} // namespace tintavo
