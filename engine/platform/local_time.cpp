#include "engine/platform/local_time.h"

#include <optional>

namespace kl {

std::string FormatLocalTime(const FileTime& time)
{
    const std::optional<LocalTime> local = ToLocalTime(time.seconds);
    if (!local)
        return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local->fields) == 0)
        return {};
    return text;
}

}  // namespace kl
