#include "tests/support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "engine/platform/utf8_path.h"

namespace kltest {

TempDir::TempDir()
{
    std::random_device rd;
    std::mt19937_64 gen(rd());
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("kestrilane-test-" + std::to_string(gen()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = kl::Utf8FromPath(candidate);
            return;
        }
    }
}

TempDir::~TempDir()
{
    namespace fs = std::filesystem;
    const fs::path top = kl::PathFromUtf8(path_);
    // Windows deletes no read-only file, and a folder without write permission keeps its
    // files from any user but the superuser. A folder is made open before it is entered.
    std::error_code ignored;
    fs::permissions(top, fs::perms::owner_all, fs::perm_options::add, ignored);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(top, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(top, ignored);
}

std::string TempDir::file(std::string_view name) const
{
    return kl::Utf8FromPath(kl::PathFromUtf8(path_) / kl::PathFromUtf8(std::string(name)));
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const
{
    std::string full = file(name);
    std::ofstream out(kl::PathFromUtf8(full), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
}

void SetModifiedTime(const std::string& path, std::time_t time)
{
    using namespace std::chrono;
    std::filesystem::last_write_time(kl::PathFromUtf8(path), file_clock::from_sys(system_clock::from_time_t(time)));
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(kl::PathFromUtf8(path), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

}  // namespace kltest
