// The panel's outline from its picture, and dragging the window by the panel.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "PanelTestSupport.h"
#include "panel/TBMShapedForm.h"

namespace kiv {
namespace {

const QColor kMagenta(255, 0, 255);
const QColor kBody(40, 40, 60);

// A picture from rows of characters: '#' body, '.' magenta.
QImage Picture(std::initializer_list<const char*> rows) {
  const int width = static_cast<int>(std::strlen(*rows.begin()));
  QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < width; ++x) image.setPixelColor(x, y, row[x] == '#' ? kBody : kMagenta);
    ++y;
  }
  return image;
}

// Regions compare by the pixels they cover, not by how their rectangles are banded.
bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

using PixelRun = std::tuple<int, int, int>;  // x1, x2, y

std::vector<PixelRun> Runs(const QImage& picture) {
  std::vector<PixelRun> runs;
  TBMShapedForm::ScanRuns(picture, [&](int x1, int x2, int y) { runs.emplace_back(x1, x2, y); });
  return runs;
}

TEST(PanelOutline, TransparentColourMakesHolesEvenInsideThePanel) {
  const QImage picture = Picture({
      ".####.",
      "##.###",
      ".####.",
  });
  const QRegion region = TBMShapedForm::RegionOf(picture);
  EXPECT_TRUE(region.contains(QPoint(1, 0)));
  EXPECT_FALSE(region.contains(QPoint(0, 0)));
  EXPECT_TRUE(region.contains(QPoint(1, 1)));
  EXPECT_FALSE(region.contains(QPoint(2, 1)));
  EXPECT_TRUE(region.contains(QPoint(3, 1)));
  EXPECT_EQ(Runs(picture), (std::vector<PixelRun>{{1, 4, 0}, {0, 1, 1}, {3, 4, 1}, {1, 4, 2}}));
}

TEST(PanelOutline, LastColumnNeverBelongsToTheWindow) {
  // Only the corner is transparent.
  const QImage picture = Picture({
      "#####",
      "#####",
      ".####",
  });
  const QRegion region = TBMShapedForm::RegionOf(picture);
  EXPECT_EQ(region.boundingRect(), QRect(0, 0, 4, 3));
  EXPECT_TRUE(region.contains(QPoint(3, 0)));
  EXPECT_FALSE(region.contains(QPoint(4, 0)));
  EXPECT_FALSE(region.contains(QPoint(0, 2)));
  EXPECT_TRUE(region.contains(QPoint(1, 2)));
  EXPECT_EQ(Runs(picture), (std::vector<PixelRun>{{0, 3, 0}, {0, 3, 1}, {1, 3, 2}}));
}

TEST(PanelOutline, TransparentRowAddsNothingAndALonePixelAddsOne) {
  const QImage picture = Picture({
      "....",
      "#...",
      "....",
  });
  // The empty runs are the last column opening and closing at once; they add nothing.
  EXPECT_EQ(Runs(picture), (std::vector<PixelRun>{{3, 2, 0}, {0, 0, 1}, {3, 2, 1}, {3, 2, 2}}));
  const QRegion region = TBMShapedForm::RegionOf(picture);
  EXPECT_TRUE(SameArea(region, QRegion(0, 1, 1, 1)));
}

TEST(PanelOutline, EmptyPictureAndOneColumnGiveNoOutline) {
  EXPECT_TRUE(TBMShapedForm::RegionOf(QImage()).isEmpty());
  EXPECT_TRUE(TBMShapedForm::RegionOf(Picture({"#", "#", "."})).isEmpty());
}

TEST(PanelOutline, ColoursCompareExactlyOnTwentyFourBits) {
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(QColor(255, 0, 255, 255));
  // Same colour, other alpha: still transparent.
  picture.setPixelColor(0, 0, QColor(255, 0, 255, 10));
  // One step off in blue: opaque.
  picture.setPixelColor(1, 0, QColor(255, 0, 254, 255));
  EXPECT_TRUE(SameArea(TBMShapedForm::RegionOf(picture), QRegion(1, 0, 1, 1)));
}

TEST(PanelOutline, AddRegionIgnoresBackwardRuns) {
  QRegion region;
  TBMShapedForm::AddRegion(region, 5, 4, 0);
  EXPECT_TRUE(region.isEmpty());
  TBMShapedForm::AddRegion(region, 2, 4, 1);
  EXPECT_TRUE(SameArea(region, QRegion(2, 1, 3, 1)));
  TBMShapedForm::AddRegion(region, 6, 6, 1);
  EXPECT_EQ(region.rectCount(), 2);
}

class ShapedWindowTest : public ::testing::Test {
 protected:
  ShapedWindowTest() : window(nullptr, Qt::FramelessWindowHint), panel(new TBMShapedForm(&window)) {
    window.move(100, 100);
    window.resize(50, 50);
    window.show();
  }

  QWidget window;
  TBMShapedForm* panel;
};

TEST_F(ShapedWindowTest, PictureGivesTheWindowItsSizeAndOutline) {
  EXPECT_TRUE(panel->AutoSize());
  const QImage picture = Picture({
      "..####..",
      ".######.",
      "########",
      ".######.",
      "..####..",
  });
  panel->SetPicture(picture);
  EXPECT_EQ(window.size(), QSize(8, 5));
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 8, 5));
  EXPECT_TRUE(SameArea(window.mask(), TBMShapedForm::RegionOf(picture)));
  EXPECT_EQ(panel->Region(), window.mask());
  EXPECT_TRUE(panel->RegionHandedOver());
  EXPECT_TRUE(panel->isVisible());
}

TEST_F(ShapedWindowTest, StretchSamplesTheOutlineAtTheControlsSize) {
  panel->SetStretch(true);
  EXPECT_FALSE(panel->AutoSize());
  window.resize(8, 4);
  panel->SetPicture(Picture({
      "####",
      ".#.#",
  }));
  EXPECT_EQ(window.size(), QSize(8, 4));
  // Each picture pixel covers 2 by 2; the last column of the sampled picture is still left out.
  EXPECT_TRUE(
      SameArea(window.mask(), QRegion(0, 0, 7, 2) + QRegion(2, 2, 2, 2) + QRegion(6, 2, 1, 2)));

  panel->SetAutoSize(true);
  EXPECT_FALSE(panel->Stretch());
  EXPECT_EQ(window.size(), QSize(4, 2));
}

TEST_F(ShapedWindowTest, EmptyPictureLeavesTheWindowRectangular) {
  panel->SetPicture(QImage());
  EXPECT_TRUE(window.mask().isEmpty());
  EXPECT_FALSE(panel->RegionHandedOver());
  EXPECT_EQ(window.size(), QSize(50, 50));
  EXPECT_EQ(panel->size(), QSize(50, 50));
}

TEST(ShapedWindow, PanelLiesUnderControlsMadeBeforeIt) {
  QWidget window(nullptr, Qt::FramelessWindowHint);
  auto* key = new QWidget(&window);
  key->setGeometry(2, 2, 5, 5);
  auto* panel = new TBMShapedForm(&window);
  panel->SetPicture(Picture({"##########", "##########", "##########", "##########",
                             "##########", "##########", "##########", ".#########"}));
  window.show();
  EXPECT_EQ(window.childAt(3, 3), key);
  EXPECT_EQ(window.childAt(8, 1), panel);
}

void Send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
          Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons,
                    modifiers);
  QApplication::sendEvent(target, &event);
}

TEST_F(ShapedWindowTest, LeftButtonAloneDragsTheWindow) {
  Send(panel, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  Send(panel, QEvent::MouseMove, {15, 13}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(105, 103));
  // The pointer is back over the press point after the window followed it: each step is relative.
  Send(panel, QEvent::MouseMove, {8, 10}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(103, 103));
}

TEST_F(ShapedWindowTest, ModifiersOtherButtonsOrNotMoveableDoNotDrag) {
  Send(panel, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  for (const Qt::KeyboardModifier modifier :
       {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    Send(panel, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton, modifier);
    EXPECT_EQ(window.pos(), QPoint(100, 100)) << modifier;
  }
  Send(panel, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(window.pos(), QPoint(100, 100));

  Send(panel, QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
  Send(panel, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(window.pos(), QPoint(100, 100));

  panel->SetMoveable(false);
  Send(panel, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  Send(panel, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(100, 100));
  panel->SetMoveable(true);
  Send(panel, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(110, 110));
}

TEST_F(ShapedWindowTest, DragWithTheTestDriverMovesTheWindow) {
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseMove(panel, QPoint(9, 12));
  EXPECT_EQ(window.pos(), QPoint(104, 107));
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

TEST_F(ShapedWindowTest, MouseSignalsForTheMainWindow) {
  QStringList order;
  QObject::connect(panel, &TBMShapedForm::MousePressed,
                   [&] { order.append(QStringLiteral("press")); });
  QObject::connect(panel, &TBMShapedForm::MouseReleased,
                   [&] { order.append(QStringLiteral("release")); });
  QObject::connect(panel, &TBMShapedForm::Clicked, [&] { order.append(QStringLiteral("click")); });
  QObject::connect(panel, &TBMShapedForm::DoubleClicked,
                   [&] { order.append(QStringLiteral("double")); });
  QSignalSpy moves(panel, &TBMShapedForm::MouseMoved);

  Send(panel, QEvent::MouseMove, {3, 4}, Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(moves.size(), 1);
  EXPECT_EQ(moves[0][2].toPoint(), QPoint(3, 4));

  Send(panel, QEvent::MouseButtonPress, {3, 4}, Qt::LeftButton, Qt::LeftButton);
  Send(panel, QEvent::MouseButtonRelease, {3, 4}, Qt::LeftButton, Qt::NoButton);
  Send(panel, QEvent::MouseButtonDblClick, {3, 4}, Qt::LeftButton, Qt::LeftButton);
  Send(panel, QEvent::MouseButtonRelease, {3, 4}, Qt::LeftButton, Qt::NoButton);
  // The click is reported before the release; the release after a double click is no click.
  EXPECT_EQ(order, QStringList({QStringLiteral("press"), QStringLiteral("click"),
                                QStringLiteral("release"), QStringLiteral("double"),
                                QStringLiteral("press"), QStringLiteral("release")}));

  order.clear();
  Send(panel, QEvent::MouseButtonPress, {3, 4}, Qt::RightButton, Qt::RightButton);
  Send(panel, QEvent::MouseButtonRelease, {3, 4}, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(order, QStringList({QStringLiteral("press"), QStringLiteral("release")}));
}

}  // namespace
}  // namespace kiv
