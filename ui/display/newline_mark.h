#pragma once
// The mark the text views draw where a line ends: a 12 x 12 downward arrow on the window
// colour.
#include <QColor>
#include <QPixmap>
#include <array>
#include <string_view>

namespace kl {

inline constexpr int kNewlineMarkSize = 12;
inline const QColor kNewlineMarkColor(34, 85, 170);

// The arrow in kNewlineMarkColor on background, at one device pixel per pixel.
QPixmap NewlineMark(const QColor& background);

// Line ends shown by kind: LF the downward arrow, CR LF an arrow down and back to the left,
// a lone CR an arrow to the left.
enum class LineEndKind { Lf = 0, CrLf = 1, Cr = 2 };
using LineEndMarks = std::array<QPixmap, 3>;
LineEndMarks LineEndMarksOn(const QColor& background);
// The kind of the line end that starts lineEnd (its bytes to the end of the line).
LineEndKind LineEndKindOf(std::string_view lineEnd);

}  // namespace kl
