#include "cli/compare_summary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#if defined(_WIN32)
#include <fstream>

#include "engine/document/file_reader.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl::cli {

LineKindCounts CountLineKinds(const CompareResult& result)
{
    LineKindCounts counts;
    const std::vector<DisplayRow>& rowsA = result.Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(DOC_B);
    // A line outside a common row that still belongs to a common block has its partner
    // elsewhere: a moved line.
    const auto hasPartner = [&](int side, const DisplayRow& row) {
        const std::vector<std::int32_t>& blockSize = result.sides[static_cast<std::size_t>(side)].blockSize;
        const auto line = static_cast<std::size_t>(row.lineIndex);
        return line < blockSize.size() && blockSize[line] > 0;
    };
    for (std::size_t r = 0; r < std::min(rowsA.size(), rowsB.size()); ++r) {
        const DisplayRow& a = rowsA[r];
        const DisplayRow& b = rowsB[r];
        if (a.kind == ROW_COMMON && b.kind == ROW_COMMON) {
            ++counts.common;
            continue;
        }
        if (a.lineIndex != kNoLine)
            ++(hasPartner(DOC_A, a) ? counts.movedA : counts.onlyA);
        if (b.lineIndex != kNoLine)
            ++(hasPartner(DOC_B, b) ? counts.movedB : counts.onlyB);
    }
    return counts;
}

bool HasDifference(const LineKindCounts& counts)
{
    return counts.onlyA + counts.onlyB + counts.movedA + counts.movedB > 0;
}

void WriteLineKindCounts(OutputBuffer& out, const LineKindCounts& counts)
{
    const std::pair<const char*, int> lines[] = {{"common ", counts.common},  {"only-a ", counts.onlyA},
                                                 {"only-b ", counts.onlyB},   {"moved-a ", counts.movedA},
                                                 {"moved-b ", counts.movedB}};
    for (const auto& [name, count] : lines) {
        out.Put(name);
        out.PutInt(count);
        out.Put('\n');
    }
}

namespace {

constexpr std::size_t kPiece = 1 << 18;

#if defined(_WIN32)

class PieceReader {
public:
    explicit PieceReader(const std::string& path) : in_(PathFromUtf8(path), std::ios::binary) {}
    bool ok() const { return static_cast<bool>(in_); }
    // Bytes read into buffer, 0 at the end, -1 on an error.
    long long Read(char* buffer, std::size_t size)
    {
        in_.read(buffer, static_cast<std::streamsize>(size));
        return in_.bad() ? -1 : static_cast<long long>(in_.gcount());
    }

private:
    std::ifstream in_;
};

#else

class PieceReader {
public:
    // Opened without blocking, so that a FIFO is refused instead of waited for.
    explicit PieceReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
        struct stat info {};
        if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~PieceReader()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;
    bool ok() const { return fd_ >= 0; }
    long long Read(char* buffer, std::size_t size)
    {
        std::size_t filled = 0;
        while (filled < size) {
            const ssize_t got = ::read(fd_, buffer + filled, size - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        return static_cast<long long>(filled);
    }

private:
    int fd_;
};

#endif

}  // namespace

std::optional<bool> SameFileBytes(const std::string& pathA, const std::string& pathB)
{
    PieceReader a(pathA);
    PieceReader b(pathB);
    if (!a.ok() || !b.ok())
        return std::nullopt;
    const auto bufferA = std::make_unique<char[]>(kPiece);
    const auto bufferB = std::make_unique<char[]>(kPiece);
    for (;;) {
        const long long gotA = a.Read(bufferA.get(), kPiece);
        const long long gotB = b.Read(bufferB.get(), kPiece);
        if (gotA < 0 || gotB < 0)
            return std::nullopt;
        if (gotA != gotB || std::memcmp(bufferA.get(), bufferB.get(), static_cast<std::size_t>(gotA)) != 0)
            return false;
        if (gotA == 0)
            return true;
    }
}

}  // namespace kl::cli
