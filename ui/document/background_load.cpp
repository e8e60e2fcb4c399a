#include "ui/document/background_load.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <exception>
#include <thread>

void RunWhilePainting(const std::function<void(const std::function<void(int percent)>& report)>& load,
                      const std::function<void(int percent)>& onProgress)
{
    QEventLoop loop;
    // Calls queued to this object after the load are dropped with it.
    QObject receiver;
    std::atomic<int> lastReported{-1};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            load([&](int percent) {
                if (lastReported.exchange(percent) != percent) {
                    QMetaObject::invokeMethod(
                        &receiver, [&onProgress, percent] { onProgress(percent); }, Qt::QueuedConnection);
                }
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
