#pragma once
// One run of a function on its own thread, reporting to the user-interface thread. The run
// reads only what it captured and owns its stop token; its steps (progress values or stages)
// and its result reach the user-interface thread as queued calls.
//
// The worker posts only a call by name, without arguments; the values cross through this
// object's own atomic and mutex, which order the hand-off. (Values carried inside Qt's
// queued call would be ordered only by Qt's locks, which the thread checker cannot see.)
//
// A worker is a QObject with the two signals, deriving from QueuedWorker<Result> after
// QObject: the body captures its inputs by value, and the thread is joined before the
// QObject part goes. All member functions are for the user-interface thread. Destroying the
// object requests a stop and waits for the thread; calls still queued are dropped with it.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

// The two calls a worker thread posts, delivered on the thread this object lives in.
class QueuedCalls : public QObject {
    Q_OBJECT

public:
    QueuedCalls(std::function<void()> onStep, std::function<void()> onFinish);

    // Any thread: queue one call of onStep / onFinish. Throws std::bad_alloc when there is
    // no memory for the call.
    void PostStep();
    void PostFinish();

private:
    Q_INVOKABLE void DeliverStep();
    Q_INVOKABLE void DeliverFinish();

    const std::function<void()> onStep_;
    const std::function<void()> onFinish_;
};

template <typename Result>
class QueuedWorker {
public:
    // Called on the worker thread at every step with the run's stop token, before the step
    // is posted; tests hold a run at a chosen step with it. May be empty.
    using StepHook = std::function<void(int step, const std::stop_token& stop)>;
    // What the run reports its steps to.
    using Step = std::function<void(int step)>;
    using Body = std::function<Result(std::stop_token stop, const Step& step)>;

    // Start() runs body on a thread of its own, which reports to owner's signals on the
    // user-interface thread: stepped with every step, finished once at its end. For a run
    // that threw (out of memory, or anything else) finished gets a default result given to
    // markFailed, and a failure text that says why, in Japanese; the failure text is empty
    // otherwise.
    template <typename Owner>
    QueuedWorker(Owner* owner, void (Owner::*stepped)(int),
                 void (Owner::*finished)(std::shared_ptr<const Result>, const QString&),
                 void (*markFailed)(Result&), Body body, StepHook hook)
        : body_(std::move(body)), stepped_([owner, stepped](int step) { emit(owner->*stepped)(step); }),
          finished_([owner, finished](std::shared_ptr<const Result> result, const QString& failure) {
              emit(owner->*finished)(std::move(result), failure);
          }),
          markFailed_(markFailed), hook_(std::move(hook)),
          calls_([this] { stepped_(step_.load(std::memory_order_acquire)); }, [this] { DeliverResult(); })
    {
    }
    ~QueuedWorker() { StopAndJoin(); }
    QueuedWorker(const QueuedWorker&) = delete;
    QueuedWorker& operator=(const QueuedWorker&) = delete;

    // Starts the thread; false when it could not be created.
    bool Start()
    {
        try {
            thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }
    // Asks the run to stop; finished still comes, with the result the run ends with.
    void RequestStop() { thread_.request_stop(); }
    // Asks the run to stop and waits for its thread.
    void StopAndJoin() { thread_ = std::jthread(); }

private:
    // The result, or for a run that threw only a static text, which needs no memory at a
    // moment when there may be none.
    struct Report {
        std::shared_ptr<const Result> result;
        const char* failure = nullptr;  // UTF-8
    };

    // On the worker thread. Nothing may leave it: an exception there would end the program.
    void Run(std::stop_token stop)
    {
        const Step step = [this, &stop](int value) {
            if (hook_)
                hook_(value, stop);
            step_.store(value, std::memory_order_release);
            calls_.PostStep();
        };
        Report report;
        try {
            report.result = std::make_shared<const Result>(body_(stop, step));
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
            {
                std::lock_guard lock(mutex_);
                report_ = std::move(report);
            }
            calls_.PostFinish();
        } catch (...) {
        }
    }

    void DeliverResult()
    {
        Report report;
        {
            std::lock_guard lock(mutex_);
            report = std::exchange(report_, Report{});
        }
        if (report.result) {
            finished_(std::move(report.result), QString());
        } else if (report.failure) {
            auto failed = std::make_shared<Result>();
            markFailed_(*failed);
            finished_(std::move(failed), QString::fromUtf8(report.failure));
        }
    }

    const Body body_;
    const std::function<void(int)> stepped_;
    const std::function<void(std::shared_ptr<const Result>, const QString&)> finished_;
    void (*const markFailed_)(Result&);
    const StepHook hook_;
    std::atomic<int> step_{0};
    std::mutex mutex_;
    Report report_;
    QueuedCalls calls_;
    std::jthread thread_;  // last: it is joined before the members above go
};
