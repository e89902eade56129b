// The body scenes rendered and read back: the room, a body part, the colour
// bar, the cross-section rings, the moon scene and its backdrop.

#include "OpenGLView.h"
#include "SceneLoader.h"
#include "SimulationData.h"

#include <QDir>
#include <QImage>
#include <QMatrix4x4>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr int kWidth = 500, kHeight = 330;

// Where a point lands on the picture: `scene` applies the scene's zoom,
// rotation and shift as the models get them; otherwise only the camera's
// translation, as the legends get it.
QPoint Project(const COpenGLView& v, QVector3D p, bool scene) {
  QMatrix4x4 m;
  m.perspective(45.0f, static_cast<float>(kWidth) / kHeight, 0.1f, 100.0f);
  m.translate(static_cast<float>(v.m_dTransX), static_cast<float>(v.m_dTransY), static_cast<float>(v.m_dTransZ));
  if (scene) {
    m.scale(v.m_fZoom);
    m.rotate(static_cast<float>(v.m_dRotX), 1, 0, 0);
    m.rotate(static_cast<float>(v.m_dRotY), 0, 1, 0);
    m.rotate(static_cast<float>(v.m_dRotZ), 0, 0, 1);
  }
  const QVector3D ndc = m.map(p);
  return QPoint(static_cast<int>((ndc.x() + 1) * 0.5f * kWidth), static_cast<int>((1 - ndc.y()) * 0.5f * kHeight));
}

class SceneRender : public ::testing::Test {
 protected:
  void SetUp() override {
    m_view.SetData(&m_data);
    m_view.SetMessageSink(&m_messages);
    m_view.SetModuleDir(m_dir.path() + QLatin1Char('/'));
    m_view.resize(kWidth, kHeight);
    m_data.m_envColour[0] = 1, m_data.m_envColour[1] = 0, m_data.m_envColour[2] = 1;  // magenta
  }
  void TearDown() override {
    if (HasFailure() && !m_last.isNull()) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      const QString name = QStringLiteral("%1.%2.png").arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()));
      m_last.save(name);
      std::fprintf(stderr, "rendered image saved as %s\n", qPrintable(name));
    }
  }
  QImage Render(int mode) {
    m_view.m_nMode = mode;
    m_view.ResetCamera();
    m_last = m_view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(m_last.isNull()) << "no OpenGL context";
    return m_last;
  }
  // Whether some pixel within `radius` of p satisfies `test`.
  bool Around(const QImage& img, QPoint p, int radius, const std::function<bool(QColor)>& test) const {
    for (int y = p.y() - radius; y <= p.y() + radius; ++y)
      for (int x = p.x() - radius; x <= p.x() + radius; ++x)
        if (img.rect().contains(x, y) && test(img.pixelColor(x, y))) return true;
    return false;
  }
  void WriteFile(const QString& name, const std::string& text) {
    QFile f(m_dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
  }
  // A body of one box-shaped TRUNK group around the scene's centre.
  void WriteTrunkBox() {
    std::string obj;
    for (int i = 0; i < 8; ++i) {
      const float x = (i & 1) ? 0.3f : -0.3f, y = 1.2f + ((i & 2) ? 0.4f : -0.4f), z = (i & 4) ? 0.3f : -0.3f;
      obj += "v " + std::to_string(x / kModelScale) + " " + std::to_string(y / kModelScale) + " " + std::to_string(z / kModelScale) + "\n";
    }
    obj += "g TRUNK\nf 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
    WriteFile(QStringLiteral("box.obj"), obj);
  }

  QTemporaryDir m_dir;
  CSimulationData m_data;
  CRecordingMessageSink m_messages;
  COpenGLView m_view;
  QImage m_last;
};

bool IsMagenta(QColor c) { return c.red() > 200 && c.blue() > 200 && c.green() < 60; }

}  // namespace

TEST_F(SceneRender, RoomLinesTakeTheEnvironmentColour) {
  const QImage img = Render(1);
  // The floor line x = 0 of the room, halfway along its depth.
  EXPECT_TRUE(Around(img, Project(m_view, {0.0f, -1.2f, -0.3f}, true), 3, IsMagenta));
  EXPECT_TRUE(Around(img, Project(m_view, {-1.5f, 0.15f, -1.5f}, true), 3, IsMagenta));  // back wall corner line
}

TEST_F(SceneRender, MoonSceneHasNoRoom) {
  int room = 0;
  QImage img = Render(1);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) room += IsMagenta(img.pixelColor(x, y));
  EXPECT_GT(room, 1000);
  img = Render(3);
  int moon = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) moon += IsMagenta(img.pixelColor(x, y));
  EXPECT_EQ(moon, 0);
}

TEST_F(SceneRender, ColourBarRunsFromRedAtTheTopToBlueAtTheBottom) {
  const QImage img = Render(1);
  const QColor top = img.pixelColor(Project(m_view, {-1.065f, 0.69f, 2.5f}, false));
  const QColor middle = img.pixelColor(Project(m_view, {-1.065f, 0.4f, 2.5f}, false));
  const QColor bottom = img.pixelColor(Project(m_view, {-1.065f, 0.11f, 2.5f}, false));
  EXPECT_GT(top.red(), 220);
  EXPECT_LT(top.blue(), 40);
  EXPECT_GT(middle.green(), 220);
  EXPECT_LT(middle.red(), 40);
  EXPECT_GT(bottom.blue(), 220);
  EXPECT_LT(bottom.red(), 40);
}

TEST_F(SceneRender, BodyPartShowsItsSkinColour) {
  WriteTrunkBox();
  ASSERT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("box.obj"))));
  m_data.m_skinColours[Trunk][0] = 0, m_data.m_skinColours[Trunk][1] = 1, m_data.m_skinColours[Trunk][2] = 0;
  QImage img = Render(1);
  QColor c = img.pixelColor(Project(m_view, {0, 0, 0.3f}, true));
  EXPECT_GT(c.green(), 150);
  EXPECT_LT(c.red(), 40);
  EXPECT_LT(c.blue(), 40);
  // A new colour shows at the next frame, without reloading.
  m_data.m_skinColours[Trunk][0] = 1, m_data.m_skinColours[Trunk][1] = 0;
  img = Render(1);
  c = img.pixelColor(Project(m_view, {0, 0, 0.3f}, true));
  EXPECT_GT(c.red(), 150);
  EXPECT_LT(c.green(), 40);
  EXPECT_TRUE(m_messages.m_entries.empty());
}

TEST_F(SceneRender, CrossSectionShowsEveryLayerFromTheOutsideIn) {
  m_data.m_nLayers[Trunk] = 3;
  const float colours[5][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}};  // layer 3, 2, 1, skin, core
  for (int c = 0; c < 3; ++c) {
    m_data.m_allLayerColours[2][Trunk][c] = colours[0][c];
    m_data.m_allLayerColours[1][Trunk][c] = colours[1][c];
    m_data.m_allLayerColours[0][Trunk][c] = colours[2][c];
    m_data.m_skinColours[Trunk][c] = colours[3][c];
    m_data.m_coreColours[Trunk][c] = colours[4][c];
  }
  m_view.m_nSectionPart = 2;
  const QImage img = Render(1);
  const float w = 0.18f / 5;
  for (int i = 0; i < 5; ++i) {
    const float r = 0.18f - static_cast<float>(i) * w - w / 2;
    // Just below the centre line, clear of the leader lines.
    const QColor c = img.pixelColor(Project(m_view, {-0.94f + r, -0.34f - 0.012f, 2.5f}, false));
    EXPECT_NEAR(c.redF(), colours[i][0], 0.1) << "ring " << i;
    EXPECT_NEAR(c.greenF(), colours[i][1], 0.1) << "ring " << i;
    EXPECT_NEAR(c.blueF(), colours[i][2], 0.1) << "ring " << i;
  }
  // Around the rings: the environment's colour.
  EXPECT_TRUE(IsMagenta(img.pixelColor(Project(m_view, {-0.88f + 0.25f, -0.32f + 0.25f, 2.5f}, false))));
}

TEST_F(SceneRender, BackdropInItsOwnColoursOrDarkWithoutIt) {
  // Without "1.bmp" beside the program or here: a dark sky, no crash.
  QImage img = Render(3);
  const QPoint sky = Project(m_view, {0.5f, 0.55f, -15.0f}, false);
  QColor c = img.pixelColor(sky);
  EXPECT_LT(c.red() + c.green() + c.blue(), 60);
  // A red picture shows red: the channels reach GL in the right order.
  QImage red(64, 32, QImage::Format_RGB888);
  red.fill(QColor(255, 0, 0));
  ASSERT_TRUE(red.save(m_dir.filePath(QStringLiteral("1.bmp")), "BMP"));
  COpenGLView fresh;
  fresh.SetData(&m_data);
  fresh.SetModuleDir(m_dir.path() + QLatin1Char('/'));
  fresh.resize(kWidth, kHeight);
  fresh.m_nMode = 3;
  fresh.ResetCamera();
  img = fresh.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  m_last = img;
  c = img.pixelColor(sky);
  EXPECT_GT(c.red(), 80);
  EXPECT_LT(c.green(), 20);
  EXPECT_LT(c.blue(), 20);
}
