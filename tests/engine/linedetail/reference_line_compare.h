#pragma once
// A plain reference version of the character-level comparison for the tests: every candidate
// of both lines is listed with CollectCandidates and sorted by cells, and each pairing step walks
// the other line's list as written (no reach table, no index). CompareLinePair must give
// the same runs and the same pairings.
#include <algorithm>
#include <string_view>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/platform/text_encoding.h"

namespace kltest {

struct ReferenceResult {
    std::vector<kl::SubstringCandidate> candidates1, candidates2;  // every candidate, sorted
    std::vector<kl::LineSegment> segments1, segments2;
};

// The cells of a candidate, counted character by character.
inline int CellsOf(const kl::SubstringCandidate& c, std::string_view text, kl::TextEncoding encoding)
{
    int cells = 0;
    for (auto pos = static_cast<std::size_t>(c.start); pos < static_cast<std::size_t>(c.end);) {
        const std::size_t next = kl::NextCharIn(encoding, text, pos);
        cells += kl::CharCellsIn(encoding, text, pos, next);
        pos = next;
    }
    return cells;
}

// Every candidate of the line, longest first, equal lengths by ascending start.
inline std::vector<kl::SubstringCandidate> AllCandidates(std::string_view text,
                                                        kl::TextEncoding encoding = kl::TextEncoding::Cp932)
{
    std::vector<kl::SubstringCandidate> list;
    for (std::size_t pos = 0; pos < text.size(); pos = kl::NextCharIn(encoding, text, pos)) {
        if (text[pos] == '\r' || text[pos] == '\n')
            break;
        kl::CollectCandidates(text, pos, list, encoding);
    }
    std::stable_sort(list.begin(), list.end(), [&](const kl::SubstringCandidate& a, const kl::SubstringCandidate& b) {
        return CellsOf(a, text, encoding) > CellsOf(b, text, encoding);
    });
    return list;
}

inline void ReferencePairing(std::vector<kl::SubstringCandidate>& driving, std::string_view drivingText,
                             std::vector<kl::SubstringCandidate>& other, std::string_view otherText,
                             std::int64_t limit, std::vector<kl::SubstringCandidate>& accepted, kl::TextEncoding encoding)
{
    std::int64_t counter = 0;
    for (std::size_t i = 0; i < driving.size(); ++i) {
        kl::SubstringCandidate& d = driving[i];
        if (!kl::AcceptCandidate(d, accepted, other))
            continue;
        const std::int32_t n = d.end - d.start;
        const int cells = CellsOf(d, drivingText, encoding);
        // Skipping the longer candidates of the other line is a jump to the first of length n.
        auto j = std::partition_point(other.begin(), other.end(), [&](const kl::SubstringCandidate& o) {
            return CellsOf(o, otherText, encoding) > cells;
        });
        bool stop = false;
        for (; j != other.end() && CellsOf(*j, otherText, encoding) == cells; ++j) {
            if (kl::CandidateText(*j, otherText) != kl::CandidateText(d, drivingText))
                continue;
            if (d.matchLength < n)
                d.matchLength = n;
            if (j->matchLength < n)
                j->counterpart = static_cast<std::int32_t>(i);
            d.counterpart = static_cast<std::int32_t>(j - other.begin());
            accepted.push_back(d);
            if (limit >= 1) {
                ++counter;
                stop = cells <= 4 || counter >= limit;
            }
            break;
        }
        if (stop)
            break;
    }
}

inline std::vector<kl::LineSegment> ReferenceCover(const std::vector<kl::SubstringCandidate>& candidates, std::string_view text,
                                                   kl::TextEncoding encoding)
{
    std::vector<kl::LineSegment> segments;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].matchLength <= 0)
            continue;
        kl::LineSegment s;
        static_cast<kl::SubstringCandidate&>(s) = candidates[i];
        s.source = static_cast<std::int32_t>(i);
        segments.push_back(s);
    }
    std::stable_sort(segments.begin(), segments.end(),
                     [](const kl::LineSegment& a, const kl::LineSegment& b) { return a.start < b.start; });
    kl::FillGaps(segments, text, encoding);
    return segments;
}

inline ReferenceResult ReferenceCompare(std::string_view text1, std::string_view text2,
                                        kl::TextEncoding encoding = kl::TextEncoding::Cp932)
{
    ReferenceResult r;
    r.candidates1 = AllCandidates(text1, encoding);
    r.candidates2 = AllCandidates(text2, encoding);
    const std::int64_t limit = kl::PairingLimit(static_cast<std::int64_t>(r.candidates1.size()));
    std::vector<kl::SubstringCandidate> accepted1, accepted2;
    ReferencePairing(r.candidates1, text1, r.candidates2, text2, limit, accepted1, encoding);
    ReferencePairing(r.candidates2, text2, r.candidates1, text1, limit, accepted2, encoding);
    r.segments1 = ReferenceCover(r.candidates1, text1, encoding);
    r.segments2 = ReferenceCover(r.candidates2, text2, encoding);
    return r;
}

}  // namespace kltest
