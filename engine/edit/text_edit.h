#pragma once
// An edit of one side's text as a value: a byte range of the text replaced by new bytes.
// Applying it makes a new text version and leaves the old one as it was, so that views,
// line windows, the merge and a running comparison that hold the old version go on reading
// it.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/document/text.h"

namespace kl {

struct TextEdit {
    int side = 0;              // DOC_A or DOC_B
    std::int64_t begin = 0;    // replaced bytes [begin, end) of the text
    std::int64_t end = 0;
    std::string inserted;      // in the text's encoding

    bool operator==(const TextEdit&) const = default;
};

// The lines an edit touched: old lines [first, first + oldCount) became new lines
// [first, first + newCount); every line before and after kept its bytes and line end.
struct LineChange {
    int first = 0;
    int oldCount = 0;
    int newCount = 0;

    bool operator==(const LineChange&) const = default;
};

// The text with edit applied: its bytes split into lines as a loaded file's would be (LF,
// CR or CR LF), every field saying how the file was read kept. The range must lie within
// the text. change, when given, receives the lines touched.
std::shared_ptr<const Text> ApplyEdit(const Text& text, const TextEdit& edit, LineChange* change = nullptr);

// The edit that replaces lines [first, first + count) of text with bytes (whole lines with
// their line ends, or empty to delete them); first may be the line count (append).
TextEdit LinesEdit(const Text& text, int side, int first, int count, std::string bytes);

// Byte offset where line starts (the text size for line == count).
std::int64_t LineStart(const Text& text, int line);
// The line holding byte offset pos; the line count when pos lies after the last line end.
int LineOfOffset(const Text& text, std::int64_t pos);

}  // namespace kl
