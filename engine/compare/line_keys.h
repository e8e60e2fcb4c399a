#pragma once
// Numbers for lines as LinesEqual sees them after its normalisation. The lines of both
// texts of a matching pass share one numbering in which two lines get the same number
// exactly when the texts LinesEqual would compare are equal, so the matcher can compare
// numbers instead of lines, and look up the lines of the other text that equal a line.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/compare/compare_options.h"
#include "engine/document/text.h"

namespace kl {

// Which bytes of a line a number stands for. LinesEqual works on the bytes before the line
// end when ignoreNewline is on and the first line has a line end, and on the whole texts
// otherwise; the first line of a comparison decides, so every line is numbered in both
// forms when ignoreNewline is on.
enum class KeyForm : std::uint8_t {
    Whole,    // the whole text, line end included
    Content,  // the bytes before the first CR (or the first LF when there is no CR)
    None,     // not numbered: the delimiter method applies, and only LinesEqual can decide
};

class LineKeys {
public:
    // Numbers the lines of tables 0 and 1.
    LineKeys(const Text& table0, const Text& table1, const CompareOptions& options);

    // The form in which line i of table side is compared when it is the first line.
    KeyForm FirstForm(int side, int i) const { return sides_[side].firstForm[static_cast<std::size_t>(i)]; }
    // The number of line i of table side in the given form (Whole or Content).
    std::int32_t Key(int side, KeyForm form, int i) const
    {
        return sides_[side].keys[static_cast<std::size_t>(form)][static_cast<std::size_t>(i)];
    }
    // The first forms of all lines of table side, by line.
    const KeyForm* FirstForms(int side) const { return sides_[side].firstForm.data(); }
    // All numbers of table side in one form, by line (nullptr for a form not numbered).
    const std::int32_t* Keys(int side, KeyForm form) const
    {
        return sides_[side].keys[static_cast<std::size_t>(form)].data();
    }
    // LinesEqual(line first of table firstSide, line second of the other table) as 1 for
    // equal and 0 for different, or -1 when only LinesEqual can tell.
    int Compare(int firstSide, int first, int second) const
    {
        const KeyForm form = FirstForm(firstSide, first);
        if (form == KeyForm::None) return -1;
        return Key(firstSide, form, first) == Key(1 - firstSide, form, second) ? 1 : 0;
    }
    int KeyCount() const { return keyCount_; }

private:
    struct Side {
        std::vector<std::int32_t> keys[2];  // by KeyForm; Content only with ignoreNewline
        std::vector<KeyForm> firstForm;
    };
    Side sides_[2];
    int keyCount_ = 0;
};

// The lines of one table grouped by their number in one form, each group in line order.
class KeyIndex {
public:
    KeyIndex(const LineKeys& keys, int side, KeyForm form, int lineCount);

    // The lines numbered key, ascending.
    std::span<const std::int32_t> Lines(std::int32_t key) const
    {
        const auto k = static_cast<std::size_t>(key);
        return std::span<const std::int32_t>(lines_).subspan(static_cast<std::size_t>(starts_[k]),
                                                             static_cast<std::size_t>(starts_[k + 1] - starts_[k]));
    }

    // Every line, grouped as Lines gives them: the spans Lines returns lie in this one.
    std::span<const std::int32_t> AllLines() const { return lines_; }

private:
    std::vector<std::int32_t> starts_;  // key k owns lines_[starts_[k], starts_[k + 1])
    std::vector<std::int32_t> lines_;
};

}  // namespace kl
