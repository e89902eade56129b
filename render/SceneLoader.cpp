#include "SceneLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include "LoadCancel.h"
#include "OpenGLView.h"

namespace {

QString Caption() {
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("Corvane") : name;
}

// Reports on the view's thread, whichever thread calls.
void Report(COpenGLView* view, const QString& text) {
  QPointer<COpenGLView> target(view);
  auto show = [target, text] {
    if (target && target->MessageSink()) {
      target->MessageSink()->Message(Caption(), text, MessageIcon::Warning);
    }
  };
  if (QThread::currentThread() == view->thread()) {
    show();
  } else {
    QMetaObject::invokeMethod(view, show, Qt::QueuedConnection);
  }
}

void Redraw(COpenGLView* view) {
  if (QThread::currentThread() == view->thread()) {
    view->RenderScene();
  } else {
    QMetaObject::invokeMethod(
        view, [view] { view->RenderScene(); }, Qt::QueuedConnection);
  }
}

// A scene is loaded once: a slot that holds an object, loaded or not, is
// not tried again and reports nothing new.
template <class Model>
bool LoadInto(COpenGLView* view, CModelSlot<Model>& slot, const QString& path, const char* failure) {
  if (Model* held = slot.Get()) {
    return held->Model() != nullptr;
  }
  auto model = std::make_unique<Model>();
  model->SetColourSource(view->Data());
  const bool ok = model->Load(QFile::encodeName(path).constData(), kCreaseAngle);
  // A model no longer wanted (its load cancelled) is neither shown nor
  // reported, and may be asked for again.
  if (!ok && CLoadCancelScope::Cancelled()) {
    return false;
  }
  slot.Publish(std::move(model));
  if (!ok) {
    Report(view, QString::fromLatin1(failure));
  }
  Redraw(view);
  return ok;
}

}  // namespace

bool LoadBodyModel(COpenGLView* view, const QString& path) {
  return LoadInto(view, view->m_pBody, path, "No Model file!");
}

bool LoadGarmentModel(COpenGLView* view, const QString& path) {
  return LoadInto(view, view->m_pGarment, path, "No Gament file!");
}

bool LoadAnimationModel(COpenGLView* view, const QString& path) {
  if (view->m_pAnimation || view->m_animationJob.Started()) {
    return true;
  }
  // The worker only reads the file and builds the model; the view joins it
  // before it is destroyed, and messages and redraws reach the view through
  // queued calls.
  view->m_animationJob.Start([view, path] { LoadInto(view, view->m_pAnimation, path, "No Animationg Model file!"); });
  return true;
}

bool LoadSpaceSuitScene(COpenGLView* view) {
  const QString dir = view->ModuleDir().isEmpty() || view->ModuleDir().endsWith(QLatin1Char('/'))
                          ? view->ModuleDir()
                          : view->ModuleDir() + QLatin1Char('/');
  if (!LoadInto(view, view->m_pSpaceSuit, dir + QStringLiteral("space suit1.obj"), "No Model file!")) {
    return false;
  }
  return LoadInto(view, view->m_pMoon, dir + QStringLiteral("moon.obj"), "No Model file!");
}
