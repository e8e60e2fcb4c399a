#pragma once
// One comparison run on its own thread (the Qt side of kl::Compare). The run reads only the
// shared, immutable texts and its request, both captured by value, and hands back a new
// result value; progress and the result reach the user-interface thread as queued calls.
// Start() starts it; RequestStop() asks it to stop, and finished() still comes, with the
// run's outcome.
#include <QObject>
#include <QString>
#include <memory>

#include "engine/compare/compare.h"
#include "ui/platform/queued_worker.h"

class CompareWorker : public QObject, public QueuedWorker<kl::CompareResult> {
    Q_OBJECT

public:
    // Called on the worker thread with every new progress value before it is posted, and
    // the run's stop token; tests hold a run at a chosen stage with it. May be empty.
    using ProgressHook = StepHook;

    CompareWorker(kl::TextPair texts, kl::CompareRequest request, ProgressHook progressHook,
                  QObject* parent = nullptr);

signals:
    void progressChanged(int value);
    // The run has ended; result->outcome tells how. When the run threw (out of memory, or
    // anything else) the outcome is RunOutcome::Failed and failure says why, in Japanese;
    // it is empty otherwise.
    void finished(std::shared_ptr<const kl::CompareResult> result, const QString& failure);
};
