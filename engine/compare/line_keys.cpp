#include "engine/compare/line_keys.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "engine/compare/lines_equal.h"

namespace kl {
namespace {

// The bytes LinesEqual keeps of a line once its line end is left out: those before the
// first CR, or before the first LF when there is no CR.
std::string_view ContentBytes(std::string_view text)
{
    std::size_t end = text.find('\r');
    if (end == std::string_view::npos) end = text.find('\n');
    return end == std::string_view::npos ? text : text.substr(0, end);
}

// One line's working bytes after the normalisation LinesEqual applies under the options:
// a view of the line itself when no normalisation applies, a new text otherwise.
class Normalised {
public:
    Normalised(std::string_view working, const CompareOptions& options)
    {
        if (options.ignoreSpaceTab) {
            storage_ = StripSpaceTab(working, working.size(), options.encoding);
            owned_ = true;
        } else if (options.wideSpaceAsTwo != 0 || options.ignoreTrailingSpaces != 0) {
            storage_ = NormaliseSpaces(working, working.size(), options);
            owned_ = true;
        } else {
            view_ = working;
        }
    }
    std::string_view view() const { return owned_ ? std::string_view(storage_) : view_; }
    // The new text, for keeping; empty for a view of the line.
    std::string TakeText() { return std::move(storage_); }
    bool owned() const { return owned_; }

private:
    std::string storage_;
    std::string_view view_;
    bool owned_ = false;
};

std::uint64_t HashOf(std::string_view text)
{
    return std::hash<std::string_view>{}(text);
}

// Gives every distinct text a number, counting from 0. Texts that are views of the tables
// are kept as views; normalised texts are kept by the numbering.
class TextNumbering {
public:
    // expectedTexts sizes the table; it doubles whenever it gets half full.
    explicit TextNumbering(std::size_t expectedTexts)
    {
        std::size_t capacity = 16;
        while (capacity < expectedTexts * 2) capacity *= 2;
        slots_.assign(capacity, Slot{});
    }

    // Brings the slot where the search for a text with this hash starts into the cache.
    void Prefetch(std::uint64_t hash) const
    {
#if defined(__GNUC__)
        __builtin_prefetch(&slots_[static_cast<std::size_t>(hash) & (slots_.size() - 1)]);
#else
        (void)hash;
#endif
    }

    // hash is HashOf(normalised.view()).
    std::int32_t Number(Normalised& normalised, std::uint64_t hash)
    {
        const std::string_view text = normalised.view();
        Slot* slot = Find(hash, text);
        if (slot->number != kFree) return slot->number;
        const auto number = static_cast<std::int32_t>(texts_.size());
        if (normalised.owned()) {
            kept_.push_back(normalised.TakeText());
            texts_.push_back(kept_.back());
        } else {
            texts_.push_back(text);
        }
        *slot = Slot{static_cast<std::uint32_t>(hash >> 32), number};
        if (texts_.size() * 2 > slots_.size()) Grow();
        return number;
    }

    int Count() const { return static_cast<int>(texts_.size()); }

private:
    static constexpr std::int32_t kFree = -1;

    // Hash and number side by side, so a probe touches one cache line.
    // Eight bytes a slot: the upper half of the hash is enough to skip almost every
    // unequal text, and equal halves still compare the texts.
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t number = kFree;
    };

    // The slot that holds text, or the free slot where it belongs.
    Slot* Find(std::uint64_t hash, std::string_view text)
    {
        const std::size_t mask = slots_.size() - 1;
        const auto check = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t index = static_cast<std::size_t>(hash) & mask;; index = (index + 1) & mask) {
            Slot& slot = slots_[index];
            if (slot.number == kFree) return &slot;
            if (slot.hash == check && texts_[static_cast<std::size_t>(slot.number)] == text) return &slot;
        }
    }

    void Grow()
    {
        std::vector<Slot> old(slots_.size() * 2, Slot{});
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.number == kFree) continue;
            const std::string_view text = texts_[static_cast<std::size_t>(slot.number)];
            *Find(HashOf(text), text) = slot;
        }
    }

    std::vector<Slot> slots_;
    std::vector<std::string_view> texts_;  // by number
    std::deque<std::string> kept_;         // normalised texts; a deque never moves them
};

}  // namespace

LineKeys::LineKeys(const Text& table0, const Text& table1, const CompareOptions& options)
{
    // Two similar texts share most lines, so the larger one sizes the table at first.
    TextNumbering numbering(static_cast<std::size_t>(std::max(table0.count(), table1.count())));
    // Without normalisation a line's number is looked up by the hash of its own bytes; the
    // slot for a line a few lines ahead is fetched while this one is numbered.
    const bool plain = !options.ignoreSpaceTab && options.wideSpaceAsTwo == 0 && options.ignoreTrailingSpaces == 0;
    constexpr std::size_t kAhead = 8;
    std::array<std::uint64_t, kAhead> ahead{};
    const Text* tables[2] = {&table0, &table1};
    for (int side = 0; side < 2; ++side) {
        const Text& table = *tables[side];
        Side& keys = sides_[side];
        const auto n = static_cast<std::size_t>(table.count());
        std::vector<std::int32_t>& wholeKeys = keys.keys[static_cast<std::size_t>(KeyForm::Whole)];
        std::vector<std::int32_t>& contentKeys = keys.keys[static_cast<std::size_t>(KeyForm::Content)];
        wholeKeys.resize(n);
        keys.firstForm.resize(n);
        if (options.ignoreNewline) contentKeys.resize(n);
        if (plain) {
            for (std::size_t k = 0; k < std::min(n, kAhead); ++k) {
                ahead[k] = HashOf(table.text(static_cast<int>(k)));
                numbering.Prefetch(ahead[k]);
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::string_view text = table.text(static_cast<int>(i));
            Normalised whole(text, options);
            std::uint64_t hash;
            if (plain) {
                hash = ahead[i % kAhead];
                if (i + kAhead < n) {
                    ahead[i % kAhead] = HashOf(table.text(static_cast<int>(i + kAhead)));
                    numbering.Prefetch(ahead[i % kAhead]);
                }
            } else {
                hash = HashOf(whole.view());
            }
            // Under the delimiter method a first line holding the delimiter is compared by
            // head and tail only, which no number can stand for.
            bool delimited = options.method == 1 && whole.view().find(options.delimiter) != std::string_view::npos;
            wholeKeys[i] = numbering.Number(whole, hash);
            KeyForm form = KeyForm::Whole;
            if (options.ignoreNewline) {
                if (text.find_first_of("\r\n") == std::string_view::npos) {
                    contentKeys[i] = wholeKeys[i];  // no line end: the same bytes
                } else {
                    Normalised content(ContentBytes(text), options);
                    delimited = options.method == 1 && content.view().find(options.delimiter) != std::string_view::npos;
                    contentKeys[i] = numbering.Number(content, HashOf(content.view()));
                    form = KeyForm::Content;
                }
            }
            keys.firstForm[i] = delimited ? KeyForm::None : form;
        }
    }
    keyCount_ = numbering.Count();
}

KeyIndex::KeyIndex(const LineKeys& keys, int side, KeyForm form, int lineCount)
{
    starts_.assign(static_cast<std::size_t>(keys.KeyCount()) + 1, 0);
    for (int i = 0; i < lineCount; ++i) ++starts_[static_cast<std::size_t>(keys.Key(side, form, i)) + 1];
    for (std::size_t k = 1; k < starts_.size(); ++k) starts_[k] += starts_[k - 1];
    lines_.resize(static_cast<std::size_t>(lineCount));
    std::vector<std::int32_t> fill(starts_.begin(), starts_.end() - 1);
    for (int i = 0; i < lineCount; ++i)
        lines_[static_cast<std::size_t>(fill[static_cast<std::size_t>(keys.Key(side, form, i))]++)] = i;
}

}  // namespace kl
