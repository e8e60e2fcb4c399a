// Saving a file: a fuzzed target name (any bytes a file name may hold, up to the 255-byte
// limit) saved into a folder that already holds fuzzed files, among them names that look
// like temporary files of saves, marked leftovers of killed saves, fresh and old. The save
// succeeds and the target holds the new bytes; no other file changes, and none is added
// or removed, except that marked leftovers older than a day may go.
#include <fuzzer/FuzzedDataProvider.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>

#include "engine/platform/atomic_file.h"
#include "engine/platform/save_temporary.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch_folder.h"

namespace {

constexpr std::size_t kNameLimit = 255;

// A file name from the input: any bytes but '/' and NUL, 1 to 255 of them, never "." or "..".
std::string FuzzedName(FuzzedDataProvider& provider)
{
    switch (provider.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: return kl::NewSaveTemporaryName();
    case 1: return "notes.tmp-" + std::to_string(provider.ConsumeIntegral<std::uint16_t>()) + "-" +
                   std::to_string(provider.ConsumeIntegral<std::uint32_t>());
    case 2: return std::string(provider.ConsumeIntegralInRange<std::size_t>(1, kNameLimit), 'n');
    default: break;
    }
    std::string name = provider.ConsumeRandomLengthString(kNameLimit);
    for (char& c : name) {
        if (c == '/' || c == '\0')
            c = '_';
    }
    if (name.empty() || name == "." || name == "..")
        name += "x";
    return name;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && written;
}

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    FUZZ_CHECK(fd >= 0);
    char chunk[4096];
    ssize_t got;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<std::size_t>(got));
    ::close(fd);
    return bytes;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> Contents(const std::string& folder)
{
    std::map<std::string, std::string> files;
    DIR* dir = ::opendir(folder.c_str());
    FUZZ_CHECK(dir != nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            files[name] = ReadFile(folder + "/" + name);
    }
    ::closedir(dir);
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::MakeScratchRoot("kestrilane-save-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string folder = fuzz::FreshInputFolder();

    // The files already there; a day and more old where the input says so.
    std::map<std::string, bool> old;
    for (int k = provider.ConsumeIntegralInRange<int>(0, 6); k > 0; --k) {
        const std::string name = FuzzedName(provider);
        const std::string path = folder + "/" + name;
        if (!WriteFile(path, provider.ConsumeRandomLengthString(64)))
            continue;
        old[name] = provider.ConsumeBool();
        if (old[name]) {
            const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 49 * 3600, 0}};
            FUZZ_CHECK(::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0);
        }
    }
    // The target: a new name or one of the files there.
    std::string target = FuzzedName(provider);
    if (!old.empty() && provider.ConsumeBool()) {
        auto it = old.begin();
        std::advance(it, provider.ConsumeIntegralInRange<std::size_t>(0, old.size() - 1));
        target = it->first;
    }
    const std::string bytes = provider.ConsumeRemainingBytesAsString();
    const std::map<std::string, std::string> before = Contents(folder);

    const kl::ReplaceResult result = kl::ReplaceFileAtomically(folder + "/" + target, bytes);
    if (!result)
        std::fprintf(stderr, "save of a %zu-byte name failed: %s\n", target.size(), result.reason.c_str());
    FUZZ_CHECK(result);

    std::map<std::string, std::string> after = Contents(folder);
    FUZZ_CHECK(after[target] == bytes);
    after.erase(target);
    for (const auto& [name, content] : before) {
        if (name == target)
            continue;
        const auto found = after.find(name);
        if (found == after.end()) {
            // Only an old leftover of a killed save may go.
            FUZZ_CHECK(kl::IsSaveTemporaryName(name) && old[name]);
            continue;
        }
        FUZZ_CHECK(found->second == content);
        after.erase(found);
    }
    FUZZ_CHECK(after.empty());  // nothing was added but the target
    return 0;
}
