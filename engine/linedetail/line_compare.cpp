#include "engine/linedetail/line_compare.h"

#include <algorithm>

#include "engine/linedetail/bounded_line_diff.h"
#include "engine/linedetail/line_shape.h"
#include "engine/linedetail/pairing.h"
#include "engine/linedetail/partner_reach.h"
#include "engine/linedetail/substring_hash.h"

namespace kl {
namespace {

LineSegment CommonRun(const SubstringCandidate& c, std::int32_t source)
{
    LineSegment segment;
    static_cast<SubstringCandidate&>(segment) = c;
    segment.isDifference = 0;
    segment.source = source;
    return segment;
}

LineSegment DifferenceRun(std::size_t start, std::size_t end)
{
    LineSegment segment;
    segment.start = static_cast<std::int32_t>(start);
    segment.end = static_cast<std::int32_t>(end);
    segment.matchLength = 0;
    segment.isDifference = 1;
    return segment;
}

// The common runs of a line: its candidates paired while it drove, in pairing order (the
// sorted candidate order), then sorted by start; equal starts keep their order.
std::vector<LineSegment> CommonRuns(const std::vector<std::int32_t>& paired, const std::vector<SubstringCandidate>& candidates)
{
    std::vector<LineSegment> runs;
    runs.reserve(paired.size());
    for (std::int32_t index : paired)
        runs.push_back(CommonRun(candidates[static_cast<std::size_t>(index)], index));
    std::stable_sort(runs.begin(), runs.end(),
                     [](const LineSegment& a, const LineSegment& b) { return a.start < b.start; });
    return runs;
}

void ReportStage(const LineCompareStageCallback& onStage, int stage)
{
    if (onStage)
        onStage(stage);
}

// The characters of a line before its first CR or LF: their count and where they end.
struct LineContent {
    std::int64_t characters = 0;
    std::size_t end = 0;
};

LineContent ContentOf(std::string_view text, TextEncoding encoding)
{
    LineContent content;
    while (content.end < text.size() && text[content.end] != '\r' && text[content.end] != '\n') {
        content.end = NextCharIn(encoding, text, content.end);
        ++content.characters;
    }
    return content;
}

// Whether text[start, start + length) spans at least the cells a candidate needs.
bool SpansCandidateCells(std::string_view text, std::size_t start, std::size_t length, TextEncoding encoding)
{
    int cells = 0;
    for (std::size_t pos = start; pos < start + length && cells < kMinCandidateCells;) {
        const std::size_t next = NextCharIn(encoding, text, pos);
        cells += CharCellsIn(encoding, text, pos, next);
        pos = next;
    }
    return cells >= kMinCandidateCells;
}

// Long lines: their common stretches of 4 cells or more become the common runs of both
// rows, each paired with its stretch in the other line.
LinePairResult CompareLongLines(std::string_view text1, std::string_view text2, std::size_t contentEnd1,
                                std::size_t contentEnd2, const LineCompareStageCallback& onStage,
                                const std::stop_token& stop, TextEncoding encoding)
{
    LinePairResult result;
    result.method = LineCompareMethod::BoundedDiff;
    ReportStage(onStage, 1);
    ReportStage(onStage, 2);
    const BoundedDiff diff = DiffLongLines(text1.substr(0, contentEnd1), text2.substr(0, contentEnd2), encoding, stop);
    ReportStage(onStage, 3);
    ReportStage(onStage, 4);
    if (diff.aborted || stop.stop_requested()) {
        result.aborted = true;
        return result;
    }
    for (const CommonStretch& stretch : diff.stretches) {
        const auto length = static_cast<std::size_t>(stretch.length);
        if (!SpansCandidateCells(text1, static_cast<std::size_t>(stretch.start1), length, encoding))
            continue;
        const auto index = static_cast<std::int32_t>(result.candidates1.size());
        SubstringCandidate c1;
        c1.start = stretch.start1;
        c1.end = stretch.start1 + stretch.length;
        c1.matchLength = stretch.length;
        c1.counterpart = index;
        SubstringCandidate c2 = c1;
        c2.start = stretch.start2;
        c2.end = stretch.start2 + stretch.length;
        result.candidates1.push_back(c1);
        result.candidates2.push_back(c2);
        result.segments1.push_back(CommonRun(c1, index));
        result.segments2.push_back(CommonRun(c2, index));
    }
    ReportStage(onStage, 5);
    FillGaps(result.segments1, text1, encoding);
    FillGaps(result.segments2, text2, encoding);
    return result;
}

}  // namespace

std::string_view CandidateText(const SubstringCandidate& c, std::string_view line)
{
    return line.substr(static_cast<std::size_t>(c.start), static_cast<std::size_t>(c.end - c.start));
}

std::string LineCompareProgressText(int stage)
{
    // "比較処理中.. " in code page 932.
    static constexpr char kComparing[] = "\x94\xe4\x8a\x72\x8f\x88\x97\x9d\x92\x86.. ";
    return kComparing + std::to_string(stage) + "/6";
}

std::string LineCompareMethodNote(LineCompareMethod method)
{
    // "長い行のため簡易比較" in code page 932.
    return method == LineCompareMethod::BoundedDiff
               ? "\x92\xb7\x82\xa2\x8d\x73\x82\xcc\x82\xbd\x82\xdf\x8a\xc8\x88\xd5\x94\xe4\x8a\x72"
               : "";
}

std::size_t LineEndLength(std::string_view text, TextEncoding encoding)
{
    // The last two character starts: a CR or LF taken by a lead byte is not a line end.
    std::size_t last = text.size();
    std::size_t beforeLast = text.size();
    for (std::size_t pos = 0; pos < text.size(); pos = NextCharIn(encoding, text, pos)) {
        beforeLast = last;
        last = pos;
    }
    if (last == text.size() || last + 1 != text.size())
        return 0;
    if (text[last] == '\n')
        return beforeLast + 1 == last && text[beforeLast] == '\r' ? 2 : 1;
    return text[last] == '\r' ? 1 : 0;
}

std::size_t CandidateEndLimit(std::string_view text, TextEncoding encoding)
{
    return LineEndLength(text, encoding) > 0 ? text.size() - 1 : text.size();
}

void CollectCandidates(std::string_view text, std::size_t position, std::vector<SubstringCandidate>& list,
                       TextEncoding encoding)
{
    const std::size_t endLimit = CandidateEndLimit(text, encoding);
    int cells = 0;
    for (std::size_t cursor = position; cursor < text.size();) {
        const std::size_t next = NextCharIn(encoding, text, cursor);
        cells += CharCellsIn(encoding, text, cursor, next);
        cursor = next;
        if (cursor > endLimit)
            break;
        if (cells >= kMinCandidateCells) {
            SubstringCandidate c;
            c.start = static_cast<std::int32_t>(position);
            c.end = static_cast<std::int32_t>(cursor);
            list.push_back(c);
        }
    }
}

std::int64_t CountCandidates(std::string_view text, TextEncoding encoding)
{
    return MakeLineShape(text, encoding).candidateCount;
}

std::int64_t PairingLimit(std::int64_t candidateCount)
{
    return candidateCount > candidateLimit ? candidateCount / 4 : -1;
}

bool AcceptCandidate(const SubstringCandidate& c, const std::vector<SubstringCandidate>& accepted,
                     const std::vector<SubstringCandidate>& otherLine, const std::stop_token& stop)
{
    for (const SubstringCandidate& e : accepted) {
        if (stop.stop_requested())
            return false;
        if (e.start <= c.start && e.end >= c.end)
            return false;  // c lies inside a substring of its own line that was paired before
        if (e.counterpart != kNoCandidate && c.counterpart != kNoCandidate) {
            const SubstringCandidate& ep = otherLine[static_cast<std::size_t>(e.counterpart)];
            const SubstringCandidate& cp = otherLine[static_cast<std::size_t>(c.counterpart)];
            if (ep.start == cp.start && ep.end == cp.end && e.start > c.start)
                return true;
        }
    }
    return true;
}

void FillGaps(std::vector<LineSegment>& segments, std::string_view text, TextEncoding encoding)
{
    const std::size_t n = text.size();
    // Everything before the line end is covered. (Stopping two bytes short of the end
    // would drop the last character of a line that ends in LF alone or has no line end.)
    const std::size_t coverEnd = n - LineEndLength(text, encoding);
    std::vector<LineSegment> cover;
    cover.reserve(segments.size() * 2 + 1);
    std::size_t position = 0;
    std::size_t next = 0;
    while (position < coverEnd) {
        if (next < segments.size()) {
            const LineSegment& s = segments[next];
            const auto start = static_cast<std::size_t>(s.start);
            if (position < start) {
                cover.push_back(DifferenceRun(position, start));
                position = start;
            } else {
                // A run nested in the previous one must not move the position back.
                position = std::max(position, static_cast<std::size_t>(s.end));
                cover.push_back(s);
                ++next;
            }
        } else {
            cover.push_back(DifferenceRun(position, n));
            position = n;
        }
    }
    cover.insert(cover.end(), segments.begin() + static_cast<std::ptrdiff_t>(next), segments.end());
    segments = std::move(cover);
}

LinePairResult CompareLinePair(std::string_view text1, std::string_view text2, const LineCompareStageCallback& onStage,
                               std::stop_token stop, TextEncoding encoding)
{
    ReportStage(onStage, 0);
    const LineContent content1 = ContentOf(text1, encoding);
    const LineContent content2 = ContentOf(text2, encoding);
    if (std::max(content1.characters, content2.characters) > kFullCompareCharacterLimit)
        return CompareLongLines(text1, text2, content1.end, content2.end, onStage, stop, encoding);

    LinePairResult result;
    const LineShape shape1 = MakeLineShape(text1, encoding);
    const std::int64_t limit = PairingLimit(shape1.candidateCount);
    ReportStage(onStage, 1);
    const LineShape shape2 = MakeLineShape(text2, encoding);
    ReportStage(onStage, 2);

    PartnerReach reach;
    const bool reachComplete = ComputePartnerReach(shape1, shape2, reach, stop);
    const SubstringHasher hasher1(text1);
    const SubstringHasher hasher2(text2);
    CandidateStore store1;
    CandidateStore store2;
    const PairingLine line1{shape1, hasher1, reach.reach1, store1};
    const PairingLine line2{shape2, hasher2, reach.reach2, store2};

    PairingOutcome pairing1;
    if (reachComplete)
        pairing1 = PairDrivingLine(line1, line2, limit, stop);
    ReportStage(onStage, 3);
    PairingOutcome pairing2;
    if (reachComplete && !pairing1.aborted)
        pairing2 = PairDrivingLine(line2, line1, limit, stop);
    ReportStage(onStage, 4);

    result.candidates1 = std::move(store1.list);
    result.candidates2 = std::move(store2.list);
    if (!reachComplete || pairing1.aborted || pairing2.aborted || stop.stop_requested()) {
        result.aborted = true;
        return result;
    }

    result.segments1 = CommonRuns(pairing1.paired, result.candidates1);
    ReportStage(onStage, 5);
    FillGaps(result.segments1, text1, encoding);
    result.segments2 = CommonRuns(pairing2.paired, result.candidates2);
    FillGaps(result.segments2, text2, encoding);
    return result;
}

}  // namespace kl
