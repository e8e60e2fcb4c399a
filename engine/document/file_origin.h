#pragma once
// How the file of a text was written, so that a save writes the text back the same way.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kl {

enum class FileEncoding : std::uint8_t {
    ShiftJis,  // code page 932, as stored
    EucJp,     // EUC-JP, held as Shift_JIS after the conversion on loading
    Utf8,
    Utf8Bom,   // UTF-8 beginning with EF BB BF
    Utf16Le,   // UTF-16 with its byte order mark, held as UTF-8
    Utf16Be,
};

// "Shift_JIS", "EUC-JP", "UTF-8", "UTF-8 (BOM付き)", "UTF-16LE", "UTF-16BE".
std::string_view FileEncodingName(FileEncoding encoding);

// Lines whose file bytes encoding the stored line would not give back: a byte no character
// stands for, a character with two codes, a line the EUC-JP conversion left alone. Keyed by
// the line (line end included) decoded to UTF-8; each holds the file bytes of its
// occurrences in file order.
struct KeptFileLines {
    std::unordered_map<std::string, std::vector<std::string>> lines;
};

struct FileOrigin {
    FileEncoding encoding = FileEncoding::ShiftJis;
    std::shared_ptr<const KeptFileLines> kept;  // null when every line encodes back exactly
};

}  // namespace kl
