#pragma once
// What a figure's text and lines measure, in points of the printed page.
// A figure sized in millimetres for a journal takes a journal column's
// sizes; one sized in screen pixels takes the sizes the screen's chart has
// (its 12-pixel tick labels are 9 points at 96 dpi).

struct FigureStyle {
  double titlePt = 9, captionPt = 8, tickPt = 7, legendPt = 7;
  double curvePt = 1, bandCurvePt = 1.5, axisPt = 0.75, gridPt = 0.4, tickLengthPt = 3;
  double marginPt = 4;
};

// 9-point title, 8-point captions, 7-point tick labels and legend.
inline FigureStyle JournalFigureStyle() { return {}; }

// The screen's: 16-pixel captions, 12-pixel tick labels and legend, lines 2
// pixels wide (4 on the comfort bands), an 18-point title.
inline FigureStyle ScreenFigureStyle() {
  FigureStyle s;
  s.titlePt = 18;
  s.captionPt = 12;
  s.tickPt = 9;
  s.legendPt = 9;
  s.curvePt = 1.5;
  s.bandCurvePt = 3;
  s.axisPt = 1.5;
  s.gridPt = 0.75;
  s.tickLengthPt = 3;
  s.marginPt = 6;
  return s;
}
