#include "engine/document/text_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

#include "engine/document/file_bytes.h"
#include "engine/document/kept_file_lines.h"
#include "engine/document/line_scan.h"
#include "engine/platform/cp932.h"
#include "engine/platform/file_time.h"
#include "engine/platform/large_buffer.h"

namespace kl {

namespace {

// Converts EUC-JP bytes to Shift_JIS, writing to out; returns the bytes written. The
// output is never longer than the input, so out may equal in (conversion in place).
// changed is set when any byte was converted or dropped.
std::size_t ConvertEucToSjis(const unsigned char* in, std::size_t size, unsigned char* out, bool& changed)
{
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c1 = in[i];
        if (i + 1 == size) {
            // A lone high byte at the very end has no partner: it is dropped.
            if (c1 < 0x8E)
                out[w++] = c1;
            else
                changed = true;
            break;
        }
        const unsigned char c2 = in[i + 1];
        if (c1 == 0x8E) {  // half-width katakana: the second byte is the Shift_JIS code
            out[w++] = c2;
            i += 2;
            changed = true;
        } else if (c1 >= 0xA1 && c1 <= 0xFE && c2 >= 0xA1 && c2 <= 0xFE) {
            const bool high = c1 >= 0xDF;
            if (c1 & 1) {
                out[w++] = static_cast<unsigned char>((c1 >> 1) + (high ? 0x71 : 0x31));
                out[w++] = static_cast<unsigned char>(c2 < 0xE0 ? c2 - 0x61 : c2 - 0x60);
            } else {
                out[w++] = static_cast<unsigned char>((c1 >> 1) + (high ? 0x70 : 0x30));
                out[w++] = static_cast<unsigned char>(c2 - 2);
            }
            i += 2;
            changed = true;
        } else {
            out[w++] = c1;
            ++i;
        }
    }
    return w;
}

int ClassifyEuc(const unsigned char* p, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = p[i];
        if (c < 0x80)
            continue;
        if (c >= 0xA1 && c <= 0xDF)
            return 1;
        if (c >= 0x81 && c <= 0x9F)
            return 0;
        // 0x80, 0xA0, 0xE0-0xFF: a following byte of 0xA0 or below (or the end of the
        // line) rules out EUC-JP; otherwise the scan goes on with that following byte.
        const unsigned char next = i + 1 < size ? p[i + 1] : 0;
        if (next <= 0xA0)
            return 0;
    }
    return -1;
}

// Splits the text's storage into lines and sets its longest line. Without conversion a
// line's text is its bytes in place; with conversion the texts are rewritten front to back
// in the same buffer (a converted line never grows, so writing never overtakes reading).
// What the EUC-JP conversion did, line by line: the lines it converted, with their bytes
// as read, and the lines with bytes above 0x7F it left alone.
struct EucLines {
    std::vector<std::pair<int, std::string>> converted;
    std::vector<int> leftAlone;
};

// The longest line of the text's starts, and whether it is too long for a text.
void SetLongestLine(Text& text)
{
    const std::vector<std::int64_t>& starts = text.starts;
    std::int64_t longestLength = 0;
    int longest = 0;
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        if (starts[k + 1] - starts[k] > longestLength) {
            longestLength = starts[k + 1] - starts[k];
            longest = static_cast<int>(k);
        }
    }
    if (longestLength > kMaxLineBytes)
        throw std::length_error("line too long");
    text.longestLine = longest;
}

// scanned (when given) is what a reading found of the text's storage; its line starts are
// taken over.
void SplitStorage(Text& text, bool eucChg, EucLines* euc, ScannedBytes* scanned)
{
    const char* data = text.storage.get();
    const std::size_t size = text.size;
    if (size == 0)
        return;
    std::vector<std::int64_t>& starts = text.starts;
    if (!eucChg) {
        // The lines stay where they are: only their ends are looked for.
        if (scanned) {
            starts = std::move(scanned->starts);
        } else {
            // Counted first so that one allocation holds all line starts.
            starts.reserve(CountLineEnds(std::string_view(data, size)) + 2 + kLineEndSlack);
            AdviseHugePages(starts.data(), starts.capacity() * sizeof(std::int64_t));
            starts.resize(starts.capacity());
            std::size_t count = 1 + LineEndPositions(data, size, starts.data() + 1);
            if (static_cast<std::size_t>(starts[count - 1]) < size)
                starts[count++] = static_cast<std::int64_t>(size);
            starts.resize(count);
        }
        SetLongestLine(text);
        return;
    }
    starts.reserve(scanned ? scanned->starts.size() + 1 : CountLineEnds(std::string_view(data, size)) + 2);
    AdviseHugePages(starts.data(), starts.capacity() * sizeof(std::int64_t));
    starts.push_back(0);

    unsigned char* arena = reinterpret_cast<unsigned char*>(text.storage.get());
    std::size_t pos = 0;
    std::size_t written = 0;
    std::size_t longestLength = 0;
    int longest = -1;
    bool shortened = false;
    while (pos < size) {
        const std::size_t end = FindLineBreak(data, pos, size);
        std::size_t kind = 0;
        if (end < size)
            kind = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1;
        const std::size_t length = end - pos + kind;
        if (length > static_cast<std::size_t>(kMaxLineBytes))
            throw std::length_error("line too long");
        const int index = static_cast<int>(starts.size() - 1);
        std::size_t stored = length;
        const int lineKind = ClassifyEuc(arena + pos, length);
        if (lineKind == 1) {
            if (euc)
                euc->converted.emplace_back(index, std::string(data + pos, length));
            stored = ConvertEucToSjis(arena + pos, length, arena + written, text.converted);
        } else {
            if (lineKind == 0 && euc)
                euc->leftAlone.push_back(index);
            if (written != pos)
                std::memmove(arena + written, arena + pos, length);
        }
        if (stored != length && !shortened) {
            // From the first shortened line on, the read lengths are kept apart.
            shortened = true;
            text.readLengths.reserve(starts.capacity());
            for (int k = 0; k < index; ++k)
                text.readLengths.push_back(static_cast<std::int32_t>(starts[static_cast<std::size_t>(k) + 1] - starts[static_cast<std::size_t>(k)]));
        }
        if (shortened)
            text.readLengths.push_back(static_cast<std::int32_t>(length));
        written += stored;
        starts.push_back(static_cast<std::int64_t>(written));
        if (longest < 0 || length > longestLength) {
            longestLength = length;
            longest = index;
        }
        pos += length;
    }
    text.size = written;
    text.longestLine = longest;
}

}  // namespace

Text SplitLines(std::string_view data, bool eucChg, EncodingChoice choice)
{
    auto storage = std::make_unique_for_overwrite<char[]>(data.size());
    if (!data.empty())
        std::memcpy(storage.get(), data.data(), data.size());
    return SplitLinesOwned(std::move(storage), data.size(), eucChg, choice);
}

namespace {

// The file encoding of a code page 932 text read with the EUC-JP conversion: EUC-JP when
// the conversion took more lines than it left alone (or the user said so), and the lines
// that would not be written back as they were read.
void NoteEucOrigin(Text& text, EucLines& euc, bool chosen)
{
    text.origin.encoding = chosen || (!euc.converted.empty() && euc.converted.size() >= euc.leftAlone.size())
        ? FileEncoding::EucJp : FileEncoding::ShiftJis;
    if (euc.converted.empty() && text.origin.encoding == FileEncoding::ShiftJis)
        return;
    const bool asEuc = text.origin.encoding == FileEncoding::EucJp;
    text.origin.kept = KeptLinesOf(text, [&](int i) -> std::optional<std::string> {
        const auto converted = std::lower_bound(euc.converted.begin(), euc.converted.end(), i,
                                                [](const auto& line, int index) { return line.first < index; });
        if (converted != euc.converted.end() && converted->first == i)
            return converted->second;
        // A line left alone was stored as read: it goes back unchanged as Shift_JIS, not as EUC-JP.
        if (asEuc && std::binary_search(euc.leftAlone.begin(), euc.leftAlone.end(), i))
            return std::string(text.text(i));
        return std::nullopt;
    });
}

// The lines of a UTF-16 file's code units (after the byte order mark), split as the
// loader splits the text; an odd last byte belongs to the last line.
std::vector<std::string_view> Utf16Lines(std::string_view units, bool bigEndian)
{
    std::vector<std::string_view> lines;
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(units[i]);
        const auto second = static_cast<unsigned char>(units[i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i + 1 < units.size(); i += 2) {
        const int unit = unitAt(i);
        if (unit != '\n' && unit != '\r')
            continue;
        std::size_t end = i + 2;
        if (unit == '\r' && end + 1 < units.size() && unitAt(end) == '\n')
            end += 2;
        lines.push_back(units.substr(start, end - start));
        start = end;
        i = end - 2;
    }
    if (start < units.size())
        lines.push_back(units.substr(start));
    return lines;
}

void NoteUtf16Origin(Text& text, std::string_view file, bool bigEndian)
{
    text.origin.encoding = bigEndian ? FileEncoding::Utf16Be : FileEncoding::Utf16Le;
    // The usual case, every line going back exactly, is checked line by line against the
    // file, without a second copy of it.
    std::string line;
    std::size_t at = 2;  // past the byte order mark
    bool exact = true;
    for (int i = 0; i < text.count() && exact; ++i) {
        line.clear();
        exact = !AppendEncodedLine(text.encoding, text.text(i), text.origin.encoding, line) &&
                file.substr(at, line.size()) == line;
        at += line.size();
    }
    if (exact && at == file.size())
        return;
    const std::vector<std::string_view> lines = Utf16Lines(file.substr(2), bigEndian);
    text.origin.kept = KeptLinesOf(text, [&](int i) -> std::optional<std::string> {
        if (static_cast<std::size_t>(i) >= lines.size())
            return std::nullopt;
        return std::string(lines[static_cast<std::size_t>(i)]);
    });
}

}  // namespace

Text SplitLinesOwned(std::unique_ptr<char[]> storage, std::size_t size, bool eucChg, EncodingChoice choice,
                     ScannedBytes* scanned)
{
    Text text;
    const std::string_view bytes(storage.get(), size);
    DetectedEncoding detected = scanned ? DetectEncoding(bytes, scanned->validUtf8) : DetectEncoding(bytes);
    switch (choice) {
    case EncodingChoice::Auto: break;
    case EncodingChoice::Utf8: detected = DetectedEncoding::Utf8; break;
    case EncodingChoice::ShiftJis:
        detected = DetectedEncoding::Cp932;
        eucChg = false;
        break;
    case EncodingChoice::EucJp:
        detected = DetectedEncoding::Cp932;
        eucChg = true;
        break;
    }
    const bool utf16 = detected == DetectedEncoding::Utf16Le || detected == DetectedEncoding::Utf16Be;
    std::unique_ptr<char[]> utf16File;  // kept until the text knows how to write it back
    if (utf16) {
        // Held as UTF-8, without its byte order mark: the text no longer has the file's bytes.
        const std::string utf8 = Utf16ToUtf8(bytes.substr(ByteOrderMarkLength(detected)),
                                             detected == DetectedEncoding::Utf16Be);
        utf16File = std::move(storage);
        storage = std::make_unique_for_overwrite<char[]>(utf8.size());
        std::memcpy(storage.get(), utf8.data(), utf8.size());
        size = utf8.size();
        text.converted = true;
        text.conversion = Text::Conversion::FromUtf16;
    }
    if (detected != DetectedEncoding::Cp932) {
        // The EUC-JP conversion is for code page 932 texts only.
        text.encoding = TextEncoding::Utf8;
        text.origin.encoding = detected == DetectedEncoding::Utf8Bom ? FileEncoding::Utf8Bom : FileEncoding::Utf8;
        eucChg = false;
    }
    text.storage = std::move(storage);
    text.size = size;
    EucLines euc;
    SplitStorage(text, eucChg, eucChg ? &euc : nullptr, utf16 ? nullptr : scanned);
    if (text.converted && text.conversion == Text::Conversion::None)
        text.conversion = Text::Conversion::FromEucJp;
    if (utf16)
        NoteUtf16Origin(text, bytes, detected == DetectedEncoding::Utf16Be);
    else if (eucChg)
        NoteEucOrigin(text, euc, choice == EncodingChoice::EucJp);
    return text;
}

Text ConvertedToUtf8(const Text& cp932)
{
    std::string bytes;
    bytes.reserve(cp932.size + cp932.size / 2);
    Text text;
    text.starts.reserve(cp932.starts.size());
    text.readLengths.reserve(static_cast<std::size_t>(cp932.count()));
    // Line by line, so that every line keeps its own line end and its place.
    for (int i = 0; i < cp932.count(); ++i) {
        text.starts.push_back(static_cast<std::int64_t>(bytes.size()));
        bytes += Cp932ToUtf8(cp932.text(i));
        text.readLengths.push_back(LineLength(cp932, i));
    }
    if (cp932.count() > 0)
        text.starts.push_back(static_cast<std::int64_t>(bytes.size()));
    text.storage = std::make_unique_for_overwrite<char[]>(bytes.size());
    if (!bytes.empty())
        std::memcpy(text.storage.get(), bytes.data(), bytes.size());
    text.size = bytes.size();
    text.longestLine = cp932.longestLine;
    text.encoding = TextEncoding::Utf8;
    text.origin = cp932.origin;
    // Lines whose characters do not find their way back to the same bytes (bytes that are no
    // character, characters with two codes) are kept as the file has them.
    const KeptFileLines* kept = cp932.origin.kept.get();
    text.origin.kept = KeptLinesOf(text, [&](int i) -> std::optional<std::string> {
        const std::string_view from = cp932.text(i);
        if (from == text.text(i) || (kept && kept->lines.contains(std::string(text.text(i)))))
            return std::nullopt;
        std::string bytes;
        if (AppendEncodedLine(TextEncoding::Cp932, from, cp932.origin.encoding, bytes))
            return std::nullopt;
        return bytes;
    });
    // A text whose bytes read the same in both encodings (ASCII) has not been converted.
    if (text.bytes() != cp932.bytes()) {
        text.converted = true;
        text.conversion = Text::Conversion::FromCp932;
    } else {
        text.converted = cp932.converted;
        text.conversion = cp932.conversion;
    }
    return text;
}

int LongestLineIndex(const Text& text)
{
    return text.longestLine;
}

int IsEucLine(std::string_view line)
{
    return ClassifyEuc(reinterpret_cast<const unsigned char*>(line.data()), line.size());
}

std::string EucToSjis(std::string_view line)
{
    std::string out(line.size(), '\0');
    bool changed = false;
    const std::size_t size = ConvertEucToSjis(reinterpret_cast<const unsigned char*>(line.data()), line.size(),
                                              reinterpret_cast<unsigned char*>(out.data()), changed);
    out.resize(size);
    return out;
}

std::string FormatFileInfo(std::time_t modified, std::uint64_t size)
{
    const std::tm local = ToLocalTime(modified).value_or(LocalTime{}).fields;
    char stamp[64];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M", &local);
    return " [" + std::string(stamp, n) + "] " + std::to_string(size) + " byte";
}

}  // namespace kl
