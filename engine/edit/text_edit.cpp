#include "engine/edit/text_edit.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "engine/edit/text_origin.h"
#include "engine/platform/large_buffer.h"

namespace kl {

namespace {

bool IsBreak(char c) { return c == '\n' || c == '\r'; }

// Ends of the lines of bytes [pos, end), each one past its line end (or at end for a last
// line without one), appended to out as offsets plus shift.
void AppendLineEnds(std::string_view bytes, std::size_t pos, std::size_t end, std::int64_t shift,
                    std::vector<std::int64_t>& out)
{
    while (pos < end) {
        std::size_t i = pos;
        while (i < end && !IsBreak(bytes[i]))
            ++i;
        if (i < end)
            i += bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n' ? 2 : 1;
        out.push_back(static_cast<std::int64_t>(i) + shift);
        pos = i;
    }
}

int StoredLength(const std::vector<std::int64_t>& starts, int i)
{
    return static_cast<int>(starts[static_cast<std::size_t>(i) + 1] - starts[static_cast<std::size_t>(i)]);
}

int ReadLength(const Text& text, int i)
{
    return text.readLengths.empty() ? StoredLength(text.starts, i) : text.readLengths[static_cast<std::size_t>(i)];
}

int LongestOf(const Text& text)
{
    int longest = 0;
    for (int i = 1; i < text.count(); ++i) {
        if (ReadLength(text, i) > ReadLength(text, longest))
            longest = i;
    }
    return longest;
}

}  // namespace

std::int64_t LineStart(const Text& text, int line)
{
    if (line >= text.count())
        return static_cast<std::int64_t>(text.size);
    return text.starts[static_cast<std::size_t>(line)];
}

int LineOfOffset(const Text& text, std::int64_t pos)
{
    if (text.count() == 0 || pos >= static_cast<std::int64_t>(text.size))
        return text.count();
    const auto it = std::upper_bound(text.starts.begin(), text.starts.end(), pos);
    return static_cast<int>(it - text.starts.begin()) - 1;
}

std::shared_ptr<const Text> ApplyEdit(const Text& text, const TextEdit& edit, LineChange* change)
{
    const std::string_view old = text.bytes();
    const auto size = static_cast<std::int64_t>(old.size());
    if (edit.begin < 0 || edit.begin > edit.end || edit.end > size)
        throw std::out_of_range("edit outside the text");
    const std::int64_t delta = static_cast<std::int64_t>(edit.inserted.size()) - (edit.end - edit.begin);
    const auto newSize = static_cast<std::size_t>(size + delta);

    auto result = std::make_shared<Text>();
    Text& out = *result;
    CopyTextOrigin(text, out);
    out.storage = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(newSize, 1));
    AdviseHugePages(out.storage.get(), newSize);
    out.size = newSize;
    char* dst = out.storage.get();
    std::memcpy(dst, old.data(), static_cast<std::size_t>(edit.begin));
    std::memcpy(dst + edit.begin, edit.inserted.data(), edit.inserted.size());
    std::memcpy(dst + edit.begin + static_cast<std::int64_t>(edit.inserted.size()), old.data() + edit.end,
                static_cast<std::size_t>(size - edit.end));
    const std::string_view now(dst, newSize);

    // Old lines [first, last) are rebuilt; the lines around them keep their bounds. A line
    // that ends in a lone CR is rebuilt too when the edit begins right after it, since an LF
    // put there joins the two into one line end.
    const int count = text.count();
    int first = count;
    if (edit.begin < size)
        first = LineOfOffset(text, edit.begin);
    else if (count > 0 && !IsBreak(old.back()))
        first = count - 1;
    if (first > 0 && LineStart(text, first) == edit.begin && old[static_cast<std::size_t>(edit.begin) - 1] == '\r')
        --first;
    int last = count;
    if (edit.end < size) {
        last = LineOfOffset(text, edit.end);
        // The line at edit.end is kept whole when a line end still stands right before it.
        const std::int64_t at = edit.end + delta;
        const bool lineStart = LineStart(text, last) == edit.end;
        const bool endsBefore = at > 0 && (now[static_cast<std::size_t>(at) - 1] == '\n' ||
                                           (now[static_cast<std::size_t>(at) - 1] == '\r' && now[static_cast<std::size_t>(at)] != '\n'));
        if (!(lineStart && endsBefore && last >= first))
            ++last;
    }
    last = std::max(last, first);

    const std::int64_t regionBegin = LineStart(text, first);
    const std::int64_t regionEnd = LineStart(text, last) + delta;
    std::vector<std::int64_t> region;
    AppendLineEnds(now, static_cast<std::size_t>(regionBegin), static_cast<std::size_t>(regionEnd), 0, region);
    const int newRegionLines = static_cast<int>(region.size());
    std::vector<std::int64_t>& starts = out.starts;
    if (first + newRegionLines + (count - last) > 0) {
        starts.reserve(static_cast<std::size_t>(first + newRegionLines + (count - last)) + 1);
        AdviseHugePages(starts.data(), starts.capacity() * sizeof(std::int64_t));
        if (count > 0)
            starts.insert(starts.end(), text.starts.begin(), text.starts.begin() + first + 1);
        else
            starts.push_back(0);
        starts.insert(starts.end(), region.begin(), region.end());
        const std::size_t shifted = starts.size();
        if (count > 0)
            starts.insert(starts.end(), text.starts.begin() + last + 1, text.starts.end());
        for (std::size_t k = shifted; k < starts.size(); ++k)
            starts[k] += delta;
    }

    if (!text.readLengths.empty()) {
        out.readLengths.reserve(static_cast<std::size_t>(out.count()));
        out.readLengths.assign(text.readLengths.begin(), text.readLengths.begin() + first);
        for (int k = first; k < first + newRegionLines; ++k)
            out.readLengths.push_back(StoredLength(starts, k));
        out.readLengths.insert(out.readLengths.end(), text.readLengths.begin() + last, text.readLengths.end());
    }

    // The longest line: the old one still counts unless it was rebuilt, ties go to the first.
    if (out.count() > 0) {
        if (text.count() > 0 && (text.longestLine < first || text.longestLine >= last)) {
            int best = text.longestLine < first ? text.longestLine : text.longestLine + newRegionLines - (last - first);
            for (int k = first; k < first + newRegionLines; ++k) {
                const int length = ReadLength(out, k);
                if (length > ReadLength(out, best) || (length == ReadLength(out, best) && k < best))
                    best = k;
            }
            out.longestLine = best;
        } else {
            out.longestLine = LongestOf(out);
        }
    }
    if (change)
        *change = {first, last - first, newRegionLines};
    return result;
}

TextEdit LinesEdit(const Text& text, int side, int first, int count, std::string bytes)
{
    return {side, LineStart(text, first), LineStart(text, first + count), std::move(bytes)};
}

}  // namespace kl
