#include "engine/linedetail/line_compare.h"

#include <algorithm>

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
    LinePairResult result;
    ReportStage(onStage, 0);

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
