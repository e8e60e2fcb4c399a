#pragma once
// How a worker reports to whoever started it. Each run owns its stop request (a
// std::stop_token); nothing about a run is process-wide.
#include <functional>

namespace kl {

// Receives progress values 0..100. May be empty.
using ProgressCallback = std::function<void(int)>;

}  // namespace kl
