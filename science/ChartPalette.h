#pragma once
// The colours of a chart's curves: the first keeps the chart's own colour,
// the others come from the Okabe-Ito palette, whose colours stay apart for
// readers with any common colour-vision deficiency.

#include <QColor>

class QPen;

// The most curves one chart holds: the first, and each colour of the
// palette but one (the one the first curve's colour stands for).
constexpr int kMaxCurves = 8;

// The colour of curve `index` of a chart whose first curve is drawn in
// `first`: that colour for index 0; then orange, sky blue, bluish green,
// blue, reddish purple, vermillion, black and yellow, leaving out one equal
// to `first` (black on the comfort bands). Past the palette the colours
// come round again.
QColor CurveColour(int index, const QColor& first);

// The line style of run `style` of several compared side by side: 0 solid,
// 1 dashed (a second run's, as it always was), then dotted, dash-dot,
// dash-dot-dot, long dashes, long dash-dot and long-short, so that eight
// runs stay apart in grey print too. Past eight the styles come round again.
void SetLineStyle(QPen& pen, int style);
