#include "cli/compare_summary.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/platform/input_file.h"

namespace kl::cli {

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
    // Only runs with blank lines ignored or line filters have such lines.
    if (counts.leftOut > 0) {
        out.Put("left-out ");
        out.PutInt(counts.leftOut);
        out.Put('\n');
    }
}

namespace {

constexpr std::size_t kPiece = 1 << 18;

// A regular file opened for reading in pieces; anything else (a FIFO is opened without
// waiting for a writer) counts as not opened.
class PieceReader {
public:
    explicit PieceReader(const std::string& path) : file_(path)
    {
        int error = 0;
        const std::optional<InputState> state = file_.IsOpen() ? file_.State(error) : std::nullopt;
        regular_ = state && state->kind == InputKind::Regular;
    }
    bool ok() const { return regular_; }
    // Bytes read into buffer (fewer only at the end), 0 at the end, -1 on an error.
    long long Read(char* buffer, std::size_t size) { return file_.ReadFull(buffer, size); }

private:
    InputFile file_;
    bool regular_ = false;
};

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
