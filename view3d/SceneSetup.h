#pragma once
// A view of its own for drawing a body scene off screen (a screenshot, a
// movie): the models its mode draws, read now, before the first frame.

#include <QString>

#include "ViewMode.h"

class COpenGLView;

// The static view's body and garment files.
struct StaticModelFiles {
  QString body, garment;
};

// The program's own body and garment, beside it in `moduleDir`.
StaticModelFiles ProgramModelFiles(const QString& moduleDir);

// Reads the models that `mode` draws into `view` (the walking body's worker
// is waited for) and returns whether all of them were read. The view's
// program folder gives the walking body, the suit and the moon.
bool LoadSceneModelsNow(COpenGLView& view, ViewMode mode, const StaticModelFiles& files);
