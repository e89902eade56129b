#pragma once
// The 3D line plot the view shows in its plot mode: its curves, and the box
// and strips built from them when they are set, not in every frame; a frame
// draws what of the strips the current projection can show.

#include <string>
#include <vector>

#include "LinePlot.h"
#include "PlotDecimation.h"

class CPlotScene {
 public:
  // `note` is written in the middle of a plot without curves ("no data").
  void SetCurves(std::vector<PlotCurve> curves, std::string note = {});
  const std::vector<PlotCurve>& Curves() const { return m_curves; }
  const PlotBox& Box() const { return m_box; }
  const std::string& Note() const { return m_strNote; }
  // Draws under the current GL matrices, the three axis titles (x, y, z)
  // beside the axes; the glyph lists must be built. `reference`: the box
  // and strips from every point and each vertex sent on its own, in every
  // frame (the way comparisons are drawn).
  void Draw(const char (&titles)[3][256], bool reference);

 private:
  void DrawFrame();
  void DrawCurves(const char (&titles)[3][256], bool reference);

  std::vector<PlotCurve> m_curves;
  std::string m_strNote;
  PlotBox m_box;
  std::vector<PlotStrip> m_strips;
  std::vector<PlotStrip> m_shown;  // what of the strips the current projection can show
  PlotProjection m_projection;
  bool m_bDirty = false;
};
