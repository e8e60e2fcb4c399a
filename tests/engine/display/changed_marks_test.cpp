// The marks of a changed row against the character comparison of the line windows.
#include "engine/display/changed_marks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/document/text.h"
#include "engine/linedetail/line_compare.h"
#include "tests/support/test_scale.h"

namespace {

using kl::MarkedRun;
using kl::TextEncoding;

TEST(ChangedMarks, MarkTheChangedCharactersOfBothLines)
{
    const struct {
        std::string a;
        std::string b;
        TextEncoding encoding;
        std::vector<MarkedRun> runsA;
        std::vector<MarkedRun> runsB;
    } cases[] = {
        {"the old text\r\n", "the new text\n", TextEncoding::Cp932, {{4, 7}}, {{4, 7}}},
        {"same line\n", "same line\n", TextEncoding::Cp932, {}, {}},
        // "日本語のテキスト" and "日本語テキスト": the inserted の is two bytes, never one.
        {"\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\n",
         "\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x4c\x83\x58\x83\x67\n", TextEncoding::Cp932, {{6, 8}}, {}},
        {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e abc\n", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e xyz\n",
         TextEncoding::Utf8, {{10, 13}}, {{10, 13}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a);
        const kl::RowMarks marks = kl::MarkChangedLines(c.a, c.encoding, c.b, c.encoding);
        EXPECT_EQ(marks.runs[0], c.runsA);
        EXPECT_EQ(marks.runs[1], c.runsB);
    }
}

// On random lines the marks are exactly the difference runs of the character comparison,
// merged where they touch and cut at the line end.
TEST(ChangedMarks, AreTheDifferenceRunsOfTheCharacterComparison)
{
    std::mt19937 random(5);
    const int cases = kltest::ScaledCases(300);
    for (int c = 0; c < cases; ++c) {
        std::string lines[2];
        for (std::string& line : lines) {
            const int length = static_cast<int>(random() % 30);
            for (int k = 0; k < length; ++k)
                line += random() % 7 == 0 ? std::string("\x82\xa0") : std::string(1, static_cast<char>('a' + random() % 3));
            line += random() % 2 ? "\r\n" : "\n";
        }
        const kl::RowMarks marks = kl::MarkChangedLines(lines[0], TextEncoding::Cp932, lines[1], TextEncoding::Cp932);
        const kl::LinePairResult found = kl::CompareLinePair(lines[0], lines[1]);
        for (int side = 0; side < 2; ++side) {
            const std::string& line = lines[side];
            const std::size_t content = line.size() - static_cast<std::size_t>(kl::NewlineKind(line));
            std::vector<bool> expected(content, false);
            for (const kl::LineSegment& segment : side == 0 ? found.segments1 : found.segments2) {
                for (auto k = static_cast<std::size_t>(segment.start);
                     segment.isDifference && k < static_cast<std::size_t>(segment.end) && k < content; ++k)
                    expected[k] = true;
            }
            std::vector<bool> marked(content, false);
            for (std::size_t k = 0; k < marks.runs[side].size(); ++k) {
                const MarkedRun& run = marks.runs[side][k];
                ASSERT_LT(run.start, run.end);
                if (k > 0) {
                    ASSERT_LT(marks.runs[side][k - 1].end, run.start);  // touching runs are merged
                }
                for (auto b = static_cast<std::size_t>(run.start); b < static_cast<std::size_t>(run.end); ++b)
                    marked[b] = true;
            }
            ASSERT_EQ(marked, expected) << "case " << c << " side " << side;
        }
    }
}

}  // namespace
