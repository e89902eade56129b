// The 3D view dialog: the player's time arithmetic, the slider, the keys and
// the controls that steer the view.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMatrix4x4>
#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Controls3D.h"
#include "PlayerTime.h"
#include "Probe.h"
#include "SceneLoader.h"
#include "SimulationData.h"
#include "StoreEditor.h"
#include "TestModelService.h"
#include "Visualize3DDlg.h"

TEST(PlayerTime, SecondsOfSimulatedTime) {
  EXPECT_EQ(SliderMaximum(10, 0.5f), 300);
  EXPECT_EQ(TimeLabel(TotalSeconds(10, 0.5f), PositionSeconds(0, 0.5f, 0)), QStringLiteral("05:00 / 00:00"));
  EXPECT_EQ(SliderMaximum(10, 0.3333f), 199);
  EXPECT_EQ(TotalSeconds(10, 0.3333f), 200);
  EXPECT_EQ(SliderMaximum(1, 1.0f), 60);
  EXPECT_EQ(SliderMaximum(1000, 0.3334f), 20000) << "never past the end";
  EXPECT_EQ(SliderMaximum(10, 0.025f), 19) << "1.5 s a step counts as 2: the last step within reach";
  EXPECT_EQ(SliderMaximum(10, 0.7f), 419);
  const std::pair<int, int> positions[] = {{0, 0}, {29, 0}, {30, 1}, {299, 9}, {300, 10}};
  for (const auto& [p, step] : positions) {
    EXPECT_EQ(ClockAtPosition(p, 0.5f).step, step) << p;
  }
  EXPECT_EQ(ClockAtPosition(97, 0.5f).seconds, 7);
  EXPECT_EQ(PositionSeconds(3, 0.5f, 7), 97);
  // Seconds per step: round(dt × 60), at least 1, whatever the float holds.
  const std::pair<float, int> steps[] = {{0.05f, 3}, {0.1f, 6},  {0.2f, 12},  {1.0f / 60, 1}, {0.3333f, 20},
                                         {0.5f, 30}, {1.0f, 60}, {2.5f, 150}, {0.001f, 1},    {0.0f, 1}};
  for (const auto& [dt, seconds] : steps) {
    EXPECT_EQ(StepSeconds(dt), seconds) << dt;
  }
}

namespace {
// A store of `samples` steps of `dt` minutes, with a trunk of `layers` layers.
void Fill(CSimulationData& d, int samples, float dt, int layers) {
  for (int s = 0; s < samples; ++s) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = static_cast<float>(s) * dt;
      r.m_nPart = p;
      r.m_fSkinTemp = 30.0f + static_cast<float>(s);
      EditRun(d).m_body.push_back(r);
    }
  }
  EditRun(d).m_nSamples = samples;
  EditRun(d).m_fSampleInterval = dt;
  EditRun(d).m_nLayers[Trunk] = layers;
  EditRun(d).m_fTempMin = 30;
  EditRun(d).m_fTempMax = 40;
}
}  // namespace

TEST(PlayerTime, SpeedsStepThroughTheListAndHoldAtItsEnds) {
  const struct {
    int speed, steps, want;
  } cases[] = {{1, 1, 10},  {10, 1, 60},  {60, 1, 600}, {600, 1, 600}, {600, -1, 60}, {1, -1, 1},
               {1, 3, 600}, {600, -3, 1}, {30, 1, 60},  {30, -1, 1},   {0, 1, 10},    {5000, 0, 600}};
  for (const auto& c : cases) {
    EXPECT_EQ(StepSpeed(c.speed, c.steps), c.want) << c.speed << " " << c.steps;
  }
  EXPECT_EQ(SpeedLabel(600), QStringLiteral("600x"));
}

// + and - and the box set the speed; the player's one-second tick then
// moves that many simulated seconds: a 480-minute run plays in 48 ticks at
// 600x.
TEST(Visualize3D, TheSpeedControlSetsSimulatedSecondsATick) {
  CSimulationData d;
  Fill(d, 480, 1.0f, 1);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.show();
  auto key = [&](int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &e);
  };
  QStringList items;
  for (int i = 0; i < c.speed->count(); ++i) {
    items << c.speed->itemText(i);
  }
  EXPECT_EQ(items, (QStringList{"1x", "10x", "60x", "600x"}));
  EXPECT_EQ(c.speed->currentText(), QStringLiteral("1x"));
  key(Qt::Key_Plus);
  EXPECT_EQ(d.State().Speed(), 10);
  EXPECT_EQ(c.speed->currentText(), QStringLiteral("10x"));
  key(Qt::Key_Minus);
  key(Qt::Key_Minus);
  EXPECT_EQ(d.State().Speed(), 1) << "held at the slowest";
  c.speed->setCurrentIndex(3);
  emit c.speed->activated(3);
  EXPECT_EQ(d.State().Speed(), 600);
  dlg.OnStartStop();
  int ticks = 0;
  while (d.State().Playing() && ticks < 1000) {
    dlg.View()->OnTimer(1);
    ++ticks;
  }
  EXPECT_EQ(ticks, 48);
  EXPECT_EQ(d.State().Step(), 480);
  EXPECT_EQ(c.timeLabel->text(), QStringLiteral("480:00 / 480:00"));
}

TEST(Visualize3D, TheSliderAndTheKeysMoveTheClock) {
  CSimulationData d;
  Fill(d, 10, 0.5f, 3);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.show();  // keys reach a view on show
  EXPECT_EQ(c.time->maximum(), 300);
  EXPECT_EQ(c.timeLabel->text(), QStringLiteral("05:00 / 00:00"));
  QStringList layers;
  for (int i = 0; i < c.layers->count(); ++i) {
    layers << c.layers->item(i)->text();
  }
  EXPECT_EQ(layers, (QStringList{"Human Body", "Layer 1", "Layer 2", "Layer 3"}));

  d.State().SeekStep(0, 7);
  for (int p : {100, 101, 150}) {
    c.time->setValue(p);  // a fast drag: applied once
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(d.State().Step(), 5);
  EXPECT_EQ(d.State().StepSeconds(), 0) << "the clock stands at the second dragged to";
  EXPECT_EQ(c.timeLabel->text(), QStringLiteral("05:00 / 02:30"));

  auto key = [&](int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &e);
    QCoreApplication::processEvents();
  };
  key(Qt::Key_Right);
  EXPECT_EQ(d.State().Step(), 6);
  QKeyEvent ctrlHome(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
  QCoreApplication::sendEvent(&dlg, &ctrlHome);
  EXPECT_EQ(d.State().Step(), 0) << "Ctrl+Home: the run's start";
  key(Qt::Key_End);
  EXPECT_EQ(d.State().Step(), 10);
  key(Qt::Key_Space);
  EXPECT_TRUE(d.State().Playing());
  EXPECT_EQ(c.startStop->text(), QStringLiteral("Stop"));
  key(Qt::Key_Space);
  EXPECT_FALSE(d.State().Playing());
  EXPECT_EQ(c.startStop->text(), QStringLiteral("Start"));
  // Space is the player's even where a check box holds the focus.
  const bool crossSection = c.crossSection->isChecked();
  for (QAbstractButton* focused :
       {static_cast<QAbstractButton*>(c.crossSection), static_cast<QAbstractButton*>(c.content[1])}) {
    const bool playing = d.State().Playing();
    const bool checked = focused->isChecked();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(focused, &press);
    QCoreApplication::sendEvent(focused, &release);
    EXPECT_NE(d.State().Playing(), playing) << focused->text().toStdString();
    EXPECT_EQ(focused->isChecked(), checked) << focused->text().toStdString();
  }
  EXPECT_EQ(c.crossSection->isChecked(), crossSection);
  key(Qt::Key_Escape);
  key(Qt::Key_Return);  // a view never closes by these

  // The camera's keys: F, B, L, R turn the body round, Home puts it back
  // as it was, the clock staying where it is.
  const std::pair<int, double> facings[] = {{Qt::Key_B, 180}, {Qt::Key_L, -90}, {Qt::Key_R, 90}, {Qt::Key_F, 0}};
  for (const auto& [k, turn] : facings) {
    ViewCamera tilted = dlg.View()->Camera();
    tilted.m_dRotX = 33;
    dlg.View()->SetCamera(tilted);
    key(k);
    EXPECT_EQ(dlg.View()->Camera().m_dRotY, turn) << k;
    EXPECT_EQ(dlg.View()->Camera().m_dRotX, 0.0) << k;
  }
  d.State().SeekStep(4);
  ViewCamera turned = dlg.View()->Camera();
  turned.m_dRotY = 45;
  turned.m_fZoom = 3;
  dlg.View()->SetCamera(turned);
  key(Qt::Key_Home);
  EXPECT_EQ(dlg.View()->Camera().m_dRotY, 0.0);
  EXPECT_EQ(dlg.View()->Camera().m_fZoom, 1.2f);
  EXPECT_EQ(d.State().Step(), 4);
}

// At every interval a user meets, the player passes through every step to
// the end, the arrow keys move exactly one step, and the label reads the
// drawn step's time.
TEST(Visualize3D, ThePlayerReachesEveryStepAtEveryInterval) {
  for (const float dt : {0.05f, 0.1f, 0.2f, 1.0f / 60, 0.3333f, 0.5f, 1.0f, 2.5f, 0.025f, 0.7f}) {
    SCOPED_TRACE(testing::Message() << "dt " << dt);
    const int n = 9, perStep = StepSeconds(dt);
    CSimulationData d;
    Fill(d, n, dt, 1);
    CVisiualize3DDlg dlg(&d, QString());
    const Controls3D c(dlg);
    const QString total = TimeLabel(n * perStep, 0).left(5);
    auto labelAt = [&](int seconds) { return TimeLabel(n * perStep, seconds); };
    auto drawnSkin = [&] { return d.Colours().m_skinColours[Head][0] + 2 * d.Colours().m_skinColours[Head][1]; };
    auto skinOfStep = [&](int s) {
      float rgb[3];
      d.Colours().ValueToColour(30.0f + static_cast<float>(s), rgb);
      return rgb[0] + 2 * rgb[1];
    };
    dlg.OnStartStop();
    std::vector<int> seen{0};
    for (int tick = 0; tick < n * perStep + 2 && d.State().Playing(); ++tick) {
      dlg.View()->OnTimer(1);
      QCoreApplication::processEvents();
      if (seen.empty() || seen.back() != d.State().Step()) {
        seen.push_back(d.State().Step());
      }
      ASSERT_EQ(c.timeLabel->text(), labelAt(d.State().Step() * perStep + d.State().StepSeconds()));
      ASSERT_FLOAT_EQ(drawnSkin(), skinOfStep(std::min(d.State().Step(), n - 1)));
    }
    std::vector<int> all;
    for (int s = 0; s <= n; ++s) {
      all.push_back(s);
    }
    EXPECT_EQ(seen, all);
    EXPECT_FALSE(d.State().Playing());
    EXPECT_EQ(c.timeLabel->text().left(5), total);

    auto key = [&](int k) {
      QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
      QCoreApplication::sendEvent(&dlg, &e);
      QCoreApplication::processEvents();
    };
    dlg.show();          // keys reach a view on show
    dlg.View()->hide();  // the clock and colours are under test here, not the drawing
    for (int s = n - 1; s >= 0; --s) {
      key(Qt::Key_Left);
      ASSERT_EQ(d.State().Step(), s);
      EXPECT_EQ(c.timeLabel->text(), labelAt(s * perStep));
      EXPECT_EQ(c.time->value(), s * perStep);
      EXPECT_FLOAT_EQ(drawnSkin(), skinOfStep(s));
    }
    for (int s = 1; s <= 3; ++s) {
      key(Qt::Key_Right);
      ASSERT_EQ(d.State().Step(), s);
    }
    // The slider's end reaches the last step; a drag lands on the step and
    // second it points at.
    c.time->setValue(c.time->maximum());
    QCoreApplication::processEvents();
    EXPECT_GE(d.State().Step(), n - 1);
    EXPECT_EQ(c.time->focusPolicy(), Qt::NoFocus) << "arrows are the dialog's: a step each";
    c.time->setValue(5 * perStep + perStep - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(d.State().Step(), 5);
    EXPECT_EQ(d.State().StepSeconds(), perStep - 1);
    EXPECT_EQ(c.timeLabel->text(), labelAt(6 * perStep - 1));
    EXPECT_FLOAT_EQ(drawnSkin(), skinOfStep(5));
  }
}

TEST(Visualize3D, ControlsSteerTheStoreAndTheView) {
  CSimulationData d;
  Fill(d, 4, 1.0f, 2);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  c.content[1]->click();
  EXPECT_EQ(d.State().Content(), 1);
  c.layers->setCurrentRow(2);
  EXPECT_EQ(d.State().SelectedLayer(), 2);
  c.layers->setCurrentRow(0);  // "Human Body": the body alone
  EXPECT_EQ(d.State().SelectedLayer(), 0);
  c.displayMode[1]->click();
  EXPECT_TRUE(d.State().WireMode());
  dlg.show();
  c.crossSection->setChecked(true);
  EXPECT_EQ(d.State().SectionPart(), 1);
  EXPECT_TRUE(c.sectionParts[3]->isVisible());
  c.sectionParts[3]->click();
  EXPECT_EQ(d.State().SectionPart(), 4);
  c.crossSection->setChecked(false);
  EXPECT_EQ(d.State().SectionPart(), 0);
  EXPECT_FALSE(c.sectionParts[3]->isVisible());
  c.crossSection->setChecked(true);
  EXPECT_EQ(d.State().SectionPart(), 4) << "the part last chosen comes back";
  // The clock reaches the time display through the view state's signal.
  d.State().SeekStep(3);
  EXPECT_EQ(c.time->value(), 180);
  EXPECT_EQ(c.timeLabel->text(), QStringLiteral("04:00 / 03:00"));
}

// The controls show the view state whoever changed it (a command, another
// view), and showing it is no new choice.
TEST(Visualize3D, TheControlsFollowTheViewState) {
  CSimulationData d;
  Fill(d, 4, 1.0f, 2);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.show();
  QSignalSpy changes(&d.State(), &CViewState::changed);
  CViewState& state = d.State();
  state.SetContent(ContentSweatRate);
  state.SelectLayer(2);
  state.SetWireMode(true);
  state.SetSectionPart(5);
  state.SetPlaying(true);
  state.SetOutlinedLabels(true);
  EXPECT_EQ(changes.count(), 6) << "each change told once, none echoed by the controls";
  EXPECT_TRUE(c.outlinedLabels->isChecked());
  EXPECT_TRUE(c.content[2]->isChecked());
  EXPECT_EQ(c.layers->currentRow(), 2);
  EXPECT_TRUE(c.displayMode[1]->isChecked());
  EXPECT_TRUE(c.crossSection->isChecked());
  EXPECT_TRUE(c.sectionParts[4]->isChecked());
  EXPECT_TRUE(c.sectionParts[4]->isVisible());
  EXPECT_EQ(c.startStop->text(), QStringLiteral("Stop"));
  state.SetSectionPart(0);
  state.SetPlaying(false);
  EXPECT_FALSE(c.crossSection->isChecked());
  EXPECT_FALSE(c.sectionParts[4]->isVisible());
  EXPECT_EQ(c.startStop->text(), QStringLiteral("Start"));
  c.outlinedLabels->click();
  EXPECT_FALSE(state.OutlinedLabels()) << "the check box sets the state";
  EXPECT_EQ(c.outlinedLabels->text(), QStringLiteral("Outlined labels"));
  state.Restart();
  c.outlinedLabels->click();
  state.Restart();
  EXPECT_TRUE(state.OutlinedLabels()) << "a taste, not the run's: a restart keeps it";
}

// The static view's models arrive from the service on a worker, one download
// at a time, and are installed into the view whole.
TEST(Visualize3D, TheRunsModelsArriveFromTheService) {
  QTemporaryDir catalogue, program;
  const QByteArray obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\ng TRUNK\nf 1 2 3\n" + QByteArray(1200, '#');
  for (const char* id : {"M-1", "G-1"}) {
    QFile f(catalogue.filePath(QLatin1String(id) + QStringLiteral(".obj")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(obj);
  }
  CTestModelService service(catalogue.path());
  ASSERT_GT(service.Port(), 0);

  CSimulationData d;
  Fill(d, 4, 1.0f, 1);
  EditRun(d).m_strModelId = QStringLiteral("M-1");
  EditRun(d).m_garmentIds = {QStringLiteral("G-1")};
  CRecordingMessageSink messages;
  CVisiualize3DDlg dlg(&d, program.path() + QLatin1Char('/'));
  dlg.View()->SetMessageSink(&messages);
  DownloadSettings s;
  s.serviceUrl = service.Url();
  s.moduleDir = program.path() + QLatin1Char('/');
  s.downloadFolder = DownloadFolderFor(s.moduleDir);
  ASSERT_TRUE(dlg.StartDownload(s));
  EXPECT_FALSE(dlg.StartDownload(s)) << "one download at a time";
  dlg.WaitForDownload();
  QCoreApplication::processEvents();
  EXPECT_TRUE(dlg.Downloaded());
  EXPECT_EQ(dlg.ModelPath(), s.downloadFolder + QStringLiteral("M-1.obj"));
  ASSERT_TRUE(dlg.View()->BodyModel());
  EXPECT_EQ(dlg.View()->BodyModel()->Model()->triangleCount, 1u);
  ASSERT_TRUE(dlg.View()->GarmentModel());
  EXPECT_TRUE(messages.Entries().empty());
  // A second start fetches again but loads nothing new.
  const CModelOBJ* body = dlg.View()->BodyModel();
  service.Log();
  ASSERT_TRUE(dlg.StartDownload(s));
  dlg.WaitForDownload();
  EXPECT_TRUE(service.Log(1000).contains("ModelId=M-1 200"));
  EXPECT_EQ(dlg.View()->BodyModel(), body);
  // The view's picture as a file, as a user saves it.
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg, 60000));
  const QString picture = program.filePath(QStringLiteral("view.png"));
  ASSERT_TRUE(dlg.SaveImage(picture));
  EXPECT_EQ(QImage(picture).size(), dlg.View()->size() * dlg.View()->devicePixelRatio());
}

namespace {
// A box 0.6 x 0.8 x 0.6 in scene units around (0, 1.2, 0), all of it trunk.
bool WriteTrunkBox(const QTemporaryDir& dir) {
  std::string obj;
  for (int i = 0; i < 8; ++i) {
    const float x = (i & 1) ? 0.3f : -0.3f, y = 1.2f + ((i & 2) ? 0.4f : -0.4f), z = (i & 4) ? 0.3f : -0.3f;
    obj += "v " + std::to_string(x / kModelScale) + " " + std::to_string(y / kModelScale) + " " +
           std::to_string(z / kModelScale) + "\n";
  }
  obj += "g TRUNK\nf 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
  QFile f(dir.filePath(QStringLiteral("box.obj")));
  return f.open(QIODevice::WriteOnly) &&
         f.write(obj.data(), static_cast<qint64>(obj.size())) == static_cast<qint64>(obj.size());
}
}  // namespace

// A click on a body part, without a drag, tells its values in the status line.
TEST(Visualize3D, AClickOnAPartShowsItsValues) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteTrunkBox(dir));
  CSimulationData d;
  Fill(d, 4, 1.0f, 0);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg, 60000));
  ASSERT_TRUE(LoadBodyModel(dlg.View(), dir.filePath(QStringLiteral("box.obj"))));
  c.time->setValue(120);  // step 2: a skin of 32 degrees
  QCoreApplication::processEvents();
  // Where the box's front face lands on the view.
  const COpenGLView& v = *dlg.View();
  QMatrix4x4 m;
  m.perspective(static_cast<float>(COpenGLView::FieldOfViewY(v.width(), v.height())),
                static_cast<float>(v.width()) / static_cast<float>(v.height()), 0.1f, 100.0f);
  m.translate(static_cast<float>(v.Camera().m_dTransX), static_cast<float>(v.Camera().m_dTransY),
              static_cast<float>(v.Camera().m_dTransZ));
  m.scale(v.Camera().m_fZoom);
  const QVector3D ndc = m.map(QVector3D(0, 0, 0.3f));
  const QPoint at(static_cast<int>((ndc.x() + 1) / 2 * static_cast<float>(v.width())),
                  static_cast<int>((1 - ndc.y()) / 2 * static_cast<float>(v.height())));
  QTest::mouseClick(dlg.View(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(c.status->text(), QStringLiteral("Trunk: skin 32.00 \u00b0C"));
  // The probe panel shows the part and follows the clock.
  ASSERT_TRUE(c.probePanel->isVisible());
  EXPECT_EQ(c.probeTitle->text(), QStringLiteral("Trunk: Temperature"));
  EXPECT_EQ(c.probe->item(1, 1)->text(), QStringLiteral("32.00 \u00b0C"));
  d.State().SeekStep(3);
  EXPECT_EQ(c.probe->item(1, 1)->text(), QStringLiteral("33.00 \u00b0C"));
  c.probeCopy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), ProbeTsv(d, Trunk));
  c.status->clear();
  QTest::mouseClick(dlg.View(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));  // nothing there
  EXPECT_TRUE(c.status->text().isEmpty());
}

// The readout of a part: its values with units, "no value" where the run
// holds none (a hole), and the last step's at the end of the run.
// The probe table: core, skin and every layer of the part at the drawn step,
// for each quantity, "no data" where the run holds no value.
TEST(Probe, TheTableHoldsCoreSkinAndEveryLayer) {
  CSimulationData d;
  Fill(d, 3, 1.0f, 2);
  RunTables& run = EditRun(d);
  run.m_fFabricInterval = 1.0f;
  run.m_nNodesPerLayer[Trunk] = 1;
  for (int s = 0; s < 3; ++s) {
    for (int l = 1; l <= 2; ++l) {
      FabricRow r;
      r.m_nLayer = l;
      r.m_fTemperature = 33.0f + static_cast<float>(l) + static_cast<float>(s) / 10;
      r.m_fHumidity = 40.0f + static_cast<float>(l);
      run.m_fabric[Trunk].push_back(r);
    }
  }
  for (auto& r : run.m_body) {
    r.m_fCoreTemp = 37.0f;
    r.m_fSkinHumidity = 55.5f;
    r.m_fSweatRate = 12.0f;
  }
  run.m_fabric[Trunk][2 * 2 + 1].m_fTemperature = std::nanf("");  // layer 2 at step 2: a hole
  d.State().SeekStep(2);
  auto texts = [&](int part) {
    QStringList out;
    for (const ProbeRow& r : ProbeRows(d, part)) {
      out << r.name + QLatin1Char('=') + r.value;
    }
    return out;
  };
  EXPECT_EQ(texts(Trunk),
            (QStringList{"Core=37.00 \u00b0C", "Skin=32.00 \u00b0C", "Layer 1=34.20 \u00b0C", "Layer 2=no data"}));
  EXPECT_EQ(texts(Head), (QStringList{"Core=37.00 \u00b0C", "Skin=32.00 \u00b0C"})) << "no layers: none listed";
  d.State().SetContent(ContentHumidity);
  EXPECT_EQ(texts(Trunk), (QStringList{"Core=no data", "Skin=55.50 %", "Layer 1=41.00 %", "Layer 2=42.00 %"}));
  d.State().SetContent(ContentSweatRate);
  EXPECT_EQ(texts(Trunk), (QStringList{"Core=no data", "Skin=12.00 SWR", "Layer 1=no data", "Layer 2=no data"}));
  EXPECT_EQ(ProbeTsv(d, Trunk), QStringLiteral("Time(min)\tPart\tPlace\tSweating Rate(SWR)\n2\tTrunk\tCore\t\n"
                                               "2\tTrunk\tSkin\t12\n2\tTrunk\tLayer 1\t\n2\tTrunk\tLayer 2\t\n"));
  d.State().SeekStep(3);  // the end of the run: the last step stays read
  EXPECT_EQ(texts(Trunk)[1], QStringLiteral("Skin=12.00 SWR"));
  EXPECT_TRUE(ProbeRows(d, 6).empty());
}

TEST(Probe, ReadsTheDrawnStepAndSaysWhatIsMissing) {
  CSimulationData d;
  Fill(d, 3, 1.0f, 0);
  d.State().SeekStep(1);
  EXPECT_EQ(ProbeText(d, Trunk, 0), QStringLiteral("Trunk: skin 31.00 \u00b0C"));
  EditRun(d).m_body[1 * kBodyPartCount + Trunk].m_fSkinTemp = std::nanf("");
  EXPECT_EQ(ProbeText(d, Trunk, 0), QStringLiteral("Trunk: skin no value"));
  d.State().SetContent(ContentHumidity);
  EditRun(d).m_body[1 * kBodyPartCount + Head].m_fSkinHumidity = 85.1f;
  EXPECT_EQ(ProbeText(d, Head, 0), QStringLiteral("Head: skin 85.10 %")) << "percent, as the file holds it";
}

// The status line reads whole, however long its text: it takes the left
// column's free width, up to the Start button, and lines upwards.
TEST(Visualize3D, TheStatusLineIsNeverCut) {
  CSimulationData d;
  Fill(d, 4, 1.0f, 2);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.resize(1001, 661);  // the main window's page
  dlg.show();
  for (const char* text : {"DownLoading Model...", "Foot: skin 34.32 \u00b0C, layer 2 33.10 \u00b0C",
                           "The model service did not answer: the cached copy is shown."}) {
    dlg.SetStatus(QString::fromUtf8(text));
    const QRect r = c.status->geometry();
    EXPECT_LE(c.status->heightForWidth(r.width()), r.height()) << text;
    EXPECT_LT(r.right(), c.startStop->x()) << text;
    EXPECT_LE(r.bottom(), dlg.height()) << text;
    EXPECT_GT(r.top(), c.sectionParts[5]->geometry().bottom()) << text;
  }
}

// "Visualization Content" and "Display Model" are frames with their titles
// around their radios, behind them: every radio lies inside its frame, below
// its title, and is drawn over it.
TEST(Visualize3D, GroupBoxesFrameTheirRadios) {
  CSimulationData d;
  Fill(d, 4, 1.0f, 2);
  CVisiualize3DDlg dlg(&d, QString());
  const Controls3D c(dlg);
  dlg.show();
  const std::pair<const char*, std::vector<QRadioButton*>> groups[] = {
      {"Visualization Content", {c.content.begin(), c.content.end()}},
      {"Display Model", {c.displayMode.begin(), c.displayMode.end()}}};
  const QList<QGroupBox*> boxes = dlg.findChildren<QGroupBox*>();
  ASSERT_EQ(boxes.size(), 2);
  for (const auto& [title, radios] : groups) {
    const QString caption = QLatin1String(title);
    const auto box =
        std::find_if(boxes.begin(), boxes.end(), [&caption](const QGroupBox* b) { return b->title() == caption; });
    ASSERT_NE(box, boxes.end()) << title;
    const QRect frame = (*box)->geometry();
    const int titleBottom = frame.top() + (*box)->fontMetrics().height();
    for (const QRadioButton* r : radios) {
      EXPECT_TRUE(frame.contains(r->geometry())) << title << " " << r->text().toStdString();
      EXPECT_GT(r->geometry().top(), titleBottom) << title << " " << r->text().toStdString();
      // Over its frame: a click at its middle reaches the radio, not the box.
      EXPECT_EQ(dlg.childAt(r->geometry().center()), r) << r->text().toStdString();
    }
  }
}

// The main window adopts the dialog: re-parenting destroys the view's GL
// context and makes a new one, on which the models and text come back.
TEST(Visualize3D, AdoptedByAnotherWindowTheViewDrawsTheSame) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteTrunkBox(dir));
  CSimulationData d;
  Fill(d, 4, 1.0f, 0);
  QWidget first, second;
  auto* dlg = new CVisiualize3DDlg(&d, QString(), &first);
  first.resize(dlg->size());
  second.resize(dlg->size());
  first.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&first, 60000));
  ASSERT_TRUE(LoadBodyModel(dlg->View(), dir.filePath(QStringLiteral("box.obj"))));
  const QImage before = dlg->View()->grabFramebuffer();
  int destroyed = 0;
  QObject::connect(dlg->View()->context(), &QOpenGLContext::aboutToBeDestroyed, [&] { ++destroyed; });
  dlg->setParent(&second);
  second.show();
  dlg->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&second, 60000));
  const QImage after = dlg->View()->grabFramebuffer();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(after, before);
}
