#pragma once
// One character comparison of two lines on its own thread. The run reads the two lines
// through their shared texts, captured by value, and has its own stop token, so it neither
// frees nor stops anything of another run; its stages and its result reach the
// user-interface thread as queued calls. A window starts one per pair of lines: Start()
// starts it, RequestStop() asks it to stop (finished() still comes, with an aborted result)
// and StopAndJoin() also waits for its thread.
#include <QObject>
#include <QString>
#include <memory>

#include "engine/linedetail/line_compare.h"
#include "engine/linedetail/line_pick.h"
#include "ui/platform/queued_worker.h"

class LineCompareWorker : public QObject, public QueuedWorker<kl::LinePairResult> {
    Q_OBJECT

public:
    // Called on the worker thread at every stage with the run's stop token, before the stage
    // is posted; tests hold a run at a chosen stage with it. May be empty.
    using StageHook = StepHook;

    LineCompareWorker(kl::LineRef line1, kl::LineRef line2, StageHook stageHook, QObject* parent = nullptr);

signals:
    void stageChanged(int stage);
    // The run has ended. When it threw (out of memory, or anything else) the result is an
    // aborted one and failure says why, in Japanese; failure is empty otherwise.
    void finished(std::shared_ptr<const kl::LinePairResult> result, const QString& failure);
};
