#include "cli/side_by_side.h"

#include <algorithm>
#include <vector>

#include "engine/platform/cp932.h"

namespace kl::cli {

namespace {

constexpr int kTabWidth = 4;
// The DocA column is as wide as its widest text up to this many columns; a longer line
// is printed in full and pushes the rest of its own row to the right.
constexpr int kMaxLeftWidth = 60;

// A row text made printable: line end removed, tabs expanded, control characters in
// caret notation, bytes without a character as U+FFFD.
struct Cell {
    std::string text;
    int width = 0;
};

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

// Reads the code point starting at text[pos] (valid UTF-8) and advances pos.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
    for (int k = 1; k < length && pos + k < text.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    pos += static_cast<std::size_t>(length);
    return cp;
}

Cell RenderCell(std::string_view cp932)
{
    const std::string utf8 = Cp932ToUtf8(WithoutLineEnd(cp932));
    Cell cell;
    cell.text.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp == '\t') {
            const int spaces = kTabWidth - cell.width % kTabWidth;
            cell.text.append(static_cast<std::size_t>(spaces), ' ');
            cell.width += spaces;
        } else if (cp < 0x20 || cp == 0x7F) {
            cell.text += '^';
            cell.text += static_cast<char>(cp ^ 0x40);
            cell.width += 2;
        } else {
            cell.text.append(utf8, start, pos - start);
            cell.width += CharWidth(cp);
        }
    }
    return cell;
}

char Marker(const DisplayRow& left, const DisplayRow& right)
{
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

void PutPadded(OutputBuffer& out, std::string_view text, int width, int columns)
{
    out.Put(text);
    for (int k = width; k < columns; ++k)
        out.Put(' ');
}

void PutLineNumber(OutputBuffer& out, int lineIndex, int digits)
{
    const std::string number = lineIndex >= 0 ? std::to_string(lineIndex + 1) : std::string();
    for (int k = static_cast<int>(number.size()); k < digits; ++k)
        out.Put(' ');
    out.Put(number);
}

}  // namespace

void WriteSideBySide(OutputBuffer& out, const TextDocument& doc, const std::array<std::string, 2>& totals)
{
    static constexpr const char* kSideNames[2] = {"A: ", "B: "};
    for (int k = DOC_A; k <= DOC_B; ++k) {
        out.Put(kSideNames[k]);
        if (k < static_cast<int>(doc.fileNames.size()))
            out.Put(doc.fileNames[k]);
        out.Put("  ");
        out.Put(Cp932ToUtf8(totals[k]));
        out.Put('\n');
    }
    out.Put('\n');

    const std::size_t rows = std::min(doc.rowsA.size(), doc.rowsB.size());
    std::vector<Cell> left;
    left.reserve(rows);
    int leftColumns = 0;
    for (std::size_t r = 0; r < rows; ++r) {
        left.push_back(RenderCell(doc.rowsA[r].text));
        leftColumns = std::max(leftColumns, std::min(left.back().width, kMaxLeftWidth));
    }
    int mostLines = 1;
    for (const auto& table : doc.lineTables)
        mostLines = std::max(mostLines, table ? table->count() : 0);
    const int digits = static_cast<int>(std::to_string(mostLines).size());

    for (std::size_t r = 0; r < rows; ++r) {
        const DisplayRow& a = doc.rowsA[r];
        const DisplayRow& b = doc.rowsB[r];
        PutLineNumber(out, a.lineIndex, digits);
        out.Put(' ');
        PutPadded(out, left[r].text, left[r].width, leftColumns);
        out.Put(' ');
        out.Put(Marker(a, b));
        out.Put(' ');
        PutLineNumber(out, b.lineIndex, digits);
        out.Put(' ');
        out.Put(RenderCell(b.text).text);
        out.Put('\n');
    }
}

}  // namespace kl::cli
