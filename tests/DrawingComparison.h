#pragma once
// The view's reference drawing, switched on and off for comparisons with
// the way it draws every frame.

#include "OpenGLView.h"

class CDrawingComparison {
 public:
  static void SetReference(COpenGLView& view, bool on) { view.SetReferenceDrawing(on); }
};
