#pragma once
// One comparison run on its own thread (the Qt side of kl::RunCompare). The run works on a
// snapshot of the document's texts; progress and line totals reach the user-interface
// thread as queued calls, and the completion is a blocking queued call in which the result
// is merged into the document while the worker waits.
//
// All member functions are for the user-interface thread. The object must outlive its
// thread: the destructor cancels and waits.
#include <QByteArray>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/compare/compare_options.h"
#include "engine/document/text_document.h"

namespace kl {
struct CompareRunSettings;
}

class CompareWorker : public QObject {
    Q_OBJECT

public:
    // What a run depends on, copied when it starts (kl::CompareRunSettings).
    struct Settings {
        kl::CompareOptions options;
        int mode = 1;                  // kl::COMPARE_NORMAL or kl::COMPARE_DETAILED
        std::string leftMessage;       // filler texts, code page 932
        std::string rightMessage;
        bool positionMessages = true;  // moved lines name their partner's line number
        // Called on the worker thread with every new progress value, before it is posted;
        // tests hold the run at a chosen stage with it. May be empty.
        std::function<void(int)> progressHook;
    };

    // target: the document the result is merged into at completion. It is only read here
    // (for the snapshot) and only written in the completion call.
    CompareWorker(kl::TextDocument& target, const Settings& settings, QObject* parent = nullptr);
    ~CompareWorker() override;

    // Starts the thread; false when it could not be created.
    bool Start();

    // Asks the run to stop, drops whatever it has not delivered yet (its result is never
    // merged after this) and waits for the thread to end; true when it has ended. Safe
    // while the worker waits in its completion call: only this object's queued calls are
    // served while waiting. Called from within the completion call itself (a handler of
    // resultMerged), it cannot wait: it returns false and finished() reports the end.
    bool Cancel();

signals:
    void progressChanged(int value);
    // The line-total text of text k (code page 932 bytes).
    void totalsReady(int k, const QByteArray& text);
    // The result is in the document; the views should show it. The worker is still waiting.
    void resultMerged();
    // The thread has ended. completed: the run went to its end without a stop; merged:
    // whether a result was merged during the run. After Cancel the run counts as stopped
    // without a result; a Cancel that waited has already joined the thread and nothing is
    // emitted.
    void finished(bool completed, bool merged);

private:
    Q_INVOKABLE void OnProgressPosted();
    Q_INVOKABLE void OnTotalsPosted();
    Q_INVOKABLE void OnCompareDone();
    Q_INVOKABLE void OnThreadEnded();

    void Run();
    void PostProgress(int value);
    void PostTotals(int k, const std::string& text);
    void WaitForCompletionCall();

    enum class Completion { None, Posted, Served };

    kl::TextDocument& target_;
    kl::TextDocument snapshot_;           // the worker's while it runs
    // Held apart so that this header does not pull in the engine's row builder.
    const std::unique_ptr<const kl::CompareRunSettings> settings_;
    const std::function<void(int)> progressHook_;
    std::thread thread_;

    std::atomic<int> progress_{0};
    int lastPostedProgress_ = -1;         // worker thread only
    bool inCompletionCall_ = false;       // user-interface thread only
    bool cancelWithoutWait_ = false;      // user-interface thread only

    // Guarded by mutex_; the mutex also orders the worker's writes to snapshot_ before the
    // merge and the merge before the worker continues.
    std::mutex mutex_;
    std::condition_variable stateChanged_;
    std::vector<std::pair<int, std::string>> pendingTotals_;
    Completion completion_ = Completion::None;
    bool cancelled_ = false;
    bool merged_ = false;
    bool threadEnded_ = false;
    int result_ = -1;                     // kl::kRunEnded until the run returns
};
