#pragma once
// What a running comparison shares with the rest of the program: the two process-wide
// flags and the progress report. The engine never touches a window; it reports through
// these callbacks, and the UI forwards them.
#include <atomic>
#include <functional>

namespace kl {

// 1 from a successful worker start until the worker ends.
extern std::atomic<int> g_compareRunning;
// The one cancel flag: set by the stop command, cleared when a run starts, polled by workers.
extern std::atomic<int> g_abortRequested;

inline bool AbortPending() { return g_abortRequested.load(std::memory_order_relaxed) != 0; }

// Receives progress values 0..100. May be empty.
using ProgressCallback = std::function<void(int)>;

}  // namespace kl
