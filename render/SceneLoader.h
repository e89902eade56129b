#pragma once
// Loading the scenes' models into a view: each creates its model object,
// reads the file, installs the object in the view even when the file could
// not be read (so the scene is not tried again), reports a missing file and
// asks the view to redraw. A model already installed is not loaded again.

#include <QString>

class COpenGLView;

bool LoadBodyModel(COpenGLView* view, const QString& path);
bool LoadGarmentModel(COpenGLView* view, const QString& path);
// Starts a worker that loads the animated model and returns at once (true);
// does nothing when the view has, or is loading, one already.
bool LoadAnimationModel(COpenGLView* view, const QString& path);
// The space suit, then the moon, from the view's program folder.
bool LoadSpaceSuitScene(COpenGLView* view);
