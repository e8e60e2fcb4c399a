// A pair compared as code page 932 and the same pair transcoded to UTF-8 must give the same
// result under every option set and mode: rows, blocks and the match fields of every line.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "engine/platform/cp932.h"
#include "tests/support/test_scale.h"

namespace {

// Characters that have one code each in both encodings, among them the full-width space
// and a half-width katakana (one byte in code page 932, three in UTF-8).
const std::vector<std::string> kPieces = {"a", "b", " ", "\t", ":", "　", "あ", "漢", "ｱ", ""};
const std::vector<std::string> kEnds = {"\n", "\r\n", "\r\n", "\r", ""};

std::vector<std::string> RandomLines(std::mt19937& random, int count)
{
    std::vector<std::string> vocabulary;
    for (int v = 0; v < 6; ++v) {
        std::string line;
        const int length = static_cast<int>(random() % 5);
        for (int k = 0; k < length; ++k)
            line += kPieces[random() % kPieces.size()];
        line += kEnds[random() % kEnds.size()];
        vocabulary.push_back(line);
    }
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(vocabulary[random() % vocabulary.size()]);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

std::shared_ptr<const kl::Text> TextIn(const std::string& bytes, kl::TextEncoding encoding)
{
    kl::Text text = kl::SplitLines(bytes, false);
    text.encoding = encoding;  // an all-ASCII text would be taken for code page 932
    return std::make_shared<const kl::Text>(std::move(text));
}

void ExpectSameResult(const kl::CompareResult& cp932, const kl::CompareResult& utf8, const std::string& what)
{
    for (int side : {kl::DOC_A, kl::DOC_B}) {
        const kl::SideResult& a = cp932.sides[static_cast<std::size_t>(side)];
        const kl::SideResult& b = utf8.sides[static_cast<std::size_t>(side)];
        ASSERT_EQ(a.blockSize, b.blockSize) << what;
        ASSERT_EQ(a.partnerLines.lines, b.partnerLines.lines) << what;
        ASSERT_EQ(a.partnerLines.starts, b.partnerLines.starts) << what;
        ASSERT_EQ(a.rows.size(), b.rows.size()) << what;
        for (std::size_t r = 0; r < a.rows.size(); ++r) {
            ASSERT_EQ(a.rows[r].lineIndex, b.rows[r].lineIndex) << what << " row " << r;
            ASSERT_EQ(a.rows[r].partnerLine, b.rows[r].partnerLine) << what << " row " << r;
            ASSERT_EQ(a.rows[r].kind, b.rows[r].kind) << what << " row " << r;
            ASSERT_EQ(a.rows[r].message, b.rows[r].message) << what << " row " << r;
        }
        ASSERT_EQ(a.blocks.size(), b.blocks.size()) << what;
        for (std::size_t k = 0; k < a.blocks.size(); ++k) {
            ASSERT_EQ(a.blocks[k].kind, b.blocks[k].kind) << what;
            ASSERT_EQ(a.blocks[k].firstLineIndex, b.blocks[k].firstLineIndex) << what;
            ASSERT_EQ(a.blocks[k].lineCount, b.blocks[k].lineCount) << what;
            ASSERT_EQ(a.blocks[k].firstRow, b.blocks[k].firstRow) << what;
        }
    }
}

TEST(EncodingEquivalence, TranscodedPairsCompareAlikeUnderEveryOption)
{
    std::mt19937 random(1307);
    for (int round = 0; round < kltest::ScaledCases(120); ++round) {
        const std::vector<std::string> linesA = RandomLines(random, 3 + static_cast<int>(random() % 12));
        std::vector<std::string> linesB = linesA;
        for (std::string& line : linesB) {
            if (random() % 3 == 0)
                line = linesA[random() % linesA.size()];
        }
        if (random() % 2 == 0)
            linesB.insert(linesB.begin(), linesA.back());  // a moved line
        const std::string utf8A = Joined(linesA);
        const std::string utf8B = Joined(linesB);
        const kl::TextPair cp932{TextIn(kl::Utf8ToCp932(utf8A), kl::TextEncoding::Cp932),
                                 TextIn(kl::Utf8ToCp932(utf8B), kl::TextEncoding::Cp932)};
        const kl::TextPair utf8{TextIn(utf8A, kl::TextEncoding::Utf8), TextIn(utf8B, kl::TextEncoding::Utf8)};
        for (unsigned bits = 0; bits < 32; ++bits) {
            kl::CompareRequest request;
            request.options.method = (bits & 1) ? 1 : 0;
            request.options.delimiter = ':';
            request.options.ignoreNewline = (bits & 2) != 0;
            request.options.ignoreSpaceTab = (bits & 4) != 0;
            request.options.wideSpaceAsTwo = (bits & 8) ? 1 : 0;
            request.options.ignoreTrailingSpaces = (bits & 16) ? 1 : 0;
            for (kl::CompareMode mode : {kl::COMPARE_NORMAL, kl::COMPARE_DETAILED}) {
                request.mode = mode;
                const std::string what = "round " + std::to_string(round) + " options " + std::to_string(bits) +
                                         " mode " + std::to_string(mode);
                ExpectSameResult(kl::Compare(cp932, request), kl::Compare(utf8, request), what);
                if (HasFatalFailure())
                    return;
            }
        }
    }
}

}  // namespace
