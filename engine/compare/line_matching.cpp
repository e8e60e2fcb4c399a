#include "engine/compare/line_matching.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "engine/compare/block_size_tree.h"
#include "engine/compare/line_keys.h"
#include "engine/compare/lines_equal.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KL_QUIET_SCAN_SSE2 1
#endif

namespace kl {
namespace {

// Sides of a matcher: the table whose lines are searched for and the table searched in.
// The repair steps work from either side, so most helpers take the side as an argument.
constexpr int kOwn = 0;
constexpr int kOther = 1;
constexpr int Opposite(int side) { return 1 - side; }

// Thresholds of the normal-mode search; each one changes which blocks are found.
constexpr std::int64_t kLongRun = 500;        // a run this long lets the pass skip over it
constexpr std::int64_t kVeryLongRun = 1000;   // a run this long always moves the resume position
constexpr std::int64_t kLargeText = 3000;     // searches in longer texts give up early

// Lock-step walks poll the abort flag once per this many steps.
constexpr std::uint32_t kStepsPerAbortCheck = 4096;

class Matcher {
public:
    // With prepareSearch and context.useLineKeys, numbers the lines of both tables so that
    // comparisons become number comparisons and the search can skip lines; otherwise every
    // comparison goes to LinesEqual.
    Matcher(MatchSide& own, MatchSide& other, const MatchContext& context, bool prepareSearch);

    int Pass(int base, int span);
    int MeasureAndLink(int l, int r);
    void RepairDisplaced(int side, int z);
    int RemeasureBlock(int side, int x, int y);

private:
    // Sides by index: kOwn is the side matched, kOther the side searched in.
    MatchSide& S(int side) const { return *sides_[static_cast<std::size_t>(side)]; }
    static std::int32_t& BlockOf(MatchSide& side, int line) { return side.blockSize[static_cast<std::size_t>(line)]; }
    static std::int32_t Slot(const MatchSide& side, int line, int k) { return side.partnerSlots.Get(line, k); }
    static void SetSlot(MatchSide& side, int line, int k, std::int32_t partner) { side.partnerSlots.Set(line, k, partner); }

    bool SearchFor(std::int64_t& i, std::int64_t& resume);

    // What a candidate's neighbours must not equal for it to be quiet: the numbers of the
    // searched line's neighbours in the forms they are compared in.
    struct QuietCandidates {
        bool known = false;  // false: a neighbour is compared by LinesEqual alone
        bool hasNext = false, hasPrevious = false;
        KeyForm nextForm = KeyForm::Whole, previousForm = KeyForm::Whole;
        std::int32_t nextKey = 0, previousKey = 0;
    };
    QuietCandidates QuietCandidatesOf(int l) const;
    // The number tables of both sides, fetched once for a search.
    struct KeyTables {
        const KeyForm* ownForms;
        std::array<const std::int32_t*, 2> own;    // by KeyForm Whole, Content
        std::array<const std::int32_t*, 2> other;
    };
    bool MeasureByKeys(const KeyTables& tables, int a, int b, int step, std::int32_t& count,
                       std::int32_t& largest) const;
    bool SecondWalkByKeys(const KeyTables& tables, int l, int r, std::int32_t& count) const;
    using CandidateIterator = std::span<const std::int32_t>::iterator;
    CandidateIterator SkipQuietCandidates(const QuietCandidates& quiet, int l, CandidateIterator from,
                                          CandidateIterator end, std::int64_t limit);
    std::span<const std::int32_t> OtherLinesWithKeyOf(int l);
    // LinesEqual(first, second) == 0, with first a line of firstSide.
    bool Equal(int firstSide, int first, int second) const
    {
        const int known = keys_ ? keys_->Compare(KeySide(firstSide), first, second) : -1;
        return known >= 0 ? known == 1 : EqualTexts(firstSide, first, second);
    }
    bool EqualTexts(int firstSide, int first, int second) const;
    void SetBlockSize(int side, int line, std::int32_t blockSize);
    void MakePrimary(int side, int x, int y);
    void AddPartner(int side, int x, int y);
    bool WalkGoesOn();
    void ReportProgress(int value);

    CompareOptions options_;
    bool normal_;
    ProgressCallback progress_;
    std::stop_token stop_;
    std::array<MatchSide*, 2> sides_;
    std::shared_ptr<const LineKeys> keys_;                // with line keys only
    int keyFlip_ = 0;  // 1 when keys_ numbered the other table as its side 0
    int KeySide(int side) const { return side ^ keyFlip_; }
    std::unique_ptr<BlockSizeTree> otherBlockSizes_;      // with line keys only
    std::uint64_t otherBlockChanges_ = 0;                 // block sizes set in the other table
    std::array<std::optional<KeyIndex>, 2> otherIndex_;   // by KeyForm, built on first use
    std::uint32_t walkSteps_ = 0;
    // Per line of the other table, its primary partner once that partner is seen in a
    // block, else kNoLine ("look it up"). Blocks never shrink to nothing during a pass, so
    // an entry holds until the line gets another primary partner. A compact copy of the
    // one slot the candidate search reads most.
    std::vector<std::int32_t> guardedBy_;
    void PrimaryChanged(int side, int line)
    {
        if (side != kOther || guardedBy_.empty()) return;
        guardedBy_[static_cast<std::size_t>(line)] = kNoLine;
        for (std::optional<QuietScan>& scan : quietScans_)
            if (scan) scan->SetUnguarded(line, true);
    }
    void Guard(int line, std::int32_t primary)
    {
        guardedBy_[static_cast<std::size_t>(line)] = primary;
        for (std::optional<QuietScan>& scan : quietScans_)
            if (scan) scan->SetUnguarded(line, false);
    }

    // The other table's lines in the order of one KeyIndex (a line's "place" is its position
    // in that order), with what the quiet test reads of each line kept by place: the
    // candidates of a search then are tested by reading memory in order, not line by line
    // all over the tables.
    class QuietScan {
    public:
        QuietScan(const KeyIndex& index, const std::vector<std::int32_t>& guardedBy);
        std::size_t PlaceOf(CandidateIterator it) const
        {
            return static_cast<std::size_t>(std::to_address(it) - lines_.data());
        }
        std::int32_t LineAt(std::size_t place) const { return lines_[place]; }
        void SetUnguarded(int line, bool unguarded)
        {
            unguarded_[static_cast<std::size_t>(placeOf_[static_cast<std::size_t>(line)])] = unguarded ? 1 : 0;
        }
        // By place, the number in form of the line after (step 1) or before (step -1) the
        // line there; -1 where there is none.
        const std::int32_t* NeighbourKeys(const LineKeys& keys, int side, KeyForm form, int step);
        // The first place in [from, to) whose line may not be quiet for a line outside any
        // block: its guard is not known, or its neighbour after or before has the number
        // of the searched line's neighbour. to when there is none, or when stop is asked.
        std::size_t NextUncertain(std::size_t from, std::size_t to, const std::int32_t* nextKeys, std::int32_t nextKey,
                                  const std::int32_t* previousKeys, std::int32_t previousKey,
                                  const std::stop_token& stop) const;

    private:
        std::span<const std::int32_t> lines_;
        std::vector<std::int32_t> placeOf_;    // by line
        std::vector<std::uint8_t> unguarded_;  // by place: 1 while the line's guardedBy_ is kNoLine
        std::array<std::vector<std::int32_t>, 4> neighbourKeys_;  // by form and step, built on first use
    };
    std::array<std::optional<QuietScan>, 2> quietScans_;  // by KeyForm, with otherIndex_
    bool aborted_ = false;
    int lastReported_ = -1;
};

Matcher::Matcher(MatchSide& own, MatchSide& other, const MatchContext& context, bool prepareSearch)
    : options_(context.options),
      normal_(context.mode != COMPARE_DETAILED),
      progress_(context.progress),
      stop_(context.stop),
      sides_{&own, &other}
{
    if (prepareSearch && context.useLineKeys) {
        LineKeysCache* cache = context.keyCache.get();
        const Text* ownText = own.text;
        const Text* otherText = other.text;
        if (cache && cache->keys && cache->text0 == otherText && cache->text1 == ownText) {
            keys_ = cache->keys;
            keyFlip_ = 1;
        } else if (cache && cache->keys && cache->text0 == ownText && cache->text1 == otherText) {
            keys_ = cache->keys;
        } else {
            keys_ = std::make_shared<const LineKeys>(*ownText, *otherText, options_);
            if (cache) *cache = LineKeysCache{ownText, otherText, keys_};
        }
        otherBlockSizes_ = std::make_unique<BlockSizeTree>(other.blockSize);
    }
}

bool Matcher::EqualTexts(int firstSide, int first, int second) const
{
    return LinesEqual(S(firstSide).text->text(first), S(Opposite(firstSide)).text->text(second), options_) == 0;
}

void Matcher::SetBlockSize(int side, int line, std::int32_t blockSize)
{
    BlockOf(S(side), line) = blockSize;
    if (side == kOther && otherBlockSizes_) {
        otherBlockSizes_->Set(line, blockSize);
        ++otherBlockChanges_;
    }
}

bool Matcher::WalkGoesOn()
{
    if (++walkSteps_ % kStepsPerAbortCheck == 0 && stop_.stop_requested()) aborted_ = true;
    return !aborted_;
}

void Matcher::ReportProgress(int value)
{
    if (!progress_ || value == lastReported_) return;
    lastReported_ = value;
    progress_(value);
}

int Matcher::Pass(int base, int span)
{
    const MatchSide& own = S(kOwn);
    const std::int64_t count = own.count();
    int progress = 0;
    std::int64_t resume = 0;  // where normal-mode searches start in the other table
    for (std::int64_t i = 0; i < count;) {
        const std::string_view text = own.text->text(static_cast<int>(i));
        const bool lineEndOnly = !text.empty() && (text[0] == '\r' || text[0] == '\n');
        if (!lineEndOnly && !SearchFor(i, resume)) return progress;
        ++i;
        progress = static_cast<int>(base + i * span / count);
        ReportProgress(progress);
        if (stop_.stop_requested()) return progress;
    }
    return progress;
}

std::span<const std::int32_t> Matcher::OtherLinesWithKeyOf(int l)
{
    const KeyForm form = keys_->FirstForm(KeySide(kOwn), l);
    std::optional<KeyIndex>& index = otherIndex_[static_cast<std::size_t>(form)];
    if (!index) {
        index.emplace(*keys_, KeySide(kOther), form, S(kOther).count());
        if (guardedBy_.empty()) guardedBy_.assign(static_cast<std::size_t>(S(kOther).count()), kNoLine);
        quietScans_[static_cast<std::size_t>(form)].emplace(*index, guardedBy_);
    }
    return index->Lines(keys_->Key(KeySide(kOwn), form, l));
}

Matcher::QuietCandidates Matcher::QuietCandidatesOf(int l) const
{
    QuietCandidates quiet;
    const int side = KeySide(kOwn);
    const int count = S(kOwn).count();
    quiet.hasNext = l + 1 < count;
    quiet.hasPrevious = l > 0;
    if (quiet.hasNext) {
        quiet.nextForm = keys_->FirstForm(side, l + 1);
        if (quiet.nextForm == KeyForm::None) return quiet;
        quiet.nextKey = keys_->Key(side, quiet.nextForm, l + 1);
    }
    if (quiet.hasPrevious) {
        quiet.previousForm = keys_->FirstForm(side, l - 1);
        if (quiet.previousForm == KeyForm::None) return quiet;
        quiet.previousKey = keys_->Key(side, quiet.previousForm, l - 1);
    }
    quiet.known = true;
    return quiet;
}

// The first walk of MeasureAndLink through the pair (a, b), already known equal, on in
// direction step, by line numbers alone: adds the equal pairs to count and the largest
// block of the other text they cross to largest. False when a line on the way can only be
// compared by LinesEqual.
inline bool Matcher::MeasureByKeys(const KeyTables& tables, int a, int b, int step, std::int32_t& count,
                                   std::int32_t& largest) const
{
    const int nP = S(kOwn).count();
    const int nQ = S(kOther).count();
    const std::int32_t* otherBlock = S(kOther).blockSize.data();
    ++count;
    largest = std::max(largest, otherBlock[b]);
    for (a += step, b += step; a >= 0 && b >= 0 && a < nP && b < nQ; a += step, b += step) {
        const KeyForm form = tables.ownForms[a];
        if (form == KeyForm::None) return false;
        const auto f = static_cast<std::size_t>(form);
        if (tables.own[f][a] != tables.other[f][b]) break;
        ++count;
        largest = std::max(largest, otherBlock[b]);
    }
    return true;
}

// The detailed mode's second walk of MeasureAndLink through the pair (l, r), by line
// numbers alone: counts on from count, forwards then backwards, stopping after a line of a
// block at least as long as the count so far. False when a line on the way can only be
// compared by LinesEqual.
inline bool Matcher::SecondWalkByKeys(const KeyTables& tables, int l, int r, std::int32_t& count) const
{
    const int nP = S(kOwn).count();
    const int nQ = S(kOther).count();
    const std::int32_t* ownBlock = S(kOwn).blockSize.data();
    const std::int32_t* otherBlock = S(kOther).blockSize.data();
    const auto equal = [&](int a, int b, bool& known) {
        const KeyForm form = tables.ownForms[a];
        known = form != KeyForm::None;
        const auto f = static_cast<std::size_t>(form);
        return known && tables.own[f][a] == tables.other[f][b];
    };
    bool known = true;
    for (int a = l + 1, b = r + 1; a < nP && b < nQ; ++a, ++b) {
        if (!equal(a, b, known)) break;
        ++count;
        if (otherBlock[b] >= count) break;
    }
    if (!known) return false;
    for (int a = l - 1, b = r - 1; a >= 0 && b >= 0; --a, --b) {
        if (!equal(a, b, known)) break;
        ++count;
        if (otherBlock[b] >= count || ownBlock[a] >= count) break;
    }
    return known;
}

Matcher::QuietScan::QuietScan(const KeyIndex& index, const std::vector<std::int32_t>& guardedBy)
    : lines_(index.AllLines()), placeOf_(lines_.size()), unguarded_(lines_.size())
{
    for (std::size_t place = 0; place < lines_.size(); ++place) {
        const auto line = static_cast<std::size_t>(lines_[place]);
        placeOf_[line] = static_cast<std::int32_t>(place);
        unguarded_[place] = guardedBy[line] == kNoLine ? 1 : 0;
    }
}

const std::int32_t* Matcher::QuietScan::NeighbourKeys(const LineKeys& keys, int side, KeyForm form, int step)
{
    std::vector<std::int32_t>& byPlace = neighbourKeys_[static_cast<std::size_t>(form) * 2 + (step > 0 ? 1 : 0)];
    if (byPlace.empty() && !lines_.empty()) {
        const std::int32_t* numbers = keys.Keys(side, form);
        const auto count = static_cast<std::int64_t>(lines_.size());
        byPlace.resize(lines_.size());
        for (std::size_t place = 0; place < lines_.size(); ++place) {
            const std::int64_t neighbour = std::int64_t{lines_[place]} + step;
            byPlace[place] = neighbour >= 0 && neighbour < count ? numbers[neighbour] : -1;
        }
    }
    return byPlace.data();
}

std::size_t Matcher::QuietScan::NextUncertain(std::size_t from, std::size_t to, const std::int32_t* nextKeys,
                                              std::int32_t nextKey, const std::int32_t* previousKeys,
                                              std::int32_t previousKey, const std::stop_token& stop) const
{
    const std::uint8_t* unguarded = unguarded_.data();
    const auto uncertain = [&](std::size_t place) {
        return (unguarded[place] != 0) | (nextKeys[place] == nextKey) | (previousKeys[place] == previousKey);
    };
    // Sixteen places at a time where SSE2 is at hand (every x86-64 processor), then one by one.
    constexpr std::size_t kBlock = 16;
    std::uint32_t blocks = 0;
#ifdef KL_QUIET_SCAN_SSE2
    const __m128i next = _mm_set1_epi32(nextKey);
    const __m128i previous = _mm_set1_epi32(previousKey);
    const __m128i zero = _mm_setzero_si128();
    const auto load = [](const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); };
    while (from + kBlock <= to) {
        const __m128i guarded = _mm_cmpeq_epi8(load(unguarded + from), zero);
        __m128i keys = zero;
        for (std::size_t k = 0; k < kBlock; k += 4) {
            keys = _mm_or_si128(keys, _mm_cmpeq_epi32(load(nextKeys + from + k), next));
            keys = _mm_or_si128(keys, _mm_cmpeq_epi32(load(previousKeys + from + k), previous));
        }
        if (_mm_movemask_epi8(guarded) != 0xFFFF || _mm_movemask_epi8(keys) != 0) break;
        from += kBlock;
        if (++blocks % (kStepsPerAbortCheck / kBlock) == 0 && stop.stop_requested()) return to;
    }
#else
    (void)blocks;
    (void)stop;
#endif
    for (; from < to; ++from) {
        if (uncertain(from)) return from;
    }
    return to;
}

// A candidate is quiet when MeasureAndLink would do nothing with it: the line is outside
// any block or the candidate lies in a smaller block; the candidate's primary partner lies
// in a block at least as long as the run through the pair, so the line may only note it;
// and the line's partner slots already hold exactly one line, so noting changes nothing.
// In the detailed mode the run must also not cross a block longer than itself (that would
// start a second walk). Returns the first candidate from `from` on that is not quiet or
// lies at or beyond limit.
//
// For a line outside any block the candidates whose guard is known and whose neighbours
// differ from the line's are quiet whatever else holds, so the scan passes over them
// without looking at them one by one.
Matcher::CandidateIterator Matcher::SkipQuietCandidates(const QuietCandidates& quiet, int l, CandidateIterator from,
                                                        CandidateIterator end, std::int64_t limit)
{
    if (Slot(S(kOwn), l, 0) == kNoLine || Slot(S(kOwn), l, 1) != kNoLine) return from;
    const std::int32_t lineBlock = S(kOwn).blockSize[static_cast<std::size_t>(l)];
    const MatchSide& other = S(kOther);
    const std::int32_t* otherBlock = other.blockSize.data();
    const int nQ = other.count();
    const int side = KeySide(kOther);
    const std::int32_t* ownBlock = S(kOwn).blockSize.data();
    const std::int32_t* primaries = other.partnerSlots.Primaries();
    if (guardedBy_.empty()) guardedBy_.assign(static_cast<std::size_t>(nQ), kNoLine);
    const int ownSide = KeySide(kOwn);
    const KeyTables tables{keys_->FirstForms(ownSide),
                           {keys_->Keys(ownSide, KeyForm::Whole), keys_->Keys(ownSide, KeyForm::Content)},
                           {keys_->Keys(side, KeyForm::Whole), keys_->Keys(side, KeyForm::Content)}};
    const std::int32_t* nextKeys = quiet.hasNext ? keys_->Keys(side, quiet.nextForm) : nullptr;
    const std::int32_t* previousKeys = quiet.hasPrevious ? keys_->Keys(side, quiet.previousForm) : nullptr;

    // Whether candidate r is quiet; notes its guard when it is first seen in a block.
    const auto quietCandidate = [&](int r) {
        // A line in a block shares the block of a candidate of the same size.
        if (lineBlock > 0 && otherBlock[r] >= lineBlock) return false;
        std::int32_t count = 1;
        std::int32_t largest = 0;
        if (nextKeys && r + 1 < nQ && nextKeys[r + 1] == quiet.nextKey &&
            !MeasureByKeys(tables, l + 1, r + 1, 1, count, largest))
            return false;
        if (previousKeys && r > 0 && previousKeys[r - 1] == quiet.previousKey &&
            !MeasureByKeys(tables, l - 1, r - 1, -1, count, largest))
            return false;
        // The detailed mode walks again and counts on; the candidate is quiet when the
        // longer count still leaves it as it is.
        if (!normal_ && largest > count && !SecondWalkByKeys(tables, l, r, count)) return false;
        std::int32_t guard = guardedBy_[static_cast<std::size_t>(r)];
        if (guard == kNoLine) {
            const std::int32_t primary = primaries[r];
            if (primary == kNoLine || ownBlock[primary] < 1) return false;
            guard = primary;
            Guard(r, primary);
        }
        return count <= 1 || ownBlock[guard] >= count;
    };

    QuietScan* scan = quietScans_[static_cast<std::size_t>(keys_->FirstForm(ownSide, l))].has_value()
                          ? &*quietScans_[static_cast<std::size_t>(keys_->FirstForm(ownSide, l))]
                          : nullptr;
    if (scan && lineBlock == 0 && nextKeys && previousKeys) {
        const CandidateIterator stopAt = std::lower_bound(from, end, limit);
        const std::size_t first = scan->PlaceOf(from);
        const std::size_t last = scan->PlaceOf(stopAt);
        const std::int32_t* nextByPlace = scan->NeighbourKeys(*keys_, side, quiet.nextForm, 1);
        const std::int32_t* previousByPlace = scan->NeighbourKeys(*keys_, side, quiet.previousForm, -1);
        for (std::size_t place = first;; ++place) {
            place = scan->NextUncertain(place, last, nextByPlace, quiet.nextKey, previousByPlace, quiet.previousKey, stop_);
            if (place >= last) {
                if (stop_.stop_requested()) aborted_ = true;
                return stopAt;
            }
            if (!quietCandidate(scan->LineAt(place))) return from + static_cast<std::ptrdiff_t>(place - first);
        }
    }

    std::uint32_t polled = 0;
    for (; from != end && *from < limit; ++from) {
        if (!quietCandidate(*from)) break;
        if (++polled % kStepsPerAbortCheck == 0 && stop_.stop_requested()) {
            aborted_ = true;
            break;
        }
    }
    return from;
}

// Searches the other table for own line i. On finding a run, may move i past it and move
// the resume position. Returns false when an abort request stopped the search.
bool Matcher::SearchFor(std::int64_t& i, std::int64_t& resume)
{
    MatchSide& own = S(kOwn);
    MatchSide& other = S(kOther);
    const int l = static_cast<int>(i);
    const std::int64_t nP = own.count();
    const std::int64_t nQ = other.count();
    const std::int32_t* otherBlock = other.blockSize.data();
    const std::int32_t& lineBlock = BlockOf(own, l);
    const bool mayGiveUp = normal_ && nQ > kLargeText;
    const std::int64_t giveUpAfter = nQ / 5 + i;  // candidates examined

    const std::int64_t start = normal_ ? resume : 0;
    std::int64_t j = start;
    std::int64_t t = 0;  // candidates examined so far, equal or not; always j - start

    // With line keys, only three kinds of candidate can do anything but count: an equal
    // line, a line whose block is larger than this line's (it ends the search) and the
    // candidate at which the search gives up. The search jumps from one such candidate to
    // the next and counts the ones in between.
    const bool jump = keys_ && keys_->FirstForm(KeySide(kOwn), l) != KeyForm::None;
    std::span<const std::int32_t> sameKey;
    std::span<const std::int32_t>::iterator nextSameKey;
    if (jump) {
        sameKey = OtherLinesWithKeyOf(l);
        nextSameKey = std::lower_bound(sameKey.begin(), sameKey.end(), j);
    }

    const QuietCandidates quiet = jump ? QuietCandidatesOf(l) : QuietCandidates{};
    const std::int64_t giveUpAt = mayGiveUp ? start + giveUpAfter : nQ;

    // The next line from j on in a larger block than this line's, as last asked of the
    // tree; it holds until a block size of the other table or of this line changes.
    std::int64_t larger = -1;
    std::int32_t largerThan = 0;
    std::uint64_t largerAsOf = 0;
    const auto nextLarger = [&] {
        if (larger < j || largerThan != lineBlock || largerAsOf != otherBlockChanges_) {
            larger = otherBlockSizes_->FirstAbove(static_cast<int>(j), lineBlock);
            largerThan = lineBlock;
            largerAsOf = otherBlockChanges_;
        }
        return larger;
    };

    while (j < nQ) {
        bool mayBeEqual = true;
        if (quiet.known) {
            // Passes over the candidates that could only count, as the steps below would.
            // A line in a block stops at the first line of a larger block, as below.
            const std::int64_t limit = lineBlock > 0 ? std::min(giveUpAt, nextLarger()) : giveUpAt;
            const auto from = nextSameKey;
            nextSameKey = SkipQuietCandidates(quiet, l, nextSameKey, sameKey.end(), limit);
            if (nextSameKey != from) {
                j = *(nextSameKey - 1) + 1;
                t = j - start;
                if (aborted_) return false;
                continue;
            }
        }
        if (jump) {
            std::int64_t next = nextSameKey != sameKey.end() ? *nextSameKey : nQ;
            if (lineBlock > 0) next = std::min(next, nextLarger());
            if (mayGiveUp) next = std::min(next, j + (giveUpAfter - t));
            if (next >= nQ) return true;
            t += next - j;
            j = next;
            mayBeEqual = nextSameKey != sameKey.end() && *nextSameKey == j;
            if (mayBeEqual) ++nextSameKey;
        }
        const int r = static_cast<int>(j);
        // A candidate the jump landed on has the line's number, so it is equal.
        if (mayBeEqual && (jump || Equal(kOwn, l, r))) {
            const std::int64_t g = MeasureAndLink(l, r);
            if (aborted_) return false;
            if (g > 0) {
                // A run was linked: the search ends. After a run found at the first
                // candidate or a long one, the pass skips the run, and the resume position
                // moves to its last line.
                if (i + g >= nP) return true;
                j += g;
                if (t == 0 || g > kLongRun) i += g;
                if (t == 0 || (g > nQ / 3 && g > kLongRun) || g > kVeryLongRun) resume = j - 1;
                return true;
            }
        }
        // A candidate in a larger block than this line's ends the search. Its block size
        // (a length, not a position) becomes the resume position.
        const std::int32_t candidateBlock = otherBlock[r];
        if (lineBlock > 0 && candidateBlock > lineBlock) {
            if (resume < candidateBlock) resume = candidateBlock + 1;
            return true;
        }
        ++t;
        if (mayGiveUp && t > giveUpAfter) return true;
        ++j;
        if (stop_.stop_requested()) return false;
    }
    return true;
}

int Matcher::MeasureAndLink(int l, int r)
{
    MatchSide& own = S(kOwn);
    MatchSide& other = S(kOther);
    const int nP = own.count();
    const int nQ = other.count();
    const std::int32_t* ownBlock = own.blockSize.data();
    const std::int32_t* otherBlock = other.blockSize.data();
    if (ownBlock[l] > 0) {
        if (ownBlock[l] == otherBlock[r]) return 1;
        if (ownBlock[l] < otherBlock[r]) return 0;
    }

    // Measure the run in lock step, forwards then backwards. The first walk notes the
    // largest block of the other table it crosses; when that block is larger than the run,
    // the detailed mode walks again, counting on and stopping at lines of blocks at least
    // as large as the count so far.
    std::int32_t count = 1;
    std::int32_t largest = 0;
    std::int32_t forwardRun = 1;
    int forwardPairs = 0;   // equal pairs after (l, r), as the first walk found them
    int backwardPairs = 0;  // equal pairs before (l, r)
    for (int walk = 1; walk <= 2; ++walk) {
        const bool firstWalk = walk == 1;
        for (int a = l + 1, b = r + 1; a < nP && b < nQ; ++a, ++b) {
            if (!WalkGoesOn()) return 0;
            if (!Equal(kOwn, a, b)) break;
            ++count;
            if (firstWalk) {
                ++forwardPairs;
                largest = std::max(largest, otherBlock[b]);
            } else if (otherBlock[b] >= count) {
                break;
            }
        }
        forwardRun = count;
        for (int a = l - 1, b = r - 1; a >= 0 && b >= 0; --a, --b) {
            if (!WalkGoesOn()) return 0;
            if (!Equal(kOwn, a, b)) break;
            ++count;
            if (firstWalk) {
                ++backwardPairs;
                largest = std::max(largest, otherBlock[b]);
            } else if (otherBlock[b] >= count || ownBlock[a] >= count) {
                break;
            }
        }
        if (largest <= count || normal_) break;
    }

    // R's primary partner already lies in a block at least this long: L only notes R as a
    // candidate partner.
    const std::int32_t primaryR = Slot(other, r, 0);
    if (primaryR != kNoLine && ownBlock[primaryR] >= count) {
        if (Slot(own, l, 0) == kNoLine) {
            SetSlot(own, l, 0, r);
            SetSlot(own, l, 1, kNoLine);
        } else if (const std::int32_t second = Slot(own, l, 1); second != kNoLine) {
            if (otherBlock[second] >= count) return 0;
            SetSlot(own, l, 1, r);
            SetSlot(own, l, 2, kNoLine);
        }
        return 0;
    }

    // L already lies in a block at least this long: the pair is recorded as partners only.
    if (ownBlock[l] >= count) {
        own.partnerLines.PushBack(l, r);
        other.partnerLines.PushBack(r, l);
        AddPartner(kOwn, l, r);
        AddPartner(kOther, r, l);
        return 0;
    }

    // Link the run. The walks repeat the measured ones (the first walk found where the
    // equal lines end) and stop early at lines that belong to blocks at least this long.
    // step +1 walks forwards from the pair, -1 backwards; false when the walk was aborted.
    const auto linkWalk = [&](int pairs, int step) {
        for (int k = 1; k <= pairs; ++k) {
            const int a = l + step * k;
            const int b = r + step * k;
            if (!WalkGoesOn()) return false;
            if (otherBlock[b] >= count || ownBlock[a] >= count) break;
            SetBlockSize(kOwn, a, count);
            SetBlockSize(kOther, b, count);
            MakePrimary(kOther, b, a);
            MakePrimary(kOwn, a, b);
            if (aborted_) return false;
        }
        return true;
    };
    if (!linkWalk(forwardPairs, 1) || !linkWalk(backwardPairs, -1))
        return 0;
    MakePrimary(kOwn, l, r);
    MakePrimary(kOther, r, l);
    if (otherBlock[r] < count && ownBlock[l] < count) {
        SetBlockSize(kOwn, l, count);
        SetBlockSize(kOther, r, count);
    }
    return forwardRun;
}

// Makes line y of the opposite table the primary partner of line x of side. A displaced
// primary partner moves to slot 1 and, when it was paired with x, gets repaired.
void Matcher::MakePrimary(int side, int x, int y)
{
    MatchSide& xs = S(side);
    const int z = Slot(xs, x, 0);
    if (z == y) return;
    if (z != kNoLine) {
        SetSlot(xs, x, 1, z);
        SetSlot(xs, x, 2, kNoLine);
        if (Slot(S(Opposite(side)), z, 0) == x) RepairDisplaced(Opposite(side), z);
    } else {
        SetSlot(xs, x, 1, kNoLine);
    }
    SetSlot(xs, x, 0, y);
    PrimaryChanged(side, x);
    xs.partnerLines.PushFront(x, y);
}

// Puts y into the first of x's slots that is free or already holds y (the last slot when
// all hold other lines) and ends the list after it.
void Matcher::AddPartner(int side, int x, int y)
{
    MatchSide& xs = S(side);
    int k = 0;
    while (k < kPartnerSlotCount - 1 && Slot(xs, x, k) != kNoLine && Slot(xs, x, k) != y) ++k;
    SetSlot(xs, x, k, y);
    if (k == 0) PrimaryChanged(side, x);
    if (k + 1 < kPartnerSlotCount) SetSlot(xs, x, k + 1, kNoLine);
}

void Matcher::RepairDisplaced(int side, int z)
{
    MatchSide& zs = S(side);
    const std::int32_t first = Slot(zs, z, 0);
    const std::int32_t second = Slot(zs, z, 1);
    if (first == kNoLine || second == kNoLine || zs.partnerLines.HasAtMostOne(z)) return;
    if (BlockOf(zs, z) == BlockOf(S(Opposite(side)), first)) return;
    SetSlot(zs, z, 0, second);
    SetSlot(zs, z, 1, first);
    PrimaryChanged(side, z);
    zs.partnerLines.SwapFirstTwo(z);
    RemeasureBlock(side, z, second);
}

int Matcher::RemeasureBlock(int side, int x, int y)
{
    MatchSide& xs = S(side);
    MatchSide& ys = S(Opposite(side));
    const int nX = xs.count();
    const int nY = ys.count();
    std::int32_t expected = 0;
    if (BlockOf(xs, x) > 0) {
        if (BlockOf(xs, x) == BlockOf(ys, y)) return 1;
        expected = BlockOf(ys, y);
    }

    std::int32_t count = 1;
    int forwardPairs = 0;
    for (int a = x + 1, b = y + 1; a < nX && b < nY; ++a, ++b) {
        if (!WalkGoesOn()) return 0;
        if (!Equal(side, a, b)) break;
        ++count;
        ++forwardPairs;
    }
    // Backwards, the run must end at an unequal pair with exactly the expected length;
    // reaching the start of either text ends it as well.
    int backwardPairs = 0;
    for (int a = x - 1, b = y - 1; a >= 0 && b >= 0; --a, --b) {
        if (!WalkGoesOn()) return 0;
        if (!Equal(side, a, b)) {
            if (count == expected) break;
            return 0;
        }
        ++count;
        ++backwardPairs;
    }

    const int opposite = Opposite(side);
    for (int k = 1; k <= forwardPairs; ++k) {
        SetBlockSize(side, x + k, count);
        SetBlockSize(opposite, y + k, count);
    }
    for (int k = 1; k <= backwardPairs; ++k) {
        SetBlockSize(side, x - k, count);
        SetBlockSize(opposite, y - k, count);
    }
    SetBlockSize(side, x, count);
    SetBlockSize(opposite, y, count);
    return 1;
}

}  // namespace

MatchSide::MatchSide(const Text& text)
    : text(&text),
      blockSize(static_cast<std::size_t>(text.count()), 0),
      partnerSlots(text.count()),
      partnerLines(text.count())
{
}

int MatchPass(int base, int span, MatchSide& own, MatchSide& other, const MatchContext& context)
{
    Matcher matcher(own, other, context, true);
    return matcher.Pass(base, span);
}

int MeasureAndLink(MatchSide& own, int l, MatchSide& other, int r, const MatchContext& context)
{
    Matcher matcher(own, other, context, false);
    return matcher.MeasureAndLink(l, r);
}

void RepairDisplaced(MatchSide& zs, int z, MatchSide& others, const MatchContext& context)
{
    Matcher matcher(zs, others, context, false);
    matcher.RepairDisplaced(kOwn, z);
}

int RemeasureBlock(MatchSide& xs, int x, MatchSide& ys, int y, const MatchContext& context)
{
    Matcher matcher(xs, ys, context, false);
    return matcher.RemeasureBlock(kOwn, x, y);
}

}  // namespace kl
