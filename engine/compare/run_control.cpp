#include "engine/compare/run_control.h"

namespace kl {

std::atomic<int> g_compareRunning{0};
std::atomic<int> g_abortRequested{0};

}  // namespace kl
