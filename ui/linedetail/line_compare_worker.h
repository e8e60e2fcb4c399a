#pragma once
// One character comparison of two lines on its own thread. The run reads the two lines
// through their shared texts and has its own stop token, so it neither frees nor stops
// anything of another run; its stages and its result reach the user-interface thread as
// queued calls. A window starts one per pair of lines.
//
// All member functions are for the user-interface thread. Destroying the object requests a
// stop and waits for the thread; calls still queued for it are dropped with it.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

#include "ui/platform/worker_hand_off.h"
#include "engine/linedetail/line_compare.h"
#include "engine/linedetail/line_pick.h"

class LineCompareWorker : public QObject {
    Q_OBJECT

public:
    // Called on the worker thread at every stage with the run's stop token, before the stage
    // is posted; tests hold a run at a chosen stage with it. May be empty.
    using StageHook = std::function<void(int stage, const std::stop_token& stop)>;

    LineCompareWorker(kl::LineRef line1, kl::LineRef line2, StageHook stageHook, QObject* parent = nullptr);
    ~LineCompareWorker() override;

    // Starts the thread; false when it could not be created.
    bool Start();
    // Asks the run to stop; finished() still comes, with an aborted result.
    void RequestStop();
    // Asks the run to stop and waits for its thread.
    void StopAndJoin();

signals:
    void stageChanged(int stage);
    // The run has ended. When it threw (out of memory, or anything else) the result is an
    // aborted one and failure says why, in Japanese; failure is empty otherwise.
    void finished(std::shared_ptr<const kl::LinePairResult> result, const QString& failure);

private:
    // The result, or for a run that threw only a static text, which needs no memory.
    struct Report {
        std::shared_ptr<const kl::LinePairResult> result;
        const char* failure = nullptr;  // UTF-8
    };

    Q_INVOKABLE void DeliverStage();
    Q_INVOKABLE void DeliverResult();

    const kl::LineRef line1_;
    const kl::LineRef line2_;
    const StageHook stageHook_;
    std::atomic<int> stage_{0};
    HandOff<Report> report_;
    std::jthread thread_;  // last: it is joined before the members above go
};
