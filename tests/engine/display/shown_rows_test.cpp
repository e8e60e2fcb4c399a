// The shown rows against the comparison result they are built from.
#include "engine/display/shown_rows.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/display/difference_navigation.h"
#include "engine/edit/result_after_edit.h"
#include "engine/edit/text_edit.h"
#include "tests/engine/merge/compared_result.h"
#include "tests/support/test_scale.h"

namespace {

using kl::DOC_A;
using kl::DOC_B;

std::shared_ptr<const kl::CompareResult> Compared(std::string_view a, std::string_view b)
{
    return std::make_shared<const kl::CompareResult>(kltest::ComparedResult(a, b));
}

kl::ShownRows Shown(const std::shared_ptr<const kl::CompareResult>& result, bool paired)
{
    return kl::ShownRows(result->texts, result, {kl::DISPLAY_RESULT, paired});
}

// The lines a column shows, in row order.
std::vector<int> LinesOf(const kl::ShownRows& shown, int side)
{
    std::vector<int> lines;
    for (const kl::DisplayRow& cell : shown.Column(side)) {
        if (cell.lineIndex != kl::kNoLine)
            lines.push_back(cell.lineIndex);
    }
    return lines;
}

std::string RandomText(std::mt19937& random)
{
    std::string text;
    const int lines = static_cast<int>(random() % 12);
    for (int k = 0; k < lines; ++k) {
        text += static_cast<char>('a' + random() % 5);
        if (random() % 3 == 0)
            text += static_cast<char>('a' + random() % 5);
        text += '\n';
    }
    return text;
}

TEST(ShownRows, AChangedLineStandsBesideItsNewVersion)
{
    const auto result = Compared("keep\nold line\nkeep 2\n", "keep\nnew line\nkeep 2\n");
    const kl::ShownRows plain = Shown(result, false);
    const kl::ShownRows paired = Shown(result, true);
    EXPECT_EQ(plain.RowCount(), 4);
    ASSERT_EQ(paired.RowCount(), 3);
    EXPECT_TRUE(paired.IsPaired(1));
    EXPECT_EQ(paired.Cell(DOC_A, 1).kind, kl::ROW_CHANGED);
    EXPECT_EQ(paired.LineAt(DOC_A, 1), 1);
    EXPECT_EQ(paired.LineAt(DOC_B, 1), 1);
    EXPECT_EQ(paired.BlockCount(), 1);
    EXPECT_EQ(paired.BlockOf(0), -1);
    EXPECT_EQ(paired.BlockOf(1), 0);
    std::string scratch;
    EXPECT_EQ(paired.TextAt(DOC_B, 1, scratch), "new line\n");
}

TEST(ShownRows, MovedLinesKeepTheirRowsAndMessages)
{
    const auto result = Compared("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n");
    const kl::ShownRows paired = Shown(result, true);
    ASSERT_EQ(paired.RowCount(), result->RowCount());
    for (int row = 0; row < paired.RowCount(); ++row) {
        EXPECT_FALSE(paired.IsPaired(row));
        EXPECT_EQ(paired.Cell(DOC_B, row).message, result->Rows(DOC_B)[static_cast<std::size_t>(row)].message);
    }
}

TEST(ShownRows, SourceRowsAreTheTextsAsLoaded)
{
    const auto result = Compared("a\nb\n", "x\n");
    const kl::ShownRows source(result->texts, result, {kl::DISPLAY_SOURCE, true});
    EXPECT_EQ(source.RowCount(), 2);
    EXPECT_EQ(source.ColumnRowCount(DOC_B), 1);
    EXPECT_EQ(source.LineAt(DOC_A, 1), 1);
    EXPECT_EQ(source.LineAt(DOC_B, 1), kl::kNoLine);
    EXPECT_EQ(source.BlockCount(), 0);
    // A longer text shown while the short one still is.
    const auto longer = Compared(std::string(5000, '\n'), "x\n");
    const kl::ShownRows longSource(longer->texts, longer, {kl::DISPLAY_SOURCE, false});
    ASSERT_EQ(longSource.ColumnRowCount(DOC_A), 5000);
    EXPECT_EQ(longSource.LineAt(DOC_A, 4999), 4999);
    EXPECT_EQ(source.LineAt(DOC_A, 1), 1);
}

// Pairing only merges a DocA-only row with a DocB-only row of the same gap: each column
// still shows its lines in order, rows and blocks stay consistent, and the result rows map
// onto the rows that show their lines.
TEST(ShownRows, PairedRowsKeepEveryLineInOrder)
{
    std::mt19937 random(7);
    const int cases = kltest::ScaledCases(400);
    for (int c = 0; c < cases; ++c) {
        const auto result = Compared(RandomText(random), RandomText(random));
        const kl::ShownRows plain = Shown(result, false);
        const kl::ShownRows paired = Shown(result, true);
        SCOPED_TRACE(c);
        ASSERT_EQ(plain.RowCount(), result->RowCount());
        int pairs = 0;
        for (int row = 0; row < paired.RowCount(); ++row) {
            const kl::DisplayRow& a = paired.Cell(DOC_A, row);
            const kl::DisplayRow& b = paired.Cell(DOC_B, row);
            const bool common = a.kind == kl::ROW_COMMON && b.kind == kl::ROW_COMMON;
            ASSERT_EQ(a.kind == kl::ROW_CHANGED, b.kind == kl::ROW_CHANGED);
            if (paired.IsPaired(row)) {
                ++pairs;
                ASSERT_NE(a.lineIndex, kl::kNoLine);
                ASSERT_NE(b.lineIndex, kl::kNoLine);
            }
            ASSERT_EQ(paired.BlockOf(row) < 0, common && b.lineIndex != kl::kNoLine);
        }
        for (int side : {DOC_A, DOC_B}) {
            ASSERT_EQ(LinesOf(paired, side), LinesOf(plain, side));
            for (int row = 0; row < result->RowCount(); ++row) {
                const int line = plain.LineAt(side, row);
                if (line != kl::kNoLine) {
                    ASSERT_EQ(paired.LineAt(side, paired.ShownRowOfResultRow(row)), line);
                }
            }
        }
        ASSERT_EQ(paired.RowCount() + pairs, result->RowCount());
        // Navigation stops at each block of the paired rows, in order.
        int position = 0;
        for (int block = 0; block < paired.BlockCount(); ++block) {
            const auto stop = kl::FindNextDifference(paired, position - 1);
            ASSERT_TRUE(stop.has_value());
            ASSERT_EQ(stop->position, paired.BlockFirstRow(block));
            position = kl::DiffPositionAfterNext(*stop);
        }
        ASSERT_FALSE(kl::FindNextDifference(paired, position - 1).has_value());
    }
}

// Rows taken over from the rows of the version before an edit are the rows built anew,
// and the earlier rows stay as they were.
TEST(ShownRows, RowsAfterAnEditMatchRowsBuiltAnew)
{
    std::mt19937 random(11);
    for (int c = 0; c < kltest::ScaledCases(300); ++c) {
        const auto result = Compared(RandomText(random), RandomText(random));
        const int side = static_cast<int>(random() % 2);
        const kl::Text& text = *result->texts[static_cast<std::size_t>(side)];
        const auto size = static_cast<std::int64_t>(text.size);
        const std::int64_t begin = size ? static_cast<std::int64_t>(random() % (size + 1)) : 0;
        const std::int64_t end = begin + static_cast<std::int64_t>(random() % std::min<std::int64_t>(size - begin + 1, 3));
        const std::string inserted = random() % 3 == 0 ? "q\n" : "q";
        kl::LineChange change;
        const auto edited = kl::ApplyEdit(text, {side, begin, end, inserted}, &change);
        const auto after = kl::ResultAfterEdit(*result, side, change, edited);
        const kl::ShownRows before = Shown(result, false);
        const std::vector<int> linesBefore = LinesOf(before, side);
        const kl::ShownRows fresh(after->texts, after, {kl::DISPLAY_RESULT, false});
        const kl::ShownRows carried(after->texts, after, {kl::DISPLAY_RESULT, false}, &before);
        SCOPED_TRACE(c);
        EXPECT_EQ(carried.Generation() == before.Generation(), change.oldCount == change.newCount);
        ASSERT_EQ(carried.RowCount(), fresh.RowCount());
        ASSERT_EQ(carried.BlockCount(), fresh.BlockCount());
        ASSERT_EQ(carried.TextOf(side), edited.get());
        for (int row = 0; row < fresh.RowCount(); ++row) {
            ASSERT_EQ(carried.BlockOf(row), fresh.BlockOf(row));
            for (int s : {DOC_A, DOC_B})
                ASSERT_EQ(carried.LineAt(s, row), fresh.LineAt(s, row));
        }
        EXPECT_EQ(LinesOf(before, side), linesBefore);
        // Shown as loaded, every line stands on its own row, whatever was shown before.
        std::optional<kl::ShownRows> earlierSource(std::in_place, result->texts, result, kl::DisplayOptions{kl::DISPLAY_SOURCE, false});
        const kl::ShownRows source(after->texts, after, {kl::DISPLAY_SOURCE, false}, &*earlierSource);
        earlierSource.reset();
        ASSERT_EQ(source.TextOf(side), edited.get());
        for (int s : {DOC_A, DOC_B}) {
            const int count = after->TextOf(s)->count();
            ASSERT_EQ(source.ColumnRowCount(s), count);
            for (int row = 0; row < count; ++row)
                ASSERT_EQ(source.LineAt(s, row), row);
        }
    }
}

}  // namespace
