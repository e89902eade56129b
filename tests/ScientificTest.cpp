// The scientific view: option ids and texts, the glide, the curves taken
// from the store, and the view choosing what it shows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cmath>

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
      const QRadioButton* b = v.m_pPropertyPanel->Button(i);
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
  EXPECT_EQ(v.m_nOption, 1100);
  EXPECT_EQ(v.m_chart->m_strTitle, QStringLiteral("Temperature of Skin(Degree)"));
  EXPECT_EQ(v.m_chart->Points().size(), static_cast<std::size_t>(s.data.Run().m_nSamples));
  EXPECT_FALSE(v.m_chart->isHidden());
  EXPECT_TRUE(!v.m_plotView || v.m_plotView->isHidden());
  EXPECT_EQ(v.m_panels[0]->m_nSelected, 0);
  EXPECT_FALSE(v.Gliding()) << "an idle view runs no timer";
}

TEST(ScientificView, OptionsChooseChartOrPlotAndOnlyOnePanelKeepsItsMark) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.OnOptionSelect(EncodeOption(0, OptionKind::Comfort, 0));  // Head's comfort: bands
  EXPECT_EQ(v.m_chart->m_nBandMode, BandMode::ThermalSensation);
  v.OnPropertySelect(2);
  EXPECT_EQ(v.m_chart->m_nBandMode, BandMode::Comfort);
  for (const CChartDataSet& p : v.m_chart->Points()) {
    EXPECT_TRUE(p.m_fY >= 0 && p.m_fY <= 100);
  }

  v.m_panels[0]->m_nSelected = 1;
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));  // the trunk's first layer
  EXPECT_EQ(v.m_panels[0]->m_nSelected, -1) << "the other panel's mark goes";
  EXPECT_TRUE(v.m_chart->isHidden());
  EXPECT_FALSE(v.m_plotView->isHidden());
  EXPECT_EQ(v.m_plotView->Curves().size(), static_cast<std::size_t>(s.data.Run().m_nNodesPerLayer[Trunk]));
  EXPECT_STREQ(v.m_plotView->m_szAxisTitle[2], "Water Vapor Concentration(kg*m^3)");
  v.OnPropertySelect(5);  // the sample run's fabric files carry the liquid volume fraction
  EXPECT_FALSE(v.m_plotView->Curves().empty());

  // Choosing the option already shown changes nothing.
  v.OnPropertySelect(4);
  const std::size_t curves = v.m_plotView->Curves().size();
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_EQ(v.m_plotView->Curves().size(), curves);
  EXPECT_STREQ(v.m_plotView->m_szAxisTitle[2], "Temperature(Degree)");

  // A fibre's moisture content has no column: an empty plot that says so.
  int fibre = -1;
  for (std::size_t k = 0; k < s.data.Run().m_fibers.size(); ++k) {
    if (FiberOptionText(s.data.Run().m_fibers[k].m_strName, Trunk)) {
      fibre = static_cast<int>(k);
    }
  }
  ASSERT_GE(fibre, 0);
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fiber, fibre));
  EXPECT_FALSE(v.m_plotView->Curves().empty());
  v.OnPropertySelect(2);
  EXPECT_TRUE(v.m_plotView->Curves().empty());
  EXPECT_EQ(v.m_plotView->PlotNote(), "no data");
}

TEST(ScientificView, TheColumnGlidesToTheMouseAndThenRests) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.resize(v.width(), 300);  // shorter than the column
  ASSERT_GT(v.m_nColumnHeight, 300);
  v.OnMouseMove(50, 150);
  EXPECT_TRUE(v.Gliding());
  const int target = v.m_nScrollTarget;
  EXPECT_EQ(target, (v.m_nColumnHeight - 300) * 150 / 300);
  for (int tick = 0; tick < 40 && v.Gliding(); ++tick) {
    v.OnTimer();
  }
  EXPECT_FALSE(v.Gliding());
  EXPECT_EQ(v.m_nPanelScroll, target);
  EXPECT_EQ(v.m_panels[0]->pos(), QPoint(10, 10 - target));
}

TEST(ScientificView, TheChartsCursorFollowsTheClockAndThePlotSavesItsPicture) {
  SampleView s;
  CScientificDlg& v = *s.view;
  EXPECT_TRUE(std::isnan(v.m_chart->m_fCursorTime)) << "no cursor before the player has moved";
  s.data.State().SeekStep(10, 30);  // the chart follows the view state's clock
  EXPECT_FLOAT_EQ(v.m_chart->m_fCursorTime, s.data.Run().m_body[std::size_t{10} * kBodyPartCount].m_fTime)
      << "the drawn step's time, as the axis reads minutes";
  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 1));
  v.show();
  QTemporaryDir dir;
  ASSERT_TRUE(v.SavePlotImage(dir.filePath(QStringLiteral("plot.png"))));
  const QImage plot(dir.filePath(QStringLiteral("plot.png")));
  EXPECT_EQ(plot.size(), v.m_plotView->size() * v.m_plotView->devicePixelRatio());
}

// Comfort bands stand behind one rating, never behind two; "All parts" keeps
// them. The plot has no "All parts", and Home on the page resets its view.
TEST(ScientificView, BandsForOneRatingAndHomeForThePlot) {
  SampleView s;
  CScientificDlg& v = *s.view;
  v.show();
  v.OnOptionSelect(EncodeOption(Arm, OptionKind::Comfort, 0));
  EXPECT_FALSE(v.m_pPropertyPanel->AllParts()->isHidden());
  EXPECT_EQ(v.m_pPropertyPanel->AllParts()->text(), QStringLiteral("All parts"));
  v.OnPropertyAdd(2);
  EXPECT_EQ(v.m_chart->Curves().size(), 2u);
  EXPECT_EQ(v.m_chart->m_nBandMode, BandMode::None);
  EXPECT_EQ(v.m_chart->m_strTitle, QStringLiteral("Thermal Sensation, Comfort"));
  v.OnPropertySelect(1);
  v.OnAllParts(true);
  EXPECT_EQ(v.m_chart->Curves().size(), 6u);
  EXPECT_EQ(v.m_chart->m_nBandMode, BandMode::Dampness);
  EXPECT_EQ(v.m_chart->LegendTexts().front(), QStringLiteral("Arm: Dampness Sensation"));

  v.OnOptionSelect(EncodeOption(Trunk, OptionKind::Fabric, 0));
  EXPECT_TRUE(v.m_pPropertyPanel->AllParts()->isHidden());
  EXPECT_EQ(v.m_plotView->Curves().size(), static_cast<std::size_t>(s.data.Run().m_nNodesPerLayer[Trunk]))
      << "one part's curves";
  v.m_plotView->m_fZoom = 3;
  QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
  QCoreApplication::sendEvent(&v, &home);
  EXPECT_EQ(v.m_plotView->m_fZoom, 1.0f);
}
