#include "engine/settings/file_pair.h"

#include "engine/platform/cp932.h"
#include "engine/settings/file_set_settings.h"

namespace kl {

std::optional<std::string> FileNameToSettingsText(std::string_view fileName)
{
    if (fileName.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos ||
        !IsValidUtf8(fileName)) {
        return std::nullopt;
    }
    // Characters without a code become '?', and the JIS look-alikes map one way only.
    std::string text = Utf8ToCp932(fileName);
    if (Cp932ToUtf8(text) != fileName) {
        return std::nullopt;
    }
    return text;
}

std::string SettingsTextToFileName(std::string_view text)
{
    return Cp932ToUtf8(text);
}

PairTextStatus MakePairText(std::string_view docA, std::string_view docB, std::string& text)
{
    text.clear();
    const std::optional<std::string> a = FileNameToSettingsText(docA);
    if (!a) {
        return PairTextStatus::DocAUnstorable;
    }
    const std::optional<std::string> b = FileNameToSettingsText(docB);
    if (!b) {
        return PairTextStatus::DocBUnstorable;
    }
    std::string joined = *a + std::string(kPairSeparator) + *b;
    if (joined.size() > kFileSetEntryMaxBytes) {
        return PairTextStatus::TooLong;
    }
    text = std::move(joined);
    return PairTextStatus::Ok;
}

FilePair SplitPairText(std::string_view text, const std::function<bool(const std::string&)>& isFile)
{
    const std::size_t first = text.find(kPairSeparator);
    if (first == std::string_view::npos) {
        return {};
    }
    for (std::size_t at = first; at != std::string_view::npos; at = text.find(kPairSeparator, at + 1)) {
        FilePair pair{std::string(text.substr(0, at)), std::string(text.substr(at + kPairSeparator.size()))};
        if (isFile && isFile(pair.docA) && isFile(pair.docB)) {
            return pair;
        }
    }
    return {std::string(text.substr(0, first)), std::string(text.substr(first + kPairSeparator.size()))};
}

}  // namespace kl
