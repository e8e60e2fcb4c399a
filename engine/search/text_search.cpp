#include "engine/search/text_search.h"

#include <algorithm>
#include <optional>
#include <regex>
#include <string_view>

#include "engine/platform/cp932.h"
#include "engine/search/case_fold.h"
#include "engine/search/literal_finder.h"
#include "engine/search/regex_literal.h"

namespace kl {

namespace {

// Folded text is searched in pieces of whole lines of about this size.
constexpr std::size_t kFoldChunkBytes = 1 << 20;
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

// Every occurrence of a literal needle, line by line. fold: the text is searched folded.
std::vector<TextMatch> FindLiteral(const Text& text, const std::string& needle, bool fold, std::stop_token stop)
{
    std::vector<TextMatch> matches;
    const std::string_view all = text.bytes();
    if (needle.empty() || all.empty())
        return matches;
    std::string folded;
    CharacterStarts starts(text);
    const LiteralFinder finder(needle, all.substr(0, std::min<std::size_t>(all.size(), 1 << 16)));
    int line = 0;
    std::size_t chunkBegin = 0;
    while (chunkBegin < all.size() && !stop.stop_requested()) {
        // The piece searched: everything, or whole lines folded into a buffer.
        std::string_view piece = all;
        std::size_t pieceOffset = 0;
        std::size_t chunkEnd = all.size();
        if (fold) {
            const auto firstLine = static_cast<std::size_t>(line);
            auto endLine = std::upper_bound(text.starts.begin() + static_cast<std::ptrdiff_t>(firstLine) + 1,
                                            text.starts.end(), static_cast<std::int64_t>(chunkBegin + kFoldChunkBytes));
            if (endLine == text.starts.begin() + static_cast<std::ptrdiff_t>(firstLine) + 1)
                ++endLine;  // one long line
            chunkEnd = static_cast<std::size_t>(*(endLine - 1));
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
            const std::size_t lineStart = static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line)]);
            if (at + needle.size() <= ContentEnd(text, line) && starts.At(line, at - lineStart)) {
                matches.push_back({line, static_cast<std::uint32_t>(at - lineStart),
                                   static_cast<std::uint32_t>(at - lineStart + needle.size())});
                from = hit + needle.size();
            } else {
                from = hit + 1;
            }
        }
        chunkBegin = chunkEnd;
        if (fold) {
            while (line < text.count() && static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line) + 1]) <= chunkBegin)
                ++line;
        }
    }
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

class LineRegex {
public:
    LineRegex(const SearchQuery& query)
        : fold_(!query.matchCase),
          regex_(WidePattern(fold_ ? FoldedPattern(query.pattern) : query.pattern), RegexFlags(query.matchCase))
    {
    }

    void Find(const Text& text, int line, std::vector<TextMatch>& matches)
    {
        const std::string_view bytes = text.text(line).substr(0, ContentEnd(text, line) - static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line)]));
        wide_.clear();
        offsets_.clear();
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t start = pos;
            char32_t c = DecodeCharIn(text.encoding, bytes, pos);
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

private:
    bool fold_;
    std::wregex regex_;
    std::wstring wide_;
    std::vector<std::uint32_t> offsets_;
};

std::vector<TextMatch> FindRegex(const Text& text, const SearchQuery& query, std::stop_token stop)
{
    std::vector<TextMatch> matches;
    LineRegex regex(query);
    // Lines without the text every match holds are passed over without running the expression.
    std::optional<std::string> required = RequiredLiteral(query.pattern);
    if (required && !query.matchCase)
        *required = FoldedUtf8(*required);
    std::optional<std::string> needle = required ? EncodedNeedle(*required, text.encoding) : std::nullopt;
    if (needle) {
        const bool fold = !query.matchCase && HasCasedLetter(*required);
        int lastLine = -1;
        for (const TextMatch& candidate : FindLiteral(text, *needle, fold, stop)) {
            if (candidate.line == lastLine)
                continue;
            lastLine = candidate.line;
            regex.Find(text, candidate.line, matches);
        }
        return matches;
    }
    for (int line = 0; line < text.count(); ++line) {
        if (line % kLinesBetweenStopChecks == 0 && stop.stop_requested())
            break;
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

std::vector<TextMatch> FindInText(const Text& text, const SearchQuery& query, std::stop_token stop)
{
    if (query.pattern.empty() || text.count() == 0 || !SearchPatternError(query).empty())
        return {};
    if (query.regularExpression)
        return FindRegex(text, query, stop);
    if (HasLineEnd(query.pattern))
        return {};
    const bool fold = !query.matchCase && HasCasedLetter(query.pattern);
    const std::optional<std::string> needle =
        EncodedNeedle(fold ? FoldedUtf8(query.pattern) : query.pattern, text.encoding);
    if (!needle)
        return {};
    return FindLiteral(text, *needle, fold, stop);
}

SearchResult FindInTexts(const TextPair& texts, const SearchQuery& query, std::stop_token stop,
                         const ProgressCallback& progress)
{
    SearchResult result;
    result.error = SearchPatternError(query);
    if (!result.error.empty())
        return result;
    const bool sides[2] = {query.sides != SearchSides::DocB, query.sides != SearchSides::DocA};
    for (int side = 0; side < 2; ++side) {
        if (sides[side] && texts[static_cast<std::size_t>(side)])
            result.matches[static_cast<std::size_t>(side)] = FindInText(*texts[static_cast<std::size_t>(side)], query, stop);
        if (progress)
            progress(side == 0 ? 50 : 100);
    }
    result.stopped = stop.stop_requested();
    return result;
}

}  // namespace kl
