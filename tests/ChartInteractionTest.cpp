// The scientific page driven as a user drives it: Ctrl+clicks and the "All
// parts" box in the property panel, then the wheel, a drag, a Shift+drag, a
// double click and Home on the chart, and the hover box, each checked by
// what the page then shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "ScientificDlg.h"
#include "SimulationData.h"

namespace {
void Wheel(QWidget* w, QPoint at, int delta) {
  QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(w, &wheel);
}

void ExpectRange(const TimeRange& got, double lo, double hi, const char* what) {
  EXPECT_NEAR(got.lo, lo, 1e-3) << what;
  EXPECT_NEAR(got.hi, hi, 1e-3) << what;
}
}  // namespace

TEST(ChartInteraction, CtrlClickAllPartsWheelDragBoxAndHome) {
  CSimulationData data;
  ASSERT_TRUE(data.Load(qEnvironmentVariable("CORVANE_SAMPLE_RUN") + QLatin1Char('/')));
  CScientificDlg page(&data, qEnvironmentVariable("CORVANE_MODEL_DIR") + QLatin1Char('/'));
  page.resize(1001, 661);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page, 60000));
  page.Settle();
  CMyChart* chart = page.Chart();
  CPropertyPanel* panel = page.PropertyPanel();

  // Ctrl+click adds the core temperature, then the metabolism on a right
  // axis; a third unit is refused and said so.
  QTest::mouseClick(panel->Button(1), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(chart->LegendTexts(),
            (QStringList{"Head: Temperature of Skin(Degree)", "Head: Temperature of Core(Degree)"}));
  EXPECT_TRUE(panel->Button(0)->isChecked() && panel->Button(1)->isChecked());
  QTest::mouseClick(panel->Button(2), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(chart->Curves().size(), 3u);
  EXPECT_EQ(chart->YLabel(), QStringLiteral("Temperature of Skin, Temperature of Core(Degree)"));
  EXPECT_EQ(chart->Y2Label(), QStringLiteral("Metabolism Rate of Human Body(W*m^2)"));
  QTest::mouseClick(panel->Button(8), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(panel->Status(),
            QStringLiteral("Pressure of the Skin(Pa) not shown: the chart already has two units, Degree and W*m^2."));
  EXPECT_EQ(chart->Curves().size(), 3u);
  EXPECT_FALSE(panel->Button(8)->isChecked());
  QTest::mouseClick(panel->AllParts(), Qt::LeftButton);
  EXPECT_EQ(panel->Status(), QStringLiteral("All parts not shown: a chart holds at most 8 curves."));
  EXPECT_FALSE(panel->AllParts()->isChecked());

  // A plain click shows one quantity again; "All parts" shows it for the six.
  QTest::mouseClick(panel->Button(0), Qt::LeftButton);
  EXPECT_EQ(chart->Curves().size(), 1u);
  EXPECT_TRUE(chart->LegendTexts().isEmpty());
  EXPECT_EQ(panel->Status(), QString());
  QTest::mouseClick(panel->AllParts(), Qt::LeftButton);
  ASSERT_EQ(chart->Curves().size(), 6u);
  EXPECT_EQ(chart->LegendTexts().at(5), QStringLiteral("Foot: Temperature of Skin(Degree)"));

  // The wheel over the middle of the axis shows 0.8 of the run about it.
  chart->repaint();
  const ChartLayout l = chart->Layout();
  const int pixels = XTickColumns(l, 10).back() - l.originX;
  const QPoint middle(l.originX + pixels / 2, l.originY - 40);
  ExpectRange(chart->ShownRange(), 0, 90, "the whole run");
  Wheel(chart, middle, 120);
  const double t = 45;  // the time under the pointer
  ExpectRange(chart->ShownRange(), t - 0.8 * t, t + 0.8 * (90 - t), "one notch in");
  chart->repaint();
  EXPECT_EQ(chart->XLabels().front(), QStringLiteral("9"));
  EXPECT_EQ(chart->XLabels().back(), QStringLiteral("81"));

  // Dragging 50 pixels to the left shows later times.
  const TimeRange before = chart->ShownRange();
  const double shift = 50 * before.Span() / pixels;
  QTest::mousePress(chart, Qt::LeftButton, Qt::NoModifier, middle);
  QTest::mouseMove(chart, middle - QPoint(50, 0));
  QTest::mouseRelease(chart, Qt::LeftButton, Qt::NoModifier, middle - QPoint(50, 0));
  ExpectRange(chart->ShownRange(), before.lo + shift, before.hi + shift, "panned");

  // Shift+drag: the box's times.
  const TimeRange shown = chart->ShownRange();
  const QPoint from(l.originX + pixels / 10, l.originY - 100), to(l.originX + pixels * 3 / 10, l.originY - 20);
  QTest::mousePress(chart, Qt::LeftButton, Qt::ShiftModifier, from);
  QTest::mouseMove(chart, to);
  QTest::mouseRelease(chart, Qt::LeftButton, Qt::ShiftModifier, to);
  ExpectRange(chart->ShownRange(), shown.lo + shown.Span() / 10, shown.lo + shown.Span() * 3 / 10, "the box");

  // The hover box reads every curve at the time under the pointer.
  chart->repaint();
  QMouseEvent move(QEvent::MouseMove, QPointF(middle), chart->mapToGlobal(QPointF(middle)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(chart, &move);
  const QStringList hover = chart->HoverText().split(QLatin1Char('\n'));
  ASSERT_EQ(hover.size(), 7);
  EXPECT_TRUE(hover[0].endsWith(QStringLiteral(" min"))) << hover[0].toStdString();
  EXPECT_TRUE(hover[2].startsWith(QStringLiteral("Trunk: Temperature of Skin(Degree) = "))) << hover[2].toStdString();
  EXPECT_TRUE(hover[2].endsWith(QStringLiteral(" Degree"))) << hover[2].toStdString();

  // A double click, or Home, shows the whole run again.
  QTest::mouseDClick(chart, Qt::LeftButton, Qt::NoModifier, middle);
  EXPECT_FALSE(chart->Zoomed());
  ExpectRange(chart->ShownRange(), 0, 90, "after a double click");
  Wheel(chart, middle, 240);
  EXPECT_TRUE(chart->Zoomed());
  QTest::keyClick(&page, Qt::Key_Home);
  EXPECT_FALSE(chart->Zoomed());
  ExpectRange(chart->ShownRange(), 0, 90, "after Home");
}
