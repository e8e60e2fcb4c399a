#pragma once
// Loading a large file without freezing the window: the load runs on a thread of its own
// while the user-interface thread goes on painting and passing on the load's progress.
#include <functional>

// Runs load on its own thread and returns once it has returned. Meanwhile the event loop
// of this thread runs with user input held back (input that arrives is handled after
// the load, so nothing else the user starts can overlap it), and every new percentage
// load reports reaches onProgress here. An exception of load is thrown again here.
void RunWhilePainting(const std::function<void(const std::function<void(int percent)>& report)>& load,
                      const std::function<void(int percent)>& onProgress);
