#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "engine/edit/copy_across.h"
#include "engine/edit/result_after_edit.h"
#include "tests/support/test_scale.h"

namespace {

using kl::DOC_A;
using kl::DOC_B;

std::shared_ptr<const kl::Text> TextOf(const std::string& bytes)
{
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false, kl::EncodingChoice::ShiftJis));
}

kl::ShownRows Rows(const kl::TextPair& texts, bool paired = false)
{
    auto result = std::make_shared<const kl::CompareResult>(kl::Compare(texts, {}));
    return kl::ShownRows(texts, result, {kl::DISPLAY_RESULT, paired});
}

std::string RandomLines(std::mt19937& random)
{
    std::string s;
    const int lines = static_cast<int>(random() % 9);
    for (int k = 0; k < lines; ++k) {
        s += static_cast<char>('a' + random() % 4);
        s += k + 1 < lines || random() % 2 ? (random() % 3 ? "\n" : "\r\n") : "";
    }
    return s;
}

// The side a copy reaches takes the other side's lines block by block (each block on the
// rows of a fresh comparison) or all at once, until both texts are equal. The line end
// that a last line without one needs in the middle of the target is the only change.
TEST(CopyAcross, BlockByBlockAndAllAtOnceMakeTheTextsAgree)
{
    std::mt19937 random(4);
    for (int round = 0; round < kltest::ScaledCases(300); ++round) {
        const std::string a = RandomLines(random) + "end\n";
        const std::string b = RandomLines(random) + "end\n";
        for (bool paired : {false, true}) {
            kl::TextPair texts{TextOf(a), TextOf(b)};
            const auto all = kl::CopyAllEdit(Rows(texts, paired), DOC_A);
            if (a == b) {
                EXPECT_FALSE(all);
                continue;
            }
            ASSERT_TRUE(all);
            EXPECT_EQ(kl::ApplyEdit(*texts[DOC_B], all->edit)->bytes(), a) << a << "|" << b;

            for (int step = 0; step < 40; ++step) {
                const kl::ShownRows shown = Rows(texts, paired);
                if (shown.BlockCount() == 0)
                    break;
                const auto one = kl::CopyBlockEdit(shown, DOC_B, static_cast<int>(random() % shown.BlockCount()));
                ASSERT_TRUE(one);
                EXPECT_EQ(one->edit.side, DOC_A);
                texts[DOC_A] = kl::ApplyEdit(*texts[DOC_A], one->edit);
            }
            EXPECT_EQ(texts[DOC_A]->bytes(), b) << a << "|" << b;
        }
    }
}

TEST(CopyAcross, LinesGoAfterTheTargetsLineAboveAndTakeALineEnd)
{
    // DocB lacks "b"; its last line has no line end.
    kl::TextPair texts{TextOf("a\r\nb\r\nc\r\nz\r\n"), TextOf("a\r\nc\r\nz")};
    const kl::ShownRows shown = Rows(texts);
    const auto edit = kl::CopyAllEdit(shown, DOC_A);
    ASSERT_TRUE(edit);
    EXPECT_EQ(kl::ApplyEdit(*texts[DOC_B], edit->edit)->bytes(), "a\r\nb\r\nc\r\nz\r\n");
    kl::TextPair shorter{TextOf("a\nb"), TextOf("a\n")};
    EXPECT_EQ(kl::ApplyEdit(*shorter[DOC_B], kl::CopyAllEdit(Rows(shorter), DOC_A)->edit)->bytes(), "a\nb");
}

TEST(CopyAcross, ATargetThatCannotHoldTheCharactersBecomesUtf8)
{
    // "é" has no Shift_JIS code.
    auto utf8 = std::make_shared<const kl::Text>(kl::SplitLines("caf\xc3\xa9\n", false, kl::EncodingChoice::Utf8));
    kl::TextPair texts{utf8, TextOf("cafe\n")};
    const auto edit = kl::CopyAllEdit(Rows(texts), DOC_A);
    ASSERT_TRUE(edit && edit->base);
    const auto after = kl::ApplyEdit(*edit->base, edit->edit);
    EXPECT_EQ(after->bytes(), "caf\xc3\xa9\n");
    EXPECT_EQ(after->encoding, kl::TextEncoding::Utf8);
    EXPECT_EQ(after->conversion, kl::Text::Conversion::FromCp932);
}

// The rows after an edit, one row at a time: a row of a line after the change moves with
// it; a removed line's row goes, or keeps the other side's line beside a filler; the new
// lines follow the row of the last line rebuilt, or of the line before them.
std::array<std::vector<kl::DisplayRow>, 2> PlainRowsAfter(const kl::CompareResult& result, int side,
                                                          const kl::LineChange& change)
{
    const int other = 1 - side;
    const int oldEnd = change.first + change.oldCount;
    const int anchor = change.oldCount > 0 ? oldEnd - 1 : change.first - 1;
    const kl::RowKind only = side == DOC_A ? kl::ROW_ONLY_A : kl::ROW_ONLY_B;
    std::array<std::vector<kl::DisplayRow>, 2> out;
    bool placed = false;
    const auto add = [&] {
        placed = true;
        for (int k = change.oldCount; k < change.newCount; ++k) {
            out[side].push_back({change.first + k, kl::kNoLine, only, kl::RowMessage::None});
            out[other].push_back({kl::kNoLine, kl::kNoLine, kl::ROW_FILLER,
                                  other == DOC_A ? kl::RowMessage::Left : kl::RowMessage::Right});
        }
    };
    if (anchor < 0)
        add();
    for (int r = 0; r < result.RowCount(); ++r) {
        kl::DisplayRow cell = result.Rows(side)[static_cast<std::size_t>(r)];
        kl::DisplayRow partner = result.Rows(other)[static_cast<std::size_t>(r)];
        const int line = cell.lineIndex;
        if (line >= oldEnd) {
            cell.lineIndex += change.newCount - change.oldCount;
        } else if (line >= change.first + change.newCount) {
            if (partner.lineIndex == kl::kNoLine) {
                if (line == anchor)
                    add();
                continue;
            }
            cell = {kl::kNoLine, kl::kNoLine, kl::ROW_FILLER, side == DOC_A ? kl::RowMessage::Left : kl::RowMessage::Right};
            if (partner.kind == kl::ROW_COMMON)
                partner.kind = other == DOC_A ? kl::ROW_ONLY_A : kl::ROW_ONLY_B;
        }
        out[side].push_back(cell);
        out[other].push_back(partner);
        if (line != kl::kNoLine && line == anchor)
            add();
    }
    if (!placed)
        add();
    return out;
}

bool SameRow(const kl::DisplayRow& a, const kl::DisplayRow& b)
{
    return a.lineIndex == b.lineIndex && a.partnerLine == b.partnerLine && a.kind == b.kind && a.message == b.message;
}

// The rows after an edit show every line of the new text once, in order, with both
// columns of one length.
TEST(ResultAfterEdit, RowsHoldEveryNewLineOnceInOrder)
{
    std::mt19937 random(8);
    for (int round = 0; round < kltest::ScaledCases(300); ++round) {
        const kl::TextPair texts{TextOf(RandomLines(random)), TextOf(RandomLines(random))};
        const kl::CompareResult result = kl::Compare(texts, {});
        const int side = static_cast<int>(random() % 2);
        const kl::Text& text = *texts[static_cast<std::size_t>(side)];
        const auto size = static_cast<std::int64_t>(text.size);
        const std::int64_t begin = size ? static_cast<std::int64_t>(random() % (size + 1)) : 0;
        const std::int64_t end = begin + static_cast<std::int64_t>(random() % (size - begin + 1));
        kl::LineChange change;
        auto edited = kl::ApplyEdit(text, {side, begin, end, RandomLines(random)}, &change);
        const auto after = kl::ResultAfterEdit(result, side, change, edited);
        ASSERT_EQ(after->Rows(DOC_A).size(), after->Rows(DOC_B).size());
        const auto plain = PlainRowsAfter(result, side, change);
        for (int s : {DOC_A, DOC_B})
            ASSERT_TRUE(std::equal(after->Rows(s).begin(), after->Rows(s).end(), plain[s].begin(), plain[s].end(), SameRow));
        for (int s : {DOC_A, DOC_B}) {
            int next = 0;
            for (const kl::DisplayRow& row : after->Rows(s)) {
                if (row.lineIndex != kl::kNoLine) {
                    EXPECT_EQ(row.lineIndex, next++);
                }
            }
            EXPECT_EQ(next, after->TextOf(s)->count());
        }
    }
}

}  // namespace
