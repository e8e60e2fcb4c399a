#include "ui/app/compare_worker.h"

#include <QMetaObject>
#include <exception>
#include <utility>

CompareWorker::CompareWorker(kl::TextPair texts, kl::CompareRequest request, ProgressHook progressHook,
                             QObject* parent)
    : QObject(parent), texts_(std::move(texts)), request_(std::move(request)), progressHook_(std::move(progressHook))
{
}

CompareWorker::~CompareWorker()
{
    // The jthread's destructor requests the stop and joins. Queued calls still pending for
    // this object are dropped with it.
    thread_ = std::jthread();
}

bool CompareWorker::Start()
{
    return StartWorkerThread(thread_, [this](std::stop_token stop) {
        const auto progress = [this, &stop](int value) {
            if (progressHook_)
                progressHook_(value, stop);
            progress_.store(value, std::memory_order_release);
            QMetaObject::invokeMethod(this, "DeliverProgress", Qt::QueuedConnection);
        };
        std::shared_ptr<const kl::CompareResult> result;
        try {
            result = std::make_shared<const kl::CompareResult>(kl::Compare(texts_, request_, stop, progress));
        } catch (const std::exception&) {  // out of memory, or a text too large to index
            auto failed = std::make_shared<kl::CompareResult>();
            failed->outcome = kl::RunOutcome::Failed;
            result = std::move(failed);
        }
        result_.Put(std::move(result));
        QMetaObject::invokeMethod(this, "DeliverResult", Qt::QueuedConnection);
    });
}

void CompareWorker::DeliverProgress()
{
    emit progressChanged(progress_.load(std::memory_order_acquire));
}

void CompareWorker::DeliverResult()
{
    std::shared_ptr<const kl::CompareResult> result = result_.Take();
    if (result)
        emit finished(std::move(result));
}

void CompareWorker::RequestStop()
{
    thread_.request_stop();
}
