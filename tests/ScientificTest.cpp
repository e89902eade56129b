// The scientific view: option ids and texts, the glide, the curves taken
// from the store, and the view choosing what it shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <map>

#include "ChartPalette.h"
#include "DataCsv.h"
#include "PictureProbe.h"
#include "RunFolder.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "SimulationData.h"
#include "StoreEditor.h"

TEST(ScienceLogic, OptionIdsAndTexts) {
  EXPECT_EQ(EncodeOption(2, OptionKind::Fabric, 1), 3301);
  const OptionId o = DecodeOption(6402);
  EXPECT_EQ(o.part, 5);
  EXPECT_EQ(o.kind, OptionKind::Fiber);
  EXPECT_EQ(o.index, 2);
  EXPECT_EQ(LayerOptionText(2), QStringLiteral("3st Layer Fabric"));
  const struct {
    const char* file;
    int part;
    const char* text;  // null: not listed
  } fibres[] = {{"FiberHead_Cotton.dat", 0, "Fibers: COTTON"},
                {"FiberHead.dat", 0, "Fibers: "},
                {"fiberhand_wool.dat", 3, "Fibers: WOOL"},
                {"fiberhand_wool.dat", 0, nullptr},
                {"FiberCotton.dat", 1, nullptr}};
  for (const auto& f : fibres) {
    const auto text = FiberOptionText(QLatin1String(f.file), f.part);
    EXPECT_EQ(text.has_value(), f.text != nullptr) << f.file;
    if (text && f.text) {
      EXPECT_EQ(*text, QLatin1String(f.text)) << f.file;
    }
  }
}

TEST(ScienceLogic, TheColumnGlidesAThirdOfTheWayEachTick) {
  EXPECT_EQ(ScrollTarget(700, 500, 250), 100);
  std::vector<int> steps;
  for (int c = 0; c != 100;) {
    steps.push_back(c = GlideStep(c, 100));
  }
  EXPECT_EQ(steps, (std::vector<int>{33, 55, 70, 80, 86, 90, 93, 95, 96, 97, 98, 100}));
  EXPECT_EQ(GlideStep(100, 100), 100);
}

TEST(ScienceLogic, FibreCurvesFollowEachPositionWhateverTheirCount) {
  for (int positions : {3, 5}) {
    FiberTable t;
    for (int step = 0; step < 4; ++step) {
      for (int n = 0; n < positions; ++n) {
        t.m_rows.push_back({static_cast<float>(step), 0.1f * static_cast<float>(n), static_cast<float>(10 * n), 1});
      }
    }
    const std::vector<PlotCurve> curves = FiberCurves(t, 0);
    ASSERT_EQ(curves.size(), static_cast<std::size_t>(positions));
    for (std::size_t n = 0; n < curves.size(); ++n) {
      ASSERT_EQ(curves[n].size(), 4u);
      for (const auto& p : curves[n]) {
        EXPECT_FLOAT_EQ(static_cast<float>(p[2]), 10.0f * static_cast<float>(n));
      }
    }
    EXPECT_TRUE(FiberCurves(t, 2).empty()) << "moisture content has no column";
  }
}

TEST(ScienceLogic, LiquidVolumeFractionOnlyWhenTheFileCarriesIt) {
  CSimulationData d;
  EditRun(d).m_nLayers[Trunk] = 1;
  EditRun(d).m_nNodesPerLayer[Trunk] = 2;
  for (int step = 0; step < 3; ++step) {
    for (int n = 0; n < 2; ++n) {
      FabricRow r;
      r.m_fTime = static_cast<float>(step);
      r.m_fPosition = static_cast<float>(n);
      r.m_fVaporConc = 7;
      r.m_fLiquidFraction = 3;
      EditRun(d).m_fabric[Trunk].push_back(r);
    }
  }
  EXPECT_TRUE(FabricCurves(d, Trunk, 0, 5).empty());
  ASSERT_EQ(FabricCurves(d, Trunk, 0, 0).size(), 2u);
  EditRun(d).m_bLiquidFraction[Trunk] = true;
  const std::vector<PlotCurve> lvf = FabricCurves(d, Trunk, 0, 5);
  ASSERT_EQ(lvf.size(), 2u);
  EXPECT_EQ(lvf[0][0][2], 3.0);
}

// A layer's curves follow each node through the time steps: with two or
// three layers the stride is layers × nodes rows, never another layer's row.
TEST(ScienceLogic, FabricCurvesStrideOverEveryLayerOfAStep) {
  for (const int layers : {2, 3}) {
    CSimulationData d;
    const int nodes = 2, steps = 4;
    EditRun(d).m_nLayers[Trunk] = layers;
    EditRun(d).m_nNodesPerLayer[Trunk] = nodes;
    for (int t = 0; t < steps; ++t) {
      for (int l = 0; l < layers; ++l) {
        for (int n = 0; n < nodes; ++n) {
          FabricRow r;
          r.m_fTime = 0.1f * static_cast<float>(t);
          r.m_nLayer = l + 1;
          r.m_fPosition = static_cast<float>(l * nodes + n);
          r.m_fTemperature = static_cast<float>(100 * l + 10 * n + t);  // layer, node and step in one number
          EditRun(d).m_fabric[Trunk].push_back(r);
        }
      }
    }
    for (int l = 0; l < layers; ++l) {
      const std::vector<PlotCurve> curves = FabricCurves(d, Trunk, l, 4);
      ASSERT_EQ(curves.size(), static_cast<std::size_t>(nodes)) << layers << " layers";
      for (int n = 0; n < nodes; ++n) {
        ASSERT_EQ(curves[static_cast<std::size_t>(n)].size(), static_cast<std::size_t>(steps));
        for (int t = 0; t < steps; ++t) {
          const auto& p = curves[static_cast<std::size_t>(n)][static_cast<std::size_t>(t)];
          EXPECT_EQ(p[2], 100 * l + 10 * n + t) << layers << " layers, layer " << l << " node " << n << " step " << t;
          EXPECT_FLOAT_EQ(static_cast<float>(p[1]), 0.1f * static_cast<float>(t));
        }
      }
    }
  }
}

namespace {
struct SampleView {
  CSimulationData data;
  std::unique_ptr<CScientificDlg> view;
  SampleView() {
    EXPECT_TRUE(data.Load(qEnvironmentVariable("CORVANE_SAMPLE_RUN") + QLatin1Char('/')));
    view = std::make_unique<CScientificDlg>(&data, qEnvironmentVariable("CORVANE_MODEL_DIR") + QLatin1Char('/'));
  }
};
}  // namespace

// On the main window's page every quantity button reads its caption whole
// and ends inside the page, for every kind of option.
TEST(ScientificView, EveryQuantityButtonReadsWholeOnThePage) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(1001, 661);
  v.show();
  for (const int option : {2100, 2200, 2300, EncodeOption(Trunk, OptionKind::Fiber, 0)}) {
    v.OnOptionSelect(option);
    for (int i = 0; i < 9; ++i) {
      const QRadioButton* b = v.PropertyPanel()->Button(i);
      if (b->isHidden()) {
        continue;
      }
      EXPECT_LE(b->sizeHint().width(), b->width()) << option << " " << b->text().toStdString();
      EXPECT_LE(b->mapTo(&v, QPoint(b->width(), 0)).x(), v.width()) << option << " " << b->text().toStdString();
    }
  }
}

TEST(ScientificView, OpensOnTheHeadsSkinTemperature) {
  SampleView s;
  CScientificDlg& v = *s.view;
  EXPECT_EQ(v.Option(), 1100);
  EXPECT_EQ(v.Chart()->Title(), QStringLiteral("Temperature of Skin(Degree)"));
  EXPECT_EQ(v.Chart()->Points().size(), static_cast<std::size_t>(s.data.Run().m_nSamples));
  EXPECT_FALSE(v.Chart()->isHidden());
  EXPECT_TRUE(!v.PlotViewMade() || v.PlotViewMade()->isHidden());
  EXPECT_EQ(v.Panel(0)->Selected(), 0);
  EXPECT_FALSE(v.Gliding()) << "an idle view runs no timer";
}

TEST(ScientificView, OptionsChooseChartOrPlotAndOnlyOnePanelKeepsItsMark) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.OnOptionSelect(EncodeOption(0, OptionKind::Comfort, 0));  // Head's comfort: bands
  EXPECT_EQ(v.Chart()->Bands(), BandMode::ThermalSensation);
  v.OnPropertySelect(2);
  EXPECT_EQ(v.Chart()->Bands(), BandMode::Comfort);
  for (const CChartDataSet& p : v.Chart()->Points()) {
    EXPECT_TRUE(p.m_fY >= 0 && p.m_fY <= 100);
  }

  v.Panel(0)->Select(1);
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));  // the trunk's first layer
  EXPECT_EQ(v.Panel(0)->Selected(), -1) << "the other panel's mark goes";
  EXPECT_TRUE(v.Chart()->isHidden());
  EXPECT_FALSE(v.PlotViewMade()->isHidden());
  EXPECT_EQ(v.PlotViewMade()->Curves().size(), static_cast<std::size_t>(s.data.Run().m_nNodesPerLayer[Trunk]));
  EXPECT_EQ(v.PlotViewMade()->AxisTitle(2), QStringLiteral("Water Vapor Concentration(kg*m^3)"));
  v.OnPropertySelect(5);  // the sample run's fabric files carry the liquid volume fraction
  EXPECT_FALSE(v.PlotViewMade()->Curves().empty());

  // Choosing the option already shown changes nothing.
  v.OnPropertySelect(4);
  const std::size_t curves = v.PlotViewMade()->Curves().size();
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_EQ(v.PlotViewMade()->Curves().size(), curves);
  EXPECT_EQ(v.PlotViewMade()->AxisTitle(2), QStringLiteral("Temperature(Degree)"));

  // A fibre's moisture content has no column: an empty plot that says so.
  int fibre = -1;
  for (std::size_t k = 0; k < s.data.Run().m_fibers.size(); ++k) {
    if (FiberOptionText(s.data.Run().m_fibers[k].m_strName, Trunk)) {
      fibre = static_cast<int>(k);
    }
  }
  ASSERT_GE(fibre, 0);
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fiber, fibre));
  EXPECT_FALSE(v.PlotViewMade()->Curves().empty());
  v.OnPropertySelect(2);
  EXPECT_TRUE(v.PlotViewMade()->Curves().empty());
  EXPECT_EQ(v.PlotViewMade()->PlotNote(), "no data");
}

TEST(ScientificView, TheColumnGlidesToTheMouseAndThenRests) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(v.width(), 300);  // shorter than the column
  ASSERT_GT(v.ColumnHeight(), 300);
  v.OnMouseMove(50, 150);
  EXPECT_TRUE(v.Gliding());
  const int target = v.ScrollTarget();
  EXPECT_EQ(target, (v.ColumnHeight() - 300) * 150 / 300);
  for (int tick = 0; tick < 40 && v.Gliding(); ++tick) {
    v.OnTimer();
  }
  EXPECT_FALSE(v.Gliding());
  EXPECT_EQ(v.PanelScroll(), target);
  EXPECT_EQ(v.Panel(0)->pos(), QPoint(10, 10 - target));
}

TEST(ScientificView, TheChartsCursorFollowsTheClockAndThePlotSavesItsPicture) {
  SampleView s;
  CScientificDlg& v = *s.view;
  EXPECT_TRUE(std::isnan(v.Chart()->CursorTime())) << "no cursor before the player has moved";
  s.data.State().SeekStep(10, 30);  // the chart follows the view state's clock
  EXPECT_FLOAT_EQ(v.Chart()->CursorTime(), s.data.Run().m_body[std::size_t{10} * kBodyPartCount].m_fTime)
      << "the drawn step's time, as the axis reads minutes";
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 1));
  v.show();
  QTemporaryDir dir;
  ASSERT_TRUE(v.SavePlotImage(dir.filePath(QStringLiteral("plot.png"))));
  const QImage plot(dir.filePath(QStringLiteral("plot.png")));
  EXPECT_EQ(plot.size(), v.PlotViewMade()->size() * v.PlotViewMade()->devicePixelRatio());
}

// Comfort bands stand behind one rating, never behind two; "All parts" keeps
// them. The plot has no "All parts", and Home on the page resets its view.
TEST(ScientificView, BandsForOneRatingAndHomeForThePlot) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.show();
  v.OnOptionSelect(EncodeOption(Arm, OptionKind::Comfort, 0));
  EXPECT_FALSE(v.PropertyPanel()->AllParts()->isHidden());
  EXPECT_EQ(v.PropertyPanel()->AllParts()->text(), QStringLiteral("All parts"));
  v.OnPropertyAdd(2);
  EXPECT_EQ(v.Chart()->Curves().size(), 2u);
  EXPECT_EQ(v.Chart()->Bands(), BandMode::None);
  EXPECT_EQ(v.Chart()->Title(), QStringLiteral("Thermal Sensation, Comfort"));
  v.OnPropertySelect(1);
  v.OnAllParts(true);
  EXPECT_EQ(v.Chart()->Curves().size(), 6u);
  EXPECT_EQ(v.Chart()->Bands(), BandMode::Dampness);
  EXPECT_EQ(v.Chart()->LegendTexts().front(), QStringLiteral("Arm: Dampness Sensation"));

  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_TRUE(v.PropertyPanel()->AllParts()->isHidden());
  EXPECT_EQ(v.PlotViewMade()->Curves().size(), static_cast<std::size_t>(s.data.Run().m_nNodesPerLayer[Trunk]))
      << "one part's curves";
  ViewCamera zoomed = v.PlotViewMade()->Camera();
  zoomed.m_fZoom = 3;
  v.PlotViewMade()->SetCamera(zoomed);
  QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
  QCoreApplication::sendEvent(&v, &home);
  EXPECT_EQ(v.PlotViewMade()->Camera().m_fZoom, 1.0f);
}

// "All parts" gives each part its own colour, whichever part it was chosen
// from: Head's curve is Head's colour in every figure of a paper.
TEST(ScientificView, AllPartsGiveEachPartItsOwnColour) {
  SampleView s;
  CScientificDlg& v = *s.view;
  std::map<QString, QColor> colours;
  for (const int from : {Head, Arm, Foot}) {
    v.OnOptionSelect(EncodeOption(from, OptionKind::Body, 0));
    v.OnAllParts(true);
    const ChartFigureContent c = v.Chart()->FigureContent(QString());
    const QStringList names = v.Chart()->LegendTexts();
    ASSERT_EQ(names.size(), 6);
    for (qsizetype i = 0; i < names.size(); ++i) {
      const QString part = names[i].section(QLatin1Char(':'), 0, 0);
      const QColor colour = c.curves[static_cast<std::size_t>(i)].colour;
      EXPECT_EQ(colours.emplace(part, colour).first->second, colour) << part.toStdString() << " from part " << from;
    }
    v.OnAllParts(false);
  }
  EXPECT_EQ(colours[QStringLiteral("Head")], QColor(210, 100, 100));
  EXPECT_EQ(colours[QStringLiteral("Trunk")], QColor(230, 159, 0));
  EXPECT_EQ(colours.size(), 6u);
}

// The "Profile" box of a fabric option: the quantity through all the part's
// layers at the player's time, in the plot's place, following the clock;
// the hover box reads position and value. The box is the fabric's alone.
TEST(ScientificView, TheProfileFollowsThePlayerThroughEveryLayer) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(1001, 661);
  v.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v, 60000));
  v.Settle();
  QCheckBox* box = v.PropertyPanel()->Profile();
  EXPECT_TRUE(box->isHidden()) << "a body option has no profile";
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 1));
  v.OnPropertySelect(4);
  EXPECT_EQ(box->text(), QStringLiteral("Profile"));
  ASSERT_FALSE(box->isHidden());
  EXPECT_TRUE(v.ProfileChart()->isHidden());
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(v.ProfileShown());
  EXPECT_FALSE(v.ProfileChart()->isHidden());
  EXPECT_TRUE(v.PlotViewMade()->isHidden());
  EXPECT_EQ(v.ShownChart(), v.ProfileChart()) << "what a figure of the page draws";

  const RunTables& run = s.data.Run();
  const int layers = run.m_nLayers[Trunk], nodes = run.m_nNodesPerLayer[Trunk];
  CMyChart& chart = *v.ProfileChart();
  EXPECT_EQ(chart.Points().size(), static_cast<std::size_t>(layers * nodes));
  EXPECT_EQ(chart.Title(), QStringLiteral("Trunk: Temperature(Degree) at 0 min"));
  EXPECT_EQ(chart.XLabel(), QStringLiteral("Position(cm)"));
  ASSERT_EQ(chart.Sections().size(), 3u);
  EXPECT_EQ(chart.Sections()[0].name, QStringLiteral("1st Layer Fabric"));
  EXPECT_EQ(chart.Sections()[2].name, QStringLiteral("3st Layer Fabric"));
  EXPECT_EQ(chart.Boundaries().size(), 2u);
  const QImage picture = chart.Render(chart.size());
  const int boundaryPixels =
      CountPixels(picture, picture.rect(), [](const QColor& c) { return c == QColor(90, 90, 90); });
  EXPECT_GT(boundaryPixels, 100) << "the dashed boundaries between the layers";
  // The names stand over their layers, under the top of the value axis.
  const std::vector<ChartSection> named = chart.Sections();
  chart.SetSections({{named.front().from, named.back().to, QString()}}, chart.Boundaries());
  const QImage unnamed = chart.Render(chart.size());
  chart.SetSections(named, chart.Boundaries());
  const int top = chart.Layout().originY - chart.Layout().axisHeight;
  int lettering = 0;
  for (int y = top; y < top + 16; ++y) {
    for (int x = chart.Layout().originX; x < chart.Layout().originX + chart.Layout().axisWidth; ++x) {
      lettering += picture.pixel(x, y) != unnamed.pixel(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(lettering, 150) << "three layer names in the top row of the plot";

  // The player moves: the profile is the drawn sample's fabric step, on the
  // scale of the whole run.
  chart.repaint();
  const float lo = chart.Axes().m_fYMin, hi = chart.Axes().m_fYMax;
  const int sample = 20;
  s.data.State().SeekStep(sample, 0);
  chart.repaint();
  EXPECT_EQ(chart.Axes().m_fYMin, lo);
  EXPECT_EQ(chart.Axes().m_fYMax, hi);
  const std::size_t step = static_cast<std::size_t>(run.FabricStepOf(s.data.State().DrawnStep()));
  const FabricRow& first = run.m_fabric[Trunk][step * static_cast<std::size_t>(layers * nodes)];
  EXPECT_EQ(chart.Title(),
            QStringLiteral("Trunk: Temperature(Degree) at %1 min").arg(QString::number(first.m_fTime, 'g', 6)));
  EXPECT_EQ(chart.Points().front().m_fY, first.m_fTemperature);
  EXPECT_TRUE(std::isnan(chart.CursorTime())) << "no time cursor on a position axis";

  // Its data, as the chart's menu copies them: a node a row, with its layer.
  chart.CopyData();
  const QStringList rows = QApplication::clipboard()->text().split(QLatin1Char('\n'));
  ASSERT_EQ(rows.size(), layers * nodes + 2);
  EXPECT_EQ(rows.front(), QStringLiteral("Position(cm)\tLayer\tTemperature(Degree)"));
  EXPECT_TRUE(rows[static_cast<qsizetype>(nodes) + 1].contains(QStringLiteral("\t2\t")))
      << "the second layer's first node";

  // The hover box reads the position in cm and the value with its unit.
  chart.repaint();
  const QPoint middle(chart.Layout().originX + chart.Layout().axisWidth / 2, chart.Layout().originY - 40);
  QMouseEvent move(QEvent::MouseMove, QPointF(middle), chart.mapToGlobal(QPointF(middle)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);
  const QString hover = chart.HoverText();
  EXPECT_TRUE(hover.contains(QStringLiteral(" cm: "))) << hover.toStdString();
  EXPECT_TRUE(hover.endsWith(QStringLiteral(" Degree"))) << hover.toStdString();

  // Another layer of the part keeps the profile; a body option shows its
  // chart and hides the box; the box off gives the plot back.
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_FALSE(v.ProfileChart()->isHidden());
  v.OnOptionSelect(EncodeOption(Arm, OptionKind::Body, 0));
  EXPECT_TRUE(v.ProfileChart()->isHidden());
  EXPECT_FALSE(v.Chart()->isHidden());
  EXPECT_EQ(v.ShownChart(), v.Chart());
  EXPECT_TRUE(box->isHidden());
  v.OnOptionSelect(EncodeOption(Arm, OptionKind::Fabric, 0));
  EXPECT_EQ(chart.Title().left(6), QStringLiteral("Arm: W"));
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_FALSE(v.ProfileShown());
  EXPECT_TRUE(v.ProfileChart()->isHidden());
  EXPECT_FALSE(v.PlotViewMade()->isHidden());
  EXPECT_EQ(v.ShownChart(), nullptr) << "the line plot";
}

// The line plot's context menu gives its data as the chart's does, in the
// words of the chart's menu; the text is what --export-csv writes.
TEST(ScientificView, ThePlotsDataFromItsContextMenu) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(1001, 661);
  v.show();
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 2));
  v.OnPropertySelect(3);
  QApplication::clipboard()->clear();
  QStringList texts;
  QTimer::singleShot(0, &v, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) {
      texts << a->text();
    }
    menu->actions().front()->trigger();
    menu->close();
  });
  emit v.PlotViewMade()->customContextMenuRequested(QPoint(20, 20));
  EXPECT_EQ(texts, (QStringList{"Copy Data", "Save Data as CSV...", "Save Image as PNG..."}));
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith(QStringLiteral("curve,Thickness(cm),Time(min),Relative Humidity(%)\n0,")))
      << copied.left(80).toStdString();
  EXPECT_EQ(copied, ExportCsv(s.data, EncodeOption(Trunk, OptionKind::Fabric, 2), 3));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plot.csv"));
  ASSERT_TRUE(v.SavePlotData(path));
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()), copied);
  EXPECT_FALSE(v.SavePlotData(dir.filePath(QStringLiteral("no/such/folder/plot.csv"))));
}

// Two runs compared on a fabric option: the plot says it draws the first
// alone, and its data holds both, as the command line writes them.
TEST(ScientificView, AComparedPlotSaysWhichRunItDrawsAndItsDataHoldsBoth) {
  SampleView s;
  QTemporaryDir dir;
  const QString wool = dir.filePath(QStringLiteral("wool"));
  ASSERT_TRUE(QDir().mkpath(wool));
  for (const QFileInfo& f : QDir(qEnvironmentVariable("CORVANE_SAMPLE_RUN")).entryInfoList(QDir::Files)) {
    ASSERT_TRUE(QFile::copy(f.filePath(), wool + QLatin1Char('/') + f.fileName()));
  }
  CSimulationData other;
  ASSERT_TRUE(other.Load(wool + QLatin1Char('/')));
  CScientificDlg& v = *s.view;
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_EQ(v.PlotRunText(), QString()) << "one run: nothing to say";
  v.SetComparison({&other});
  EXPECT_EQ(v.PlotRunText(), QStringLiteral("The plot draws sample-run alone; its data holds sample-run and wool."));
  const QString text = v.PlotDataText();
  EXPECT_EQ(text, ComparedCsv(s.data, {&other}, EncodeOption(Trunk, OptionKind::Fabric, 0), 0));
  EXPECT_TRUE(text.contains(QStringLiteral("\nwool,"))) << "the second run's rows";
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Body, 0));
  EXPECT_EQ(v.PlotRunText(), QString()) << "a chart draws both runs";

  // "A - B": the box is there while two runs are; each curve becomes its
  // difference, a run less its own copy being 0 everywhere.
  EXPECT_TRUE(v.PropertyPanel()->Difference()->isVisibleTo(&v));
  EXPECT_EQ(v.PropertyPanel()->Difference()->text(), QStringLiteral("A - B"));
  v.OnDifference(true);
  ASSERT_EQ(v.Chart()->Curves().size(), 1u);
  EXPECT_EQ(v.Chart()->Curves()[0].Look().m_strName,
            QStringLiteral("Trunk: Temperature of Skin(Degree), sample-run - wool"));
  for (const CChartDataSet& d : v.Chart()->Points()) {
    EXPECT_EQ(d.m_fY, 0.0f) << d.m_fX;
  }
  // A profile of both runs: the second dashed in the first's colour; then
  // their difference.
  v.OnDifference(false);
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_FALSE(v.PropertyPanel()->Difference()->isVisibleTo(&v)) << "the 3D plot has no difference";
  v.OnProfile(true);
  EXPECT_TRUE(v.PropertyPanel()->Difference()->isVisibleTo(&v)) << "the profile has";
  ASSERT_EQ(v.ProfileChart()->Curves().size(), 2u);
  EXPECT_EQ(v.ProfileChart()->Curves()[1].Look().m_nStyle, 1) << "dashed";
  EXPECT_EQ(v.ProfileChart()->LegendTexts(), (QStringList{"Trunk: Water Vapor Concentration(kg*m^3), sample-run",
                                                          "Trunk: Water Vapor Concentration(kg*m^3), wool"}));
  EXPECT_EQ(v.ProfileChart()->Curves()[0].Points().size(), v.ProfileChart()->Curves()[1].Points().size());
  v.OnDifference(true);
  ASSERT_EQ(v.ProfileChart()->Curves().size(), 1u);
  EXPECT_TRUE(
      v.ProfileChart()
          ->DataText(QLatin1Char(','))
          .startsWith(QStringLiteral("Position(cm),Layer,\"Water Vapor Concentration(kg*m^3), sample-run - wool\"\n")));
  v.SetComparison({});
  EXPECT_FALSE(v.PropertyPanel()->Difference()->isVisibleTo(&v)) << "one run: no difference";
  EXPECT_FALSE(v.DifferenceShown());
}

// A refusal in the status line reads whole on the page, however long.
TEST(ScientificView, ARefusalReadsWholeInTheStatusLine) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(1001, 661);
  v.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v, 60000));
  v.Settle();
  v.OnOptionSelect(EncodeOption(Head, OptionKind::Body, 0));
  v.OnPropertyAdd(2);  // W*m^2 beside Degree
  v.OnPropertyAdd(3);  // a third unit
  const QString refusal =
      QStringLiteral("Relative Humidity of Skin(%) not shown: the chart already has two units, Degree and W*m^2.");
  ASSERT_EQ(v.PropertyPanel()->Status(), refusal);
  QLabel* status = nullptr;
  for (QLabel* l : v.PropertyPanel()->findChildren<QLabel*>()) {
    status = l->text() == refusal ? l : status;
  }
  ASSERT_NE(status, nullptr);
  EXPECT_LE(status->sizeHint().width(), status->width()) << "the whole text in its room";
  EXPECT_LE(v.PropertyPanel()->geometry().left() + status->geometry().right(), v.width());
  EXPECT_GE(status->font().pointSizeF(), 6.0);
}

// Three runs: each in the colour and line style of its place, in the chart,
// its figure's legend (named by run alone) and the profile; the plot says
// it draws the first; no "A - B", which is of two runs.
TEST(ScientificView, ThreeRunsTakeEachItsColourAndStyleEverywhere) {
  SampleView s;
  QTemporaryDir dir;
  std::vector<std::unique_ptr<CSimulationData>> others;
  for (const char* name : {"wool", "cotton"}) {
    const QString folder = dir.filePath(QLatin1String(name));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QFileInfo& f : QDir(qEnvironmentVariable("CORVANE_SAMPLE_RUN")).entryInfoList(QDir::Files)) {
      ASSERT_TRUE(QFile::copy(f.filePath(), folder + QLatin1Char('/') + f.fileName()));
    }
    others.push_back(std::make_unique<CSimulationData>());
    ASSERT_TRUE(others.back()->Load(folder + QLatin1Char('/')));
  }
  CScientificDlg& v = *s.view;
  // All parts left on from a chart, its box hidden under a fabric option,
  // does not stand in the runs' way: it goes.
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Body, 0));
  v.OnAllParts(true);
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_EQ(v.SetComparison({others[0].get(), others[1].get()}), QString());
  EXPECT_FALSE(v.Selection().AllParts());
  EXPECT_FALSE(v.PropertyPanel()->AllParts()->isChecked());
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Body, 0));
  EXPECT_FALSE(v.PropertyPanel()->Difference()->isVisibleTo(&v));
  const ChartFigureContent figure = v.Chart()->FigureContent(QStringLiteral("t"));
  const char* const runs[] = {"sample-run", "wool", "cotton"};
  ASSERT_EQ(figure.legend.size(), 3u);
  ASSERT_EQ(figure.curves.size(), 3u);
  for (std::size_t r = 0; r < 3; ++r) {
    EXPECT_EQ(figure.legend[r].text, QLatin1String(runs[r]));
    EXPECT_EQ(figure.legend[r].colour, figure.curves[r].colour) << r;
    EXPECT_EQ(figure.curves[r].style, static_cast<int>(r));
    EXPECT_EQ(figure.legend[r].style, static_cast<int>(r));
    EXPECT_NE(figure.curves[r].colour, figure.curves[(r + 1) % 3].colour) << r;
  }

  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_EQ(v.PlotRunText(),
            QStringLiteral("The plot draws sample-run alone; its data holds sample-run, wool and cotton."));
  v.OnProfile(true);
  const std::vector<CChartSeries>& profiles = v.ProfileChart()->Curves();
  ASSERT_EQ(profiles.size(), 3u);
  for (std::size_t r = 1; r < 3; ++r) {
    EXPECT_EQ(profiles[r].Look().m_nStyle, static_cast<int>(r));
    EXPECT_EQ(profiles[r].Look().m_nColour, static_cast<int>(r));
    EXPECT_EQ(profiles[r].Points().size(), profiles[0].Points().size());
  }
  EXPECT_TRUE(v.ProfileChart()->DataText(QLatin1Char(',')).contains(QStringLiteral("\ncotton,")));
  v.SetComparison({});
}

// Eight runs stay apart in grey print too: no two line styles alike.
TEST(ScientificView, EightLineStylesAllDiffer) {
  std::vector<std::pair<Qt::PenStyle, QList<qreal>>> seen;
  for (int style = 0; style < 8; ++style) {
    QPen pen(Qt::black, 2);
    SetLineStyle(pen, style);
    const std::pair<Qt::PenStyle, QList<qreal>> look{pen.style(),
                                                     pen.style() == Qt::SolidLine ? QList<qreal>{} : pen.dashPattern()};
    EXPECT_EQ(std::count(seen.begin(), seen.end(), look), 0) << style;
    seen.push_back(look);
  }
  QPen again(Qt::black, 2);
  SetLineStyle(again, 9);
  EXPECT_EQ(again.style(), Qt::DashLine) << "the ninth comes round to the second";
}

// What the view's Copy Data and Save Data give is what the files wrote: a
// value of eight digits, which no float holds, comes out as written from the
// chart, the profile and the line plot alike.
TEST(ScientificView, ItsDataIsTheFilesOwnDecimals) {
  CRunFolder run;
  run.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  run.Write(QStringLiteral("bodyProperty.dat"),
            BodyRows(0.0f) + BodyRows(0.5f).replace(BodyRows(0.5f).find("33.100"), 6, "33.235381"));
  run.Write(QStringLiteral("fabricsTrunk.dat"),
            "0.000000\t0.012345\t1\t0.1\t0.1\t0\t50\t31.234567\t\n0.000000\t0.024691\t1\t0.1\t0.1\t0\t50\t31.5\t\n"
            "0.500000\t0.012345\t1\t0.1\t0.1\t0\t50\t31.765432\t\n0.500000\t0.024691\t1\t0.1\t0.1\t0\t50\t31.5\t\n");
  CSimulationData data;
  ASSERT_TRUE(data.Load(run.Dir()));
  CScientificDlg v(&data, qEnvironmentVariable("CORVANE_MODEL_DIR") + QLatin1Char('/'));
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Body, 0));
  EXPECT_TRUE(v.Chart()->DataText(QLatin1Char(',')).endsWith(QStringLiteral("\n0.5,33.235381\n")))
      << v.Chart()->DataText(QLatin1Char(',')).toStdString();
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  v.OnPropertySelect(4);  // the temperature
  EXPECT_TRUE(v.PlotDataText().contains(QStringLiteral("0,0.012345,0.5,31.765432\n")))
      << v.PlotDataText().toStdString();
  v.OnProfile(true);
  EXPECT_EQ(v.ProfileChart()->DataText(QLatin1Char(',')),
            QStringLiteral("Position(cm),Layer,Temperature(Degree)\n0.012345,1,31.234567\n0.024691,1,31.5\n"));
}
