#include "engine/document/kept_file_lines.h"

#include <unordered_set>

#include "engine/document/file_bytes.h"

namespace kl {

std::shared_ptr<const KeptFileLines> KeptLinesOf(const Text& text,
                                                 const std::function<std::optional<std::string>(int)>& fileLine)
{
    const KeptFileLines* already = text.origin.kept.get();
    const auto keyOf = [&](int i) { return DecodeToUtf8(text.encoding, text.text(i)); };
    const auto encoded = [&](int i) {
        std::string out;
        if (AppendEncodedLine(text.encoding, text.text(i), text.origin.encoding, out))
            out.clear();
        return out;
    };
    std::unordered_set<std::string> differing;
    for (int i = 0; i < text.count(); ++i) {
        const std::optional<std::string> bytes = fileLine(i);
        if (!bytes)
            continue;
        std::string out;
        if (AppendEncodedLine(text.encoding, text.text(i), text.origin.encoding, out) || out != *bytes) {
            std::string key = keyOf(i);
            if (!already || !already->lines.contains(key))
                differing.insert(std::move(key));
        }
    }
    if (differing.empty())
        return text.origin.kept;

    auto kept = std::make_shared<KeptFileLines>(already ? *already : KeptFileLines{});
    for (int i = 0; i < text.count(); ++i) {
        const std::string key = keyOf(i);
        if (!differing.contains(key))
            continue;
        std::optional<std::string> bytes = fileLine(i);
        kept->lines[key].push_back(bytes ? std::move(*bytes) : encoded(i));
    }
    return kept;
}

}  // namespace kl
