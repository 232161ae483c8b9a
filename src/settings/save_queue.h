#pragma once

#include "settings/save_result.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QWaitCondition>

#include <deque>
#include <functional>
#include <map>

namespace tintavo {

// Runs the program's saves one at a time on a thread of its own, so that a
// lock another copy holds or a slow disk never holds up the window. A save
// is a job that works on copies of what it writes, never on the window's
// objects. Each owner has at most one job waiting: a newer one takes the
// waiting one's place, so the newest state wins and a burst of changes is
// one more save. Not QThreadPool: saves must run in the order posted, and the
// one at exit must not queue behind a long read the pool is busy with.
class SaveQueue : public QObject
{
    Q_OBJECT

public:
    using Job = std::function<SaveResult()>;
    using Done = std::function<void(const SaveResult &)>;

    explicit SaveQueue(QObject *parent = nullptr);
    // Finishes the jobs still queued: the program's last changes still land.
    ~SaveQueue() override;

    // Queues owner's job; done is then called on this object's thread, unless
    // owner is gone by then or a newer job of owner's took this one's place.
    void post(QObject *owner, Job job, Done done);

    // Queues owner's job as post does and waits until it has run: for the
    // end of the program, which may wait.
    SaveResult runAndWait(QObject *owner, Job job);

private:
    struct Pending
    {
        QObject *owner = nullptr; // compared only, never used by the worker
        QPointer<QObject> alive;
        quint64 number = 0;
        Job job;
        Done done; // null for a job waited for
    };

    quint64 enqueue(QObject *owner, Job job, Done done);
    void work();

    QMutex m_mutex;
    QWaitCondition m_queued;
    QWaitCondition m_ran;
    std::deque<Pending> m_pending;
    std::map<quint64, SaveResult> m_results; // of jobs waited for
    quint64 m_lastNumber = 0;
    bool m_ending = false;
    QThread *m_thread;
};

} // namespace tintavo
