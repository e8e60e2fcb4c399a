#include "cli/side_by_side.h"

#include <algorithm>
#include <vector>

#include "engine/platform/cp932.h"
#include "engine/platform/display_path.h"
#include "engine/platform/text_encoding.h"

namespace kl::cli {

namespace {

constexpr int kTabWidth = 4;
// The DocA column is as wide as its widest text up to this many columns; a longer line
// is printed in full and pushes the rest of its own row to the right.
constexpr int kMaxLeftWidth = 60;

std::string_view WithoutLineEnd(std::string_view text)
{
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

// Columns a character takes in a terminal with a Japanese font: what code page 932
// writes with one byte (ASCII, half-width katakana) takes one, a double-byte character two.
int CharWidth(char32_t cp)
{
    if (cp < 0x80 || cp == 0xFFFD || (cp >= 0xFF61 && cp <= 0xFF9F))
        return 1;
    return 2;
}

// Walks a row text made printable (line end removed, tabs expanded, control characters in
// caret notation, bytes without a character as U+FFFD) and returns its width in columns.
// With out, writes the UTF-8 form there as it goes; without, stops once the width reaches
// stopAt.
int RenderCell(std::string_view bytes, TextEncoding encoding, OutputBuffer* out, int stopAt = 0)
{
    const std::string_view text = WithoutLineEnd(bytes);
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (!out && width >= stopAt)
            break;
        const char32_t cp = DecodeCharIn(encoding, text, pos);
        if (cp == '\t') {
            const int spaces = kTabWidth - width % kTabWidth;
            if (out)
                out->Put(std::string_view("    ", static_cast<std::size_t>(spaces)));
            width += spaces;
        } else if (cp < 0x20 || cp == 0x7F) {
            if (out) {
                out->Put('^');
                out->Put(static_cast<char>(cp ^ 0x40));
            }
            width += 2;
        } else {
            if (out) {
                char utf8[4];
                out->Put(std::string_view(utf8, EncodeUtf8Any(cp, utf8)));
            }
            width += CharWidth(cp);
        }
    }
    return width;
}

// Filler messages are code page 932 whatever the text's encoding.
TextEncoding RowEncoding(const CompareResult& result, int side, const DisplayRow& row)
{
    const Text* text = result.TextOf(side);
    return row.kind == ROW_FILLER || !text ? TextEncoding::Cp932 : text->encoding;
}

char Marker(const DisplayRow& left, const DisplayRow& right)
{
    if (left.message == RowMessage::LeftOut || right.message == RowMessage::LeftOut)
        return '.';  // lines that took no part
    if (left.kind == ROW_COMMON && right.kind == ROW_COMMON)
        return ' ';
    if (left.kind == ROW_ONLY_A)
        return '<';
    if (right.kind == ROW_ONLY_B)
        return '>';
    if (left.kind == ROW_COMMON)
        return '~';  // a DocA line whose partner lies elsewhere in DocB
    return '?';
}

void PutLineNumber(OutputBuffer& out, int lineIndex, int digits)
{
    const std::string number = lineIndex >= 0 ? std::to_string(lineIndex + 1) : std::string();
    for (int k = static_cast<int>(number.size()); k < digits; ++k)
        out.Put(' ');
    out.Put(number);
}

}  // namespace

void WriteSideBySide(OutputBuffer& out, const CompareResult& result, const std::vector<std::string>& fileNames,
                     const std::array<std::string, 2>& totals)
{
    static constexpr const char* kSideNames[2] = {"A: ", "B: "};
    for (int k = DOC_A; k <= DOC_B; ++k) {
        out.Put(kSideNames[k]);
        if (k < static_cast<int>(fileNames.size()))
            out.Put(DisplayPath(fileNames[static_cast<std::size_t>(k)]));
        out.Put("  ");
        out.Put(Cp932ToUtf8(totals[static_cast<std::size_t>(k)]));
        out.Put('\n');
    }
    out.Put('\n');

    const std::vector<DisplayRow>& rowsA = result.Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(DOC_B);
    const std::size_t rows = std::min(rowsA.size(), rowsB.size());
    std::string scratch;
    // The DocA column's width is measured in one pass; the cells are written in the next.
    int leftColumns = 0;
    for (std::size_t r = 0; r < rows && leftColumns < kMaxLeftWidth; ++r)
        leftColumns = std::max(leftColumns, RenderCell(RowText(result, DOC_A, rowsA[r], scratch), RowEncoding(result, DOC_A, rowsA[r]), nullptr, kMaxLeftWidth));
    leftColumns = std::min(leftColumns, kMaxLeftWidth);
    int mostLines = 1;
    for (const auto& text : result.texts)
        mostLines = std::max(mostLines, text ? text->count() : 0);
    const int digits = static_cast<int>(std::to_string(mostLines).size());

    for (std::size_t r = 0; r < rows; ++r) {
        const DisplayRow& a = rowsA[r];
        const DisplayRow& b = rowsB[r];
        PutLineNumber(out, a.lineIndex, digits);
        out.Put(' ');
        const int width = RenderCell(RowText(result, DOC_A, a, scratch), RowEncoding(result, DOC_A, a), &out);
        for (int k = width; k < leftColumns; ++k)
            out.Put(' ');
        out.Put(' ');
        out.Put(Marker(a, b));
        out.Put(' ');
        PutLineNumber(out, b.lineIndex, digits);
        out.Put(' ');
        RenderCell(RowText(result, DOC_B, b, scratch), RowEncoding(result, DOC_B, b), &out);
        out.Put('\n');
    }
}

}  // namespace kl::cli
