#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>

namespace tintavo {

// Runs `work` on the application's thread pool, its result coming as a
// future a QFutureWatcher can report on the window's thread. Only QtCore's
// pool and promise: the program need not load a library of its own for this.
template <typename Work> auto runOffThread(Work work) -> QFuture<std::invoke_result_t<Work>>
{
    using Result = std::invoke_result_t<Work>;
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}

} // namespace tintavo
