// The Exact Time Positioner on its own, offscreen: a host that keeps the play position and
// writes the counter with the panel's own counter text, driven by mouse, key and wheel events.
// Key repeat is driven by calling the timer's handler, one call per tick.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <vector>

#include "app/EtpHost.h"
#include "app/TCGauge.h"
#include "app/TETPForm.h"
#include "transport/CounterText.h"

namespace kiv {
namespace {

constexpr uint32_t kRate = 11025;
constexpr uint32_t kHundredSeconds = 100 * kRate;  // "01:40" long

// Keeps the position the positioner hands over, as the panel does, and shows it in the counter.
class Host final : public EtpHost {
 public:
  void ApplyEtpPosition(uint32_t progress) override {
    applied.push_back(progress);
    position = progress;
  }
  QString CounterText() const override {
    return QString::fromStdString(kiv::CounterText(kHundredSeconds / kRate, position / kRate));
  }
  uint32_t position = 0;
  std::vector<uint32_t> applied;
};

// A positioner opened on a message of a hundred seconds at `progress`.
class EtpTest : public ::testing::Test {
 protected:
  void OpenAt(uint32_t progress) {
    host_.position = progress;
    form_.Open(kHundredSeconds, progress, kRate);
    form_.show();
  }
  // One notch of the wheel over the bar's text; positive turns it away from the user.
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(100, 9);
    QWheelEvent event(at, form_.Label1->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form_.Label1, &event);
  }
  // One key event with `modifiers` held, and nothing else: QTest's own key helpers would press
  // and release the modifier keys around it, and Ctrl going up closes the window.
  void Key(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(&form_, &event);
  }
  std::string Label() const { return form_.Label1->text().toStdString(); }

  Host host_;
  TETPForm form_{host_};
};

TEST_F(EtpTest, DraggingStopsAtBothEndsAndLettingGoClosesTheWindowAndAHeldKey) {
  OpenAt(kHundredSeconds * 3 / 100 - 1);
  EXPECT_EQ(Label(), "2% ( 00:02)");  // rounded down
  Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
  const int y = TETPForm::kClientHeight / 2;
  QTest::mousePress(form_.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(54, y));
  QTest::mouseMove(form_.Label1, QPoint(-40, y));
  QTest::mouseMove(form_.Label1, QPoint(400, y));
  EXPECT_EQ(Label(), "100% ( 01:40)");
  QTest::mouseRelease(form_.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(162, y));
  EXPECT_EQ(host_.applied, (std::vector<uint32_t>{kHundredSeconds / 4, 0, kHundredSeconds}));
  EXPECT_FALSE(form_.isVisible());
  EXPECT_FALSE(form_.ETPTimer->isActive());
}

TEST_F(EtpTest, CtrlArrowsStepATenthPerTickAndShiftOrAltMakeItAHundredth) {
  OpenAt(0);
  Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(host_.applied.empty());  // the first step comes with the first tick
  for (int tick = 1; tick <= 11; ++tick) form_.ETPTimerTimer();
  EXPECT_EQ(form_.Progress(), kHundredSeconds);  // held at the end
  Key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
  form_.ETPTimerTimer();
  Key(QEvent::KeyRelease, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form_.ETPTimer->isActive());
  Key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
  form_.ETPTimerTimer();
  EXPECT_EQ(Label(), "98% ( 01:38)");
  // The wheel: a second, a tenth with Ctrl, a hundredth with Ctrl and Shift.
  Wheel(-120);
  Wheel(-120, Qt::ControlModifier);
  Wheel(120, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form_.Progress(), 88 * kRate);
  // Letting go of Ctrl ends the positioning.
  Key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
  EXPECT_FALSE(form_.isVisible());
}

TEST(EtpPlacementTest, OpensBelowTheCounterAndIsPulledBackInsideAtTheRightAndBottomEdges) {
  // Over the bottom it goes twice its height above the bottom edge.
  EXPECT_EQ(TETPForm::EtpPlacement({1020, 760}, 14, QSize(222, 40), QSize(1024, 768)), QPoint(802, 688));
  EXPECT_EQ(TETPForm::EtpPlacement({803, 200}, 14, QSize(222, 40), QSize(1024, 768)), QPoint(802, 219));
}

}  // namespace
}  // namespace kiv
