#include "engine/folders/file_pair_compare.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

#include "engine/compare/lines_equal.h"
#include "engine/document/file_reader.h"
#include "engine/document/text_loader.h"
#include "engine/platform/block_reader.h"
#include "engine/platform/text_encoding.h"

namespace kl {

namespace {

constexpr std::size_t kBinaryProbeBytes = 8192;
// Texts above this size are compared by bytes only: the text comparison holds both whole.
constexpr std::uint64_t kMaxTextCompareBytes = 256ull * 1024 * 1024;

std::string_view LineEndsOf(std::string_view head)
{
    bool crlf = false, lf = false, cr = false;
    for (std::size_t k = 0; k < head.size(); ++k) {
        if (head[k] == '\n') {
            lf = true;
        } else if (head[k] == '\r') {
            if (k + 1 < head.size() && head[k + 1] == '\n') {
                crlf = true;
                ++k;
            } else if (k + 1 < head.size()) {
                cr = true;
            }
        }
    }
    if (crlf && !lf && !cr)
        return "CRLF";
    if (lf && !crlf && !cr)
        return "LF";
    if (cr && !crlf && !lf)
        return "CR";
    if (crlf || lf || cr)
        return "混在";
    return "";
}

std::optional<std::shared_ptr<const Text>> LoadText(const std::string& path)
{
    FileReadResult read = ReadWholeFile(path);
    if (!read.ok)
        return std::nullopt;
    return std::make_shared<const Text>(
        SplitLinesOwned(std::move(read.bytes), read.size, false, EncodingChoice::Auto, &read.scanned));
}

bool TextsEqual(const Text& a, const Text& b, const CompareOptions& options)
{
    if (a.count() != b.count())
        return false;
    for (int i = 0; i < a.count(); ++i) {
        if (LinesEqual(a.text(i), b.text(i), options) != 0)
            return false;
    }
    return true;
}

// Both files as texts in one encoding, or nothing when either cannot be read.
std::optional<std::array<std::shared_ptr<const Text>, 2>> LoadPair(const std::string& pathA, const std::string& pathB)
{
    auto a = LoadText(pathA);
    auto b = LoadText(pathB);
    if (!a || !b)
        return std::nullopt;
    // Equal content in two encodings compares equal, as with two files opened in the window.
    if ((*a)->encoding == TextEncoding::Utf8 && (*b)->encoding == TextEncoding::Cp932)
        b = std::make_shared<const Text>(ConvertedToUtf8(**b));
    else if ((*b)->encoding == TextEncoding::Utf8 && (*a)->encoding == TextEncoding::Cp932)
        a = std::make_shared<const Text>(ConvertedToUtf8(**a));
    return std::array<std::shared_ptr<const Text>, 2>{*a, *b};
}

// The state of two texts whose bytes differ.
EntryState TextState(const std::string& pathA, const std::string& pathB, const CompareOptions& userOptions)
{
    const auto texts = LoadPair(pathA, pathB);
    if (!texts)
        return EntryState::Different;
    CompareOptions newlines;
    newlines.ignoreNewline = true;
    newlines.encoding = (*texts)[0]->encoding;
    if (TextsEqual(*(*texts)[0], *(*texts)[1], newlines))
        return EntryState::NewlineOnly;
    CompareOptions options = userOptions;
    options.encoding = newlines.encoding;
    return TextsEqual(*(*texts)[0], *(*texts)[1], options) ? EntryState::EqualUnderOptions : EntryState::Different;
}

}  // namespace

std::string DescribeFileHead(std::string_view head, bool complete)
{
    if (HeadLooksBinary(head))
        return "バイナリ";
    if (!complete) {
        // A UTF-8 character cut at the end of the head must not make it look like Shift_JIS.
        std::size_t keep = head.size();
        for (std::size_t back = 0; back < 3 && keep > 0 && (static_cast<unsigned char>(head[keep - 1]) & 0x80); ++back)
            --keep;
        head = head.substr(0, keep);
    }
    std::string description;
    switch (DetectEncoding(head)) {
    case DetectedEncoding::Cp932:
        description = std::all_of(head.begin(), head.end(), [](char c) { return (c & 0x80) == 0; }) ? "ASCII" : "Shift_JIS";
        break;
    case DetectedEncoding::Utf8: description = "UTF-8"; break;
    case DetectedEncoding::Utf8Bom: description = "UTF-8 BOM"; break;
    case DetectedEncoding::Utf16Le:
    case DetectedEncoding::Utf16Be: return "UTF-16";
    }
    const std::string_view lineEnds = LineEndsOf(head);
    if (!lineEnds.empty()) {
        description += ' ';
        description += lineEnds;
    }
    return description;
}

FilePairOutcome CompareFilePair(const std::string& pathA, const std::string& pathB, std::uint64_t sizeA,
                                std::uint64_t sizeB, const FolderCompareRequest& request, std::stop_token stop)
{
    FilePairOutcome outcome;
    std::array<std::string, 2> heads;
    bool binary[2]{};
    bool sameBytes = false;
    if (sizeA == sizeB) {
        BlockComparison blocks = CompareFileBlocks(pathA, pathB, sizeA, request.describeFiles, stop);
        if (blocks.outcome == BlockOutcome::Stopped)
            return outcome;
        if (blocks.outcome == BlockOutcome::Failed) {
            outcome.state = EntryState::ReadError;
            outcome.errors[static_cast<std::size_t>(blocks.failedSide)] = blocks.error;
            return outcome;
        }
        sameBytes = blocks.outcome == BlockOutcome::Same;
        heads = {std::move(blocks.heads[0]), std::move(blocks.heads[1])};
        binary[0] = blocks.binary[0];
        binary[1] = blocks.binary[1];
    } else {
        // Sizes tell the difference; the heads tell whether it is binary.
        const std::size_t headBytes = request.describeFiles ? kFileHeadBytes : kBinaryProbeBytes;
        const std::string* paths[2]{&pathA, &pathB};
        for (std::size_t side = 0; side < 2; ++side) {
            heads[side] = ReadFileHead(*paths[side], headBytes, outcome.errors[side]);
            if (outcome.errors[side] != 0)
                outcome.state = EntryState::ReadError;
            binary[side] = HeadLooksBinary(heads[side]);
        }
        if (outcome.state == EntryState::ReadError)
            return outcome;
    }
    if (request.describeFiles) {
        const std::uint64_t sizes[2]{sizeA, sizeB};
        for (std::size_t side = 0; side < 2; ++side)
            outcome.descriptions[side] = DescribeFileHead(heads[side], sizes[side] <= heads[side].size());
    }
    if (sameBytes) {
        outcome.state = EntryState::Same;
    } else if (binary[0] || binary[1]) {
        outcome.state = EntryState::BinaryDifferent;
    } else if (request.compareAsText && std::max(sizeA, sizeB) <= kMaxTextCompareBytes) {
        outcome.state = TextState(pathA, pathB, request.options);
    } else {
        outcome.state = EntryState::Different;
    }
    return outcome;
}

}  // namespace kl
