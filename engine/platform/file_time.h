#pragma once
// Modification times of files, and calendar times in the local time zone.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace kl {

// A point in time as seconds since 1970-01-01 00:00 UTC and the nanoseconds past them.
struct FileTime {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;

    bool operator==(const FileTime&) const = default;
};

// When the file at utf8Path (symbolic links followed) was last written; nothing when it
// cannot be examined.
std::optional<FileTime> LastWriteTime(const std::string& utf8Path);

struct LocalTime {
    std::tm fields{};
    int utcOffsetSeconds = 0;  // east of UTC positive, daylight saving included
};

// The calendar time in the local time zone (TZ where it is set); nothing for a time the
// system cannot convert.
std::optional<LocalTime> ToLocalTime(std::int64_t seconds);

}  // namespace kl
