#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/document/text_loader.h"
#include "engine/edit/edit_history.h"
#include "engine/edit/text_edit.h"
#include "engine/edit/typing.h"
#include "tests/support/test_scale.h"

namespace {

using kl::LineChange;
using kl::Text;
using kl::TextEdit;

// The edited text must be split exactly as the same bytes loaded from a file, and the
// lines outside the reported change must be the old ones.
void ExpectEdited(const Text& before, const TextEdit& edit, const std::string& expected)
{
    LineChange change;
    const std::shared_ptr<const Text> after = kl::ApplyEdit(before, edit, &change);
    ASSERT_EQ(after->bytes(), expected);
    const Text loaded = kl::SplitLines(expected, false, kl::EncodingChoice::ShiftJis);
    EXPECT_EQ(after->starts, loaded.starts) << expected;
    EXPECT_EQ(after->longestLine, loaded.longestLine) << expected;
    EXPECT_EQ(before.count() - change.oldCount, after->count() - change.newCount);
    for (int i = 0; i < change.first; ++i)
        EXPECT_EQ(before.text(i), after->text(i));
    for (int i = change.first + change.oldCount; i < before.count(); ++i)
        EXPECT_EQ(before.text(i), after->text(i + change.newCount - change.oldCount));
}

TEST(ApplyEdit, LineEndsSplitAndJoinAsInAFile)
{
    struct Case {
        std::string text;
        std::int64_t begin, end;
        std::string inserted;
        std::string expected;
        LineChange change;
    };
    const Case cases[] = {
        {"ab\r\ncd\r\n", 1, 1, "x", "axb\r\ncd\r\n", {0, 1, 1}},
        {"ab\r\ncd\r\n", 2, 2, "\r\n", "ab\r\n\r\ncd\r\n", {0, 1, 2}},
        {"ab\r\ncd\r\n", 2, 4, "", "abcd\r\n", {0, 2, 1}},      // Delete at a CR LF
        {"ab\ncd\n", 2, 3, "", "abcd\n", {0, 2, 1}},            // at an LF
        {"ab\rcd\r", 2, 3, "", "abcd\r", {0, 2, 1}},            // at a CR
        {"a\rb", 2, 2, "\n", "a\r\nb", {0, 1, 1}},              // an LF after a lone CR joins it
        {"a\r\nb", 2, 3, "", "a\rb", {0, 1, 1}},                 // and taking it away splits again
        {"a\rx\nb", 2, 3, "", "a\r\nb", {0, 2, 1}},
        {"ab", 2, 2, "c", "abc", {0, 1, 1}},                     // at the end, no line end
        {"ab\n", 3, 3, "c", "ab\nc", {1, 0, 1}},
        {"", 0, 0, "x\ny", "x\ny", {0, 0, 2}},
        {"x\ny", 0, 3, "", "", {0, 2, 0}},
        {"a\nb\nc\n", 2, 2, "n\n", "a\nn\nb\nc\n", {1, 0, 1}},  // a whole line put in
        {"a\nb\nc\n", 2, 4, "", "a\nc\n", {1, 1, 0}},           // and taken out
        {"a\nb\nc\n", 0, 6, "z\n", "z\n", {0, 3, 1}},
    };
    for (const Case& c : cases) {
        const Text text = kl::SplitLines(c.text, false, kl::EncodingChoice::ShiftJis);
        ExpectEdited(text, {0, c.begin, c.end, c.inserted}, c.expected);
        LineChange change;
        kl::ApplyEdit(text, {0, c.begin, c.end, c.inserted}, &change);
        EXPECT_EQ(change, c.change) << c.expected;
    }
}

TEST(ApplyEdit, ConvertedTextKeepsReadLengthsOfUntouchedLines)
{
    // EUC-JP "あ" (A4 A2) converts to Shift_JIS 82 A0 of the same length; a longer line
    // read as EUC-JP keeps its file length.
    const Text text = kl::SplitLines("\xa4\xa2\xa4\xa2\r\nab\r\n", true);
    const auto after = kl::ApplyEdit(text, {0, 6, 6, "x"});
    EXPECT_EQ(after->converted, text.converted);
    EXPECT_EQ(after->conversion, text.conversion);
    EXPECT_EQ(kl::LineLength(*after, 0), kl::LineLength(text, 0));
    EXPECT_EQ(kl::LineLength(*after, 1), 5);
}

std::string RandomBytes(std::mt19937& random, int length)
{
    static const char alphabet[] = {'a', 'b', '\r', '\n', 'x', '\n'};
    std::string s;
    for (int k = 0; k < length; ++k)
        s += alphabet[random() % sizeof alphabet];
    return s;
}

TEST(ApplyEdit, RandomEditsMatchAPlainString)
{
    std::mt19937 random(23);
    for (int round = 0; round < kltest::ScaledCases(300); ++round) {
        std::string reference = RandomBytes(random, static_cast<int>(random() % 30));
        std::shared_ptr<const Text> text =
            std::make_shared<Text>(kl::SplitLines(reference, false, kl::EncodingChoice::ShiftJis));
        kl::EditHistory history;
        std::vector<std::string> versions{reference};
        for (int step = 0; step < 12; ++step) {
            const auto size = static_cast<std::int64_t>(reference.size());
            const std::int64_t begin = size == 0 ? 0 : static_cast<std::int64_t>(random() % (size + 1));
            const std::int64_t end = begin + static_cast<std::int64_t>(random() % (size - begin + 1) % 4);
            const TextEdit edit{0, begin, end, RandomBytes(random, static_cast<int>(random() % 4))};
            reference.replace(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin), edit.inserted);
            ExpectEdited(*text, edit, reference);
            text = history.Apply(*text, {{edit}, {}, nullptr}, random() % 2 == 0).text;
            versions.push_back(reference);
        }
        // Undo all the way back and redo all the way forward.
        std::vector<std::string> seen{std::string(text->bytes())};
        while (history.CanUndo()) {
            text = history.Undo(*text).text;
            seen.push_back(std::string(text->bytes()));
        }
        EXPECT_EQ(seen.back(), versions.front());
        EXPECT_TRUE(history.AtSaved());
        while (history.CanRedo())
            text = history.Redo(*text).text;
        EXPECT_EQ(text->bytes(), versions.back());
        EXPECT_EQ(text->starts, kl::SplitLines(versions.back(), false, kl::EncodingChoice::ShiftJis).starts);
    }
}

TEST(EditHistory, TheCaretFollowsEachStepAndItsUndo)
{
    struct Case {
        std::vector<TextEdit> edits;
        std::int64_t applied, undone;
    };
    const Case cases[] = {
        {{{0, 5, 6, "XYZ"}}, 8, 6},                      // replaced: after the new, then the old bytes
        {{{0, 2, 2, "ab"}}, 4, 2},                       // inserted
        {{{0, 1, 4, ""}}, 1, 4},                         // removed
        {{{0, 0, 1, "Q"}, {0, 6, 6, "R\n"}}, 8, 1},      // two places: the last, then the first
    };
    for (const Case& c : cases) {
        std::shared_ptr<const Text> text =
            std::make_shared<Text>(kl::SplitLines("abc\ndef\n", false, kl::EncodingChoice::ShiftJis));
        kl::EditHistory history;
        kl::EditOutcome outcome = history.Apply(*text, {c.edits, {}, nullptr});
        EXPECT_EQ(outcome.caret, c.applied);
        outcome = history.Undo(*outcome.text);
        EXPECT_EQ(outcome.text->bytes(), "abc\ndef\n");
        EXPECT_EQ(outcome.caret, c.undone);
        EXPECT_EQ(history.Redo(*outcome.text).caret, c.applied);
    }
}

TEST(EditHistory, HoldsTheEditsNotTheText)
{
    const std::string big(1 << 20, 'a');
    std::shared_ptr<const Text> text = std::make_shared<Text>(kl::SplitLines(big, false));
    kl::EditHistory history;
    for (int k = 0; k < 100; ++k)
        text = history.Apply(*text, {{{0, k * 100, k * 100 + 1, "b"}}, {}, nullptr}).text;
    EXPECT_LT(history.HeldBytes(), 100u * 200u);
    EXPECT_FALSE(history.AtSaved());
    history.MarkSaved();
    EXPECT_TRUE(history.AtSaved());
    text = history.Undo(*text).text;
    EXPECT_FALSE(history.AtSaved());
    text = history.Apply(*text, {{{0, 0, 0, "c"}}, {}, nullptr}).text;
    EXPECT_FALSE(history.CanRedo());
    while (history.CanUndo()) {
        text = history.Undo(*text).text;
        EXPECT_FALSE(history.AtSaved());  // the saved version can no longer be reached
    }
}

}  // namespace
