// The dialog base and the property panel: captions per kind, clicks, keys.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "CaptionTables.h"
#include "PropertyPanel.h"

TEST(PropertyPanel, CaptionsFollowTheKind) {
  const struct {
    OptionKind kind;
    int shown;
    const char* first;
    const char* last;
  } cases[] = {{OptionKind::Body, 9, "Temperature of Skin", "Pressure of the Skin"},
               {OptionKind::Fabric, 6, "Water Vapor Concentration(kg*m^3)", "Liquid Volume Fraction(%)"},
               {OptionKind::Comfort, 3, "Thermal Sensation", "Comfort"},
               {OptionKind::Fiber, 3, "Mean Moisture Concentration(kg*m^3)", "Moisture Content(kg*m^2)"}};
  CPropertyPanel panel;
  panel.show();
  for (const auto& c : cases) {
    panel.ShowPropertyNames(c.kind);
    int visible = 0;
    for (int i = 0; i < 9; ++i) {
      visible += panel.Button(i)->isVisible();
    }
    EXPECT_EQ(visible, c.shown) << static_cast<int>(c.kind);
    EXPECT_EQ(panel.Button(0)->text(), QLatin1String(c.first)) << static_cast<int>(c.kind);
    EXPECT_EQ(panel.Button(c.shown - 1)->text(), QLatin1String(c.last)) << static_cast<int>(c.kind);
    // Every caption reads whole, in the font it is drawn in, and no button
    // reaches into the next column.
    for (int i = 0; i < c.shown; ++i) {
      const QRadioButton* b = panel.Button(i);
      EXPECT_LE(b->sizeHint().width(), b->width()) << static_cast<int>(c.kind) << " " << b->text().toStdString();
      if (i % 3 < 2) {
        EXPECT_LT(b->geometry().right(), panel.Button(i + 1)->x()) << static_cast<int>(c.kind) << " " << i;
      }
    }
  }
  EXPECT_EQ(CPropertyPanel().Button(6)->text(), QStringLiteral("Sweat Volume Accumulated on Skin Surface"));
  EXPECT_EQ(PropertyCaption(OptionKind::Body, 5), QStringLiteral("Sweating Rate"));
  EXPECT_EQ(PropertyName(OptionKind::Body, 5), QStringLiteral("Sweating Rate(SWR)"));
}

TEST(PropertyPanel, AClickSaysItsIndexEachTimeAndLeavesTheMemberToTheOwner) {
  CPropertyPanel panel;
  panel.show();
  QSignalSpy said(&panel, &CPropertyPanel::propertySelect);
  QTest::mouseClick(panel.Button(4), Qt::LeftButton);
  QTest::mouseClick(panel.Button(4), Qt::LeftButton);
  ASSERT_EQ(said.count(), 2);
  EXPECT_EQ(said.at(1).at(0).toInt(), 4);
  EXPECT_EQ(panel.Property(), 0);
  panel.ReadButtons();
  EXPECT_EQ(panel.Property(), 4);
  panel.SetProperty(0);
  EXPECT_TRUE(panel.Button(0)->isChecked());
  panel.SetProperty(9);  // no tenth button: nothing changes
  EXPECT_EQ(panel.Property(), 0);
  EXPECT_TRUE(panel.Button(0)->isChecked());
}

TEST(MyDialog, EnterAndEscapeCloseNothingAndThePageIsWhite) {
  CMyDialog page;
  page.resize(100, 60);
  page.show();
  for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&page, &press);
    EXPECT_TRUE(press.isAccepted()) << key;
    EXPECT_TRUE(page.isVisible()) << key;
  }
  EXPECT_EQ(page.grab().toImage().pixelColor(50, 30), QColor(Qt::white));
  EXPECT_EQ(DialogUnitsToPixels(12, 8, 154, 10), QRect(18, 13, 231, 16));
  EXPECT_EQ(DialogUnitsToPixels(10, 10, 10, 10, 2.0), QRect(30, 33, 30, 33));
}
