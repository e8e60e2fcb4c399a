#include "ui/display/row_layout.h"

#include <algorithm>
#include <cstring>

#include "engine/platform/cp932.h"

namespace kl {

TextMeasure::TextMeasure() : metrics_(font_), advances_(0x10000, -1), pairAdvances_(0x10000, -1)
{
    SetEncoding(encoding_);
}

void TextMeasure::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_ && asciiUnits_['A'] == u'A')
        return;
    encoding_ = encoding;
    std::fill(pairAdvances_.begin(), pairAdvances_.end(), std::int16_t{-1});
    for (int byte = 0; byte < 0x80; ++byte) {
        const char c = static_cast<char>(byte);
        const std::u16string decoded = DecodeToUtf16(encoding, std::string_view(&c, 1));
        asciiUnits_[byte] = decoded.empty() ? u'\ufffd' : decoded[0];
    }
}

void TextMeasure::SetFont(const QFont& font)
{
    if (font == font_)
        return;
    font_ = font;
    metrics_ = QFontMetrics(font_);
    std::fill(advances_.begin(), advances_.end(), std::int16_t{-1});
    std::fill(pairAdvances_.begin(), pairAdvances_.end(), std::int16_t{-1});
}

int TextMeasure::CharAdvance(std::string_view bytes)
{
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80)
        return Advance(asciiUnits_[static_cast<unsigned char>(bytes[0])]);
    std::int16_t* remembered = nullptr;
    if (encoding_ == TextEncoding::Cp932 && bytes.size() == 2) {
        remembered = &pairAdvances_[static_cast<std::size_t>(static_cast<unsigned char>(bytes[0])) << 8 |
                                    static_cast<unsigned char>(bytes[1])];
        if (*remembered >= 0)
            return *remembered;
    }
    char16_t units[2];
    const int count = DecodeUnits(encoding_, bytes, units);
    int width = 0;
    for (int i = 0; i < count; ++i)
        width += Advance(units[i]);
    if (remembered)
        *remembered = static_cast<std::int16_t>(std::min(width, 0x7FFF));
    return width;
}

int DecodeUnits(TextEncoding encoding, std::string_view bytes, char16_t (&units)[2])
{
    int count = 0;
    for (std::size_t at = 0; at < bytes.size() && count < 2;) {
        const char32_t c = DecodeCharIn(encoding, bytes, at);
        if (c > 0xFFFF) {
            units[count++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            if (count < 2)
                units[count++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units[count++] = static_cast<char16_t>(c);
        }
    }
    return count;
}

int TextMeasure::MeasureAdvance(char16_t unit)
{
    std::int16_t& advance = advances_[unit];
    advance = static_cast<std::int16_t>(std::clamp(metrics_.horizontalAdvance(QChar(unit)), 0, 0x7FFF));
    return advance;
}

std::size_t ContentLength(std::string_view text)
{
    // Two plain byte searches: find_first_of would test every byte against both.
    const void* lf = std::memchr(text.data(), '\n', text.size());
    const std::size_t lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    const void* cr = std::memchr(text.data(), '\r', lineEnd);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) : lineEnd;
}

int TabAdvance(int w, int tabPixels, TabStops stops)
{
    if (tabPixels <= 0)
        return w;
    if (stops == TabStops::Selection && w > 0 && w < tabPixels)
        return 2 * tabPixels;
    return tabPixels * (w / tabPixels + 1);
}

namespace {

// Japanese line breaking: closing punctuation, small kana and the like never begin a wrapped
// line, and opening brackets never end one. Only full-width and half-width Japanese
// characters take part; ASCII text wraps where it reaches the width, as before.
constexpr std::u16string_view kNoLineStart =
    u"、。，．・：；？！゛゜ヽヾゝゞ々〻ー―‐〜～…‥」』）〕］｝〉》】〙〗〟’”"
    u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
    u"｡｣､･ｰﾞﾟｧｨｩｪｫｯｬｭｮ";
constexpr std::u16string_view kNoLineEnd = u"「『（〔［｛〈《【〘〖〝‘“｢";

char16_t UnitAt(TextMeasure& measure, std::string_view text, std::size_t from, std::size_t to)
{
    if (static_cast<unsigned char>(text[from]) < 0x80)
        return 0;
    char16_t units[2] = {};
    return DecodeUnits(measure.encoding(), text.substr(from, to - from), units) == 1 ? units[0] : 0;
}

// A character [from, to) that fits on its line at x is still put on the next one when the
// character after it does not fit and would begin the next line against the rules above, or
// when it is an opening bracket that would end its line. It stays when it begins its line
// or is itself one that may not begin a line (so that a line never starts with it).
bool PushedToNextLine(TextMeasure& measure, std::string_view text, std::size_t contentEnd, std::size_t from,
                      std::size_t to, int x, int width, int wrapWidth)
{
    if (x == 0 || to >= contentEnd || static_cast<unsigned char>(text[to]) < 0x80)
        return false;
    const std::size_t afterNext = std::min(NextCharIn(measure.encoding(), text, to), contentEnd);
    if (x + width + measure.CharAdvance(text.substr(to, afterNext - to)) <= wrapWidth)
        return false;
    const char16_t current = UnitAt(measure, text, from, to);
    if (current != 0 && kNoLineStart.find(current) != std::u16string_view::npos)
        return false;
    const char16_t next = UnitAt(measure, text, to, afterNext);
    return (next != 0 && kNoLineStart.find(next) != std::u16string_view::npos) ||
           (current != 0 && kNoLineEnd.find(current) != std::u16string_view::npos);
}

// Characters that end before this x are not looked at by PushedToNextLine: twice an
// ideographic space is more than any character the rule concerns.
int LineBreakRuleEdge(TextMeasure& measure, int wrapWidth)
{
    return wrapWidth - 2 * measure.Advance(u'\u3000');
}

}  // namespace

RowWalker::RowWalker(TextMeasure& measure, int tabPixels, std::string_view text, TabStops stops, int wrapWidth)
    : measure_(measure),
      tabPixels_(tabPixels),
      stops_(wrapWidth > 0 ? TabStops::Painted : stops),
      text_(text),
      contentEnd_(ContentLength(text)),
      wrapWidth_(wrapWidth),
      lineBreakRuleEdge_(wrapWidth > 0 ? LineBreakRuleEdge(measure, wrapWidth) : 0)
{
}

bool RowWalker::Next(RowStep& step)
{
    if (pos_ >= text_.size())
        return false;
    step.from = pos_;
    if (pos_ >= contentEnd_) {
        step.kind = RowStep::Kind::LineEnd;
        step.x = x();
        step.line = line_;
        step.to = text_.size();
        step.width = 0;
        step.unitCount = 0;
        pos_ = text_.size();
        return true;
    }
    const unsigned char byte = static_cast<unsigned char>(text_[pos_]);
    if (byte == '\t') {
        step.kind = RowStep::Kind::Tab;
        step.to = pos_ + 1;
        step.width = TabAdvance(segmentWidth_, tabPixels_, stops_) - segmentWidth_;
        if (wrapWidth_ > 0 && x() > 0 && x() + step.width > wrapWidth_) {
            ++line_;
            segmentStart_ = 0;
            segmentWidth_ = 0;
            step.width = TabAdvance(0, tabPixels_, stops_);
        }
        step.x = x();
        step.line = line_;
        step.unitCount = 0;
        segmentStart_ += segmentWidth_ + step.width;
        segmentWidth_ = 0;
        pos_ = step.to;
        return true;
    }
    step.kind = RowStep::Kind::Char;
    if (byte < 0x80) {
        step.to = pos_ + 1;
        step.units[0] = measure_.AsciiUnit(byte);
        step.unitCount = 1;
        step.width = measure_.Advance(step.units[0]);
    } else {
        step.to = std::min(NextCharIn(measure_.encoding(), text_, pos_), contentEnd_);
        const std::string_view bytes = text_.substr(pos_, step.to - pos_);
        step.unitCount = DecodeUnits(measure_.encoding(), bytes, step.units);
        step.width = measure_.CharAdvance(bytes);
    }
    if (wrapWidth_ > 0 && x() > 0 &&
        (x() + step.width > wrapWidth_ ||
         (x() + step.width > lineBreakRuleEdge_ &&
          PushedToNextLine(measure_, text_, contentEnd_, pos_, step.to, x(), step.width, wrapWidth_)))) {
        ++line_;
        segmentStart_ = 0;
        segmentWidth_ = 0;
    }
    step.x = x();
    step.line = line_;
    segmentWidth_ += step.width;
    pos_ = step.to;
    return true;
}

int PrefixWidth(TextMeasure& measure, int tabPixels, std::string_view text, std::size_t n, TabStops stops)
{
    RowWalker walker(measure, tabPixels, text, stops);
    RowStep step;
    while (walker.Next(step)) {
        if (step.from >= n)
            return step.x;
    }
    return walker.x();
}

WrappedPoint PointOfOffset(TextMeasure& measure, int tabPixels, std::string_view text, std::size_t n, int wrapWidth,
                           TabStops stops)
{
    RowWalker walker(measure, tabPixels, text, stops, wrapWidth);
    RowStep step;
    while (walker.Next(step)) {
        if (step.from >= n)
            return {step.line, step.x};
    }
    return {walker.line(), walker.x()};
}

int WrappedLineCount(TextMeasure& measure, int tabPixels, std::string_view text, int wrapWidth)
{
    if (wrapWidth <= 0)
        return 1;
    // The walk of RowWalker with painted tab stops, measuring only.
    const std::size_t end = ContentLength(text);
    const TextEncoding encoding = measure.encoding();
    const int ruleEdge = LineBreakRuleEdge(measure, wrapWidth);
    int lines = 1;
    int x = 0;             // pixels from the start of the line
    int segmentStart = 0;  // the last tab stop on the line
    for (std::size_t pos = 0; pos < end;) {
        const unsigned char byte = static_cast<unsigned char>(text[pos]);
        std::size_t next = pos + 1;
        int width = 0;
        if (byte == '\t') {
            width = TabAdvance(x - segmentStart, tabPixels) - (x - segmentStart);
        } else if (byte < 0x80) {
            width = measure.Advance(measure.AsciiUnit(byte));
        } else {
            next = std::min(NextCharIn(encoding, text, pos), end);
            width = measure.CharAdvance(text.substr(pos, next - pos));
        }
        if (x > 0 && (x + width > wrapWidth ||
                      (x + width > ruleEdge && byte != '\t' &&
                       PushedToNextLine(measure, text, end, pos, next, x, width, wrapWidth)))) {
            ++lines;
            x = 0;
            segmentStart = 0;
            if (byte == '\t')
                width = TabAdvance(0, tabPixels);
        }
        x += width;
        if (byte == '\t')
            segmentStart = x;
        pos = next;
    }
    return lines;
}

}  // namespace kl
