#pragma once
// The line plot in a figure: the GL drawing as the view shows it (drawn
// afresh at the figure's size, off screen), and beside it in vector a colour
// bar of the value axis with its scale and the three axes' names.

#include <QSize>

class QPainter;
class COpenGLView;

// Paints `view`'s curves, box and axis titles as a figure body of `size`
// pixels, `pixelsPerPt` of them a point, its text `textPt` points high.
// False when no GL drawing could be made (the bar and names are still painted).
bool PaintPlotFigure(QPainter& painter, QSize size, const COpenGLView& view, double pixelsPerPt = 96.0 / 72,
                     double textPt = 9);
