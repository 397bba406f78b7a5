// The "Loading..." window: its kind of window, its size and its orange gauge.
#include <gtest/gtest.h>

#include <QProgressBar>

#include "PanelTestSupport.h"
#include "panel/TChangeClothes.h"

namespace kiv {
namespace {

TEST(TChangeClothes, IsAStayOnTopToolWindowWithoutBorderIcons) {
  TChangeClothes window;
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.size(), QSize(229, 24));
  EXPECT_EQ(window.Gauge()->geometry(), QRect(4, 3, 221, 18));
  EXPECT_EQ(window.Gauge()->objectName(), QStringLiteral("Gauge"));
}

TEST(TChangeClothes, AdvanceMovesTheGaugeOneStep) {
  TChangeClothes window;
  window.Gauge()->setMaximum(33);
  window.Gauge()->setValue(0);
  window.Advance();
  window.Advance();
  EXPECT_EQ(window.Gauge()->value(), 2);
}

TEST(TChangeClothes, BarIsOrange) {
  TChangeClothes window;
  window.Gauge()->setMaximum(4);
  window.Gauge()->setValue(4);
  const QImage image = window.Gauge()->grab().toImage();
  // Left of the centred percentage text, inside the border.
  EXPECT_EQ(image.pixelColor(10, 9), QColor(255, 128, 0));
  window.Gauge()->setValue(0);
  const QImage empty = window.Gauge()->grab().toImage();
  EXPECT_NE(empty.pixelColor(10, 9), QColor(255, 128, 0));
}

}  // namespace
}  // namespace kiv
