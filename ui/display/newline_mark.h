#pragma once
// The mark the text views draw where a line ends: a 12 x 12 downward arrow on the window
// colour.
#include <QColor>
#include <QPixmap>

namespace kl {

inline constexpr int kNewlineMarkSize = 12;
inline const QColor kNewlineMarkColor(34, 85, 170);

// The arrow in kNewlineMarkColor on background, at one device pixel per pixel.
QPixmap NewlineMark(const QColor& background);

}  // namespace kl
