#include "engine/platform/module_dir.h"

#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "engine/platform/utf8_path.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";

std::optional<std::string> ModulePath() {
    // The buffer grows until the whole path fits; a path that fills it may be cut short.
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size) return Utf8FromWide(std::wstring_view(buffer.data(), length));
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

std::string SettingsFilePathFor(std::string_view programDir, bool programDirWritable,
                                std::string_view configHome, std::string_view home) {
    constexpr std::string_view kFileName = "kestrilane.ini";
    std::string config;
    if (configHome.starts_with('/')) {
        config = configHome;
    } else if (home.starts_with('/')) {
        config = std::string(home) + (home.ends_with('/') ? "" : "/") + ".config";
    }
    if (programDirWritable || config.empty()) return std::string(programDir) + std::string(kFileName);
    if (!config.ends_with('/')) config += '/';
    return config + "kestrilane/" + std::string(kFileName);
}

#ifdef _WIN32
std::optional<std::string> SettingsFilePath() {
    std::optional<std::string> dir = GetModuleDir();
    if (!dir) return std::nullopt;
    return *dir + "kestrilane.ini";
}
#else
std::optional<std::string> SettingsFilePath() {
    const std::optional<std::string> dir = GetModuleDir();
    if (!dir) return std::nullopt;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    // An installed program (share/kestrilane beside its bin folder) keeps its settings per
    // user even when it may write its folder, as root may write /usr/bin.
    struct stat shared {};
    const bool installed = ::stat((*dir + "../share/kestrilane").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode);
    std::string path = SettingsFilePathFor(*dir, !installed && ::access(dir->c_str(), W_OK) == 0,
                                           configHome ? configHome : "", home ? home : "");
    if (path == *dir + "kestrilane.ini") return path;
    // The configuration directory and the program's folder in it; a failure shows when
    // the settings are written.
    const std::size_t folder = path.find_last_of('/');
    const std::size_t config = path.find_last_of('/', folder - 1);
    ::mkdir(path.substr(0, config).c_str(), 0700);
    ::mkdir(path.substr(0, folder).c_str(), 0700);
    return path;
}
#endif

}  // namespace kl
