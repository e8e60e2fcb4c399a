#pragma once
#include <cstddef>

namespace kl {

// Asks the system to back a large, not yet touched buffer with huge pages where it offers
// them (Linux transparent huge pages). Loading a large text touches tens of megabytes of
// fresh memory, and with 4 KiB pages the page faults cost more than reading the file.
// Only the whole 2 MiB pages inside the range are affected; small buffers and other
// systems are left as they are. The contents and the results never change.
void AdviseHugePages(void* data, std::size_t bytes);

// Has every large allocation (1 MiB and more) mapped on its own, so that freeing it gives
// the memory back at once. A comparison frees large working tables (line numbering, search
// indexes) before it allocates the next ones; without this the C library would keep the
// freed pages for itself and the process would hold both. Called once at program start.
void ReturnLargeBlocksOnFree();

}  // namespace kl
