#pragma once
// How a row of text is laid out in pixels: each character measured with the font, tabs
// expanded to the tab stops. The painters, the hit-testing and the selection all walk rows
// this way, so that what is selected is exactly what is painted.
//
// Texts stay bytes in their encoding; each character is decoded only to be measured and
// drawn.
#include <QFont>
#include <QFontMetrics>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

// The pixel advances of the characters of one font, each asked of the font once, for texts
// of one encoding (which decides how the bytes are stepped through and decoded).
class TextMeasure {
public:
    TextMeasure();
    // Forgets the advances when the font differs from the current one.
    void SetFont(const QFont& font);
    void SetEncoding(TextEncoding encoding);
    TextEncoding encoding() const { return encoding_; }
    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const { return metrics_; }
    int Advance(char16_t unit)
    {
        const std::int16_t advance = advances_[unit];
        return advance >= 0 ? advance : MeasureAdvance(unit);
    }
    // The character a byte below 0x80 stands for in the encoding.
    char16_t AsciiUnit(unsigned char byte) const { return asciiUnits_[byte]; }
    // The advance of the character whose bytes these are (one step of a row), remembered
    // for the double-byte characters of code page 932.
    int CharAdvance(std::string_view bytes);

private:
    int MeasureAdvance(char16_t unit);

    QFont font_;
    QFontMetrics metrics_;
    std::vector<std::int16_t> advances_;  // by UTF-16 unit; -1 until asked
    std::vector<std::int16_t> pairAdvances_;  // by code page 932 lead and trail byte; -1 until asked
    TextEncoding encoding_ = TextEncoding::Cp932;
    char16_t asciiUnits_[0x80]{};
};

// The UTF-16 units of the character whose bytes these are, at most two; their count.
int DecodeUnits(TextEncoding encoding, std::string_view bytes, char16_t (&units)[2]);

// Where the line end starts: the first CR or LF, or the end of the text.
std::size_t ContentLength(std::string_view text);

// Which tab stops a walk uses. Painting puts a tab's end at the next multiple of the tab
// width past the segment (so a tab after an empty segment advances one full tab width).
// The selection highlight and hit-testing differ for a tab after a non-empty segment
// narrower than one tab width: it reaches the second stop, two tab widths from the
// segment start.
enum class TabStops { Painted, Selection };

// The end of a tab after a segment w pixels wide, measured from the segment start.
int TabAdvance(int w, int tabPixels, TabStops stops = TabStops::Painted);

// One step through a row: a character, a tab, or the line end (which covers the rest of
// the text), with its place in pixels from the text origin. A row wrapped at a width lies on
// several lines, and x counts from the start of the step's line.
struct RowStep {
    enum class Kind { Char, Tab, LineEnd };
    Kind kind = Kind::Char;
    std::size_t from = 0;  // first byte of the step
    std::size_t to = 0;    // byte after it
    int x = 0;             // pixels from the text origin where the step starts
    int width = 0;         // the character's advance, the gap up to the tab stop, 0 for the line end
    char16_t units[2]{};   // the character, decoded
    int unitCount = 0;
    int line = 0;          // the line of a wrapped row the step stands on
};

// Walks a row from its first byte; a double-byte character is one step. With a wrap width a
// character or tab that would end past it starts the next line, unless it is the first of
// its line; so does one that would leave Japanese closing punctuation at the start of the
// next line or an opening bracket at the end of its own. The line end never wraps. Wrapped rows take the painted tab stops, so that
// painting, hit-testing and the selection break the lines at the same places.
class RowWalker {
public:
    RowWalker(TextMeasure& measure, int tabPixels, std::string_view text,
              TabStops stops = TabStops::Painted, int wrapWidth = 0);
    // The next step; false after the last one.
    bool Next(RowStep& step);
    // Pixels from the text origin after the steps so far.
    int x() const { return segmentStart_ + segmentWidth_; }
    // Width of the text since the last tab stop.
    int segmentWidth() const { return segmentWidth_; }
    // The line the walk has reached.
    int line() const { return line_; }

private:
    TextMeasure& measure_;
    const int tabPixels_;
    const TabStops stops_;
    const std::string_view text_;
    const std::size_t contentEnd_;
    const int wrapWidth_;
    const int lineBreakRuleEdge_;  // where the Japanese line-breaking rule starts to look
    int line_ = 0;
    std::size_t pos_ = 0;
    int segmentStart_ = 0;
    int segmentWidth_ = 0;
};

// Pixels from the text origin to the boundary at byte n (n a character boundary or the
// content end), with the tabs expanded to the given stops.
int PrefixWidth(TextMeasure& measure, int tabPixels, std::string_view text, std::size_t n,
                TabStops stops = TabStops::Painted);

// Where the boundary at byte n stands in a row wrapped at wrapWidth (0: not wrapped).
struct WrappedPoint {
    int line = 0;
    int x = 0;
};
WrappedPoint PointOfOffset(TextMeasure& measure, int tabPixels, std::string_view text, std::size_t n, int wrapWidth,
                           TabStops stops = TabStops::Selection);
// Lines a row takes wrapped at wrapWidth; 1 without wrapping.
int WrappedLineCount(TextMeasure& measure, int tabPixels, std::string_view text, int wrapWidth);

}  // namespace kl
