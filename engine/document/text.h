#pragma once
// A loaded text: its bytes and where each line starts. Once loaded a text never changes;
// the document, a comparison run and any window that shows its lines share it through
// std::shared_ptr<const Text>, so none of them can free what another still reads.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/document/file_origin.h"
#include "engine/platform/text_encoding.h"

namespace kl {

// The longest line a text holds, in bytes with its line end: line lengths are 32-bit.
inline constexpr std::int64_t kMaxLineBytes = INT32_MAX;

inline constexpr int kNoLine = -1;

struct Text {
    std::unique_ptr<char[]> storage;        // the lines back to back (after EUC-JP conversion)
    std::size_t size = 0;                   // bytes used in storage
    std::vector<std::int64_t> starts;       // line i is [starts[i], starts[i + 1]); empty for no lines
    std::vector<std::int32_t> readLengths;  // bytes read per line, kept only when a conversion
                                            // shortened some line; else each line's stored length
    int longestLine = 0;                    // greatest read length, first on ties; 0 when empty
    bool converted = false;                 // the bytes differ from the file's: changed by the
                                            // EUC-JP conversion (not always visible in
                                            // readLengths: a kanji pair keeps its length) or
                                            // read from UTF-16
    TextEncoding encoding = TextEncoding::Cp932;  // how the stored bytes are to be read
    // What the stored bytes were converted from, when converted is set.
    enum class Conversion : std::uint8_t { None, FromEucJp, FromUtf16, FromCp932 };
    Conversion conversion = Conversion::None;
    // How the file was written; a new version of an edited text keeps it, like the three
    // fields above, so that a save writes the file's encoding again.
    FileOrigin origin;

    int count() const { return starts.empty() ? 0 : static_cast<int>(starts.size() - 1); }
    // The line's bytes, line end included.
    std::string_view text(int i) const
    {
        const auto k = static_cast<std::size_t>(i);
        return std::string_view(storage.get() + starts[k], static_cast<std::size_t>(starts[k + 1] - starts[k]));
    }
    std::string_view bytes() const { return std::string_view(storage.get(), size); }
};

// The two texts of a comparison, DocA first; a missing text counts as empty.
using TextPair = std::array<std::shared_ptr<const Text>, 2>;

// Bytes line i took in the file, line end included (more than its text after a conversion).
int LineLength(const Text& text, int i);
// 0 no line end (only the last line), 1 LF or a lone CR, 2 CR LF. A conversion never
// touches the line end, so the stored text tells.
int NewlineKind(std::string_view line);
inline int NewlineKind(const Text& text, int i) { return NewlineKind(text.text(i)); }
// Bytes before the line end, as read from the file.
inline int ContentLength(const Text& text, int i) { return LineLength(text, i) - NewlineKind(text, i); }

// A text built from whole line texts (each with its own line end, or none), for tools and
// tests that need lines a file could not give, such as a line without a line end in the middle.
Text TextFromLines(const std::vector<std::string_view>& lines);

}  // namespace kl
