#include "engine/search/text_search.h"

#include <algorithm>
#include <bitset>
#include <optional>
#include <regex>
#include <string_view>

#include "engine/platform/cp932.h"
#include "engine/search/case_fold.h"
#include "engine/search/literal_finder.h"
#include "engine/search/regex_literal.h"

namespace kl {

namespace {

// Texts are searched in pieces of whole lines of about this size.
constexpr std::size_t kChunkBytes = 1 << 20;
constexpr int kLinesBetweenStopChecks = 4096;

// The pattern in the text's encoding, or nothing when the encoding cannot hold it.
std::optional<std::string> EncodedNeedle(std::string_view utf8, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return std::string(utf8);
    std::string encoded = Utf8ToCp932(utf8);
    if (std::count(encoded.begin(), encoded.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        return std::nullopt;
    return encoded;
}

std::size_t ContentEnd(const Text& text, int line)
{
    return static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line) + 1]) -
           static_cast<std::size_t>(NewlineKind(text, line));
}

// Tells whether an offset inside a line is where a character begins. Hits come in text
// order, so the stepping goes on from the last boundary found in the same line.
class CharacterStarts {
public:
    explicit CharacterStarts(const Text& text) : text_(text) {}

    bool At(int line, std::size_t offset)
    {
        if (text_.encoding == TextEncoding::Utf8)
            return true;  // a needle never begins with a continuation byte
        if (line != line_ || offset < pos_) {
            line_ = line;
            pos_ = 0;
        }
        const std::string_view bytes = text_.text(line);
        while (pos_ < offset)
            pos_ = NextChar(bytes, pos_);
        return pos_ == offset;
    }

private:
    const Text& text_;
    int line_ = -1;
    std::size_t pos_ = 0;
};

// Reports progress 0..100 as a scan passes through a text, each value once.
class ScanProgress {
public:
    ScanProgress(const ProgressCallback& progress, std::size_t total) : progress_(progress), total_(total) {}

    void At(std::size_t done)
    {
        if (!progress_ || total_ == 0)
            return;
        const int percent = static_cast<int>(std::min<std::size_t>(done, total_) * 100 / total_);
        if (percent != last_)
            progress_(last_ = percent);
    }

private:
    const ProgressCallback& progress_;
    std::size_t total_;
    int last_ = -1;
};

// Calls onHit(line, offset, content) for the occurrences of finder's needle in text, where
// content is the line without its line end (folded when fold) and offset the occurrence's
// place in it; onHit answers the offset in the line where the scan goes on. The text is
// scanned in pieces of whole lines, so that the scan can stop and report its progress.
template <typename OnHit>
void ScanText(const Text& text, const LiteralFinder& finder, bool fold, std::stop_token stop,
              const ProgressCallback& progress, OnHit&& onHit)
{
    const std::string_view all = text.bytes();
    const std::size_t n = finder.needle().size();
    ScanProgress report(progress, all.size());
    std::string folded;
    int line = 0;
    std::size_t chunkBegin = 0;
    while (chunkBegin < all.size() && !stop.stop_requested()) {
        const auto firstLine = static_cast<std::size_t>(line);
        auto endLine = std::upper_bound(text.starts.begin() + static_cast<std::ptrdiff_t>(firstLine) + 1,
                                        text.starts.end(), static_cast<std::int64_t>(chunkBegin + kChunkBytes));
        if (endLine == text.starts.begin() + static_cast<std::ptrdiff_t>(firstLine) + 1)
            ++endLine;  // one long line
        const auto chunkEnd = static_cast<std::size_t>(*(endLine - 1));
        // The piece searched: the text itself up to the chunk's end, or the chunk folded.
        std::string_view piece = all.substr(0, chunkEnd);
        std::size_t pieceOffset = 0;
        if (fold) {
            folded.assign(all.substr(chunkBegin, chunkEnd - chunkBegin));
            FoldCaseInPlace(text.encoding, folded.data(), folded.size());
            piece = folded;
            pieceOffset = chunkBegin;
        }
        std::size_t from = chunkBegin - pieceOffset;
        while (true) {
            const std::size_t hit = finder.Find(piece, from);
            if (hit == std::string_view::npos)
                break;
            const std::size_t at = hit + pieceOffset;
            while (static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line) + 1]) <= at)
                ++line;
            const auto lineStart = static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line)]);
            const std::size_t contentEnd = ContentEnd(text, line);
            if (at + n > contentEnd) {
                from = hit + 1;
                continue;
            }
            const std::string_view content = piece.substr(lineStart - pieceOffset, contentEnd - lineStart);
            from = lineStart - pieceOffset + onHit(line, at - lineStart, content);
        }
        chunkBegin = chunkEnd;
        while (line < text.count() && static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line) + 1]) <= chunkBegin)
            ++line;
        report.At(chunkBegin);
    }
}

LiteralFinder FinderFor(const Text& text, std::string needle)
{
    const std::string_view all = text.bytes();
    return LiteralFinder(std::move(needle), all.substr(0, std::min<std::size_t>(all.size(), 1 << 16)));
}

// Every occurrence of a literal needle, line by line. fold: the text is searched folded.
std::vector<TextMatch> FindLiteral(const Text& text, const std::string& needle, bool fold, std::stop_token stop,
                                   const ProgressCallback& progress)
{
    std::vector<TextMatch> matches;
    if (needle.empty() || text.bytes().empty())
        return matches;
    CharacterStarts starts(text);
    const auto size = static_cast<std::uint32_t>(needle.size());
    ScanText(text, FinderFor(text, needle), fold, stop, progress,
             [&](int line, std::size_t offset, std::string_view) -> std::size_t {
                 if (!starts.At(line, offset))
                     return offset + 1;
                 const auto begin = static_cast<std::uint32_t>(offset);
                 matches.push_back({line, begin, begin + size});
                 return offset + size;
             });
    return matches;
}

// The pattern with its letters folded, except those after a backslash (\W is not \w).
std::string FoldedPattern(std::string_view utf8)
{
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        if (utf8[pos] == '\\' && pos + 1 < utf8.size()) {
            pos += 2;
            out.append(utf8.substr(start, 2));
            continue;
        }
        DecodeCharIn(TextEncoding::Utf8, utf8, pos);
        std::string one(utf8.substr(start, pos - start));
        FoldCaseInPlace(TextEncoding::Utf8, one.data(), one.size());
        out += one;
    }
    return out;
}

void AppendWide(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) >= 4) {
        out.push_back(static_cast<wchar_t>(c));
    } else if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

std::wstring WidePattern(std::string_view utf8)
{
    std::wstring wide;
    for (std::size_t pos = 0; pos < utf8.size();)
        AppendWide(wide, DecodeCharIn(TextEncoding::Utf8, utf8, pos));
    return wide;
}

std::regex_constants::syntax_option_type RegexFlags(bool matchCase)
{
    auto flags = std::regex_constants::ECMAScript | std::regex_constants::optimize;
    return matchCase ? flags : flags | std::regex_constants::icase;
}

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The expression run on one line at a time: on the line's bytes where the pattern allows it
// (every line of a UTF-8 text, ASCII lines of others), otherwise on its decoded characters.
class LineRegex {
public:
    explicit LineRegex(const SearchQuery& query)
        : fold_(!query.matchCase),
          regex_(WidePattern(fold_ ? FoldedPattern(query.pattern) : query.pattern), RegexFlags(query.matchCase))
    {
        if (const std::optional<std::string> bytes = BytePattern(fold_ ? FoldedPattern(query.pattern) : query.pattern)) {
            try {
                byteRegex_.emplace(*bytes, RegexFlags(query.matchCase));
            } catch (const std::regex_error&) {
            }
        }
    }

    void Find(const Text& text, int line, std::vector<TextMatch>& matches)
    {
        const auto lineStart = static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line)]);
        const std::string_view bytes = text.text(line).substr(0, ContentEnd(text, line) - lineStart);
        if (byteRegex_ && (text.encoding == TextEncoding::Utf8 || IsAscii(bytes)))
            FindInBytes(bytes, line, matches);
        else
            FindInCharacters(text.encoding, bytes, line, matches);
    }

private:
    void FindInBytes(std::string_view bytes, int line, std::vector<TextMatch>& matches)
    {
        if (fold_) {
            folded_.assign(bytes);
            FoldCaseInPlace(TextEncoding::Utf8, folded_.data(), folded_.size());  // ASCII folds alike everywhere
            bytes = folded_;
        }
        using Iterator = std::regex_iterator<std::string_view::const_iterator>;
        for (auto it = Iterator(bytes.begin(), bytes.end(), *byteRegex_); it != Iterator(); ++it) {
            const auto begin = static_cast<std::uint32_t>(it->position(0));
            const auto end = begin + static_cast<std::uint32_t>(it->length(0));
            if (end > begin)
                matches.push_back({line, begin, end});
        }
    }

    void FindInCharacters(TextEncoding encoding, std::string_view bytes, int line, std::vector<TextMatch>& matches)
    {
        wide_.clear();
        offsets_.clear();
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t start = pos;
            char32_t c = DecodeCharIn(encoding, bytes, pos);
            if (fold_)
                c = FoldCase(c);
            const std::size_t before = wide_.size();
            AppendWide(wide_, c);
            offsets_.insert(offsets_.end(), wide_.size() - before, static_cast<std::uint32_t>(start));
        }
        offsets_.push_back(static_cast<std::uint32_t>(bytes.size()));
        for (auto it = std::wsregex_iterator(wide_.begin(), wide_.end(), regex_); it != std::wsregex_iterator(); ++it) {
            const auto begin = static_cast<std::size_t>(it->position(0));
            const std::size_t end = begin + static_cast<std::size_t>(it->length(0));
            if (end > begin)
                matches.push_back({line, offsets_[begin], offsets_[end]});
        }
    }

    bool fold_;
    std::wregex regex_;
    std::optional<std::regex> byteRegex_;
    std::wstring wide_;
    std::vector<std::uint32_t> offsets_;
    std::string folded_;
};

// A literal every match holds, in the text's encoding (folded when the search folds).
struct EncodedRun {
    std::string needle;
    std::optional<std::bitset<256>> follow;
};

// Whether the byte after run's needle at content[at] may follow it.
bool FollowedAt(std::string_view content, const EncodedRun& run, std::size_t at)
{
    const std::size_t after = at + run.needle.size();
    return !run.follow || (after < content.size() && (*run.follow)[static_cast<unsigned char>(content[after])]);
}

bool HoldsRun(std::string_view content, const EncodedRun& run)
{
    for (std::size_t at = content.find(run.needle); at != std::string_view::npos; at = content.find(run.needle, at + 1)) {
        if (FollowedAt(content, run, at))
            return true;
    }
    return false;
}

std::vector<TextMatch> FindRegex(const Text& text, const SearchQuery& query, std::stop_token stop,
                                 const ProgressCallback& progress)
{
    std::vector<TextMatch> matches;
    LineRegex regex(query);
    // Lines without the texts every match holds are passed over without running the
    // expression: the longest is looked for through the whole text, the others in its lines.
    std::vector<EncodedRun> runs;
    bool fold = false;
    for (RequiredRun& run : RequiredRuns(query.pattern, !query.matchCase)) {
        if (!query.matchCase)
            run.literal = FoldedUtf8(run.literal);
        std::optional<std::string> needle = EncodedNeedle(run.literal, text.encoding);
        if (!needle) {
            runs.clear();  // not in the text's encoding: every line is read
            break;
        }
        fold = fold || (!query.matchCase && HasCasedLetter(run.literal));
        runs.push_back({std::move(*needle), run.follow});
    }
    if (!runs.empty() && !text.bytes().empty()) {
        ScanText(text, FinderFor(text, runs.front().needle), fold, stop, progress,
                 [&](int line, std::size_t offset, std::string_view content) -> std::size_t {
                     if (!FollowedAt(content, runs.front(), offset))
                         return offset + 1;
                     if (std::all_of(runs.begin() + 1, runs.end(), [&](const EncodedRun& run) { return HoldsRun(content, run); }))
                         regex.Find(text, line, matches);
                     return content.size() + 1;
                 });
        return matches;
    }
    ScanProgress report(progress, static_cast<std::size_t>(text.count()));
    for (int line = 0; line < text.count(); ++line) {
        if (line % kLinesBetweenStopChecks == 0) {
            if (stop.stop_requested())
                break;
            report.At(static_cast<std::size_t>(line));
        }
        regex.Find(text, line, matches);
    }
    return matches;
}

bool HasLineEnd(std::string_view pattern)
{
    return pattern.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::string SearchPatternError(const SearchQuery& query)
{
    if (query.pattern.empty())
        return "検索する文字列を入力してください";
    if (!query.regularExpression)
        return {};
    try {
        std::wregex check(WidePattern(query.pattern), RegexFlags(query.matchCase));
    } catch (const std::regex_error&) {
        return "正規表現が正しくありません";
    }
    return {};
}

std::vector<TextMatch> FindInText(const Text& text, const SearchQuery& query, std::stop_token stop,
                                  const ProgressCallback& progress)
{
    if (query.pattern.empty() || text.count() == 0 || !SearchPatternError(query).empty())
        return {};
    if (query.regularExpression)
        return FindRegex(text, query, stop, progress);
    if (HasLineEnd(query.pattern))
        return {};
    const bool fold = !query.matchCase && HasCasedLetter(query.pattern);
    const std::optional<std::string> needle =
        EncodedNeedle(fold ? FoldedUtf8(query.pattern) : query.pattern, text.encoding);
    if (!needle)
        return {};
    return FindLiteral(text, *needle, fold, stop, progress);
}

SearchResult FindInTexts(const TextPair& texts, const SearchQuery& query, std::stop_token stop,
                         const ProgressCallback& progress)
{
    SearchResult result;
    result.error = SearchPatternError(query);
    if (!result.error.empty())
        return result;
    // Progress goes over the bytes of the texts searched.
    std::array<const Text*, 2> searched{};
    std::size_t total = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        if ((side == 0 ? query.sides != SearchSides::DocB : query.sides != SearchSides::DocA) && texts[side]) {
            searched[side] = texts[side].get();
            total += searched[side]->bytes().size();
        }
    }
    std::size_t before = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        if (!searched[side])
            continue;
        const std::size_t size = searched[side]->bytes().size();
        const ProgressCallback sideProgress = [&](int percent) {
            if (progress && total > 0)
                progress(static_cast<int>((before + size * static_cast<std::size_t>(percent) / 100) * 100 / total));
        };
        result.matches[side] = FindInText(*searched[side], query, stop, sideProgress);
        before += size;
    }
    result.stopped = stop.stop_requested();
    return result;
}

}  // namespace kl
