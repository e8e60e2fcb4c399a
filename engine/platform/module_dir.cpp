#include "engine/platform/module_dir.h"

#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kl {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";

std::optional<std::string> ModulePath() {
    // The buffer grows until the whole path fits; a path that fills it may be cut short.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size) return std::string(buffer.data(), length);
    }
    return std::nullopt;
}
#else
constexpr std::string_view kSeparators = "/";

std::optional<std::string> ModulePath() {
    // readlink does not say whether the target was cut short, so the buffer grows until
    // the result leaves room to spare.
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), size);
        if (length <= 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < size) return std::string(buffer.data(), length);
    }
    return std::nullopt;
}
#endif

}  // namespace

std::optional<std::string> GetModuleDir() {
    std::optional<std::string> path = ModulePath();
    if (!path) return std::nullopt;
    const std::size_t separator = path->find_last_of(kSeparators);
    if (separator == std::string::npos) return std::nullopt;
    path->resize(separator + 1);
    return path;
}

std::optional<std::string> SettingsFilePath() {
    std::optional<std::string> dir = GetModuleDir();
    if (!dir) return std::nullopt;
    return *dir + "kestrilane.ini";
}

}  // namespace kl
