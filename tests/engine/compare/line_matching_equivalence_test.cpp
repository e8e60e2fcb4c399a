// The matcher's shortcuts (line keys, jumps over candidates, reuse of measured runs) must
// not change any result. These tests run many small random inputs several ways and demand
// identical match fields: the matcher with line keys, the matcher without them, a whole
// comparison run, and a plain step-by-step matcher written here that compares every pair
// with LinesEqual and keeps all fields of a line in one record.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/compare/line_matching.h"
#include "engine/compare/lines_equal.h"
#include "match_texts.h"
#include "tests/support/test_scale.h"

namespace {

using kl::kNoLine;

// The plain matcher's view of one line: its match fields side by side.
struct LineRecord {
    int blockSize = 0;
    // Partners in the other text, ended by the first kNoLine; slot 0 is the primary one.
    std::array<std::int32_t, 4> partnerSlots{kNoLine, kNoLine, kNoLine, kNoLine};
    std::vector<std::int32_t> partnerLines;
};

// One text with a record per line.
struct PlainSide {
    explicit PlainSide(const kl::Text& text) : text(&text), lines(static_cast<std::size_t>(text.count())) {}
    const kl::Text* text;
    std::vector<LineRecord> lines;
};

// A literal matcher: every comparison is LinesEqual, every walk is walked again.
class PlainMatcher {
public:
    PlainMatcher(PlainSide& own, PlainSide& other, const kl::CompareOptions& options, int mode)
        : sides_{&own, &other}, options_(options), normal_(mode == kl::COMPARE_NORMAL)
    {
    }

    void Pass()
    {
        const int nP = Count(0);
        const int nQ = Count(1);
        int resume = 0;
        for (int i = 0; i < nP; ++i) {
            const std::string_view text = sides_[0]->text->text(i);
            if (!text.empty() && (text[0] == '\r' || text[0] == '\n')) continue;
            LineRecord& l = Line(0, i);
            int e = i;
            int t = 0;
            for (int j = normal_ ? resume : 0; j < nQ; ++j) {
                LineRecord& r = Line(1, j);
                if (Equal(0, i, j)) {
                    const int g = MeasureAndLink(i, j);
                    if (g > 0) {
                        e += g;
                        if (e >= nP) break;
                        j += g;
                        const int tries = t;
                        if (tries == 0 || g > 500) i += g;
                        if (tries == 0 || (g > nQ / 3 && g > 500) || g > 1000) resume = j - 1;
                        break;
                    }
                }
                if (l.blockSize > 0 && r.blockSize > l.blockSize) {
                    if (resume < r.blockSize) resume = r.blockSize + 1;
                    break;
                }
                ++t;
                if (normal_ && nQ > 3000 && t > nQ / 5 + i) break;
            }
        }
    }

private:
    LineRecord& Line(int side, int i) { return sides_[side]->lines[static_cast<std::size_t>(i)]; }
    int Count(int side) const { return sides_[side]->text->count(); }
    bool Equal(int firstSide, int a, int b) const
    {
        return kl::LinesEqual(sides_[firstSide]->text->text(a), sides_[1 - firstSide]->text->text(b), options_) == 0;
    }

    int MeasureAndLink(int li, int ri)
    {
        LineRecord& l = Line(0, li);
        LineRecord& r = Line(1, ri);
        if (l.blockSize > 0) {
            if (l.blockSize == r.blockSize) return 1;
            if (l.blockSize < r.blockSize) return 0;
        }
        int count = 1;
        int largest = 0;
        int f = 0;
        for (int walk = 0; walk < 2; ++walk) {
            for (int a = li + 1, b = ri + 1; a < Count(0) && b < Count(1) && Equal(0, a, b); ++a, ++b) {
                ++count;
                if (walk == 0)
                    largest = std::max(largest, Line(1, b).blockSize);
                else if (Line(1, b).blockSize >= count)
                    break;
            }
            f = count;
            for (int a = li - 1, b = ri - 1; a >= 0 && b >= 0 && Equal(0, a, b); --a, --b) {
                ++count;
                if (walk == 0)
                    largest = std::max(largest, Line(1, b).blockSize);
                else if (Line(1, b).blockSize >= count || Line(0, a).blockSize >= count)
                    break;
            }
            if (largest <= count || normal_) break;
        }
        int k = 0;
        while (k < 4 && r.partnerSlots[k] != kNoLine && Line(0, r.partnerSlots[k]).blockSize >= count) ++k;
        if (k > 0) {
            if (l.partnerSlots[0] == kNoLine) {
                l.partnerSlots[0] = ri;
                l.partnerSlots[1] = kNoLine;
            } else if (l.partnerSlots[1] != kNoLine) {
                if (Line(1, l.partnerSlots[1]).blockSize >= count) return 0;
                l.partnerSlots[1] = ri;
                l.partnerSlots[2] = kNoLine;
            }
            return 0;
        }
        if (l.blockSize >= count) {
            l.partnerLines.push_back(ri);
            r.partnerLines.push_back(li);
            Add(l, ri);
            Add(r, li);
            return 0;
        }
        for (int step : {1, -1}) {
            for (int a = li + step, b = ri + step; a >= 0 && b >= 0 && a < Count(0) && b < Count(1) && Equal(0, a, b)
                 && Line(1, b).blockSize < count && Line(0, a).blockSize < count;
                 a += step, b += step) {
                Line(0, a).blockSize = count;
                Line(1, b).blockSize = count;
                Primary(1, b, a);
                Primary(0, a, b);
            }
        }
        Primary(0, li, ri);
        Primary(1, ri, li);
        if (r.blockSize < count && l.blockSize < count) r.blockSize = l.blockSize = count;
        return f;
    }

    static void Add(LineRecord& x, int y)
    {
        int k = 0;
        while (k < 3 && x.partnerSlots[k] != kNoLine && x.partnerSlots[k] != y) ++k;
        x.partnerSlots[k] = y;
        if (k < 3) x.partnerSlots[k + 1] = kNoLine;
    }

    void Primary(int side, int xi, int yi)
    {
        LineRecord& x = Line(side, xi);
        const int z = x.partnerSlots[0];
        if (z == yi) return;
        if (z == kNoLine) {
            x.partnerSlots[1] = kNoLine;
        } else {
            x.partnerSlots[1] = z;
            x.partnerSlots[2] = kNoLine;
            if (Line(1 - side, z).partnerSlots[0] == xi) Repair(1 - side, z);
        }
        x.partnerSlots[0] = yi;
        x.partnerLines.insert(x.partnerLines.begin(), yi);
    }

    void Repair(int side, int zi)
    {
        LineRecord& z = Line(side, zi);
        if (z.partnerSlots[0] != kNoLine && z.partnerSlots[1] != kNoLine && z.partnerLines.size() > 1
            && z.blockSize != Line(1 - side, z.partnerSlots[0]).blockSize) {
            std::swap(z.partnerSlots[0], z.partnerSlots[1]);
            std::swap(z.partnerLines[0], z.partnerLines[1]);
            Remeasure(side, zi, z.partnerSlots[0]);
        }
    }

    void Remeasure(int side, int xi, int yi)
    {
        LineRecord& x = Line(side, xi);
        LineRecord& y = Line(1 - side, yi);
        int expected = 0;
        if (x.blockSize > 0) {
            if (x.blockSize == y.blockSize) return;
            expected = y.blockSize;
        }
        int count = 1;
        for (int a = xi + 1, b = yi + 1; a < Count(side) && b < Count(1 - side) && Equal(side, a, b); ++a, ++b) ++count;
        for (int a = xi - 1, b = yi - 1; a >= 0 && b >= 0; --a, --b) {
            if (Equal(side, a, b)) {
                ++count;
            } else if (count == expected) {
                break;
            } else {
                return;
            }
        }
        for (int step : {1, -1}) {
            for (int a = xi + step, b = yi + step;
                 a >= 0 && b >= 0 && a < Count(side) && b < Count(1 - side) && Equal(side, a, b); a += step, b += step) {
                Line(side, a).blockSize = count;
                Line(1 - side, b).blockSize = count;
            }
        }
        x.blockSize = count;
        y.blockSize = count;
    }

    PlainSide* sides_[2];
    kl::CompareOptions options_;
    bool normal_;
};

// Lines from a tiny alphabet, so that equal lines, runs and near misses are frequent.
std::vector<std::string> RandomLines(std::mt19937& random, int count, int variety)
{
    static const std::vector<std::string> pieces = {"a", "b", " ", "\t", ":", "\x81\x40", "\x88\x9f", "\x81", ""};
    static const std::vector<std::string> ends = {"\n", "\n", "\r\n", "\r\n", "\r", ""};
    std::vector<std::string> vocabulary;
    for (int v = 0; v < variety; ++v) {
        std::string line;
        const int length = static_cast<int>(random() % 4);
        for (int k = 0; k < length; ++k) line += pieces[random() % pieces.size()];
        if (random() % 10 == 0) line += "\ra";  // a CR inside the line
        line += ends[random() % ends.size()];
        vocabulary.push_back(line);
    }
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(vocabulary[random() % vocabulary.size()]);
    return lines;
}

// Turns some lines of base into others, so the texts share runs.
std::vector<std::string> Edited(std::mt19937& random, std::vector<std::string> lines, const std::vector<std::string>& pool)
{
    for (std::string& line : lines) {
        if (random() % 4 == 0 && !pool.empty()) line = pool[random() % pool.size()];
    }
    if (!lines.empty() && random() % 3 == 0) lines.erase(lines.begin() + static_cast<long>(random() % lines.size()));
    return lines;
}

kl::CompareOptions OptionsFromBits(unsigned bits)
{
    kl::CompareOptions options;
    options.method = (bits & 1) ? 1 : 0;
    options.delimiter = ':';
    options.ignoreNewline = (bits & 2) != 0;
    options.ignoreSpaceTab = (bits & 4) != 0;
    options.wideSpaceAsTwo = (bits & 8) ? 1 : 0;
    options.ignoreTrailingSpaces = (bits & 16) ? 1 : 0;
    return options;
}

// The fields of every line, read from the matcher's per-side arrays (partners: from the
// chains of a pass, or from the packed lists of a finished run).
template <typename PartnerStore>
void ExpectSameFields(const PlainSide& expected, const std::vector<std::int32_t>& blockSize,
                      const kl::PartnerSlotTable& partnerSlots, const PartnerStore& partnersOf,
                      const std::string& what)
{
    const int count = expected.text->count();
    ASSERT_EQ(blockSize.size(), static_cast<std::size_t>(count)) << what;
    ASSERT_EQ(partnerSlots.size(), static_cast<std::size_t>(count)) << what;
    for (int i = 0; i < count; ++i) {
        const LineRecord& e = expected.lines[static_cast<std::size_t>(i)];
        ASSERT_EQ(e.blockSize, blockSize[static_cast<std::size_t>(i)]) << what << " line " << i;
        ASSERT_EQ(e.partnerSlots, partnerSlots[i]) << what << " line " << i;
        const auto partners = partnersOf(i);
        ASSERT_EQ(e.partnerLines, std::vector<std::int32_t>(partners.begin(), partners.end())) << what << " line " << i;
    }
}

void ExpectSameFields(const PlainSide& expected, const kl::MatchSide& actual, const std::string& what)
{
    ExpectSameFields(expected, actual.blockSize, actual.partnerSlots,
                     [&](int i) { return actual.partnerLines.Lines(i); }, what);
}

void ExpectSameFields(const PlainSide& expected, const kl::SideResult& actual, const std::string& what)
{
    ExpectSameFields(expected, actual.blockSize, actual.partnerSlots,
                     [&](int i) { return actual.partnerLines.Of(i); }, what);
}

std::shared_ptr<const kl::Text> SharedText(const std::vector<std::string>& lines)
{
    return std::make_shared<const kl::Text>(kltest::MakeText(lines));
}

void ExpectAllWaysAgree(const std::vector<std::string>& a, const std::vector<std::string>& b,
                        const kl::CompareOptions& options, kl::CompareMode mode, const std::string& what)
{
    const kl::TextPair texts{SharedText(a), SharedText(b)};
    PlainSide plainA(*texts[kl::DOC_A]);
    PlainSide plainB(*texts[kl::DOC_B]);
    PlainMatcher(plainA, plainB, options, mode).Pass();
    PlainMatcher(plainB, plainA, options, mode).Pass();

    kl::MatchContext context{options, mode, {}, {}};
    for (const bool keys : {true, false}) {
        context.useLineKeys = keys;
        kl::MatchSide sideA(*texts[kl::DOC_A]);
        kl::MatchSide sideB(*texts[kl::DOC_B]);
        const int value = kl::MatchPass(0, 40, sideA, sideB, context);
        kl::MatchPass(value, 40, sideB, sideA, context);
        const std::string label = what + (keys ? " with keys" : " without keys");
        ExpectSameFields(plainA, sideA, label + " DocA");
        ExpectSameFields(plainB, sideB, label + " DocB");
    }
    // A whole run: the second pass reuses the numbers the first pass made, and the result
    // holds the partner lists packed.
    const kl::CompareResult run = kl::Compare(texts, kl::CompareRequest{options, mode, {}});
    ASSERT_EQ(run.outcome, kl::RunOutcome::Completed) << what;
    ExpectSameFields(plainA, run.sides[kl::DOC_A], what + " in a run DocA");
    ExpectSameFields(plainB, run.sides[kl::DOC_B], what + " in a run DocB");
}

TEST(LineMatchingEquivalence, SmallRandomTextsUnderEveryOptionSetAndMode)
{
    std::mt19937 random(20240611);
    for (unsigned bits = 0; bits < 32; ++bits) {
        const kl::CompareOptions options = OptionsFromBits(bits);
        for (int trial = 0; trial < kltest::ScaledCases(60); ++trial) {
            const int variety = 2 + static_cast<int>(random() % 8);
            const std::vector<std::string> a = RandomLines(random, static_cast<int>(random() % 14), variety);
            const std::vector<std::string> b = random() % 4 == 0
                                                   ? RandomLines(random, static_cast<int>(random() % 14), variety)
                                                   : Edited(random, a, RandomLines(random, 4, variety));
            for (const kl::CompareMode mode : {kl::COMPARE_NORMAL, kl::COMPARE_DETAILED}) {
                ExpectAllWaysAgree(a, b, options, mode,
                                   "options " + std::to_string(bits) + " trial " + std::to_string(trial) + " mode "
                                       + std::to_string(mode));
                if (HasFatalFailure()) return;
            }
        }
    }
}

// Two unrelated texts from a handful of values: most candidates of a line are equal, and
// the search passes over most of them by their neighbours' numbers and partners alone.
TEST(LineMatchingEquivalence, UnrelatedTextsFromFewValues)
{
    std::mt19937 random(99);
    for (unsigned bits = 0; bits < 32; bits += 3) {
        for (const kl::CompareMode mode : {kl::COMPARE_NORMAL, kl::COMPARE_DETAILED}) {
            const int variety = 2 + static_cast<int>(random() % 4);
            ExpectAllWaysAgree(RandomLines(random, 300, variety), RandomLines(random, 300, variety),
                               OptionsFromBits(bits), mode,
                               "options " + std::to_string(bits) + " mode " + std::to_string(mode));
            if (HasFatalFailure()) return;
        }
    }
}

// Texts of more than 3000 lines bring in the give-up rule and the long-run thresholds.
TEST(LineMatchingEquivalence, LargeRepetitiveTexts)
{
    std::mt19937 random(7);
    for (const unsigned bits : {0u, 2u, 6u}) {
        for (int trial = 0; trial < kltest::ScaledCases(2); ++trial) {
            std::vector<std::string> a = RandomLines(random, 3200, 6);
            std::vector<std::string> b = Edited(random, a, RandomLines(random, 40, 12));
            // A long shared run, so that runs above 500 and 1000 lines occur.
            const std::vector<std::string> shared = RandomLines(random, 1200, 400);
            a.insert(a.begin() + 1000, shared.begin(), shared.end());
            b.insert(b.begin() + 200, shared.begin(), shared.end());
            ExpectAllWaysAgree(a, b, OptionsFromBits(bits), kl::COMPARE_NORMAL,
                               "options " + std::to_string(bits) + " trial " + std::to_string(trial));
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
