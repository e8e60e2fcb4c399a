#include "engine/compare/minimal_alignment.h"

#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/compare/histogram_diff.h"
#include "engine/compare/line_keys.h"
#include "engine/compare/lines_equal.h"
#include "engine/compare/myers_diff.h"

namespace kl {
namespace {

// Under the delimiter method a line is compared by its head up to the first delimiter and
// its tail after the last one; both together stand for the line.
std::string DelimitedKey(std::string_view line, const CompareOptions& options)
{
    std::string_view working = line;
    if (options.ignoreNewline) {
        const std::size_t end = working.find_first_of("\r\n");
        if (end != std::string_view::npos) working = working.substr(0, end);
    }
    std::string normalised;
    if (options.ignoreSpaceTab)
        normalised = StripSpaceTab(working, working.size(), options.encoding);
    else if (options.wideSpaceAsTwo != 0 || options.ignoreTrailingSpaces != 0)
        normalised = NormaliseSpaces(working, working.size(), options);
    else
        normalised = std::string(working);
    const std::size_t first = normalised.find(options.delimiter);
    if (first == std::string::npos) return normalised;
    const std::size_t last = normalised.rfind(options.delimiter);
    std::string key = normalised.substr(0, first + 1);
    key += '\0';
    key += normalised.substr(last + 1);
    return key;
}

bool IsEmptyLine(std::string_view line)
{
    return line.empty() || line[0] == '\r' || line[0] == '\n';
}

}  // namespace

int MinimalKeys(const Text& a, const Text& b, const CompareOptions& options, std::vector<std::int32_t>& keysA,
                std::vector<std::int32_t>& keysB)
{
    const LineKeys keys(a, b, options);
    // With line ends ignored every line is compared by its content, whichever side it is on.
    const KeyForm form = options.ignoreNewline ? KeyForm::Content : KeyForm::Whole;
    const Text* texts[2] = {&a, &b};
    std::vector<std::int32_t>* out[2] = {&keysA, &keysB};
    int keyCount = keys.KeyCount();
    std::unordered_map<std::string, std::int32_t> delimited;
    for (int side = 0; side < 2; ++side) {
        const int n = texts[side]->count();
        const std::int32_t* numbers = keys.Keys(side, form);
        out[side]->assign(numbers, numbers + n);
        if (options.method != 1) continue;
        for (int i = 0; i < n; ++i) {
            if (keys.FirstForm(side, i) != KeyForm::None) continue;
            const auto [it, added] = delimited.try_emplace(DelimitedKey(texts[side]->text(i), options), keyCount);
            if (added) ++keyCount;
            (*out[side])[static_cast<std::size_t>(i)] = it->second;
        }
    }
    return keyCount;
}

void FindMovedLines(const KeySequences& keys, const Text& a, const Text& b, MinimalMatch& match)
{
    const LineAlignment& alignment = match.alignment;
    match.movedA.assign(alignment.partnerA.size(), kNoLine);
    match.movedB.assign(alignment.partnerB.size(), kNoLine);
    // DocB-only lines by key, in line order; each is taken by at most one DocA line.
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> onlyB;
    for (std::size_t y = 0; y < alignment.partnerB.size(); ++y) {
        if (alignment.partnerB[y] == kNoLine && !IsEmptyLine(b.text(static_cast<int>(y))))
            onlyB[keys.b[y]].push_back(static_cast<std::int32_t>(y));
    }
    if (onlyB.empty()) return;
    std::unordered_map<std::int32_t, std::size_t> taken;
    for (std::size_t x = 0; x < alignment.partnerA.size(); ++x) {
        if (alignment.partnerA[x] != kNoLine || IsEmptyLine(a.text(static_cast<int>(x)))) continue;
        const auto lines = onlyB.find(keys.a[x]);
        if (lines == onlyB.end()) continue;
        std::size_t& next = taken[keys.a[x]];
        if (next >= lines->second.size()) continue;
        const std::int32_t y = lines->second[next++];
        match.movedA[x] = y;
        match.movedB[static_cast<std::size_t>(y)] = static_cast<std::int32_t>(x);
    }
}

bool MatchMinimal(const Text& a, const Text& b, const CompareOptions& options, const std::stop_token& stop,
                  MinimalMatch& match, const ProgressCallback& progress)
{
    const auto report = [&](int value) {
        if (progress) progress(value);
    };
    std::vector<std::int32_t> keysA, keysB;
    const int keyCount = MinimalKeys(a, b, options, keysA, keysB);
    if (stop.stop_requested()) return false;
    report(10);
    const KeySequences keys{keysA, keysB};
    const int nA = a.count();
    const int nB = b.count();
    match.alignment = LineAlignment(nA, nB);
    int anchors = 0;
    if (!AlignHistogram(keys, keyCount, match.alignment, stop, &anchors)) return false;
    report(45);
    // An anchor can cost lines: then the shortest script wins.
    if (anchors > 0) {
        LineAlignment shortest(nA, nB);
        if (!AlignMyers(keys, {0, nA, 0, nB}, shortest, stop)) return false;
        if (shortest.ChangedLines() < match.alignment.ChangedLines()) match.alignment = std::move(shortest);
    }
    report(75);
    FindMovedLines(keys, a, b, match);
    report(80);
    return !stop.stop_requested();
}

}  // namespace kl
