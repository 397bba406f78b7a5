// The Exact Time Positioner on its own, offscreen: a host that keeps the play position and
// writes the counter with the panel's own counter text, driven by real mouse, key and wheel
// events. Key repeat is driven by calling the timer's handler, one call per tick.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <string>
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
  // The left button going down, coming up, or the pointer moving with the button held.
  void Mouse(QEvent::Type type, int x) {
    const QPointF at(x, TETPForm::kClientHeight / 2);
    const bool move = type == QEvent::MouseMove;
    QMouseEvent event(type, at, form_.Label1->mapToGlobal(at), move ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.Label1, &event);
  }
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

TEST_F(EtpTest, ShowingItWritesThePercentRoundedDownAndTheCounter) {
  OpenAt(kHundredSeconds / 4);
  EXPECT_EQ(Label(), "25% ( 00:25)");
  EXPECT_TRUE(host_.applied.empty());  // opening moves nothing
  form_.hide();
  OpenAt(kHundredSeconds * 3 / 100 - 1);
  EXPECT_EQ(Label(), "2% ( 00:02)");
}

TEST_F(EtpTest, DraggingFollowsThePointerAndStopsAtBothEndsOfTheBar) {
  OpenAt(0);
  Mouse(QEvent::MouseButtonPress, 54);
  Mouse(QEvent::MouseMove, 162);
  Mouse(QEvent::MouseMove, -40);
  Mouse(QEvent::MouseMove, 400);
  EXPECT_EQ(host_.applied, (std::vector<uint32_t>{kHundredSeconds / 4, kHundredSeconds * 3 / 4, 0,
                                                  kHundredSeconds}));
  EXPECT_EQ(Label(), "100% ( 01:40)");
  EXPECT_TRUE(form_.isVisible());
}

TEST_F(EtpTest, LettingGoOfTheButtonClosesTheWindowAndStopsAHeldKey) {
  OpenAt(0);
  Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
  Mouse(QEvent::MouseButtonPress, 108);
  Mouse(QEvent::MouseButtonRelease, 108);
  EXPECT_FALSE(form_.isVisible());
  EXPECT_FALSE(form_.ETPTimer->isActive());
  EXPECT_EQ(host_.applied, std::vector<uint32_t>{kHundredSeconds / 2});
}

TEST_F(EtpTest, CtrlArrowsStepATenthPerTickAndShiftOrAltMakeItAHundredth) {
  OpenAt(0);
  Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(host_.applied.empty());  // the first step comes with the first tick
  form_.ETPTimerTimer();
  EXPECT_EQ(Label(), "10% ( 00:10)");
  for (int tick = 2; tick <= 11; ++tick) form_.ETPTimerTimer();
  EXPECT_EQ(form_.Progress(), kHundredSeconds);  // held at the end

  Key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
  form_.ETPTimerTimer();
  EXPECT_EQ(form_.Progress(), 99 * kRate);
  Key(QEvent::KeyRelease, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form_.ETPTimer->isActive());
  Key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
  form_.ETPTimerTimer();
  EXPECT_EQ(Label(), "98% ( 01:38)");
}

// The way the panel runs it: modally, held Ctrl+Right stepping on real timer ticks until Ctrl is
// let go.
TEST_F(EtpTest, RunModallyItStepsWhileTheKeyIsHeldAndEndsWhenCtrlIsLetGo) {
  form_.Open(kHundredSeconds, 0, kRate);
  QTimer::singleShot(0, &form_, [this] {
    Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
    // Ends the run once two ticks went by, however long they took.
    auto* watch = new QTimer(&form_);
    QObject::connect(watch, &QTimer::timeout, &form_, [this, watch] {
      if (host_.applied.size() < 2) return;
      watch->stop();
      Key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    });
    watch->start(5);
  });
  // Should the window not close, the test ends anyway, and says so.
  bool rescued = false;
  QTimer::singleShot(10'000, &form_, [this, &rescued] {
    rescued = form_.isVisible();
    form_.reject();
  });
  EXPECT_EQ(form_.exec(), QDialog::Rejected);
  EXPECT_FALSE(rescued);
  ASSERT_GE(host_.applied.size(), 2U);
  EXPECT_EQ(host_.applied[1], kHundredSeconds / 5);
}

TEST_F(EtpTest, TheWheelStepsASecondATenthOrAHundredth) {
  OpenAt(50 * kRate);
  Wheel(120);
  Wheel(120, Qt::ControlModifier);
  Wheel(-120, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(host_.applied, (std::vector<uint32_t>{51 * kRate, 61 * kRate, 60 * kRate}));
  EXPECT_EQ(Label(), "60% ( 01:00)");
}

TEST(EtpPlacementTest, OpensBelowTheCounterAndIsPulledBackInsideAtTheRightAndBottomEdges) {
  const QSize window(222, 40);
  const QSize screen(1024, 768);
  EXPECT_EQ(TETPForm::EtpPlacement({803, 200}, 14, window, screen), QPoint(802, 219));
  // Over the bottom it goes twice its height above the bottom edge.
  EXPECT_EQ(TETPForm::EtpPlacement({1020, 760}, 14, window, screen), QPoint(802, 688));
}

}  // namespace
}  // namespace kiv
