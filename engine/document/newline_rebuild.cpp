#include "engine/document/newline_rebuild.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <memory>
#include <string_view>

namespace kl {

namespace {

enum class Repair { None, ReplaceLast, AppendLf, LfToCrLf };

Repair RepairOf(std::string_view line)
{
    if (line.empty())
        return Repair::None;
    const char last = line.back();
    const bool crBefore = line.size() >= 2 && line[line.size() - 2] == '\r';
    if (last == '\r')
        return crBefore ? Repair::ReplaceLast : Repair::AppendLf;
    if (last == '\n' && !crBefore)
        return Repair::LfToCrLf;
    return Repair::None;
}

}  // namespace

std::optional<Text> RebuildNewlines(const Text& text)
{
    const int count = text.count();
    bool any = false;
    std::size_t added = 0;
    for (int i = 0; i < count; ++i) {
        const Repair repair = RepairOf(text.text(i));
        any = any || repair != Repair::None;
        added += repair == Repair::AppendLf || repair == Repair::LfToCrLf ? 1 : 0;
    }
    if (!any)
        return std::nullopt;

    Text rebuilt;
    rebuilt.converted = text.converted;
    rebuilt.conversion = text.conversion;
    rebuilt.encoding = text.encoding;
    rebuilt.origin = text.origin;
    rebuilt.storage = std::make_unique_for_overwrite<char[]>(text.size + added);
    rebuilt.starts.reserve(text.starts.size());
    rebuilt.starts.push_back(0);
    if (!text.readLengths.empty())
        rebuilt.readLengths.reserve(text.readLengths.size());
    char* out = rebuilt.storage.get();
    std::size_t w = 0;
    int longestLength = -1;
    for (int i = 0; i < count; ++i) {
        const std::string_view line = text.text(i);
        const Repair repair = RepairOf(line);
        std::memcpy(out + w, line.data(), line.size());
        w += line.size();
        int grown = 0;
        switch (repair) {
        case Repair::None:
            break;
        case Repair::ReplaceLast:
            out[w - 1] = '\n';
            break;
        case Repair::AppendLf:
            out[w++] = '\n';
            grown = 1;
            break;
        case Repair::LfToCrLf:
            out[w - 1] = '\r';
            out[w++] = '\n';
            grown = 1;
            break;
        }
        rebuilt.starts.push_back(static_cast<std::int64_t>(w));
        // The stored line is never longer than the line read.
        if (grown > 0 && LineLength(text, i) == std::numeric_limits<std::int32_t>::max())
            throw std::length_error("line too long");
        if (!text.readLengths.empty())
            rebuilt.readLengths.push_back(text.readLengths[static_cast<std::size_t>(i)] + grown);
        const int length = LineLength(rebuilt, i);
        if (length > longestLength) {
            longestLength = length;
            rebuilt.longestLine = i;
        }
    }
    rebuilt.size = w;
    return rebuilt;
}

RepairedTexts RebuildDocumentNewlines(TextDocument& doc)
{
    // Both are built before either is replaced, so a failure changes nothing.
    std::shared_ptr<const Text> rebuilt[2];
    for (int k = 0; k < 2; ++k) {
        const std::shared_ptr<const Text>& text = doc.texts[static_cast<std::size_t>(k)];
        if (!text)
            continue;
        if (std::optional<Text> repaired = RebuildNewlines(*text))
            rebuilt[k] = std::make_shared<const Text>(std::move(*repaired));
    }
    const bool repaired[2] = {rebuilt[0] != nullptr, rebuilt[1] != nullptr};
    for (int k = 0; k < 2; ++k) {
        if (repaired[k])
            doc.texts[static_cast<std::size_t>(k)] = std::move(rebuilt[k]);
    }
    if (repaired[0] && repaired[1])
        return RepairedTexts::Both;
    if (repaired[0])
        return RepairedTexts::DocA;
    return repaired[1] ? RepairedTexts::DocB : RepairedTexts::None;
}

}  // namespace kl
