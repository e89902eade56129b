// The program as users meet it: the start-up loop, the load that stays live
// and can be cancelled, the main window's views, titles and File menu.

#include <gtest/gtest.h>
#include <pthread.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <future>

#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "DataDirectory.h"
#include "FigureSizeDlg.h"
#include "ModuleDir.h"
#include "PictureProbe.h"
#include "RecentRuns.h"
#include "RunFolder.h"
#include "ScientificDlg.h"
#include "SimulationData.h"
#include "Visualize3DDlg.h"

namespace {
QString SampleRun() { return qEnvironmentVariable("CORVANE_SAMPLE_RUN") + QLatin1Char('/'); }

// Settings of this test alone, gone when it ends; a folder dialog that
// answers from a script.
class AppTest : public ::testing::Test, public IAppShell {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_settings.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("CorvaneTest"));
    m_app.SetModuleDir(qEnvironmentVariable("CORVANE_MODEL_DIR") + QLatin1Char('/'));
    m_app.SetMessageSink(&m_messages);
  }
  // The folder dialog's answers, in turn: a folder, or nothing (Cancel).
  void Answers(std::vector<std::optional<QString>> answers) {
    m_answers = std::move(answers);
    m_app.SetShell(this);
  }
  std::optional<QString> ChooseFolder(bool asItWas) override {
    ++m_nDialogs;
    m_asItWas.push_back(asItWas);
    if (m_answers.empty()) {
      return std::nullopt;
    }
    // The answer's folder is copied out of its optional, not the optional
    // itself: GCC 12 takes a copied optional<QString> for uninitialised.
    const bool chosen = m_answers.front().has_value();
    const QString folder = m_answers.front().value_or(QString());
    m_answers.erase(m_answers.begin());
    if (!chosen) {
      return std::nullopt;
    }
    return folder;
  }
  void RunMainWindow(CCorvaneApp& app) override {
    CCorvaneDlg main(app);
    main.exec();
  }
  QAction* Action(CCorvaneDlg& main, const QString& text) {
    QAction* item = MenuItem(*main.MenuBar(), text);
    if (!item) {
      ADD_FAILURE() << "no menu item " << text.toStdString();
    }
    return item;
  }

  QTemporaryDir m_settings;
  CRecordingMessageSink m_messages;
  CCorvaneApp m_app;
  std::vector<std::optional<QString>> m_answers;
  int m_nDialogs = 0;
  std::vector<bool> m_asItWas;  // how each pass of the folder dialog was asked for
};
}  // namespace

TEST_F(AppTest, StartUpFindsARunFromTheArgumentOrAsksUntilOneLoadsOrTheUserCancels) {
  CRunFolder bad;  // a folder whose run does not load
  bad.Write(QStringLiteral("configure.dat"), "nonsense\n");
  const QString good = SampleRun();
  const QString goodNoSlash = good.chopped(1);
  struct Case {
    QString argument;
    std::vector<std::optional<QString>> answers;
    bool loaded;
    int dialogs;
    int messages;
  } cases[] = {
      {QStringLiteral("  ") + good + QStringLiteral(" "), {}, true, 0, 0},  // blanks trimmed
      {goodNoSlash, {}, true, 0, 0},                                        // the separator added
      {QString(), {good}, true, 1, 0},                                      // no argument: ask first
      {bad.Dir() + QStringLiteral("nowhere/"), {good}, true, 1, 0},         // not there: asked, no message
      {bad.Dir(), {QString(), good}, true, 2, 1},  // fails with a message; OK without a folder asks again
      {bad.Dir(), {std::nullopt}, false, 1, 1},    // Cancel ends it
  };
  for (const Case& c : cases) {
    m_messages.Clear();
    m_nDialogs = 0;
    m_app.Adopt(nullptr);
    Answers(c.answers);
    EXPECT_EQ(m_app.FindAndLoadRun(c.argument), c.loaded) << c.argument.toStdString();
    EXPECT_EQ(m_nDialogs, c.dialogs) << c.argument.toStdString();
    EXPECT_EQ(static_cast<int>(m_messages.Entries().size()), c.messages) << c.argument.toStdString();
    EXPECT_EQ(m_app.Data() != nullptr, c.loaded);
    if (c.loaded) {
      EXPECT_EQ(m_app.Data()->Run().m_strDataDir, good);
    }
  }
  // Each run that loaded is remembered, newest first, once.
  EXPECT_EQ(LoadRecentRuns(), QStringList{good});
}

TEST(RecentRuns, NewestFirstOnceAndAtMostEight) {
  QStringList runs;
  for (int i = 0; i < 10; ++i) {
    runs = WithRecentRun(runs, QStringLiteral("/runs/r%1").arg(i));
  }
  ASSERT_EQ(runs.size(), kMaxRecentRuns);
  EXPECT_EQ(runs.front(), QStringLiteral("/runs/r9/"));
  EXPECT_EQ(runs.back(), QStringLiteral("/runs/r2/"));
  runs = WithRecentRun(runs, QStringLiteral("/runs/./r5"));  // the same folder, spelt otherwise
  EXPECT_EQ(WithRecentRun({}, QStringLiteral("r&d")), QStringList{QDir::currentPath() + QStringLiteral("/r&d/")})
      << "kept as an absolute path";
  EXPECT_EQ(runs.front(), QStringLiteral("/runs/r5/"));
  EXPECT_EQ(runs.count(QStringLiteral("/runs/r5/")), 1);
  EXPECT_EQ(runs.size(), kMaxRecentRuns);
}

TEST(ModuleDir, BesideTheProgramElseInTheInstalledShareFolder) {
  QTemporaryDir root;
  const QDir r(root.path());
  ASSERT_TRUE(r.mkpath(QStringLiteral("build/bin")) && r.mkpath(QStringLiteral("usr/bin")) &&
              r.mkpath(QStringLiteral("usr/share/corvane")) && r.mkpath(QStringLiteral("bare/bin")));
  for (const char* f : {"build/bin/model.obj", "usr/share/corvane/model.obj"}) {
    QFile(r.filePath(QLatin1String(f))).open(QIODevice::WriteOnly);
  }
  const std::pair<const char*, const char*> cases[] = {
      {"build/bin", "build/bin/"}, {"usr/bin", "usr/share/corvane/"}, {"bare/bin", "bare/bin/"}};
  for (const auto& [program, found] : cases) {
    EXPECT_EQ(ModuleDirFor(r.filePath(QLatin1String(program))), r.filePath(QLatin1String(found))) << program;
  }
}

TEST(DroppedFolder, OnlyALocalFolderOpens) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("a.dat"));
  QFile(file).open(QIODevice::WriteOnly);
  EXPECT_EQ(DroppedFolder({QUrl(QStringLiteral("https://example.org/run/")), QUrl::fromLocalFile(file),
                           QUrl::fromLocalFile(dir.path())}),
            dir.path() + QLatin1Char('/'));
  EXPECT_TRUE(DroppedFolder({QUrl::fromLocalFile(file)}).isEmpty());
  EXPECT_TRUE(DroppedFolder({}).isEmpty());
}

namespace {
// Holds the first load back until its progress dialog is up, then presses
// its Cancel; later loads go through.
class CCancelFirstLoad : public IRunLoadWatcher {
 public:
  void BeforeReading() override {
    pthread_getname_np(pthread_self(), m_workerName, sizeof m_workerName);
    if (m_nHeld.fetch_sub(1) > 0) {
      m_released.wait();
    }
  }
  void ProgressShown(QProgressDialog& progress) override {
    if (m_bCancelled) {
      return;
    }
    m_bCancelled = true;
    EXPECT_TRUE(progress.isVisible());
    progress.findChild<QPushButton*>()->click();
    m_shown.set_value();
  }
  char m_workerName[16] = {};

 private:
  std::promise<void> m_shown;
  std::shared_future<void> m_released = m_shown.get_future().share();
  std::atomic<int> m_nHeld{1};
  bool m_bCancelled = false;
};
}  // namespace

TEST_F(AppTest, CancellingASlowLoadKeepsTheRunInUseAndSaysNothing) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr));
  CSimulationData* inUse = m_app.Data();
  CCancelFirstLoad watcher;
  m_app.Loader().SetProgressDelay(0);
  m_app.Loader().SetWatcher(&watcher);
  bool cancelled = false;
  CRunFolder other;
  other.Write(QStringLiteral("configure.dat"), "nonsense\n");  // would fail with a message if read through
  auto loaded = m_app.Loader().Load(other.Dir(), nullptr, &m_messages, &cancelled);
  m_app.Loader().SetWatcher(nullptr);
  EXPECT_STREQ(watcher.m_workerName, "corvane-load");  // told apart from Qt's and the driver's threads
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(loaded, nullptr);
  EXPECT_TRUE(m_messages.Entries().empty());
  EXPECT_EQ(m_app.Data(), inUse);
  EXPECT_FALSE(m_app.Loader().Loading());
}

TEST_F(AppTest, AFolderWhoseLoadIsCancelledBringsTheFolderDialogBackAsItWas) {
  CCancelFirstLoad watcher;
  m_app.Loader().SetProgressDelay(0);
  m_app.Loader().SetWatcher(&watcher);
  Answers({SampleRun(), SampleRun()});
  EXPECT_TRUE(m_app.FindAndLoadRun(QString()));
  m_app.Loader().SetWatcher(nullptr);
  EXPECT_EQ(m_asItWas, (std::vector<bool>{false, true}));
  EXPECT_TRUE(m_messages.Entries().empty());
}

TEST_F(AppTest, TheMainWindowSwitchesViewsWithoutStoppingThePlayerOrReloading) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr));
  CCorvaneDlg main(m_app);
  main.show();
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Corvane"));
  ASSERT_NE(main.Scientific(), nullptr);
  EXPECT_EQ(main.View3D(), nullptr);
  EXPECT_EQ(main.Scientific()->geometry(), main.Page()->rect());
  EXPECT_EQ(main.ShownView(), main.Scientific());

  const std::pair<const char*, const char*> commands[] = {
      {"Dynamic 3D Visualization(&3)", "Dynamic 3D Visualization  - Corvane"},
      {"Space Suit", "Moon Space Suit - Corvane"},
      {"Dynamic 3D Visualization(&3)", "Dynamic 3D Visualization  - Corvane"},
      {"Scientific  Visualization(&1)", "Scientific  Visualization - Corvane"},
      {"Space Suit", "Moon Space Suit - Corvane"},
  };
  const CGarment* suit = nullptr;
  for (const auto& [item, title] : commands) {
    Action(main, QLatin1String(item))->trigger();
    EXPECT_EQ(main.windowTitle(), QLatin1String(title));
    if (main.View3D() && main.View3D()->View()->SpaceSuitModel()) {
      if (!suit) {
        suit = main.View3D()->View()->SpaceSuitModel();
      }
      EXPECT_EQ(main.View3D()->View()->SpaceSuitModel(), suit) << "loaded once";
    }
  }
  ASSERT_NE(main.View3D(), nullptr);
  EXPECT_EQ(main.View3D()->geometry(), main.Page()->rect());
  EXPECT_EQ(main.View3D()->View()->Mode(), ViewMode::SpaceSuit);
  EXPECT_TRUE(main.View3D()->View()->AnimationLoadStarted());
  main.View3D()->View()->JoinLoaders();
  QCoreApplication::processEvents();
  const CAnimationModel* walking = main.View3D()->View()->AnimationModel();
  ASSERT_NE(walking, nullptr);
  Action(main, QStringLiteral("Dynamic 3D Visualization(&3)"))->trigger();
  EXPECT_EQ(main.View3D()->View()->AnimationModel(), walking) << "loaded once";

  // Playing, then off to the scientific view and back: the player runs on
  // and the clock keeps its place.
  main.View3D()->OnStartStop();
  main.View3D()->View()->OnTimer(1);
  const int step = m_app.Data()->State().Step(), accum = m_app.Data()->State().StepSeconds();
  Action(main, QStringLiteral("Scientific  Visualization(&1)"))->trigger();
  EXPECT_TRUE(main.View3D()->isHidden());
  EXPECT_TRUE(main.View3D()->View()->TimersRunning());
  Action(main, QStringLiteral("Dynamic 3D Visualization(&3)"))->trigger();
  EXPECT_EQ(m_app.Data()->State().Step(), step);
  EXPECT_EQ(m_app.Data()->State().StepSeconds(), accum);
  EXPECT_TRUE(m_app.Data()->State().Playing());
  main.View3D()->OnStartStop();

  // Keys act on the view on show alone, and the focus goes with the view.
  QApplication::setActiveWindow(&main);
  auto space = [](QWidget* to) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(to, &press);
  };
  Action(main, QStringLiteral("Scientific  Visualization(&1)"))->trigger();
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_TRUE(main.Scientific()->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == main.Scientific());
  space(QApplication::focusWidget());
  space(main.View3D());
  EXPECT_FALSE(m_app.Data()->State().Playing()) << "the hidden player does not start";
  Action(main, QStringLiteral("Dynamic 3D Visualization(&3)"))->trigger();
  EXPECT_TRUE(main.View3D()->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == main.View3D());
  space(QApplication::focusWidget());
  EXPECT_TRUE(m_app.Data()->State().Playing()) << "the shown one does";
  main.View3D()->OnStartStop();

  // Save Image takes the view on show as the page shows it.
  QTemporaryDir pictures;
  const QString shot = pictures.filePath(QStringLiteral("view.png"));
  ASSERT_TRUE(main.SaveImage(shot));
  EXPECT_EQ(QImage(shot).size(), main.View3D()->View()->size() * main.View3D()->View()->devicePixelRatio());
  Action(main, QStringLiteral("Scientific  Visualization(&1)"))->trigger();
  ASSERT_TRUE(main.SaveImage(shot));
  EXPECT_EQ(QImage(shot).size(), main.Page()->size() * main.devicePixelRatio());
  EXPECT_FALSE(main.SaveImage(pictures.filePath(QStringLiteral("no/such/folder/view.png"))));
  Action(main, QStringLiteral("Dynamic 3D Visualization(&3)"))->trigger();

  // About: the name and version, then closed by its OK.
  QString aboutText;
  QTimer::singleShot(0, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      for (const QLabel* l : box->findChildren<QLabel*>()) {
        aboutText += l->text() + QLatin1Char('\n');
      }
      box->findChild<QPushButton*>()->click();
    }
  });
  Action(main, QStringLiteral("&About Corvane..."))->trigger();
  EXPECT_TRUE(aboutText.contains(QStringLiteral("Corvane, Version 1.0"))) << aboutText.toStdString();

  // Enter and Escape reach the window and close nothing.
  for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &press);
    EXPECT_TRUE(main.isVisible()) << key;
  }
}

TEST_F(AppTest, OpeningAnotherRunRebuildsTheViewsAndAFailedOneKeepsThem) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr));
  CCorvaneDlg main(m_app);
  main.OnViewDynamic3D();
  CSimulationData* first = m_app.Data();

  CRunFolder bad;
  bad.Write(QStringLiteral("configure.dat"), "nonsense\n");
  EXPECT_FALSE(main.OpenRun(bad.Dir()));
  EXPECT_EQ(m_app.Data(), first);
  ASSERT_NE(main.View3D(), nullptr);
  EXPECT_FALSE(main.View3D()->isHidden());
  EXPECT_EQ(m_messages.Entries().size(), 1u);

  // A folder dropped on the window opens as a run.
  CRunFolder other;
  other.WriteMinimal(3);
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(other.Dir())});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(m_app.Data(), first) << "the run loads once the drop has ended";
  QCoreApplication::processEvents();
  EXPECT_NE(m_app.Data(), first);
  EXPECT_EQ(m_app.Data()->Run().m_nSamples, 3);
  EXPECT_EQ(main.View3D(), nullptr) << "the old run's 3D dialog went with its workers";
  EXPECT_EQ(main.ShownView(), main.Scientific());
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Corvane"));
  QCoreApplication::processEvents();  // the recent-runs menu is rebuilt after the command
  EXPECT_EQ(main.RecentRuns(), (QStringList{other.Dir(), SampleRun()}));
}

// File > Open Run, Cancel in the real folder dialog, then Quit: the dialog
// goes with the main window that owns it, once (AddressSanitizer watches).
TEST_F(AppTest, OpenRunCancelledThenQuitEndsCleanly) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr, {}, nullptr, /*remember=*/false));
  {
    CCorvaneDlg main(m_app);
    main.show();
    QApplication::setActiveWindow(&main);
    bool overMain = false;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      overMain = dlg && dlg->parentWidget() == &main;
      if (dlg) {
        dlg->reject();
      }
    });
    Action(main, QStringLiteral("Open Run..."))->trigger();
    EXPECT_TRUE(overMain) << "the folder dialog stands over the main window, which owns it";
    Action(main, QStringLiteral("Quit"))->trigger();
    EXPECT_FALSE(main.isVisible());
  }
  EXPECT_EQ(m_app.Data()->Run().m_strDataDir, SampleRun()) << "the run in use stays";
}

// The first GL view joins the window as it is: the system window is not made
// anew (no black flash, no jump).
TEST_F(AppTest, TheFirstGlViewDoesNotRemakeTheWindow) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr, {}, nullptr, /*remember=*/false));
  CCorvaneDlg main(m_app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main, 60000));
  const WId window = main.winId();
  const QPoint at = main.pos();
  main.Scientific()->OnOptionSelect(2300);  // the line plot
  QCoreApplication::processEvents();
  EXPECT_EQ(main.winId(), window);
  Action(main, QStringLiteral("Space Suit"))->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(main.winId(), window);
  EXPECT_EQ(main.pos(), at);
}

// File > Compare With Run: the second run loads beside the first, its curves
// dashed in the first's colours and named by run, the title says so; Close
// Comparison takes it all back. A folder that does not load changes nothing.
TEST_F(AppTest, ASecondRunShowsBesideTheFirstUntilTheComparisonCloses) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr, {}, nullptr, /*remember=*/false));
  CCorvaneDlg main(m_app);
  main.OnViewScientific();
  main.Scientific()->OnOptionSelect(2100);
  ASSERT_EQ(main.Scientific()->Chart()->Curves().size(), 1u);
  QAction* close = MenuItem(*main.MenuBar(), QStringLiteral("Close Comparison"));
  ASSERT_NE(close, nullptr);
  ASSERT_NE(MenuItem(*main.MenuBar(), QStringLiteral("Compare With Run...")), nullptr);
  EXPECT_FALSE(close->isEnabled());

  CRunFolder bad;
  bad.Write(QStringLiteral("configure.dat"), "nonsense\n");
  EXPECT_FALSE(main.CompareWith(bad.Dir()));
  EXPECT_TRUE(m_app.Compared().empty());

  CRunFolder other;
  other.WriteMinimal(3);
  ASSERT_TRUE(main.CompareWith(other.Dir()));
  const QString name = QDir(other.Dir()).dirName();
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Scientific  Visualization - Corvane - Compared with: %1").arg(name));
  const std::vector<CChartSeries>& curves = main.Scientific()->Chart()->Curves();
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].Look().m_nStyle, 0) << "solid";
  EXPECT_EQ(curves[1].Look().m_nStyle, 1) << "dashed";
  EXPECT_EQ(curves[1].Look().m_nColour, 0) << "the first run's curve's colour";
  EXPECT_EQ(curves[0].Look().m_strName, QStringLiteral("Trunk: Temperature of Skin(Degree), sample-run"));
  EXPECT_EQ(curves[1].Look().m_strName, QStringLiteral("Trunk: Temperature of Skin(Degree), %1").arg(name));
  EXPECT_EQ(curves[1].Points().size(), 3u);
  EXPECT_TRUE(close->isEnabled());

  // A new view of the first run shows the comparison too.
  main.OnViewStatic3D();
  EXPECT_TRUE(main.windowTitle().endsWith(QStringLiteral(" - Compared with: %1").arg(name)));
  main.OnViewScientific();
  close->trigger();
  EXPECT_TRUE(m_app.Compared().empty());
  EXPECT_EQ(main.windowTitle(), QStringLiteral("Scientific  Visualization - Corvane"));
  EXPECT_EQ(main.Scientific()->Chart()->Curves().size(), 1u);
  EXPECT_FALSE(close->isEnabled());
}

// Compare With Run again: up to seven runs beside the first, each past the
// second in a colour and a line style of its own; a chart of more than two
// runs holds one quantity of one part, and what does not fit is refused in
// the status line's words.
TEST_F(AppTest, UpToEightRunsShareTheChartEachInItsOwnColourAndStyle) {
  ASSERT_TRUE(m_app.OpenRun(SampleRun(), nullptr, {}, nullptr, /*remember=*/false));
  CCorvaneDlg main(m_app);
  main.OnViewScientific();
  CScientificDlg& view = *main.Scientific();
  view.OnOptionSelect(2100);
  QAction* compare = MenuItem(*main.MenuBar(), QStringLiteral("Compare With Run..."));
  ASSERT_NE(compare, nullptr);
  CRunFolder wool, cotton;
  wool.WriteMinimal(3);
  cotton.WriteMinimal(4);
  const QString woolName = QDir(wool.Dir()).dirName(), cottonName = QDir(cotton.Dir()).dirName();
  ASSERT_TRUE(main.CompareWith(wool.Dir()));
  view.OnPropertyAdd(1);  // two runs take two quantities
  ASSERT_EQ(view.Chart()->Curves().size(), 4u);
  EXPECT_FALSE(main.CompareWith(cotton.Dir()));
  EXPECT_EQ(
      view.PropertyPanel()->Status(),
      QStringLiteral("%1 not compared: a chart of more than two runs holds one quantity of one part.").arg(cottonName));
  EXPECT_EQ(m_app.Compared().size(), 1u) << "the refused run is not kept";

  view.OnPropertySelect(0);
  ASSERT_TRUE(main.CompareWith(cotton.Dir()));
  EXPECT_EQ(main.windowTitle(),
            QStringLiteral("Scientific  Visualization - Corvane - Compared with: %1 and %2").arg(woolName, cottonName));
  const std::vector<CChartSeries>& curves = view.Chart()->Curves();
  ASSERT_EQ(curves.size(), 3u);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(curves[static_cast<std::size_t>(r)].Look().m_nColour, r);
    EXPECT_EQ(curves[static_cast<std::size_t>(r)].Look().m_nStyle, r);
  }
  EXPECT_EQ(curves[2].Look().m_strName, QStringLiteral("Trunk: Temperature of Skin(Degree), %1").arg(cottonName));
  EXPECT_EQ(curves[2].Points().size(), 4u);
  view.OnPropertyAdd(1);
  EXPECT_EQ(view.PropertyPanel()->Status(), QStringLiteral("Temperature of Core(Degree) not shown: a chart of more "
                                                           "than two runs holds one quantity of one part."));
  view.OnAllParts(true);
  EXPECT_EQ(view.PropertyPanel()->Status(),
            QStringLiteral("All parts not shown: a chart of more than two runs holds one quantity of one part."));
  EXPECT_EQ(curves.size(), 3u);

  // Seven beside the first; the eighth is refused and the menu says so.
  while (m_app.Compared().size() < 7) {
    EXPECT_TRUE(compare->isEnabled());
    ASSERT_TRUE(main.CompareWith(wool.Dir()));
  }
  EXPECT_FALSE(compare->isEnabled());
  EXPECT_EQ(view.Chart()->Curves().size(), 8u);
  EXPECT_FALSE(main.CompareWith(cotton.Dir()));
  EXPECT_EQ(view.PropertyPanel()->Status(),
            QStringLiteral("%1 not compared: a chart compares at most 8 runs.").arg(cottonName));
  MenuItem(*main.MenuBar(), QStringLiteral("Close Comparison"))->trigger();
  EXPECT_EQ(view.PropertyPanel()->Status(), QString()) << "the refusal no longer holds";
  EXPECT_TRUE(m_app.Compared().empty());
  EXPECT_TRUE(compare->isEnabled());
  EXPECT_EQ(view.Chart()->Curves().size(), 1u);
}

// Export Figure's size: pixels or a journal's millimetres, as the command
// line takes them, the last choice kept for the next figure.
TEST_F(AppTest, TheFigureSizeIsAskedAsTheCommandLineTakesItAndKept) {
  const struct {
    FigureSizeChoice choice;
    QSize pixels;  // empty: refused
    bool journal = false;
  } cases[] = {
      {{false, {640, 400}, 85, 300}, {640, 400}, false},
      {{true, {640, 400}, 85, 300}, {1004, 628}, true},
      {{true, {640, 400}, 170, 600}, {4016, 2510}, true},
      {{true, {640, 400}, 9, 300}, {}, false},
      {{false, {8, 400}, 85, 300}, {}, false},
  };
  for (const auto& c : cases) {
    const std::optional<FigureSize> size = FigureSizeOf(c.choice);
    ASSERT_EQ(size.has_value(), !c.pixels.isEmpty()) << c.choice.widthMm;
    if (size) {
      EXPECT_EQ(size->pixels, c.pixels);
      EXPECT_EQ(size->journal, c.journal);
      EXPECT_EQ(size->dpi, c.journal ? c.choice.dpi : 96);
    }
  }
  // Nothing chosen yet: the chart's own size on the screen.
  EXPECT_EQ(LoadFigureSizeChoice(QSize(700, 450)).pixels, QSize(700, 450));
  EXPECT_FALSE(LoadFigureSizeChoice(QSize(700, 450)).millimetres);
  CFigureSizeDlg ask(LoadFigureSizeChoice(QSize(700, 450)));
  ask.UsePreset(170);
  const FigureSizeChoice chosen = ask.Choice();
  EXPECT_TRUE(chosen.millimetres);
  EXPECT_EQ(chosen.widthMm, 170);
  EXPECT_EQ(chosen.dpi, 300);
  SaveFigureSizeChoice(chosen);
  const FigureSizeChoice kept = LoadFigureSizeChoice(QSize(700, 450));
  EXPECT_TRUE(kept.millimetres);
  EXPECT_EQ(kept.widthMm, 170);
  CFigureSizeDlg again(kept);
  again.UsePixels(QSize(900, 560));
  EXPECT_FALSE(again.Choice().millimetres);
  EXPECT_EQ(again.Choice().pixels, QSize(900, 560));
}
