#pragma once
// Folders for harnesses that work with files: one of the harness's own under TMPDIR,
// removed when the run ends, and in it a fresh empty folder for each input.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "fuzz/fuzz_check.h"

namespace fuzz {

inline std::string& ScratchRoot()
{
    static std::string root;
    return root;
}

// Makes the harness's folder, named after prefix; call it from LLVMFuzzerInitialize.
inline void MakeScratchRoot(const std::string& prefix)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    ScratchRoot() = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(ScratchRoot(), ec);
    });
}

// A new empty folder for the next input; the previous input's folder goes first. Each input
// gets a new name: a store that keeps what it read by file name and time would otherwise
// take a file rewritten within one clock tick for the one it read.
inline std::string FreshInputFolder()
{
    static unsigned long inputs = 0;
    std::error_code ec;
    std::filesystem::remove_all(ScratchRoot() + "/" + std::to_string(inputs), ec);
    const std::string folder = ScratchRoot() + "/" + std::to_string(++inputs);
    FUZZ_CHECK(std::filesystem::create_directory(folder, ec));
    return folder;
}

}  // namespace fuzz
