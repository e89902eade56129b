// The option panel: rows, clicks, colours, the outline and its painting.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "MyPanel.h"
#include "PanelLogic.h"

TEST(PanelLogic, RowsAndWhereAPointFalls) {
  EXPECT_EQ(panel::Height(5), 160);
  EXPECT_EQ(panel::Height(0), 80);
  EXPECT_EQ(panel::RowRect(2), QRect(35, 90, 120, 20));
  const std::pair<int, int> clicks[] = {{60, 0}, {50, -1}, {70, -1}, {71, 1}, {49, -1}, {149, 4}, {150, -1}, {160, -1}};
  for (const auto& [y, row] : clicks) {
    EXPECT_EQ(panel::RowAt(y, 5), row) << y;
  }
}

TEST(PanelLogic, EntriesKeepTheColourBeforeThemUnlessTheyAreLayersOrFibres) {
  const std::vector<QColor> colours = panel::TextColours({101, 301, 201, 401, 102});
  const QColor black(Qt::black), green(0, 120, 0), orange(200, 120, 0);
  EXPECT_EQ(colours, (std::vector<QColor>{black, green, green, orange, orange}));
  EXPECT_EQ(panel::Kind(2345), 3);
}

TEST(PanelLogic, TheOutlineLeavesOutTheBlackAroundThePicture) {
  QImage img(3, 2, QImage::Format_RGB32);
  img.fill(Qt::black);
  img.setPixelColor(1, 0, QColor(16, 16, 16));  // near black: outside too
  img.setPixelColor(2, 0, QColor(17, 0, 0));
  img.setPixelColor(0, 1, QColor(200, 200, 200));
  img.setPixelColor(1, 1, QColor(0, 0, 90));
  const QRegion r = panel::OpaqueRegion(img);
  EXPECT_EQ(r, QRegion(2, 0, 1, 1).united(QRegion(0, 1, 2, 1)));
  EXPECT_EQ(panel::GradientGrey(0, 10), 255);
  EXPECT_EQ(panel::GradientGrey(10, 10), 204);
}

namespace {
int DarkPixels(const QImage& img, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      n += qGray(img.pixel(x, y)) < 100;
    }
  }
  return n;
}

struct PanelFixture {
  QWidget parent;
  CMyPanel panel;
  explicit PanelFixture(int entries) {
    parent.resize(300, 400);
    for (int i = 0; i < entries; ++i) {
      panel.AddOption(QStringLiteral("Entry %1").arg(i), 100 + i);
    }
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 2; y < 30; ++y) {
      for (int x = 10; x < 30; ++x) {
        picture.setPixelColor(x, y, QColor(250, 200, 120));
      }
    }
    panel.CreatePanel(QStringLiteral("Trunk"), picture, &parent, 10, 20);
  }
  void Click(int y) { QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(60, y)); }
};
}  // namespace

TEST(Panel, AClickSelectsItsRowAndSaysItsIdOnce) {
  PanelFixture f(5);
  EXPECT_EQ(f.panel.height(), 160);
  QSignalSpy said(&f.panel, &CMyPanel::optionSelect);
  const QImage before = f.panel.grab().toImage();
  for (int y : {50, 70, 45}) {
    f.Click(y);
  }
  EXPECT_EQ(said.count(), 0);
  f.Click(60);
  ASSERT_EQ(said.count(), 1);
  EXPECT_EQ(said.at(0).at(0).toInt(), 100);
  EXPECT_EQ(f.panel.Selected(), 0);
  const QImage bold = f.panel.grab().toImage();
  EXPECT_GT(DarkPixels(bold, panel::RowRect(0)), DarkPixels(before, panel::RowRect(0))) << "the selected entry is bold";
  f.Click(95);
  EXPECT_EQ(said.at(1).at(0).toInt(), 102);
  const QImage after = f.panel.grab().toImage();
  EXPECT_EQ(DarkPixels(after, panel::RowRect(0)), DarkPixels(before, panel::RowRect(0)));
  f.panel.ClearSelection();
  EXPECT_EQ(f.panel.Selected(), -1);
}

TEST(Panel, AnEmptyPanelSaysSoInRed) {
  PanelFixture f(0);
  EXPECT_EQ(f.panel.height(), 80);
  const QImage img = f.panel.grab().toImage();
  int red = 0;
  const QRect row = panel::RowRect(0);
  for (int y = row.top(); y <= row.bottom(); ++y) {
    for (int x = row.left(); x <= row.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      red += c.red() > 200 && c.green() < 120 && c.blue() < 120;
    }
  }
  EXPECT_GT(red, 10);
}

TEST(Panel, OffsetsAreMeasuredFromWhereThePanelWasMadeAndTheOutlineFollowsThePicture) {
  PanelFixture f(2);
  f.panel.OffsetPanel(0, -30);
  f.panel.OffsetPanel(0, -30);
  EXPECT_EQ(f.panel.pos(), QPoint(10, -10));
  const QRegion outline = f.panel.mask();
  EXPECT_TRUE(outline.contains(QPoint(15, 5)));    // the picture, above the card
  EXPECT_FALSE(outline.contains(QPoint(5, 5)));    // its black surroundings
  EXPECT_FALSE(outline.contains(QPoint(100, 5)));  // beside it, above the card
  EXPECT_TRUE(outline.contains(QPoint(100, 50)));
}
