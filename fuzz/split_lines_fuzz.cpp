// Loading: bytes split into lines with every encoding choice and the EUC-JP conversion.
// Every line appears once and in order (the lines put together give the input back, or
// its converted form), and each line ends at the first line end after its start.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/document/line_scan.h"
#include "engine/document/text_loader.h"
#include "fuzz/fuzz_check.h"

namespace {

// The lines as the loader must cut them: after an LF, after a CR LF, after a CR that no LF
// follows, and what is left at the end.
std::vector<std::string_view> ExpectedLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lf = bytes[i] == '\n';
        const bool loneCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        if (lf || loneCr) {
            lines.push_back(bytes.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::string_view LineEnd(std::string_view line)
{
    return line.substr(line.size() - static_cast<std::size_t>(kl::NewlineKind(line)));
}

bool HasBreakBefore(std::string_view line, std::size_t end)
{
    return line.substr(0, end).find_first_of("\r\n") != std::string_view::npos;
}

// Each line of the converted text keeps its place, its line end and its read length.
void CheckUtf8Copy(const kl::Text& cp932)
{
    const kl::Text utf8 = kl::ConvertedToUtf8(cp932);
    FUZZ_CHECK(utf8.count() == cp932.count());
    FUZZ_CHECK(utf8.encoding == kl::TextEncoding::Utf8);
    for (int k = 0; k < cp932.count(); ++k) {
        FUZZ_CHECK(LineEnd(utf8.text(k)) == LineEnd(cp932.text(k)));
        FUZZ_CHECK(kl::LineLength(utf8, k) == kl::LineLength(cp932, k));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const auto choice = static_cast<kl::EncodingChoice>(provider.ConsumeIntegralInRange<int>(0, 3));
    bool eucChg = provider.ConsumeBool();
    const std::string input = provider.ConsumeRemainingBytesAsString();

    const kl::Text text = kl::SplitLines(input, eucChg, choice);

    kl::DetectedEncoding detected = kl::DetectEncoding(input);
    if (choice == kl::EncodingChoice::Utf8)
        detected = kl::DetectedEncoding::Utf8;
    else if (choice != kl::EncodingChoice::Auto)
        detected = kl::DetectedEncoding::Cp932;
    if (choice == kl::EncodingChoice::ShiftJis)
        eucChg = false;
    else if (choice == kl::EncodingChoice::EucJp)
        eucChg = true;
    const bool utf16 = detected == kl::DetectedEncoding::Utf16Le || detected == kl::DetectedEncoding::Utf16Be;

    // What is split: the file's bytes, or the UTF-8 form of a UTF-16 file.
    std::string source = input;
    if (utf16)
        source = kl::Utf16ToUtf8(std::string_view(input).substr(2), detected == kl::DetectedEncoding::Utf16Be);
    const std::vector<std::string_view> lines = ExpectedLines(source);
    const bool cp932 = detected == kl::DetectedEncoding::Cp932;
    FUZZ_CHECK(text.encoding == (cp932 ? kl::TextEncoding::Cp932 : kl::TextEncoding::Utf8));
    if (utf16)
        FUZZ_CHECK(text.converted && text.conversion == kl::Text::Conversion::FromUtf16);
    else if (text.converted)
        FUZZ_CHECK(cp932 && eucChg && text.conversion == kl::Text::Conversion::FromEucJp);
    else
        FUZZ_CHECK(text.conversion == kl::Text::Conversion::None);

    std::size_t lineEnds = 0;
    for (std::string_view line : lines)
        lineEnds += kl::NewlineKind(line) != 0 ? 1 : 0;
    FUZZ_CHECK(kl::CountLineEnds(source) == lineEnds);

    FUZZ_CHECK(text.count() == static_cast<int>(lines.size()));
    FUZZ_CHECK(text.starts.size() == (lines.empty() ? 0 : lines.size() + 1));
    if (!lines.empty()) {
        FUZZ_CHECK(text.starts.front() == 0);
        FUZZ_CHECK(static_cast<std::size_t>(text.starts.back()) == text.size);
    }
    std::string joined;
    std::size_t longest = 0;
    for (int k = 0; k < text.count(); ++k) {
        const auto index = static_cast<std::size_t>(k);
        FUZZ_CHECK(text.starts[index] <= text.starts[index + 1]);
        const std::string_view raw = lines[index];
        const std::string_view line = text.text(k);
        if (cp932 && eucChg && kl::IsEucLine(raw) == 1) {
            FUZZ_CHECK(line == kl::EucToSjis(raw));
            FUZZ_CHECK(line.size() <= raw.size());
        } else {
            FUZZ_CHECK(line == raw);
        }
        // The conversion never moves a line end, nor makes one.
        FUZZ_CHECK(LineEnd(line) == LineEnd(raw));
        FUZZ_CHECK(!HasBreakBefore(line, line.size() - LineEnd(line).size()));
        if (index + 1 < lines.size())
            FUZZ_CHECK(kl::NewlineKind(line) != 0);
        FUZZ_CHECK(kl::LineLength(text, k) == static_cast<int>(raw.size()));
        longest = std::max(longest, raw.size());
        joined += line;
    }
    // Marked converted exactly when the EUC-JP conversion changed a byte.
    if (!utf16)
        FUZZ_CHECK(text.converted == (joined != source));
    FUZZ_CHECK(joined == text.bytes());
    // The longest line is the first of the greatest read length.
    if (lines.empty())
        FUZZ_CHECK(text.longestLine == 0);
    else
        FUZZ_CHECK(kl::LineLength(text, text.longestLine) == static_cast<int>(longest));
    for (int k = 0; k < text.longestLine; ++k)
        FUZZ_CHECK(kl::LineLength(text, k) < static_cast<int>(longest));

    if (cp932)
        CheckUtf8Copy(text);
    return 0;
}
