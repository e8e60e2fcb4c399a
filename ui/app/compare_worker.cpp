#include "ui/app/compare_worker.h"

#include <QMetaObject>
#include <exception>
#include <new>
#include <stdexcept>
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
        // Nothing may leave the thread: an exception there would end the program.
        Report report;
        try {
            report.result = std::make_shared<const kl::CompareResult>(kl::Compare(texts_, request_, stop, progress));
        } catch (const std::bad_alloc&) {
            report.failure = "メモリが足りないため、比較できませんでした。";
        } catch (const std::length_error&) {
            report.failure = "テキストが大きすぎるため、比較できませんでした。";
        } catch (...) {
            report.failure = "予期しないエラーのため、比較できませんでした。";
        }
        // The run's working memory is free again here, so the hand-off normally succeeds;
        // should it not, the run is simply never reported.
        try {
            report_.Put(std::move(report));
            QMetaObject::invokeMethod(this, "DeliverResult", Qt::QueuedConnection);
        } catch (...) {
        }
    });
}

void CompareWorker::DeliverProgress()
{
    emit progressChanged(progress_.load(std::memory_order_acquire));
}

void CompareWorker::DeliverResult()
{
    Report report = report_.Take();
    if (report.result) {
        emit finished(std::move(report.result), QString());
    } else if (report.failure) {
        auto failed = std::make_shared<kl::CompareResult>();
        failed->outcome = kl::RunOutcome::Failed;
        emit finished(std::move(failed), QString::fromUtf8(report.failure));
    }
}

void CompareWorker::RequestStop()
{
    thread_.request_stop();
}
