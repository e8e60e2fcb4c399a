#pragma once
// One comparison run on its own thread (the Qt side of kl::Compare). The run reads only the
// shared, immutable texts and its captured request, and hands back a new result value;
// progress and the result reach the user-interface thread as queued calls.
//
// All member functions are for the user-interface thread. Destroying the object requests a
// stop and waits for the thread.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "ui/platform/worker_hand_off.h"
#include "engine/compare/compare.h"

class CompareWorker : public QObject {
    Q_OBJECT

public:
    // Called on the worker thread with every new progress value before it is posted, and
    // the run's stop token; tests hold a run at a chosen stage with it. May be empty.
    using ProgressHook = std::function<void(int value, const std::stop_token& stop)>;

    CompareWorker(kl::TextPair texts, kl::CompareRequest request, ProgressHook progressHook,
                  QObject* parent = nullptr);
    ~CompareWorker() override;

    // Starts the thread; false when it could not be created.
    bool Start();
    // Asks the run to stop; finished() still comes, with the run's outcome.
    void RequestStop();

signals:
    void progressChanged(int value);
    // The run has ended; result->outcome tells how. When the run threw (out of memory, or
    // anything else) the outcome is RunOutcome::Failed and failure says why, in Japanese;
    // it is empty otherwise.
    void finished(std::shared_ptr<const kl::CompareResult> result, const QString& failure);

private:
    // What the thread hands over: the result, or for a run that threw only a static text,
    // which needs no memory at a moment when there may be none.
    struct Report {
        std::shared_ptr<const kl::CompareResult> result;
        const char* failure = nullptr;  // UTF-8
    };

    // The worker posts only a call by name; the values themselves cross through the
    // members below, so the hand-off is ordered by this object's own atomics and mutex.
    Q_INVOKABLE void DeliverProgress();
    Q_INVOKABLE void DeliverResult();

    const kl::TextPair texts_;
    const kl::CompareRequest request_;
    const ProgressHook progressHook_;
    std::atomic<int> progress_{0};
    HandOff<Report> report_;
    std::jthread thread_;  // last: it is joined before the members above go
};
