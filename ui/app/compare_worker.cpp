#include "ui/app/compare_worker.h"

#include <QCoreApplication>
#include <QEvent>
#include <system_error>

#include "engine/compare/run_snapshot.h"
#include "engine/compare/compare_run.h"
#include "engine/compare/run_control.h"

namespace {

kl::CompareRunSettings RunSettings(const CompareWorker::Settings& settings)
{
    kl::CompareRunSettings run;
    run.options = settings.options;
    run.mode = settings.mode;
    run.messages.left = settings.leftMessage;
    run.messages.right = settings.rightMessage;
    run.messages.positionMessages = settings.positionMessages;
    return run;
}

}  // namespace

CompareWorker::CompareWorker(kl::TextDocument& target, const Settings& settings, QObject* parent)
    : QObject(parent),
      target_(target),
      snapshot_(kl::SnapshotForRun(target)),
      settings_(std::make_unique<const kl::CompareRunSettings>(RunSettings(settings))),
      progressHook_(settings.progressHook)
{
}

CompareWorker::~CompareWorker()
{
    Cancel();
}

bool CompareWorker::Start()
{
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CompareWorker::Run()
{
    kl::CompareRunCallbacks callbacks;
    callbacks.progress = [this](int value) { PostProgress(value); };
    callbacks.totals = [this](int k, const std::string& text) { PostTotals(k, text); };
    callbacks.completed = [this] { WaitForCompletionCall(); };

    const int result = kl::RunCompare(snapshot_, *settings_, callbacks);
    {
        std::lock_guard lock(mutex_);
        result_ = result;
        threadEnded_ = true;
    }
    stateChanged_.notify_all();
    QMetaObject::invokeMethod(this, "OnThreadEnded", Qt::QueuedConnection);
}

// The progress callback comes once per line; only changed percentages are posted.
void CompareWorker::PostProgress(int value)
{
    if (value == lastPostedProgress_)
        return;
    lastPostedProgress_ = value;
    if (progressHook_)
        progressHook_(value);
    progress_.store(value, std::memory_order_relaxed);
    QMetaObject::invokeMethod(this, "OnProgressPosted", Qt::QueuedConnection);
}

void CompareWorker::PostTotals(int k, const std::string& text)
{
    {
        std::lock_guard lock(mutex_);
        pendingTotals_.emplace_back(k, text);
    }
    QMetaObject::invokeMethod(this, "OnTotalsPosted", Qt::QueuedConnection);
}

void CompareWorker::WaitForCompletionCall()
{
    {
        std::lock_guard lock(mutex_);
        completion_ = Completion::Posted;
    }
    stateChanged_.notify_all();
    QMetaObject::invokeMethod(this, "OnCompareDone", Qt::BlockingQueuedConnection);
    // Taking the lock once more makes the merge happen-before everything the worker does next.
    std::lock_guard lock(mutex_);
}

void CompareWorker::OnProgressPosted()
{
    bool cancelled;
    {
        std::lock_guard lock(mutex_);
        cancelled = cancelled_;
    }
    if (!cancelled)
        emit progressChanged(progress_.load(std::memory_order_relaxed));
}

void CompareWorker::OnTotalsPosted()
{
    std::vector<std::pair<int, std::string>> totals;
    bool cancelled;
    {
        std::lock_guard lock(mutex_);
        totals.swap(pendingTotals_);
        cancelled = cancelled_;
    }
    if (cancelled)
        return;
    for (const auto& [k, text] : totals)
        emit totalsReady(k, QByteArray::fromStdString(text));
}

void CompareWorker::OnCompareDone()
{
    bool merged = false;
    {
        std::lock_guard lock(mutex_);
        if (completion_ != Completion::Posted)
            return;
        completion_ = Completion::Served;
        if (!cancelled_)
            merged = merged_ = kl::MergeRunResult(target_, snapshot_);
    }
    if (merged) {
        inCompletionCall_ = true;
        emit resultMerged();
        inCompletionCall_ = false;
    }
}

void CompareWorker::OnThreadEnded()
{
    if (!thread_.joinable())
        return;
    thread_.join();
    int result;
    bool merged;
    bool cancelled;
    {
        std::lock_guard lock(mutex_);
        result = result_;
        merged = merged_;
        cancelled = cancelled_;
    }
    if (!cancelled)
        emit finished(result == kl::kRunCompleted, merged);
    else if (cancelWithoutWait_)
        emit finished(false, false);
}

bool CompareWorker::Cancel()
{
    if (!thread_.joinable())
        return true;
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        if (!threadEnded_)
            kl::g_abortRequested = 1;
    }
    // The worker waits for the completion call this thread is still in.
    if (inCompletionCall_) {
        cancelWithoutWait_ = true;
        return false;
    }
    // The worker may be waiting in its completion call for this thread: serve that call
    // (which now merges nothing) instead of blocking on the join.
    for (;;) {
        std::unique_lock lock(mutex_);
        stateChanged_.wait(lock, [this] { return threadEnded_ || completion_ == Completion::Posted; });
        if (threadEnded_)
            break;
        lock.unlock();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::this_thread::yield();
    }
    if (thread_.joinable())
        thread_.join();
    return true;
}
