// The body scenes rendered and read back: the room, a body part, the colour
// bar, the cross-section rings, the moon scene and its backdrop.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMatrix4x4>
#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstddef>
#include <functional>
#include <string>

#include "DrawingComparison.h"
#include "OpenGLView.h"
#include "SceneLoader.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {

constexpr int kWidth = 500, kHeight = 330;

// Where a point lands on the picture: `scene` applies the scene's zoom,
// rotation and shift as the models get them; otherwise only the camera's
// translation, as the legends get it.
QPointF ProjectF(const COpenGLView& v, QVector3D p, bool scene, QSize size = QSize(kWidth, kHeight)) {
  QMatrix4x4 m;
  m.perspective(static_cast<float>(COpenGLView::FieldOfViewY(size.width(), size.height())),
                static_cast<float>(size.width()) / static_cast<float>(size.height()), 0.1f, 100.0f);
  m.translate(static_cast<float>(v.Camera().m_dTransX), static_cast<float>(v.Camera().m_dTransY),
              static_cast<float>(v.Camera().m_dTransZ));
  if (scene) {
    m.scale(v.Camera().m_fZoom);
    m.rotate(static_cast<float>(v.Camera().m_dRotX), 1, 0, 0);
    m.rotate(static_cast<float>(v.Camera().m_dRotY), 0, 1, 0);
    m.rotate(static_cast<float>(v.Camera().m_dRotZ), 0, 0, 1);
  }
  const QVector3D ndc = m.map(p);
  return QPointF((ndc.x() + 1) * 0.5f * static_cast<float>(size.width()),
                 (1 - ndc.y()) * 0.5f * static_cast<float>(size.height()));
}
QPoint Project(const COpenGLView& v, QVector3D p, bool scene) { return ProjectF(v, p, scene).toPoint(); }

class SceneRender : public ::testing::Test {
 protected:
  void SetUp() override {
    m_view.SetData(&m_data);
    m_view.SetMessageSink(&m_messages);
    m_view.SetModuleDir(m_dir.path() + QLatin1Char('/'));
    m_view.resize(kWidth, kHeight);
    PaintRoomMagenta();
  }
  // A room colour no scene draws otherwise; it holds until the tables or the
  // shown quantity, layer or step change.
  void PaintRoomMagenta() {
    const float magenta[3] = {1, 0, 1};
    std::copy(magenta, magenta + 3, EditColours(m_data).m_envColour);
  }
  void TearDown() override {
    if (HasFailure() && !m_last.isNull()) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      const QString name =
          QStringLiteral("%1.%2.png").arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()));
      m_last.save(name);
      std::fprintf(stderr, "rendered image saved as %s\n", qPrintable(name));
    }
  }
  QImage Render(int mode) {
    m_view.SetMode(static_cast<ViewMode>(mode));
    m_view.ResetCamera();
    m_last = m_view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(m_last.isNull()) << "no OpenGL context";
    return m_last;
  }
  // Whether some pixel within `radius` of p satisfies `test`.
  bool Around(const QImage& img, QPoint p, int radius, const std::function<bool(QColor)>& test) const {
    for (int y = p.y() - radius; y <= p.y() + radius; ++y) {
      for (int x = p.x() - radius; x <= p.x() + radius; ++x) {
        if (img.rect().contains(x, y) && test(img.pixelColor(x, y))) {
          return true;
        }
      }
    }
    return false;
  }
  void WriteFile(const QString& name, const std::string& text) {
    QFile f(m_dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
  }
  // A closed box of one group, from x0 to x1 (and y, z likewise) in the
  // scene's units, y counted from the models' origin 1.2 below the scene's.
  void WriteBox(const QString& name, const char* group, QVector3D lo, QVector3D hi) {
    std::string obj;
    for (int i = 0; i < 8; ++i) {
      const float x = (i & 1) ? hi.x() : lo.x(), y = 1.2f + ((i & 2) ? hi.y() : lo.y()), z = (i & 4) ? hi.z() : lo.z();
      obj += "v " + std::to_string(x / kModelScale) + " " + std::to_string(y / kModelScale) + " " +
             std::to_string(z / kModelScale) + "\n";
    }
    obj += std::string("g ") + group + "\nf 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
    WriteFile(name, obj);
  }
  // A body of one box-shaped TRUNK group around the scene's centre.
  void WriteTrunkBox() { WriteBox(QStringLiteral("box.obj"), "TRUNK", {-0.3f, -0.4f, -0.3f}, {0.3f, 0.4f, 0.3f}); }
  // Red pixels of the legend's text: its title and the five labels right of the bar.
  static int LegendTextPixels(const QImage& img, const COpenGLView& v) {
    const QRect r = QRect(Project(v, {-1.11f, 0.82f, 2.5f}, false), Project(v, {-0.85f, 0.05f, 2.5f}, false))
                        .intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) {
        const QColor c = img.pixelColor(x, y);
        n += c.red() > 150 && c.green() < 90 && c.blue() < 90;
      }
    }
    return n;
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
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      room += IsMagenta(img.pixelColor(x, y));
    }
  }
  EXPECT_GT(room, 1000);
  img = Render(3);
  int moon = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      moon += IsMagenta(img.pixelColor(x, y));
    }
  }
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
  const float green[3] = {0, 1, 0};
  std::copy(green, green + 3, EditColours(m_data).m_skinColours[Trunk]);
  QImage img = Render(1);
  QColor c = img.pixelColor(Project(m_view, {0, 0, 0.3f}, true));
  EXPECT_GT(c.green(), 150);
  EXPECT_LT(c.red(), 40);
  EXPECT_LT(c.blue(), 40);
  // A new colour shows at the next frame, without reloading.
  EditColours(m_data).m_skinColours[Trunk][0] = 1;
  EditColours(m_data).m_skinColours[Trunk][1] = 0;
  img = Render(1);
  c = img.pixelColor(Project(m_view, {0, 0, 0.3f}, true));
  EXPECT_GT(c.red(), 150);
  EXPECT_LT(c.green(), 40);
  EXPECT_TRUE(m_messages.Entries().empty());
}

TEST_F(SceneRender, CrossSectionShowsEveryLayerFromTheOutsideIn) {
  EditRun(m_data).m_nLayers[Trunk] = 3;
  PaintRoomMagenta();
  const float colours[5][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}};  // layer 3, 2, 1, skin, core
  for (int c = 0; c < 3; ++c) {
    EditColours(m_data).m_allLayerColours[2][Trunk][c] = colours[0][c];
    EditColours(m_data).m_allLayerColours[1][Trunk][c] = colours[1][c];
    EditColours(m_data).m_allLayerColours[0][Trunk][c] = colours[2][c];
    EditColours(m_data).m_skinColours[Trunk][c] = colours[3][c];
    EditColours(m_data).m_coreColours[Trunk][c] = colours[4][c];
  }
  m_data.State().SetSectionPart(2);
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
  fresh.SetMode(ViewMode::SpaceSuit);
  fresh.ResetCamera();
  img = fresh.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  m_last = img;
  c = img.pixelColor(sky);
  EXPECT_GT(c.red(), 80);
  EXPECT_LT(c.green(), 20);
  EXPECT_LT(c.blue(), 20);
}

// Each frame starts from the same state: a closed model drawn with back faces
// culled leaves nothing behind for the next frame's legend.
TEST_F(SceneRender, TwoFramesInARowShowTheSamePicture) {
  WriteTrunkBox();
  ASSERT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("box.obj"))));
  ASSERT_TRUE(m_view.BodyModel()->Closed());  // the case where faces are culled
  EditColours(m_data).m_skinColours[Trunk][1] = 1;
  const QImage first = Render(1);
  const QImage second = m_view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  m_last = second;
  EXPECT_GT(LegendTextPixels(first, m_view), 40);
  EXPECT_GT(second.pixelColor(Project(m_view, {-1.065f, 0.69f, 2.5f}, false)).red(), 220) << "the colour bar";
  EXPECT_EQ(first, second);
}

// The backdrop shows its picture's own colours, whatever a model drew before
// it: a white sky stays white after frames of a green suit (and after the
// static view's body).
TEST_F(SceneRender, TheBackdropKeepsItsColoursAfterAGreenModel) {
  WriteBox(QStringLiteral("space suit1.obj"), "TRUNK", {-0.3f, -0.4f, -0.3f}, {0.3f, 0.4f, 0.3f});
  WriteBox(QStringLiteral("moon.obj"), "moon", {0.5f, -0.4f, -0.3f}, {0.9f, 0.4f, 0.3f});
  QImage white(64, 32, QImage::Format_RGB888);
  white.fill(Qt::white);
  ASSERT_TRUE(white.save(m_dir.filePath(QStringLiteral("1.bmp")), "BMP"));
  EditColours(m_data).m_layerColours[Trunk][0] = 0;
  EditColours(m_data).m_layerColours[Trunk][1] = 1;
  EditColours(m_data).m_layerColours[Trunk][2] = 0;
  COpenGLView view;
  view.SetData(&m_data);
  view.SetMessageSink(&m_messages);
  view.SetModuleDir(m_dir.path() + QLatin1Char('/'));
  view.resize(kWidth, kHeight);
  ASSERT_TRUE(LoadSpaceSuitScene(&view));
  view.SetMode(ViewMode::SpaceSuit);
  view.ResetCamera();
  view.grabFramebuffer();  // a frame that leaves the suit's green material behind
  const QImage img = view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  m_last = img;
  const QColor sky = img.pixelColor(Project(view, {-1.2f, -1.0f, -15.0f}, false));
  EXPECT_GT(sky.red(), 200) << "white, not the suit's green";
  EXPECT_GT(sky.green(), 200);
  EXPECT_GT(sky.blue(), 200) << "white, not the suit's green";
}

// Re-parenting the view into another window (as the main window adopts a
// view) destroys its GL context and makes a new one: lists, glyphs, arrays
// and textures must all come back on it.
TEST_F(SceneRender, ANewContextBringsBackModelsTextAndBackdrop) {
  WriteBox(QStringLiteral("space suit1.obj"), "TRUNK", {-0.3f, -0.4f, -0.3f}, {0.3f, 0.4f, 0.3f});
  WriteBox(QStringLiteral("moon.obj"), "moon", {0.5f, -0.4f, -0.3f}, {0.9f, 0.4f, 0.3f});
  QImage blue(64, 32, QImage::Format_RGB888);
  blue.fill(QColor(0, 0, 255));
  ASSERT_TRUE(blue.save(m_dir.filePath(QStringLiteral("1.bmp")), "BMP"));
  EditColours(m_data).m_layerColours[Trunk][0] = 0;  // the suit shows in green
  EditColours(m_data).m_layerColours[Trunk][1] = 1;

  QWidget first, second;
  auto* view = new COpenGLView(&first);
  view->SetData(&m_data);
  view->SetMessageSink(&m_messages);
  view->SetModuleDir(m_dir.path() + QLatin1Char('/'));
  view->resize(kWidth, kHeight);
  first.resize(kWidth, kHeight);
  ASSERT_TRUE(LoadSpaceSuitScene(view));
  view->SetMode(ViewMode::SpaceSuit);
  view->ResetCamera();
  auto check = [&](const QImage& img, const char* when) {
    m_last = img;
    const QColor sky = img.pixelColor(Project(*view, {-1.2f, -1.0f, -15.0f}, false));
    EXPECT_GT(sky.blue(), 60) << when << ": the backdrop's texture";
    EXPECT_LT(sky.red(), 20) << when << ": the backdrop's texture";
    const QColor suit = img.pixelColor(Project(*view, {0, 0, 0.3f}, true));
    EXPECT_GT(suit.green(), 100) << when;
    EXPECT_LT(suit.red(), 60) << when;
    const QColor moon = img.pixelColor(Project(*view, {0.7f, 0, 0.3f}, true));
    EXPECT_GT(moon.green(), 10) << when << ": the moon's list";
    EXPECT_LT(std::abs(moon.red() - moon.green()), 30) << when << ": the moon's list";
    EXPECT_GT(LegendTextPixels(img, *view), 40) << when << ": the glyph lists";
  };
  first.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&first, 60000));
  check(view->grabFramebuffer().convertToFormat(QImage::Format_RGB32), "first context");

  int destroyed = 0;
  QObject::connect(view->context(), &QOpenGLContext::aboutToBeDestroyed, [&] { ++destroyed; });
  view->setParent(&second);
  second.resize(kWidth, kHeight);
  second.show();
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&second, 60000));
  check(view->grabFramebuffer().convertToFormat(QImage::Format_RGB32), "new context");
  EXPECT_EQ(destroyed, 1);
}

// The walking figure stays whole in the picture at every frame of its cycle,
// in wide and in tall windows.
TEST_F(SceneRender, TheWalkingFigureStaysInThePicture) {
  const QByteArray path = QFile::encodeName(qEnvironmentVariable("CORVANE_MODEL_DIR") + QStringLiteral("/op.obj"));
  ObjModelPtr model(glmReadOBJ(path.constData()));
  ASSERT_TRUE(model);
  m_view.SetMode(ViewMode::Dynamic);
  m_view.ResetCamera();
  for (const QSize size :
       {QSize(500, 330), QSize(800, 600), QSize(600, 700), QSize(1400, 300), QSize(300, 900), QSize(160, 120)}) {
    QRectF box;
    for (std::uint32_t v = 1; v <= model->vertexCount; ++v) {
      const float* p = &model->vertices[std::size_t{3} * v];
      const QPointF q = ProjectF(m_view, QVector3D(p[0], p[1], p[2]) * kModelScale - QVector3D(0, 1.2f, 0), true, size);
      box = box.isNull() ? QRectF(q, QSizeF(0.01, 0.01)) : box.united(QRectF(q, QSizeF(0.01, 0.01)));
    }
    EXPECT_TRUE(QRectF(QPointF(0, 0), QSizeF(size)).contains(box))
        << size.width() << "x" << size.height() << ": the figure spans (" << box.left() << ", " << box.top() << ") to ("
        << box.right() << ", " << box.bottom() << ")";
  }
}

// The glyph lists take their fixed names as soon as GL starts, before any
// text is drawn, so that no model's list can be given one of them.
TEST_F(SceneRender, GlyphListNamesAreTakenWhenGlStarts) {
  m_view.SetData(nullptr);  // no legend text in this frame
  m_last = m_view.grabFramebuffer();
  m_view.makeCurrent();
  EXPECT_TRUE(glIsList(kFontListBase));
  EXPECT_TRUE(glIsList(kFontListBase + kFontGlyphs - 1));
  const GLuint modelList = glGenLists(1);
  EXPECT_TRUE(modelList < kFontListBase || modelList >= kFontListBase + kFontGlyphs) << modelList;
  glDeleteLists(modelList, 1);
  m_view.doneCurrent();
}

// The line plot (mode 0): a curve of constant z shows in its colour where
// the camera puts it, over the frame; with no curves only the frame shows.
TEST_F(SceneRender, TheLinePlotDrawsItsCurvesInTheColourOfTheirHeight) {
  auto purple = [](QColor c) { return c.red() > 90 && c.blue() > 90 && c.green() < 40; };
  QImage img = Render(0);
  EXPECT_FALSE(Around(img, Project(m_view, {0.5f, 0.8f, 0.5f}, true), 3, purple));
  PlotCurve curve;
  for (int i = 0; i <= 20; ++i) {
    curve.push_back({static_cast<double>(i), 7.0, 3.0});
  }
  m_view.SetCurves({curve, {{0, 0, 3}, {20, 14, 3}}});
  img = Render(0);
  EXPECT_TRUE(Around(img, Project(m_view, {0.5f, 0.8f, 0.5f}, true), 3, purple));
  EXPECT_TRUE(Around(img, Project(m_view, {0.25f, 0.8f, 0.5f}, true), 3, purple));
}

// A plot of hundreds of thousands of sub-pixel segments draws what the screen
// can show of it: the same picture as drawing every segment, from several
// angles (pixels differing by more than 2 in a channel: at most 0.1%).
TEST_F(SceneRender, ADenseLinePlotLooksTheSameAsDrawingEverySegment) {
  std::vector<PlotCurve> curves(10);
  for (std::size_t c = 0; c < curves.size(); ++c) {
    for (int i = 0; i < 20000; ++i) {
      curves[c].push_back({0.1 * static_cast<double>(c), 0.01 * i,
                           std::sin(0.003 * i + static_cast<double>(c)) + (i % 997 == 0 ? 0.8 : 0.0)});
    }
  }
  m_view.SetCurves(curves);
  const double turns[][3] = {{0, 0, 0}, {25, -10, 40}, {-40, 20, -120}};
  for (const auto& t : turns) {
    QImage pictures[2];
    for (bool reference : {false, true}) {
      m_view.SetMode(ViewMode::Plot);
      m_view.ResetCamera();
      ViewCamera camera = m_view.Camera();
      camera.m_dRotX += t[0];
      camera.m_dRotY += t[1];
      camera.m_dRotZ += t[2];
      m_view.SetCamera(camera);
      CDrawingComparison::SetReference(m_view, reference);
      pictures[reference] = m_view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    m_last = pictures[0];
    int differ = 0, drawn = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const QColor a = pictures[0].pixelColor(x, y), b = pictures[1].pixelColor(x, y);
        differ +=
            std::abs(a.red() - b.red()) > 2 || std::abs(a.green() - b.green()) > 2 || std::abs(a.blue() - b.blue()) > 2;
        drawn += b.red() > b.green() + 60 || b.blue() > b.green() + 60;  // curve colours, not the grey frame
      }
    }
    EXPECT_GT(drawn, 5000) << "the plot is on the picture";
    EXPECT_LE(differ, kWidth * kHeight / 1000) << t[0] << " " << t[1] << " " << t[2];
  }
  CDrawingComparison::SetReference(m_view, false);
}

// A part without a value for the shown quantity is drawn in the no-data grey,
// and a grey swatch under the colour bar says what grey means; once every
// shown thing has a value, the swatch goes.
TEST_F(SceneRender, WhatHasNoValueIsGreyAndTheLegendSaysSo) {
  WriteTrunkBox();
  ASSERT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("box.obj"))));
  EditColours(m_data).Clear();
  auto grey = [](QColor c) {
    return std::abs(c.red() - c.green()) < 8 && std::abs(c.green() - c.blue()) < 8 && c.red() > 40;
  };
  auto noData = [](QColor c) {
    const int g = static_cast<int>(kNoDataGrey[0] * 255);
    return std::abs(c.red() - g) <= 2 && std::abs(c.green() - g) <= 2 && std::abs(c.blue() - g) <= 2;
  };
  QImage img = Render(1);
  const QPoint swatch = Project(m_view, {-1.065f, 0.045f, 2.5f}, false);
  EXPECT_TRUE(grey(img.pixelColor(Project(m_view, {0, 0, 0.3f}, true)))) << "the trunk before any value";
  EXPECT_TRUE(noData(img.pixelColor(swatch))) << "the swatch";

  for (int p = 0; p < kBodyPartCount; ++p) {
    BodyPropertyRow r;
    r.m_nPart = p;
    r.m_fSkinTemp = 36;
    r.m_fCoreTemp = 37;
    EditRun(m_data).m_body.push_back(r);
  }
  EditRun(m_data).m_nSamples = 1;
  EditRun(m_data).m_fSampleInterval = 1;
  EditRun(m_data).m_fTempMin = 30;
  EditRun(m_data).m_fTempMax = 38;
  img = Render(1);
  EXPECT_FALSE(grey(img.pixelColor(Project(m_view, {0, 0, 0.3f}, true)))) << "the trunk with its temperature";
  EXPECT_FALSE(noData(img.pixelColor(swatch))) << "no swatch once everything has a value";
  // Under the sweating rate the garment's parts have no value.
  m_data.State().SelectLayer(1);
  WriteBox(QStringLiteral("cloth.obj"), "TRUNK", {-0.35f, -0.2f, -0.35f}, {0.35f, 0.2f, 0.35f});
  ASSERT_TRUE(LoadGarmentModel(&m_view, m_dir.filePath(QStringLiteral("cloth.obj"))));
  m_data.State().SetContent(ContentSweatRate);
  img = m_view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  m_last = img;
  EXPECT_TRUE(grey(img.pixelColor(Project(m_view, {0, 0, 0.35f}, true)))) << "the garment under sweat";
  EXPECT_TRUE(noData(img.pixelColor(swatch))) << "the swatch";
}

// Outlined, the legends' text never touches the room's colour, which stands
// behind it (the colour legend on the room's lines, the section legend on its
// square); and each glyph stays exactly where it was.
TEST_F(SceneRender, OutlinedLabelsStandApartFromTheRoomWithoutMoving) {
  WriteTrunkBox();
  ASSERT_TRUE(LoadBodyModel(&m_view, m_dir.filePath(QStringLiteral("box.obj"))));
  m_data.State().SetSectionPart(2);
  PaintRoomMagenta();
  auto red = [](QColor c) { return c.red() > 200 && c.green() < 50 && c.blue() < 50; };
  auto white = [](QColor c) { return c.red() > 220 && c.green() > 220 && c.blue() > 220; };
  const QImage plain = Render(1);
  // The colour bar is no text; below the section square's rings stands its
  // caption (the rings' labels are drawn alike, but white lines lead to them).
  const QRect bar = QRect(Project(m_view, {-1.09f, 0.71f, 2.5f}, false), Project(m_view, {-1.04f, 0.09f, 2.5f}, false));
  const QRect legend =
      QRect(Project(m_view, {-1.11f, 0.82f, 2.5f}, false), Project(m_view, {-0.85f, 0.05f, 2.5f}, false))
          .intersected(plain.rect());
  const QRect section =
      QRect(Project(m_view, {-1.15f, -0.5f, 2.5f}, false), Project(m_view, {-0.61f, -0.59f, 2.5f}, false))
          .intersected(plain.rect());
  struct Text {
    QRect area;
    std::function<bool(QColor)> is;
    const char* what;
  };
  const Text texts[] = {{legend, red, "the colour legend"}, {section, white, "the section legend's caption"}};
  // Text pixels with a room-coloured pixel beside them; the text pixels in all.
  auto touching = [&](const QImage& img, const Text& t, QImage* mask) {
    int n = 0;
    for (int y = t.area.top(); y <= t.area.bottom(); ++y) {
      for (int x = t.area.left(); x <= t.area.right(); ++x) {
        if (bar.contains(x, y) || !t.is(img.pixelColor(x, y))) {
          continue;
        }
        if (mask) {
          mask->setPixel(x, y, 1);
        }
        n += Around(img, QPoint(x, y), 1, IsMagenta);
      }
    }
    return n;
  };
  m_data.State().SetOutlinedLabels(true);
  PaintRoomMagenta();
  const QImage outlined = Render(1);
  for (const Text& t : texts) {
    SCOPED_TRACE(t.what);
    QImage before(plain.size(), QImage::Format_Mono), after(plain.size(), QImage::Format_Mono);
    before.fill(0);
    after.fill(0);
    EXPECT_GT(touching(plain, t, &before), 0) << "plain text stands on the room's colour somewhere";
    EXPECT_EQ(touching(outlined, t, &after), 0);
    EXPECT_EQ(before, after) << "the glyphs moved";
  }
}
