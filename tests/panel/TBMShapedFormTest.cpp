// The panel's outline from its picture, and dragging the window by the panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstring>
#include <tuple>
#include <vector>

#include "PanelTestSupport.h"
#include "panel/TBMShapedForm.h"

namespace kiv {
namespace {

// A picture from rows of characters: '#' body, '.' magenta, 'o' another body colour.
QImage Picture(std::initializer_list<const char*> rows) {
  QImage image(int(std::strlen(*rows.begin())), int(rows.size()), QImage::Format_RGB32);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < image.width(); ++x) {
      const int blue = row[x] == 'o' ? 254 : 255;
      image.setPixel(x, y, row[x] == '#' ? qRgb(40, 40, 60) : qRgb(255, 0, blue));
    }
    ++y;
  }
  return image;
}

using PixelRun = std::tuple<int, int, int>;  // x1, x2, y

std::vector<PixelRun> Runs(const QImage& picture) {
  std::vector<PixelRun> runs;
  TBMShapedForm::ScanRuns(picture, [&](int x1, int x2, int y) { runs.emplace_back(x1, x2, y); });
  return runs;
}

// Regions compare by the pixels they cover, not by how their rectangles are banded.
bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

TEST(PanelOutline, BottomLeftColourIsTransparentEverywhereAndTheLastColumnNeverCounts) {
  // The transparent colour is the bottom-left pixel's, not the top-left's; holes inside count.
  EXPECT_EQ(Runs(Picture({"#.####", "##.#o#", ".####."})),
            (std::vector<PixelRun>{{0, 0, 0}, {2, 4, 0}, {0, 1, 1}, {3, 4, 1}, {1, 4, 2}}));
  // A transparent row adds nothing: the last column opens and closes an empty run.
  EXPECT_EQ(Runs(Picture({"....", "#...", "...."})),
            (std::vector<PixelRun>{{3, 2, 0}, {0, 0, 1}, {3, 2, 1}, {3, 2, 2}}));
  EXPECT_TRUE(TBMShapedForm::RegionOf(QImage()).isEmpty());
  QRegion region;
  TBMShapedForm::AddRegion(region, 5, 4, 0);
  EXPECT_TRUE(region.isEmpty()) << "a backward run";
  // Colours compare on 24 bits, whatever the alpha.
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(QColor(255, 0, 255, 255));
  picture.setPixelColor(0, 0, QColor(255, 0, 255, 10));
  picture.setPixelColor(1, 0, QColor(255, 0, 254, 255));
  EXPECT_TRUE(SameArea(TBMShapedForm::RegionOf(picture), QRegion(1, 0, 1, 1)));
}

class ShapedWindowTest : public ::testing::Test {
 protected:
  ShapedWindowTest() : window(nullptr, Qt::FramelessWindowHint), panel(new TBMShapedForm(&window)) {
    window.move(100, 100);
    window.resize(50, 50);
    window.show();
  }
  void Send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(panel->mapToGlobal(pos)), button, buttons,
                      modifiers);
    QApplication::sendEvent(panel, &event);
  }

  QWidget window;
  TBMShapedForm* panel;
};

TEST_F(ShapedWindowTest, PictureGivesTheWindowItsSizeAndOutlineOrStretchesToIt) {
  panel->SetPicture(QImage());
  EXPECT_TRUE(window.mask().isEmpty());
  EXPECT_FALSE(panel->RegionHandedOver());
  const QImage picture = Picture({"..####..", ".######.", "########", ".######.", "..####.."});
  panel->SetPicture(picture);
  EXPECT_EQ(window.size(), QSize(8, 5));
  EXPECT_TRUE(SameArea(window.mask(), TBMShapedForm::RegionOf(picture)));
  EXPECT_TRUE(panel->RegionHandedOver());

  panel->SetStretch(true);
  window.resize(8, 4);
  panel->SetPicture(Picture({"####", ".#.#"}));
  EXPECT_EQ(window.size(), QSize(8, 4));
  // Each picture pixel covers 2 by 2; the last column of the sampled picture is still left out.
  EXPECT_TRUE(
      SameArea(window.mask(), QRegion(0, 0, 7, 2) + QRegion(2, 2, 2, 2) + QRegion(6, 2, 1, 2)));
}

TEST(ShapedWindow, PanelLiesUnderControlsMadeBeforeIt) {
  QWidget window(nullptr, Qt::FramelessWindowHint);
  auto* key = new QWidget(&window);
  key->setGeometry(2, 2, 5, 5);
  auto* panel = new TBMShapedForm(&window);
  panel->SetPicture(
      Picture({"##########", "##########", "##########", "##########", ".#########"}));
  window.show();
  EXPECT_EQ(window.childAt(3, 3), key);
  EXPECT_EQ(window.childAt(8, 1), panel);
}

TEST_F(ShapedWindowTest, LeftButtonAloneDragsTheWindowStepByStep) {
  Send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  for (const Qt::KeyboardModifier modifier :
       {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    Send(QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton, modifier);
  }
  Send(QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(window.pos(), QPoint(100, 100));
  Send(QEvent::MouseMove, {15, 13}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(105, 103));
  // The pointer is back over the press point after the window followed it: each step is relative.
  Send(QEvent::MouseMove, {8, 10}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(103, 103));
  panel->SetMoveable(false);
  Send(QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(103, 103));
}

TEST_F(ShapedWindowTest, ClickComesBeforeTheReleaseAndNotAfterADoubleClick) {
  QStringList order;
  const auto note = [&order](const char* what) {
    return [&order, what] { order.append(QLatin1String(what)); };
  };
  QObject::connect(panel, &TBMShapedForm::MousePressed, note("press"));
  QObject::connect(panel, &TBMShapedForm::MouseReleased, note("release"));
  QObject::connect(panel, &TBMShapedForm::Clicked, note("click"));
  QObject::connect(panel, &TBMShapedForm::DoubleClicked, note("double"));
  Send(QEvent::MouseButtonPress, {3, 4}, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {3, 4}, Qt::LeftButton, Qt::NoButton);
  Send(QEvent::MouseButtonDblClick, {3, 4}, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {3, 4}, Qt::LeftButton, Qt::NoButton);
  Send(QEvent::MouseButtonPress, {3, 4}, Qt::RightButton, Qt::RightButton);
  Send(QEvent::MouseButtonRelease, {3, 4}, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(order.join(u' '),
            QStringLiteral("press click release double press release press release"));
}

}  // namespace
}  // namespace kiv
