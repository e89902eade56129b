#pragma once
// The option panel's arithmetic, apart from the widget: its rows, which row
// a point falls in, an entry's kind and text colour, and the outline that a
// body-part picture adds to the panel.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

namespace panel {
inline constexpr int kWidth = 180, kBaseHeight = 60, kTextLeft = 35, kFirstRowTop = 50, kRowWidth = 120,
                     kRowHeight = 20, kFrameTop = 10;

// Height of a panel of `entries` entries (one row is kept for "NONE OPTION!").
int Height(int entries);
// Row i's rectangle, (35, 50 + 20i) to (155, 70 + 20i) exclusive.
QRect RowRect(int i);
// The entry row that y lies strictly inside, or -1 (a row boundary, above
// the first row or below the last is no row).
int RowAt(int y, int entries);
// An entry's kind from its id: 1 body property, 2 comfort, 3 fabric layer, 4 fibre.
int Kind(int id);
// The colour entry texts are drawn in, in order: kinds 3 and 4 set green and
// orange; the others keep the colour of the entry before (black at first).
std::vector<QColor> TextColours(const std::vector<int>& ids);
// The opaque pixels of a picture as a region: a pixel whose red, green and
// blue are all 16 or less counts as the black surroundings.
QRegion OpaqueRegion(const QImage& picture);
// The grey of row k of n of the gradient: 255 at the top down to 204.
int GradientGrey(int k, int n);
}  // namespace panel
