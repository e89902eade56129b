#include "SceneSetup.h"

#include <QCoreApplication>

#include "OpenGLView.h"
#include "SceneLoader.h"

StaticModelFiles ProgramModelFiles(const QString& moduleDir) {
  return {moduleDir + QStringLiteral("model.obj"), moduleDir + QStringLiteral("cloth.obj")};
}

bool LoadSceneModelsNow(COpenGLView& view, ViewMode mode, const StaticModelFiles& files) {
  view.SetMode(mode);
  if (mode == ViewMode::Static) {
    LoadBodyModel(&view, files.body);
    LoadGarmentModel(&view, files.garment);
  } else if (mode == ViewMode::Dynamic) {
    LoadAnimationModel(&view, view.ModuleDir() + QStringLiteral("op.obj"));
    view.JoinLoaders();
    QCoreApplication::processEvents();  // the worker's queued messages
  } else if (mode == ViewMode::SpaceSuit) {
    LoadSpaceSuitScene(&view);
  }
  return view.SceneModelsRead();
}
