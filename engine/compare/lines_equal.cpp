#include "engine/compare/lines_equal.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/platform/cp932.h"

namespace kl {
namespace {

constexpr char kSpace = 0x20;
constexpr char kTab = 0x09;
constexpr char kCr = '\r';
constexpr char kLf = '\n';

// Output room for one normalised line. Both normalisations write at most as many bytes as
// they read, so a line of n bytes needs n bytes of room. Short lines (the common case) stay
// on the stack; only long lines allocate.
class LineBuffer {
public:
    explicit LineBuffer(std::size_t size)
    {
        if (size > sizeof(local_)) heap_ = std::make_unique_for_overwrite<char[]>(size);
    }
    char* data() { return heap_ ? heap_.get() : local_; }

private:
    char local_[256];
    std::unique_ptr<char[]> heap_;
};

std::string_view Window(std::string_view src, std::size_t n)
{
    return src.substr(0, std::min(n, src.size()));
}

// Writes the window without half-width spaces and tabs; returns the bytes written.
std::size_t StripSpaceTabInto(char* dest, std::string_view window, TextEncoding encoding)
{
    std::size_t out = 0;
    for (std::size_t pos = 0; pos < window.size();) {
        const std::size_t next = NextCharIn(encoding, window, pos);
        if (next - pos == 1 && (window[pos] == kSpace || window[pos] == kTab)) {
            pos = next;
            continue;
        }
        for (; pos < next; ++pos) dest[out++] = window[pos];
    }
    return out;
}

// Writes the window with full-width spaces widened and trailing half-width spaces dropped
// (each as the options say); returns the bytes written.
std::size_t NormaliseSpacesInto(char* dest, std::string_view window, const CompareOptions& options)
{
    constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
    const bool widen = options.wideSpaceAsTwo != 0;
    const bool dropTrailing = options.ignoreTrailingSpaces != 0;
    std::size_t runStart = kNoRun;
    std::size_t out = 0;
    for (std::size_t pos = 0; pos < window.size();) {
        const std::size_t next = NextCharIn(options.encoding, window, pos);
        if (next - pos == 1) {
            const char c = window[pos];
            dest[out++] = c;
            if (dropTrailing) {
                if (c == kSpace) {
                    if (runStart == kNoRun) runStart = out - 1;
                } else if (c != kCr && c != kLf) {
                    runStart = kNoRun;
                }
            }
        } else {
            // A multi-byte character, widened or not, never belongs to a trailing run.
            if (widen && IsWideSpaceIn(options.encoding, window, pos)) {
                dest[out++] = kSpace;
                dest[out++] = kSpace;
            } else {
                for (std::size_t i = pos; i < next; ++i) dest[out++] = window[i];
            }
            runStart = kNoRun;
        }
        pos = next;
    }
    if (runStart != kNoRun) {
        // After the run start only spaces and line-end bytes follow: drop the spaces and keep
        // the line end (CR LF, LF or a lone CR) where the run began.
        std::size_t kept = runStart;
        for (std::size_t i = runStart; i < out; ++i) {
            if (dest[i] != kSpace) dest[kept++] = dest[i];
        }
        out = kept;
    }
    return out;
}

// Position of the line end: the first CR, or the first LF when there is no CR; npos when
// the text has neither.
std::size_t LineEndPosition(std::string_view text)
{
    const std::size_t cr = text.find(kCr);
    return cr != std::string_view::npos ? cr : text.find(kLf);
}

// Head up to the delimiter (at d in first) and tail back to a delimiter; 0 when equal.
int CompareHeadAndTail(std::string_view first, std::string_view second, std::size_t d, char delimiter)
{
    if (second.size() < d || std::memcmp(first.data(), second.data(), d) != 0) return 1;
    std::size_t i = first.size();
    std::size_t j = second.size();
    while (i > 0 && j > 0) {
        --i;
        --j;
        if (first[i] == delimiter || second[j] == delimiter) return 0;
        if (first[i] != second[j]) return 1;
    }
    return 0;
}

// The comparison of the working texts once any normalisation is done; 0 when equal.
int CompareWorkingTexts(std::string_view first, std::string_view second, const CompareOptions& options)
{
    // The byte 0 stands for "no delimiter" (an empty delimiter field) and never matches.
    if (options.method == 1 && options.delimiter != '\0') {
        const std::size_t d = first.find(options.delimiter);
        if (d != std::string_view::npos) return CompareHeadAndTail(first, second, d, options.delimiter);
    }
    return first == second ? 0 : 1;
}

}  // namespace

std::string StripSpaceTab(std::string_view src, std::size_t n, TextEncoding encoding)
{
    const std::string_view window = Window(src, n);
    std::string result(window.size(), '\0');
    result.resize(StripSpaceTabInto(result.data(), window, encoding));
    return result;
}

std::string NormaliseSpaces(std::string_view src, std::size_t n, const CompareOptions& options)
{
    const std::string_view window = Window(src, n);
    std::string result(window.size(), '\0');
    result.resize(NormaliseSpacesInto(result.data(), window, options));
    return result;
}

int LinesEqual(std::string_view first, std::string_view second, const CompareOptions& options)
{
    // Working bytes: with ignoreNewline, and only when `first` has a line end, the bytes
    // before the line end of each text. Equal content and, without any option that can
    // still reconcile different lengths, unequal lengths are decided here without copying.
    const std::size_t firstEnd = options.ignoreNewline ? LineEndPosition(first) : std::string_view::npos;
    if (firstEnd != std::string_view::npos) {
        first = first.substr(0, firstEnd);
        second = second.substr(0, LineEndPosition(second));
        if (first == second) return 0;
        // A widened full-width space keeps the length only in code page 932 (81 40 → two
        // spaces); in UTF-8 its three bytes become two.
        const bool widenChangesLength = options.wideSpaceAsTwo != 0 && options.encoding != TextEncoding::Cp932;
        if (first.size() != second.size() && !options.ignoreSpaceTab && options.ignoreTrailingSpaces == 0
            && options.method != 1 && !widenChangesLength) {
            return 1;
        }
    }

    // Normalisation: space/tab stripping wins over the two space rules.
    const bool strip = options.ignoreSpaceTab;
    const bool normalise = !strip && (options.wideSpaceAsTwo != 0 || options.ignoreTrailingSpaces != 0);
    if (strip || normalise) {
        LineBuffer firstBuffer(first.size());
        LineBuffer secondBuffer(second.size());
        const std::size_t firstLength = strip ? StripSpaceTabInto(firstBuffer.data(), first, options.encoding)
                                              : NormaliseSpacesInto(firstBuffer.data(), first, options);
        const std::size_t secondLength = strip ? StripSpaceTabInto(secondBuffer.data(), second, options.encoding)
                                               : NormaliseSpacesInto(secondBuffer.data(), second, options);
        return CompareWorkingTexts(std::string_view(firstBuffer.data(), firstLength),
                                   std::string_view(secondBuffer.data(), secondLength), options);
    }
    return CompareWorkingTexts(first, second, options);
}

}  // namespace kl
