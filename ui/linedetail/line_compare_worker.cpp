#include "ui/linedetail/line_compare_worker.h"

#include <QMetaObject>
#include <new>
#include <utility>

namespace {

// Two lines of one encoding are stepped in it; lines of two encodings byte by byte as code
// page 932.
kl::TextEncoding PairEncoding(const kl::LineRef& line1, const kl::LineRef& line2)
{
    const kl::TextEncoding first = line1.text ? line1.text->encoding : kl::TextEncoding::Cp932;
    const kl::TextEncoding second = line2.text ? line2.text->encoding : kl::TextEncoding::Cp932;
    return first == second ? first : kl::TextEncoding::Cp932;
}

}  // namespace

LineCompareWorker::LineCompareWorker(kl::LineRef line1, kl::LineRef line2, StageHook stageHook, QObject* parent)
    : QObject(parent), line1_(std::move(line1)), line2_(std::move(line2)), stageHook_(std::move(stageHook))
{
}

LineCompareWorker::~LineCompareWorker()
{
    StopAndJoin();
}

bool LineCompareWorker::Start()
{
    return StartWorkerThread(thread_, [this](std::stop_token stop) {
        const auto onStage = [this, &stop](int stage) {
            if (stageHook_)
                stageHook_(stage, stop);
            stage_.store(stage, std::memory_order_release);
            QMetaObject::invokeMethod(this, "DeliverStage", Qt::QueuedConnection);
        };
        // Nothing may leave the thread: an exception there would end the program.
        Report report;
        try {
            report.result = std::make_shared<const kl::LinePairResult>(
                kl::CompareLinePair(line1_.bytes(), line2_.bytes(), onStage, stop, PairEncoding(line1_, line2_)));
        } catch (const std::bad_alloc&) {
            report.failure = "メモリが足りないため、比較できませんでした。";
        } catch (...) {
            report.failure = "予期しないエラーのため、比較できませんでした。";
        }
        // The run's working memory is free again here, so the hand-off normally succeeds.
        try {
            report_.Put(std::move(report));
            QMetaObject::invokeMethod(this, "DeliverResult", Qt::QueuedConnection);
        } catch (...) {
        }
    });
}

void LineCompareWorker::RequestStop()
{
    thread_.request_stop();
}

void LineCompareWorker::StopAndJoin()
{
    thread_ = std::jthread();
}

void LineCompareWorker::DeliverStage()
{
    emit stageChanged(stage_.load(std::memory_order_acquire));
}

void LineCompareWorker::DeliverResult()
{
    Report report = report_.Take();
    if (report.result) {
        emit finished(std::move(report.result), QString());
    } else if (report.failure) {
        auto failed = std::make_shared<kl::LinePairResult>();
        failed->aborted = true;
        emit finished(std::move(failed), QString::fromUtf8(report.failure));
    }
}
