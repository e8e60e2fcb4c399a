#include "ui/display/row_layout.h"

#include <algorithm>

#include "engine/platform/cp932.h"

namespace kl {

TextMeasure::TextMeasure() : metrics_(font_), advances_(0x10000, -1)
{
    SetEncoding(encoding_);
}

void TextMeasure::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_ && asciiUnits_['A'] == u'A')
        return;
    encoding_ = encoding;
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
}

int TextMeasure::Advance(char16_t unit)
{
    std::int16_t& advance = advances_[unit];
    if (advance < 0)
        advance = static_cast<std::int16_t>(std::clamp(metrics_.horizontalAdvance(QChar(unit)), 0, 0x7FFF));
    return advance;
}

std::size_t ContentLength(std::string_view text)
{
    const std::size_t end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text.size() : end;
}

int TabAdvance(int w, int tabPixels, TabStops stops)
{
    if (tabPixels <= 0)
        return w;
    if (stops == TabStops::Selection && w > 0 && w < tabPixels)
        return 2 * tabPixels;
    return tabPixels * (w / tabPixels + 1);
}

RowWalker::RowWalker(TextMeasure& measure, int tabPixels, std::string_view text, TabStops stops, int wrapWidth)
    : measure_(measure),
      tabPixels_(tabPixels),
      stops_(wrapWidth > 0 ? TabStops::Painted : stops),
      text_(text),
      contentEnd_(ContentLength(text)),
      wrapWidth_(wrapWidth)
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
        // At most two bytes, so the decoded text stays in the string's own small buffer.
        const std::u16string decoded = DecodeToUtf16(measure_.encoding(), text_.substr(pos_, step.to - pos_));
        step.unitCount = static_cast<int>(std::min<std::size_t>(decoded.size(), 2));
        step.width = 0;
        for (int i = 0; i < step.unitCount; ++i) {
            step.units[i] = decoded[static_cast<std::size_t>(i)];
            step.width += measure_.Advance(step.units[i]);
        }
    }
    if (wrapWidth_ > 0 && x() > 0 && x() + step.width > wrapWidth_) {
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
    RowWalker walker(measure, tabPixels, text, TabStops::Painted, wrapWidth);
    RowStep step;
    while (walker.Next(step)) {
    }
    return walker.line() + 1;
}

}  // namespace kl
