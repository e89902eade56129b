// Scene loading: messages once, objects installed even when empty, no
// second try, and the worker handing its model over to the view.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "OpenGLView.h"
#include "SceneLoader.h"

namespace {
const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\ng TRUNK\nf 1 2 3\n";

class SceneLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    m_view.SetMessageSink(&m_messages);
    m_view.SetModuleDir(m_dir.path() + QLatin1Char('/'));
  }
  void Write(const QString& name) {
    QFile f(m_dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kTriangle);
  }
  int Count(const char* text) const {
    int n = 0;
    for (const auto& m : m_messages.Entries()) {
      n += m.text == QLatin1String(text);
    }
    return n;
  }
  // Lets the worker finish and its queued calls arrive.
  void Settle() {
    m_view.JoinLoaders();
    QCoreApplication::processEvents();
  }

  QTemporaryDir m_dir;
  CRecordingMessageSink m_messages;
  COpenGLView m_view;
};
}  // namespace

TEST_F(SceneLoading, SuitWithoutMoonDrawsTheSuitAfterOneMessage) {
  Write(QStringLiteral("space suit1.obj"));
  EXPECT_FALSE(LoadSpaceSuitScene(&m_view));
  ASSERT_TRUE(m_view.SpaceSuitModel());
  EXPECT_TRUE(m_view.SpaceSuitModel()->Model());
  ASSERT_TRUE(m_view.MoonModel());
  EXPECT_FALSE(m_view.MoonModel()->Model());
  EXPECT_EQ(Count("No Model file!"), 1);
  EXPECT_EQ(m_messages.Entries().front().caption, QCoreApplication::applicationName());
  LoadSpaceSuitScene(&m_view);
  EXPECT_EQ(m_messages.Entries().size(), 1u) << "not tried again";
}

TEST_F(SceneLoading, NeitherSuitNorMoonGivesOneMessageAndNoMoon) {
  EXPECT_FALSE(LoadSpaceSuitScene(&m_view));
  ASSERT_TRUE(m_view.SpaceSuitModel());
  EXPECT_FALSE(m_view.SpaceSuitModel()->Model());
  EXPECT_FALSE(m_view.MoonModel());
  EXPECT_EQ(Count("No Model file!"), 1);
  EXPECT_FALSE(LoadSpaceSuitScene(&m_view));
  EXPECT_EQ(m_messages.Entries().size(), 1u);
}

TEST_F(SceneLoading, BodyAndGarmentAreInstalledEvenWhenMissing) {
  Write(QStringLiteral("model.obj"));
  EXPECT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("model.obj"))));
  EXPECT_FALSE(LoadGarmentModel(&m_view, m_dir.filePath(QStringLiteral("cloth.obj"))));
  ASSERT_TRUE(m_view.BodyModel());
  EXPECT_TRUE(m_view.BodyModel()->Model());
  ASSERT_TRUE(m_view.GarmentModel());
  EXPECT_FALSE(m_view.GarmentModel()->Model());
  EXPECT_EQ(Count("No Gament file!"), 1);
  // Installed once: a second load neither reads again nor reports again.
  Write(QStringLiteral("cloth.obj"));
  EXPECT_FALSE(LoadGarmentModel(&m_view, m_dir.filePath(QStringLiteral("cloth.obj"))));
  EXPECT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("missing.obj"))));
  EXPECT_EQ(m_messages.Entries().size(), 1u);
}

TEST_F(SceneLoading, AnimationLoadsOnAWorkerOnce) {
  EXPECT_TRUE(LoadAnimationModel(&m_view, m_dir.filePath(QStringLiteral("op.obj"))));
  Settle();
  EXPECT_EQ(Count("No Animationg Model file!"), 1);
  ASSERT_TRUE(m_view.AnimationModel());
  EXPECT_FALSE(m_view.AnimationModel()->Model());
  Write(QStringLiteral("op.obj"));
  EXPECT_TRUE(LoadAnimationModel(&m_view, m_dir.filePath(QStringLiteral("op.obj"))));
  Settle();
  EXPECT_EQ(m_messages.Entries().size(), 1u) << "shows nothing new";
  EXPECT_FALSE(m_view.AnimationModel()->Model()) << "and does not try again";
}

TEST_F(SceneLoading, AnimationFromTheWorkerReachesTheView) {
  Write(QStringLiteral("op.obj"));
  LoadAnimationModel(&m_view, m_dir.filePath(QStringLiteral("op.obj")));
  Settle();
  ASSERT_TRUE(m_view.AnimationModel());
  ASSERT_TRUE(m_view.AnimationModel()->Model());
  EXPECT_EQ(m_view.AnimationModel()->Model()->triangleCount, 1u);
  EXPECT_TRUE(m_messages.Entries().empty());
}

TEST(SceneLoadingLifetime, AViewGoingAwayJoinsItsWorker) {
  QTemporaryDir dir;
  {
    QFile f(dir.filePath(QStringLiteral("op.obj")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int i = 0; i < 20000; ++i) {
      f.write("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n");
    }
  }
  CRecordingMessageSink messages;
  {
    COpenGLView view;
    view.SetMessageSink(&messages);
    view.resize(64, 64);
    ASSERT_FALSE(view.grabFramebuffer().isNull());  // a context whose objects the view frees as it goes
    LoadAnimationModel(&view, dir.filePath(QStringLiteral("op.obj")));
  }  // destroyed while the worker may still be reading: joined before the GL goes (else a fatal warning)
  QCoreApplication::processEvents();
  EXPECT_TRUE(messages.Entries().empty());
}
