#pragma once
// Times as the folder result shows them.
#include <string>

#include "engine/platform/file_time.h"

namespace kl {

// "2026-12-08 14:05:09" in the local time zone; empty for a time the system cannot convert.
std::string FormatLocalTime(const FileTime& time);

}  // namespace kl
