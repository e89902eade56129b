// The legends' texts and rings, the glyph bitmaps and the backdrop pixels,
// computed without GL.

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <clocale>
#include <cmath>

#include "Backdrop.h"
#include "FontLists.h"
#include "GermanLocale.h"
#include "LegendLayout.h"
#include "SimulationData.h"
#include "StoreEditor.h"

TEST(ColourLegend, TitlesAndLabels) {
  EXPECT_STREQ(LegendTitle(0), "Temperature(  C)");
  EXPECT_STREQ(LegendTitle(1), "Humidity");
  EXPECT_STREQ(LegendTitle(2), "Sweating Rate");
  EXPECT_STREQ(LegendTitle(7), "Sweating Rate");
  const float temps[5] = {30, 31, 32, 33, 34};
  EXPECT_EQ(LegendLabels(temps), (std::array<std::string, 5>{"34.0", "33.0", "32.0", "31.0", "30.0"}));
  const float fractions[5] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
  EXPECT_EQ(LegendLabels(fractions),
            (std::array<std::string, 5>{"1.0e+00", "8.0e-01", "6.0e-01", "4.0e-01", "2.0e-01"}));
  const float sweat[5] = {0, 0.00025f, 0.0005f, 0.00075f, 0.001f};
  EXPECT_EQ(LegendLabels(sweat)[0], "1.0e-03");
  EXPECT_EQ(LegendLabels(sweat)[4], "0.0e+00");
  const float big[5] = {-5, 100, 200, 300, 1234.56f};
  EXPECT_EQ(LegendLabels(big)[0], "1234.6");
  EXPECT_EQ(LegendLabels(big)[4], "-5.0");
}

TEST(ColourLegend, LabelsIgnoreTheLocale) {
  const float temps[5] = {30, 31, 32, 33, 36.5f};
  CGermanLocale german;
  ASSERT_TRUE(german.Active()) << kNoGermanLocale;
  EXPECT_EQ(LegendLabels(temps)[0], "36.5");
}

TEST(SectionLegend, RingsFromTheOutsideIn) {
  CSimulationData d;
  EditRun(d).m_nLayers[Trunk] = 3;
  for (int l = 0; l < 3; ++l) {
    EditColours(d).m_allLayerColours[l][Trunk][0] = 0.1f * static_cast<float>(l + 1);
  }
  EditColours(d).m_coreColours[Trunk][2] = 0.5f;
  const auto discs = SectionDiscs(d, Trunk);
  ASSERT_EQ(discs.size(), 5u);
  const char* labels[] = {"Layer3", "Layer2", "Layer1", "Skin", "Core"};
  const float radii[] = {0.18f, 0.144f, 0.108f, 0.072f, 0.036f};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(discs[i].label, labels[i]);
    EXPECT_NEAR(discs[i].radius, radii[i], 1e-6);
    EXPECT_NEAR(discs[i].labelY, 0.10f + 0.04f * static_cast<float>(i), 1e-6);
  }
  EXPECT_FLOAT_EQ(discs[0].colour[0], 0.3f);            // layer 3
  EXPECT_FLOAT_EQ(discs[2].colour[0], 0.1f);            // layer 1
  EXPECT_FLOAT_EQ(discs[3].colour[1], kNoDataGrey[1]);  // no value yet: the no-data grey
  EXPECT_FLOAT_EQ(discs[4].colour[2], 0.5f);

  const auto bare = SectionDiscs(d, Head);
  ASSERT_EQ(bare.size(), 2u);
  EXPECT_EQ(bare[0].label, "Skin");
  EXPECT_NEAR(bare[0].radius, 0.18f, 1e-6);
  EXPECT_NEAR(bare[1].radius, 0.09f, 1e-6);
  EXPECT_TRUE(SectionDiscs(d, 6).empty());
  EXPECT_STREQ(SectionCaption(1), "HEAD");
  EXPECT_STREQ(SectionCaption(6), "FOOT");
  EXPECT_STREQ(SectionCaption(0), "");

  EditRun(d).m_nLayers[Leg] = 12;  // colours past the tenth layer are not kept
  const auto many = SectionDiscs(d, Leg);
  ASSERT_EQ(many.size(), 14u);
  EXPECT_EQ(many[0].label, "Layer12");

  // However many rings, every label stands inside the panel (the core's
  // too) and above the outermost ring where its leader meets it.
  for (const int layers : {0, 3, 4, 6, 12}) {
    EditRun(d).m_nLayers[Leg] = layers;
    const auto rings = SectionDiscs(d, Leg);
    const float w = 0.18f / static_cast<float>(rings.size());
    for (const SectionDisc& r : rings) {
      EXPECT_LE(r.labelY, kSectionLabelTop + 1e-6f) << layers << " layers: " << r.label;
      const float x = r.radius - w / 2;
      EXPECT_GT(r.labelY, std::sqrt(0.18f * 0.18f - x * x) - 1e-6f) << layers << " layers: " << r.label;
    }
  }
}

TEST(Backdrop, FoundBesideTheProgramThenHereAndReadBottomRowFirstInRgbOrder) {
  QTemporaryDir program, here;
  // A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
  QImage image(3, 2, QImage::Format_RGB888);
  image.setPixelColor(0, 0, QColor(255, 0, 0));
  image.setPixelColor(1, 0, QColor(0, 255, 0));
  image.setPixelColor(2, 0, QColor(0, 0, 255));
  image.setPixelColor(0, 1, QColor(255, 255, 255));
  image.setPixelColor(1, 1, QColor(0, 0, 0));
  image.setPixelColor(2, 1, QColor(128, 128, 128));
  ASSERT_TRUE(image.save(here.filePath(QStringLiteral("1.bmp")), "BMP"));
  const QString saved = QDir::currentPath();
  QDir::setCurrent(here.path());
  EXPECT_EQ(FindBackdrop(program.path()), QDir(QDir::currentPath()).filePath(QStringLiteral("1.bmp")));
  ASSERT_TRUE(QFile::copy(here.filePath(QStringLiteral("1.bmp")), program.filePath(QStringLiteral("1.bmp"))));
  EXPECT_EQ(FindBackdrop(program.path()), QDir(program.path()).filePath(QStringLiteral("1.bmp")));
  QDir::setCurrent(saved);

  const BackdropPixels px = ReadBackdrop(program.filePath(QStringLiteral("1.bmp")));
  ASSERT_EQ(px.width, 3);
  ASSERT_EQ(px.height, 2);
  ASSERT_EQ(px.rgb.size(), 18u);  // tightly packed, no row padding
  const std::vector<std::uint8_t> expected = {255, 255, 255, 0, 0,   0, 128, 128, 128,  // bottom row first
                                              255, 0,   0,   0, 255, 0, 0,   0,   255};
  EXPECT_EQ(px.rgb, expected);

  QFile junk(here.filePath(QStringLiteral("junk.bmp")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("BM not a bitmap");
  junk.close();
  EXPECT_TRUE(ReadBackdrop(here.filePath(QStringLiteral("junk.bmp"))).IsNull());
  EXPECT_TRUE(ReadBackdrop(QString()).IsNull());
  QTemporaryDir empty;
  QDir::setCurrent(empty.path());
  EXPECT_TRUE(FindBackdrop(QStringLiteral("/nonexistent")).isEmpty());
  QDir::setCurrent(saved);
}

TEST(FontLists, GlyphBitmapsForGlBitmap) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need the GUI application
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(16);
  const std::vector<GlyphBitmap> glyphs = RasteriseGlyphs(font);
  ASSERT_EQ(glyphs.size(), 255u);
  const GlyphBitmap& space = glyphs[' '];
  EXPECT_GT(space.advance, 0);
  EXPECT_TRUE(space.bits.empty());
  EXPECT_EQ(glyphs[0].advance, 0);
  auto lit = [](const GlyphBitmap& g, int x, int y) {  // y counts from the bottom row
    const int rowBytes = (g.width + 7) / 8;
    return (g.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes) +
                   static_cast<std::size_t>(x / 8)] >>
            (7 - x % 8)) &
           1;
  };
  auto rowLit = [&](const GlyphBitmap& g, int y) {
    int n = 0;
    for (int x = 0; x < g.width; ++x) {
      n += lit(g, x, y);
    }
    return n;
  };
  // An underscore lies at or below the baseline: in the bottom rows, which come first.
  const GlyphBitmap& underscore = glyphs['_'];
  ASSERT_FALSE(underscore.bits.empty());
  int lowest = -1;
  for (int y = 0; y < underscore.height && lowest < 0; ++y) {
    if (rowLit(underscore, y)) {
      lowest = y;
    }
  }
  EXPECT_GE(lowest, 0);
  EXPECT_LE(lowest, static_cast<int>(underscore.yorig));
  // An apostrophe-free capital: nothing below the baseline, something above.
  const GlyphBitmap& t = glyphs['T'];
  EXPECT_EQ(rowLit(t, 0), 0);
  EXPECT_GT(rowLit(t, t.height - 1) + rowLit(t, t.height - 2) + rowLit(t, t.height - 3) + rowLit(t, t.height - 4), 0);
  EXPECT_GT(glyphs['W'].advance, glyphs['i'].advance);
  EXPECT_GT(glyphs[0xE9].advance, 0) << "Latin-1 letters have glyphs";
}
