// The whole program on the sample run, as a user drives it: started through
// its start-up sequence with the model service on a free port, every view
// chosen from the menus, the player started and stopped, the slider moved,
// content, layer and cross-section changed, an option and a quantity chosen
// in the scientific view, a picture of each view checked, and closed by
// File > Quit. Timers are driven by calling their handlers. Afterwards no
// thread of ours is left; LeakSanitizer and QT_FATAL_WARNINGS watch the rest.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Controls3D.h"
#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "MyPanel.h"
#include "PictureProbe.h"
#include "RecentRuns.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "SimulationData.h"
#include "TestModelService.h"
#include "Visualize3DDlg.h"

namespace {
// The threads of this process that are ours: our workers' names begin with
// "corvane-" (Qt's and the GL driver's threads stay for the process's life).
QStringList OurThreads() {
  QStringList ours;
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& t : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile comm(tasks.filePath(t + QStringLiteral("/comm")));
    if (!comm.open(QIODevice::ReadOnly)) {
      continue;  // it ended meanwhile
    }
    const QString name = QString::fromUtf8(comm.readAll()).trimmed();
    if (name.startsWith(QLatin1String("corvane-"))) {
      ours << name;
    }
  }
  return ours;
}

QAction* MenuItem(CCorvaneDlg& main, const char* text) {
  QAction* item = MenuItem(*main.MenuBar(), QLatin1String(text));
  if (!item) {
    ADD_FAILURE() << "no menu item " << text;
  }
  return item;
}

QImage Picture(CCorvaneDlg& main) {
  QCoreApplication::processEvents();
  return main.ShownView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Drive(CCorvaneDlg& main, CSimulationData& data) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main, 60000));

  // The scientific view: the head's skin temperature, then a fabric layer's
  // quantity as a 3D plot.
  QImage science = Picture(main);
  EXPECT_GT(CountPixels(science, science.rect(), [](const QColor& c) { return c == QColor(210, 100, 100); }), 200);
  CScientificDlg& s = *main.Scientific();
  emit s.Panel(1)->optionSelect(EncodeOption(1, OptionKind::Fabric, 0));
  s.PropertyPanel()->Button(2)->click();
  s.Settle();
  EXPECT_TRUE(s.PlotViewMade()->isVisible());
  EXPECT_FALSE(s.PlotViewMade()->Curves().empty());
  const QImage plot = s.PlotViewMade()->grabFramebuffer();
  EXPECT_GT(CountPixels(plot, plot.rect(), [](const QColor& c) { return c != Qt::white; }), 2000);

  // The static view: the run's own models from the service.
  MenuItem(main, "Static 3D Visualization(&2) ")->trigger();
  CVisiualize3DDlg& d = *main.View3D();
  const Controls3D c(d);
  d.WaitForDownload();
  QCoreApplication::processEvents();
  EXPECT_TRUE(d.Downloaded());
  EXPECT_TRUE(d.ModelPath().endsWith(QStringLiteral("M-1001.obj"))) << d.ModelPath().toStdString();
  ASSERT_TRUE(d.View()->BodyModel());
  QImage picture = Picture(main);
  const QRect legend(d.View()->geometry().left(), 0, 120, picture.height() / 2);
  EXPECT_GT(CountPixels(picture, legend, ScaleRed), 20);

  // Start, three seconds of play, Stop; the slider follows the clock.
  c.startStop->click();
  EXPECT_TRUE(d.View()->TimersRunning());
  for (int i = 0; i < 3; ++i) {
    d.View()->OnTimer(1);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(c.time->value(), 3);
  c.startStop->click();
  d.View()->OnTimer(0);
  d.View()->OnTimer(1);
  EXPECT_FALSE(d.View()->TimersRunning());

  // A slider move, humidity, the first fabric layer, the trunk's cross-section.
  c.time->setValue(c.time->maximum() / 2);
  QCoreApplication::processEvents();
  EXPECT_GT(data.State().Step(), 0);
  c.content[1]->click();
  EXPECT_EQ(data.State().Content(), 1);
  c.layers->setCurrentRow(1);
  EXPECT_EQ(data.State().SelectedLayer(), 1);
  c.crossSection->click();
  c.sectionParts[1]->click();
  EXPECT_EQ(data.State().SectionPart(), 2);
  picture = Picture(main);
  EXPECT_GT(CountPixels(picture, legend, ScaleRed), 20);
  // The section's legend in the view's lower left: its card in the room's
  // (the environment's) colour.
  const QColor room =
      QColor::fromRgbF(data.Colours().m_envColour[0], data.Colours().m_envColour[1], data.Colours().m_envColour[2]);
  const QRect card(d.View()->geometry().left(), picture.height() / 2, 240, picture.height() / 2 - 60);
  EXPECT_GT(CountPixels(picture, card,
                        [&](const QColor& c) {
                          return std::abs(c.red() - room.red()) + std::abs(c.green() - room.green()) +
                                     std::abs(c.blue() - room.blue()) <
                                 12;
                        }),
            10000);

  MenuItem(main, "Dynamic 3D Visualization(&3)")->trigger();
  d.View()->JoinLoaders();
  QCoreApplication::processEvents();
  ASSERT_TRUE(d.View()->AnimationModel());
  picture = Picture(main);
  EXPECT_GT(CountPixels(picture, legend, ScaleRed), 20);

  MenuItem(main, "Space Suit")->trigger();
  ASSERT_TRUE(d.View()->SpaceSuitModel());
  ASSERT_TRUE(d.View()->MoonModel());
  picture = Picture(main);
  EXPECT_GT(CountPixels(picture, legend, ScaleRed), 20);

  MenuItem(main, "Scientific  Visualization(&1)")->trigger();
  EXPECT_EQ(main.ShownView(), main.Scientific());

  // A second run beside the first (the sample run again, from a copy), its
  // difference through the "A - B" box: a run less itself is 0 throughout.
  QTemporaryDir copy;
  const QString twin = copy.filePath(QStringLiteral("twin"));
  ASSERT_TRUE(QDir().mkpath(twin));
  for (const QFileInfo& f : QDir(data.Run().m_strDataDir).entryInfoList(QDir::Files)) {
    ASSERT_TRUE(QFile::copy(f.filePath(), twin + QLatin1Char('/') + f.fileName()));
  }
  ASSERT_TRUE(main.CompareWith(twin + QLatin1Char('/')));
  emit s.Panel(0)->optionSelect(EncodeOption(0, OptionKind::Body, 0));
  EXPECT_EQ(s.Chart()->Curves().size(), 2u);
  QCheckBox* difference = s.PropertyPanel()->Difference();
  ASSERT_TRUE(difference->isVisibleTo(&s));
  difference->click();
  ASSERT_EQ(s.Chart()->Curves().size(), 1u);
  EXPECT_TRUE(s.Chart()->Curves()[0].Look().m_strName.endsWith(QStringLiteral(" - twin")))
      << s.Chart()->Curves()[0].Look().m_strName.toStdString();
  for (const CChartDataSet& p : s.Chart()->Points()) {
    EXPECT_EQ(p.m_fY, 0.0f) << p.m_fX;
  }
  MenuItem(main, "Quit")->trigger();
}
}  // namespace

TEST(EndToEnd, TheSampleRunThroughEveryViewAndBack) {
  // The program's folder: its models and pictures, and a download folder of
  // this test's own.
  QTemporaryDir program, settings;
  const QDir shipped(qEnvironmentVariable("CORVANE_MODEL_DIR"));
  for (const QString& f : shipped.entryList(QDir::Files)) {
    ASSERT_TRUE(QFile::link(shipped.filePath(f), program.filePath(f)));
  }
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QCoreApplication::setOrganizationName(QStringLiteral("CorvaneTest"));

  CTestModelService service(shipped.filePath(QStringLiteral("models")));
  ASSERT_GT(service.Port(), 0);
  qputenv("CORVANE_MODEL_SERVICE", service.Url().toUtf8());

  bool driven = false;
  {
    CCorvaneApp app;
    app.SetModuleDir(program.path() + QLatin1Char('/'));
    // The user: a window driven through its menus, and no folder dialog.
    struct CDriver : IAppShell {
      explicit CDriver(bool& d) : driven(d) {}
      std::optional<QString> ChooseFolder(bool) override {
        ADD_FAILURE() << "the folder dialog came up for a good run";
        return std::nullopt;
      }
      void RunMainWindow(CCorvaneApp& a) override {
        CCorvaneDlg main(a);
        QTimer::singleShot(0, &main, [&] {
          Drive(main, *a.Data());
          driven = true;
          main.close();  // a failed step leaves the window too
        });
        main.exec();
      }
      bool& driven;
    } driver(driven);
    app.SetShell(&driver);
    EXPECT_EQ(app.InitInstance(qEnvironmentVariable("CORVANE_SAMPLE_RUN")), 0);
  }
  EXPECT_TRUE(driven);
  EXPECT_EQ(LoadRecentRuns().value(0),
            QDir(qEnvironmentVariable("CORVANE_SAMPLE_RUN")).canonicalPath() + QLatin1Char('/'))
      << "the run opened is the first of the recent runs";
  EXPECT_EQ(OurThreads(), QStringList()) << "a worker outlived the window";
  qunsetenv("CORVANE_MODEL_SERVICE");
}
