#pragma once
// Character-level comparison of two lines: a greedy longest-common-substring cover.
//
// Every substring of 4 cells or more of each line is a candidate (a cell is a byte of code
// page 932; a UTF-8 text counts the cells the same characters take there, see
// CharCellsIn). Candidates are tried longest first, by cells (equal lengths by ascending
// start); each is paired with the first equal
// candidate of the other line unless it lies inside a candidate of its own line that was
// paired before. The paired candidates of a line become its common runs, and whatever
// they leave uncovered becomes difference runs. Line 1 drives the first pairing, line 2
// the second; the common runs of each row come from the pairing its own line drove.
//
// Texts are bytes including the line end, code page 932 or UTF-8; characters are stepped
// in that encoding, so no run boundary falls inside a multi-byte character.
#include <cstdint>
#include <functional>
#include <string>
#include <stop_token>
#include <string_view>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

// Lines of more characters than this (either of the two, the line end not counted) are
// compared by a bounded difference of their characters instead of the greedy cover, whose
// work grows faster than the square of the length (bounded_line_diff.h). Its common runs
// are the common stretches of 4 cells or more, paired with each other.
inline constexpr std::int64_t kFullCompareCharacterLimit = 10000;

// How a result was made.
enum class LineCompareMethod {
    GreedyCover,  // the full comparison described above
    BoundedDiff,  // lines over kFullCompareCharacterLimit
};

// When line 1 has more candidates than this, each pairing step stops after
// (count div 4) pairings or at the first pairing of a substring of 4 cells or less.
inline constexpr int candidateLimit = 18000;
// Substrings shorter than this many cells are never candidates.
inline constexpr int kMinCandidateCells = 4;
inline constexpr std::int32_t kNoCandidate = -1;

// One substring of a line. The bytes are not copied: the substring is text[start, end)
// of the line it was listed from (see CandidateText).
struct SubstringCandidate {
    std::int32_t start = 0;
    std::int32_t end = 0;
    // -1 until the candidate is paired while its own line drives; then end - start (bytes).
    std::int32_t matchLength = -1;
    // Index, in the other line's candidate list, of the candidate it was last paired with.
    std::int32_t counterpart = kNoCandidate;
    // Pixel range of the run as last drawn; kept here for the twin-line painter.
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
};

// One run of the final cover of a line.
struct LineSegment : SubstringCandidate {
    std::int32_t isDifference = 0;  // 0 common run from a paired candidate, 1 difference run
    // Index, in the own line's candidate list, of the candidate the run was made from.
    std::int32_t source = kNoCandidate;
};

std::string_view CandidateText(const SubstringCandidate& c, std::string_view line);

// What one comparison produces. candidates1/2 hold the candidates that took part in a
// pairing (the only ones any run or counterpart can refer to); every other candidate
// keeps matchLength -1, no counterpart and no pixel range and is not stored.
struct LinePairResult {
    std::vector<SubstringCandidate> candidates1;
    std::vector<SubstringCandidate> candidates2;
    std::vector<LineSegment> segments1;
    std::vector<LineSegment> segments2;
    bool aborted = false;  // the run was asked to stop; both segment lists are empty
    LineCompareMethod method = LineCompareMethod::GreedyCover;
};

// Called with the stage number 0..5 as the run advances (0 at the start, 5 before the
// covers are completed; 5 is skipped after an abort). Stage 0 needs no repaint.
using LineCompareStageCallback = std::function<void(int stage)>;

// "比較処理中.. %d/6" in code page 932, the progress text of the given stage.
std::string LineCompareProgressText(int stage);

// What the user is told about how a result was made, in code page 932: "長い行のため簡易比較"
// for the bounded comparison of long lines, nothing for the full one.
std::string LineCompareMethodNote(LineCompareMethod method);

// Compares text1 (line 1) with text2 (line 2). Polls stop in every loop whose work grows
// faster than the line and returns soon after a stop is requested. Touches nothing but its
// arguments, so it can run on a worker thread; the caller shows the progress and publishes
// the result when it returns.
// Both lines are read in encoding.
LinePairResult CompareLinePair(std::string_view text1, std::string_view text2,
                               const LineCompareStageCallback& onStage = {}, std::stop_token stop = {},
                               TextEncoding encoding = TextEncoding::Cp932);

// The single steps, for tests and tools.

// Number of bytes of the text's line end: 2 for CR LF, 1 for LF or CR, 0 without one.
// Counted in characters: a CR or LF that follows a lead byte belongs to that double-byte
// character and is no line end.
std::size_t LineEndLength(std::string_view text, TextEncoding encoding = TextEncoding::Cp932);
// The greatest end offset a candidate may have: one less than the text's length when the
// text has a line end (so the final LF of a CR LF is never part of a candidate), the
// text's length otherwise.
std::size_t CandidateEndLimit(std::string_view text, TextEncoding encoding = TextEncoding::Cp932);

// Appends to list every candidate that starts at position (a character start) and ends
// on a character boundary. (CompareLinePair visits the same candidates in sorted order
// without listing them.)
void CollectCandidates(std::string_view text, std::size_t position,
                       std::vector<SubstringCandidate>& list, TextEncoding encoding = TextEncoding::Cp932);
// The number of candidates CollectCandidates lists over all starts of the text (every
// character before the first CR or LF).
std::int64_t CountCandidates(std::string_view text, TextEncoding encoding = TextEncoding::Cp932);
// The pairing limit of a line 1 with the given number of candidates: -1 for no limit.
std::int64_t PairingLimit(std::int64_t candidateCount);

// Whether candidate c may still be paired, given the candidates of its own line that were
// paired before it (in pairing order). Counterparts of c and of the accepted entries are
// indexes into otherLine.
// A stop request answers false.
bool AcceptCandidate(const SubstringCandidate& c, const std::vector<SubstringCandidate>& accepted,
                     const std::vector<SubstringCandidate>& otherLine, const std::stop_token& stop = {});

// Turns the common runs of a line (sorted by start) into a left-to-right cover of the
// text by inserting difference runs. The line end is left out unless a difference run
// reaches it.
void FillGaps(std::vector<LineSegment>& segments, std::string_view text,
              TextEncoding encoding = TextEncoding::Cp932);

}  // namespace kl
