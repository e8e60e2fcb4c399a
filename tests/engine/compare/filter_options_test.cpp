// The line filter options (case, blank lines, line filters, substitutions) in every mode
// and both encodings, the lines they leave out, and the preset codes that carry them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/compare/line_filters.h"
#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"
#include "match_texts.h"

namespace {

using kl::DOC_A;
using kl::DOC_B;

// A text of UTF-8 lines, held in encoding.
std::shared_ptr<const kl::Text> TextIn(kl::TextEncoding encoding, const std::vector<std::string>& utf8Lines)
{
    std::vector<std::string> lines;
    for (const std::string& line : utf8Lines)
        lines.push_back(encoding == kl::TextEncoding::Cp932 ? kl::Utf8ToCp932(line) : line);
    kl::Text text = kltest::MakeText(lines);
    text.encoding = encoding;
    return std::make_shared<const kl::Text>(std::move(text));
}

int OneSidedRows(const kl::CompareResult& result)
{
    int rows = 0;
    for (int r = 0; r < result.RowCount(); ++r)
        rows += result.Rows(DOC_A)[static_cast<std::size_t>(r)].kind == kl::ROW_ONLY_A ||
                result.Rows(DOC_B)[static_cast<std::size_t>(r)].kind == kl::ROW_ONLY_B;
    return rows;
}

TEST(FilterOptions, EachOptionWorksInEveryModeAndBothEncodings)
{
    struct Case {
        const char* name;
        std::vector<std::string> a;
        std::vector<std::string> b;
        std::function<void(kl::CompareOptions&)> set;
    };
    const std::vector<Case> cases = {
        {"case", {"Hello ＡＢＣ\n"}, {"hELLO ａｂｃ\n"}, [](kl::CompareOptions& o) { o.ignoreCase = true; }},
        {"blank lines", {"\n", "x\n", " \t\n"}, {"x\n"}, [](kl::CompareOptions& o) { o.ignoreBlankLines = true; }},
        {"line filter", {"$Id: 1 $\n", "本文\n"}, {"本文\n", "$Id: 22 $\n"},
         [](kl::CompareOptions& o) {
             o.lineFilters = {"^\\$Id"};
             o.useLineFilters = true;
         }},
        {"substitution", {"更新 2024-05-14 済\n"}, {"更新 2025-01-01 済\n"},
         [](kl::CompareOptions& o) {
             o.substitutions = {{"[0-9]{4}-[0-9]{2}-[0-9]{2}", "DATE"}};
             o.useSubstitutions = true;
         }},
    };
    for (kl::TextEncoding encoding : {kl::TextEncoding::Cp932, kl::TextEncoding::Utf8}) {
        for (kl::CompareMode mode : {kl::COMPARE_NORMAL, kl::COMPARE_DETAILED, kl::COMPARE_MINIMAL}) {
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode) + " utf8 " +
                             std::to_string(encoding == kl::TextEncoding::Utf8));
                std::vector<std::string> a = {"top\n"}, b = {"top\n"};
                a.insert(a.end(), c.a.begin(), c.a.end());
                b.insert(b.end(), c.b.begin(), c.b.end());
                a.push_back("end\n");
                b.push_back("end\n");
                const kl::TextPair texts{TextIn(encoding, a), TextIn(encoding, b)};
                kl::CompareRequest request;
                request.mode = mode;
                EXPECT_GT(OneSidedRows(kl::Compare(texts, request)), 0);
                c.set(request.options);
                const kl::CompareResult result = kl::Compare(texts, request);
                ASSERT_EQ(result.outcome, kl::RunOutcome::Completed);
                EXPECT_EQ(OneSidedRows(result), 0);
                // Every line stands once, in order, with its own bytes.
                for (int side = DOC_A; side <= DOC_B; ++side) {
                    int next = 0;
                    std::string scratch;
                    for (const kl::DisplayRow& row : result.Rows(side)) {
                        if (row.lineIndex == kl::kNoLine)
                            continue;
                        EXPECT_EQ(row.lineIndex, next);
                        EXPECT_EQ(kl::RowText(result, side, row, scratch), result.TextOf(side)->text(next));
                        ++next;
                    }
                    EXPECT_EQ(next, result.TextOf(side)->count());
                }
                EXPECT_FALSE(result.Blocks(DOC_A).empty());
            }
        }
    }
}

TEST(FilterOptions, LeftOutLinesAreMarkedAndPairedWhereBothSidesHaveThem)
{
    kl::CompareRequest request;
    request.mode = kl::COMPARE_MINIMAL;
    request.options.ignoreBlankLines = true;
    const kl::TextPair texts{TextIn(kl::TextEncoding::Utf8, {"a\n", "\n", "b\n"}),
                             TextIn(kl::TextEncoding::Utf8, {"a\n", "  \n", "\n", "b\n"})};
    const kl::CompareResult result = kl::Compare(texts, request);
    ASSERT_EQ(result.RowCount(), 4);
    EXPECT_EQ(result.Rows(DOC_A)[1].message, kl::RowMessage::LeftOut);
    EXPECT_EQ(result.Rows(DOC_A)[1].lineIndex, 1);
    EXPECT_EQ(result.Rows(DOC_B)[1].lineIndex, 1);
    EXPECT_EQ(result.Rows(DOC_A)[2].lineIndex, kl::kNoLine);
    EXPECT_EQ(result.Rows(DOC_B)[2].message, kl::RowMessage::LeftOut);
    EXPECT_EQ(result.Rows(DOC_A)[3].kind, kl::ROW_COMMON);
    EXPECT_EQ(result.Rows(DOC_B)[3].lineIndex, 3);
    // A left-out line has no partner; the common ones keep theirs in the texts' numbers.
    EXPECT_EQ(result.sides[DOC_B].blockSize[1], 0);
    EXPECT_EQ(result.sides[DOC_B].partnerLines.Of(3)[0], 2);
}

TEST(FilterOptions, CaseFoldingNeverTouchesTrailBytes)
{
    // ア is 83 41 in code page 932: its trail byte is an 'A'.
    EXPECT_EQ(kl::FoldCase("\x83\x41" "AZ\x82\x60\x82\x79", kl::TextEncoding::Cp932), "\x83\x41" "az\x82\x81\x82\x9a");
    EXPECT_EQ(kl::FoldCase("Ａｂ\xef\xbc\xba", kl::TextEncoding::Utf8), "ａｂｚ");
}

TEST(FilterOptions, PresetCodesCarryTheNewSwitchesAndOldCodesReadAsBefore)
{
    kl::CompareOptions options;
    options.ignoreNewline = true;
    EXPECT_EQ(kl::BuildPresetCode(options), "01000");
    options.ignoreCase = true;
    options.useLineFilters = true;
    EXPECT_EQ(kl::BuildPresetCode(options), "01000-1010");
    EXPECT_EQ(kl::Cp932ToUtf8(kl::BuildPresetName("01000-1010")), "通常-改大フ");
    EXPECT_EQ(kl::Cp932ToUtf8(kl::BuildPresetName("10101")), "部分-タ末");

    kl::CompareOptions read;
    kl::PresetFromCode("00101-0101", read);
    EXPECT_EQ(kl::BuildPresetCode(read), "00101-0101");
    // An old code switches the new options off and the old ones as it always did.
    kl::PresetFromCode("10010", read);
    EXPECT_EQ(kl::BuildPresetCode(read), "10010");
    EXPECT_EQ(read.method, 1);
    EXPECT_FALSE(read.ignoreBlankLines);
}

TEST(FilterOptions, UnreadablePatternsAreNamed)
{
    kl::CompareOptions options;
    options.lineFilters = {"ok", "(unclosed"};
    EXPECT_NE(kl::InvalidFilterPattern(options).find("(unclosed"), std::string::npos);
    options.lineFilters = {"ok"};
    EXPECT_EQ(kl::InvalidFilterPattern(options), "");
}

}  // namespace
