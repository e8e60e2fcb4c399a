#pragma once
// What the worker threads of the window share: starting the thread, and handing a finished
// value to the user-interface thread. The worker puts the value and posts a queued call by
// name; that call, on the user-interface thread, takes it. The mutex orders the two.
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

template <typename T>
class HandOff {
public:
    void Put(T value)
    {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    // The value put last, or an empty one when it has been taken already.
    T Take()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(value_, T{});
    }

private:
    std::mutex mutex_;
    T value_{};
};

// Runs body(stop_token) on thread; false when the system could not create the thread.
template <typename Body>
bool StartWorkerThread(std::jthread& thread, Body body)
{
    try {
        thread = std::jthread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}
