// The character comparison of two lines in code page 932 or UTF-8: the runs of each line
// cover it from its start to its line end in order, without a gap, and never cut a
// multi-byte character; common runs link to a candidate of the other line with equal bytes.
// A pair of code page 932 lines and the same pair in UTF-8 give the same runs, counted in
// characters.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>
#include <string>
#include <string_view>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/platform/cp932.h"
#include "engine/platform/text_encoding.h"
#include "fuzz/fuzz_check.h"

namespace {

// A line as the loader gives it: the bytes up to and including the first line end.
std::string AsLine(std::string bytes)
{
    const std::size_t end = bytes.find_first_of("\r\n");
    if (end == std::string::npos)
        return bytes;
    const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    bytes.resize(end + (crlf ? 2 : 1));
    return bytes;
}

// Character starts of text, and its end.
std::vector<bool> Boundaries(std::string_view text, kl::TextEncoding encoding)
{
    std::vector<bool> boundary(text.size() + 1, false);
    for (std::size_t pos = 0; pos < text.size();) {
        boundary[pos] = true;
        const std::size_t next = kl::NextCharIn(encoding, text, pos);
        FUZZ_CHECK(next > pos && next <= text.size());
        pos = next;
    }
    boundary[text.size()] = true;
    return boundary;
}

int Cells(std::string_view line, const kl::SubstringCandidate& run, kl::TextEncoding encoding)
{
    int cells = 0;
    for (std::size_t pos = static_cast<std::size_t>(run.start); pos < static_cast<std::size_t>(run.end);) {
        const std::size_t next = kl::NextCharIn(encoding, line, pos);
        cells += kl::CharCellsIn(encoding, line, pos, next);
        pos = next;
    }
    return cells;
}

bool InRange(std::int32_t index, const std::vector<kl::SubstringCandidate>& list)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

void CheckCandidates(const std::vector<kl::SubstringCandidate>& own, const std::vector<kl::SubstringCandidate>& other,
                     std::string_view line, const std::vector<bool>& boundary)
{
    for (const kl::SubstringCandidate& c : own) {
        FUZZ_CHECK(0 <= c.start && c.start < c.end && static_cast<std::size_t>(c.end) <= line.size());
        FUZZ_CHECK(boundary[static_cast<std::size_t>(c.start)] && boundary[static_cast<std::size_t>(c.end)]);
        FUZZ_CHECK(c.counterpart == kl::kNoCandidate || InRange(c.counterpart, other));
    }
}

void CheckRuns(const kl::LinePairResult& result, int side, std::string_view line, std::string_view otherLine,
               kl::TextEncoding encoding)
{
    const std::vector<kl::LineSegment>& runs = side == 0 ? result.segments1 : result.segments2;
    const std::vector<kl::SubstringCandidate>& own = side == 0 ? result.candidates1 : result.candidates2;
    const std::vector<kl::SubstringCandidate>& other = side == 0 ? result.candidates2 : result.candidates1;
    const std::vector<bool> boundary = Boundaries(line, encoding);
    CheckCandidates(own, other, line, boundary);

    // Common runs may overlap one another; a difference run fills exactly the gap before
    // the next run, or the rest of the line.
    std::size_t covered = 0;
    std::int32_t lastStart = 0;
    for (const kl::LineSegment& run : runs) {
        FUZZ_CHECK(run.start < run.end && static_cast<std::size_t>(run.end) <= line.size());
        FUZZ_CHECK(boundary[static_cast<std::size_t>(run.start)] && boundary[static_cast<std::size_t>(run.end)]);
        FUZZ_CHECK(run.start >= lastStart);
        FUZZ_CHECK(static_cast<std::size_t>(run.start) <= covered);
        lastStart = run.start;
        if (run.isDifference != 0) {
            FUZZ_CHECK(static_cast<std::size_t>(run.start) == covered);
            FUZZ_CHECK(run.counterpart == kl::kNoCandidate && run.source == kl::kNoCandidate);
        } else {
            FUZZ_CHECK(Cells(line, run, encoding) >= kl::kMinCandidateCells);
            FUZZ_CHECK(InRange(run.source, own) && InRange(run.counterpart, other));
            const kl::SubstringCandidate& source = own[static_cast<std::size_t>(run.source)];
            FUZZ_CHECK(source.start == run.start && source.end == run.end);
            FUZZ_CHECK(static_cast<std::size_t>(run.end) <= kl::CandidateEndLimit(line, encoding));
            const kl::SubstringCandidate& partner = other[static_cast<std::size_t>(run.counterpart)];
            FUZZ_CHECK(kl::CandidateText(partner, otherLine) == kl::CandidateText(run, line));
        }
        covered = std::max(covered, static_cast<std::size_t>(run.end));
    }
    // Everything before the line end is covered; the line end only where a run reaches it.
    FUZZ_CHECK(covered >= line.size() - kl::LineEndLength(line, encoding));
}

kl::LinePairResult CompareChecked(const std::string& line1, const std::string& line2, kl::TextEncoding encoding)
{
    int stages = 0;
    kl::LinePairResult result = kl::CompareLinePair(
        line1, line2, [&stages](int stage) { FUZZ_CHECK(stage == stages++); }, {}, encoding);
    FUZZ_CHECK(!result.aborted);
    FUZZ_CHECK(stages == 6);
    CheckRuns(result, 0, line1, line2, encoding);
    CheckRuns(result, 1, line2, line1, encoding);
    return result;
}

struct EncodedLine {
    std::string cp932;
    std::string utf8;
};

// The characters of a code page 932 line that come back unchanged from UTF-8 (so that
// equal characters stay equal and different ones different), in both encodings, with the
// line's line end.
EncodedLine BothEncodings(std::string_view line)
{
    const std::size_t contentEnd = line.find_first_of("\r\n") == std::string_view::npos ? line.size() : line.find_first_of("\r\n");
    EncodedLine both;
    for (std::size_t pos = 0; pos < contentEnd;) {
        const std::size_t next = std::min(kl::NextChar(line, pos), contentEnd);
        const std::string_view character = line.substr(pos, next - pos);
        const std::string utf8 = kl::Cp932ToUtf8(character);
        if (kl::Utf8ToCp932(utf8) == character) {
            both.cp932 += character;
            both.utf8 += utf8;
        }
        pos = next;
    }
    both.cp932 += line.substr(contentEnd);
    both.utf8 += line.substr(contentEnd);
    return both;
}

// kind, first and end character, the partner's first and end character (-1 without one)
using RunKey = std::tuple<int, int, int, int, int>;

std::map<std::size_t, int> CharacterNumbers(std::string_view text, kl::TextEncoding encoding)
{
    std::map<std::size_t, int> numbers;
    int number = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = kl::NextCharIn(encoding, text, pos))
        numbers[pos] = number++;
    numbers[text.size()] = number;
    return numbers;
}

std::vector<RunKey> InCharacters(const kl::LinePairResult& result, int side, std::string_view line,
                                 std::string_view otherLine, kl::TextEncoding encoding)
{
    const std::vector<kl::LineSegment>& runs = side == 0 ? result.segments1 : result.segments2;
    const std::vector<kl::SubstringCandidate>& other = side == 0 ? result.candidates2 : result.candidates1;
    const std::map<std::size_t, int> own = CharacterNumbers(line, encoding);
    const std::map<std::size_t, int> partner = CharacterNumbers(otherLine, encoding);
    std::vector<RunKey> keys;
    for (const kl::LineSegment& run : runs) {
        int partnerStart = -1;
        int partnerEnd = -1;
        if (run.counterpart != kl::kNoCandidate) {
            const kl::SubstringCandidate& c = other[static_cast<std::size_t>(run.counterpart)];
            partnerStart = partner.at(static_cast<std::size_t>(c.start));
            partnerEnd = partner.at(static_cast<std::size_t>(c.end));
        }
        keys.emplace_back(run.isDifference, own.at(static_cast<std::size_t>(run.start)),
                          own.at(static_cast<std::size_t>(run.end)), partnerStart, partnerEnd);
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const int mode = provider.ConsumeIntegralInRange(0, 2);  // code page 932, UTF-8, both
    const std::string line1 = AsLine(provider.ConsumeRandomLengthString(size));
    const std::string line2 = AsLine(provider.ConsumeRemainingBytesAsString());
    if (mode < 2) {
        CompareChecked(line1, line2, mode == 0 ? kl::TextEncoding::Cp932 : kl::TextEncoding::Utf8);
        return 0;
    }
    const EncodedLine both1 = BothEncodings(line1);
    const EncodedLine both2 = BothEncodings(line2);
    const kl::LinePairResult sjis = CompareChecked(both1.cp932, both2.cp932, kl::TextEncoding::Cp932);
    const kl::LinePairResult utf8 = CompareChecked(both1.utf8, both2.utf8, kl::TextEncoding::Utf8);
    FUZZ_CHECK(InCharacters(sjis, 0, both1.cp932, both2.cp932, kl::TextEncoding::Cp932) ==
               InCharacters(utf8, 0, both1.utf8, both2.utf8, kl::TextEncoding::Utf8));
    FUZZ_CHECK(InCharacters(sjis, 1, both2.cp932, both1.cp932, kl::TextEncoding::Cp932) ==
               InCharacters(utf8, 1, both2.utf8, both1.utf8, kl::TextEncoding::Utf8));
    return 0;
}
