#pragma once
// The application with its settings file and per-user profile in a temporary folder, the
// user's answers given by the test, and a gate that holds a comparison run at a chosen
// progress value.
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "ui/app/compare_worker.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"
#include "tests/support/temp_dir.h"

namespace kltest {

inline const std::string kBefore = std::string(KESTRILANE_SOURCE_DIR) + "/samples/before.txt";
inline const std::string kAfter = std::string(KESTRILANE_SOURCE_DIR) + "/samples/after.txt";
// Settings under which neither the command line nor an open starts a comparison by itself.
inline const std::string kNoAutoCompare = "[FLAG]\nFPARAMDO=0\nFOPENDO=0\n";

// Processes the user-interface events until done() holds; false after timeoutMs.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The progress hook of a run. The first progress value for which holdAt answers true
// holds the worker until Release() or until a stop is requested; every value is recorded.
// The state lives as long as any hook made from it, so a dropped run that is still ending
// may outlive the gate.
class RunGate {
public:
    explicit RunGate(std::function<bool(int)> holdAt) : state_(std::make_shared<State>())
    {
        state_->holdAt = std::move(holdAt);
    }

    CompareWorker::ProgressHook Hook()
    {
        return [state = state_](int value, const std::stop_token& stop) { state->OnProgress(value, stop); };
    }

    // Whether the held run has been asked to stop (waits a little for the request to arrive).
    bool StopSeen()
    {
        std::unique_lock lock(state_->mutex);
        return state_->changed.wait_for(lock, std::chrono::seconds(20), [this] { return state_->stopSeen; });
    }

    // Waits (without processing events) until the worker is held; false after a timeout.
    bool WaitUntilHeld()
    {
        std::unique_lock lock(state_->mutex);
        return state_->changed.wait_for(lock, std::chrono::seconds(20), [this] { return state_->held; });
    }

    void Release()
    {
        {
            std::lock_guard lock(state_->mutex);
            state_->released = true;
        }
        state_->changed.notify_all();
    }

    std::vector<int> Values()
    {
        std::lock_guard lock(state_->mutex);
        return state_->values;
    }

private:
    struct State {
        void OnProgress(int value, const std::stop_token& stop)
        {
            std::unique_lock lock(mutex);
            values.push_back(value);
            if (usedOnce || !holdAt(value))
                return;
            usedOnce = true;
            held = true;
            changed.notify_all();
            while (!released && !stop.stop_requested())
                changed.wait_for(lock, std::chrono::milliseconds(5));
            stopSeen = stop.stop_requested();
            changed.notify_all();
        }

        std::function<bool(int)> holdAt;
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<int> values;
        bool usedOnce = false;
        bool held = false;
        bool released = false;
        bool stopSeen = false;
    };
    std::shared_ptr<State> state_;
};

class AppTest : public ::testing::Test {
protected:
    std::unique_ptr<CKestrilaneApp> MakeApp(const std::string& iniBytes = {})
    {
        if (!iniBytes.empty())
            dir.write("kestrilane.ini", iniBytes);
        auto profile = std::make_unique<kl::UserProfile>(profilePath());
        auto app = std::make_unique<CKestrilaneApp>(dir.file("kestrilane.ini"), std::move(profile));
        app->prompts.askClearLoaded = [this](QWidget*) {
            ++clearQuestions;
            return answerClear;
        };
        app->prompts.showOpenError = [this](QWidget*, const QString& message) { errors << message; };
        app->prompts.chooseFile = [this](QWidget*, const QString&, const QString&) {
            return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
        };
        app->prompts.showRebuildInformation = [this](QWidget*, const QString& message) { errors << message; };
        app->prompts.showRebuildError = [this](QWidget*, const QString& message) { errors << message; };
        app->prompts.askRecordRepaired = [this](QWidget*, const QString&) { return answerRecordRepaired; };
        app->prompts.askOverwriteChanged = [](QWidget*, const QString&) { return false; };
        return app;
    }

    QString profilePath() const { return QString::fromStdString(dir.file("profile.ini")); }

    static std::vector<std::string> Words(std::vector<std::string> args)
    {
        args.insert(args.begin(), "kestrilane");
        return args;
    }

    static void Trigger(const CKestrilaneApp& app, int id)
    {
        QAction* action = app.mainFrame()->commandAction(id);
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    }

    static bool WaitForRunEnd(const CKestrilaneApp& app)
    {
        return WaitUntil([&app] { return !app.mainFrame()->compareActive(); });
    }

    TempDir dir;
    bool answerClear = true;
    bool answerRecordRepaired = false;
    int clearQuestions = 0;
    QStringList errors;
    QStringList chosenFiles;
};

}  // namespace kltest
