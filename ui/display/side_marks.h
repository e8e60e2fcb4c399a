#pragma once
// The small images that mark the two sides: a letter on a filled box (the side's normal
// mark), the same letter in a frame (its selected form) and the digits mark of a line of
// numbers. 19 x 18 pixels, drawn at the screen's pixel ratio.
#include <QIcon>
#include <QPixmap>

namespace kl {

inline constexpr int kSideMarkWidth = 19;
inline constexpr int kSideMarkHeight = 18;

// "A" for side 0, "B" for side 1.
QPixmap BoxedSideMark(int side);
QPixmap FramedSideMark(int side);
QPixmap DigitsMark();

// The boxed mark, with the framed one as its selected form.
QIcon SideIcon(int side);

}  // namespace kl
