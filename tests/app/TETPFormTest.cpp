// The Exact Time Positioner on its own, offscreen: a host that keeps the play position and
// writes the counter with the panel's own counter text, driven by real mouse, key and wheel
// events. Key repeat is driven by calling the timer's handler, one call per 40 ms tick.
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
constexpr uint32_t kHundredSeconds = 100 * kRate;  // 1,102,500 bytes: "01:40" long

std::string S(const QString& text) { return text.toStdString(); }

// Keeps the position the positioner hands over, as the panel does, and shows it in the counter.
class Host final : public EtpHost {
 public:
  explicit Host(uint32_t length) : length_(length) {}

  void ApplyEtpPosition(uint32_t progress) override {
    applied.push_back(progress);
    position = progress;
  }
  QString CounterText() const override {
    return QString::fromStdString(kiv::CounterText(length_ / kRate, position / kRate));
  }

  uint32_t position = 0;
  std::vector<uint32_t> applied;

 private:
  uint32_t length_;
};

// A positioner opened on a message of `length` bytes at `progress`, shown as the panel shows it.
class EtpTest : public ::testing::Test {
 protected:
  void OpenAt(uint32_t length, uint32_t progress) {
    host_ = std::make_unique<Host>(length);
    host_->position = progress;
    form_ = std::make_unique<TETPForm>(*host_);
    form_->Open(length, progress, kRate);
    form_->show();
  }

  // The left button going down, coming up, or the pointer moving with the buttons `held`.
  void Mouse(QEvent::Type type, int x, Qt::MouseButtons held = Qt::LeftButton) {
    const QPointF at(x, TETPForm::kClientHeight / 2);
    if (type == QEvent::MouseButtonRelease) held = Qt::NoButton;
    QMouseEvent event(type, at, form_->Label1->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(form_->Label1, &event);
  }

  // One notch of the wheel over the bar's text; positive turns it away from the user.
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(100, 9);
    QWheelEvent event(at, form_->Label1->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form_->Label1, &event);
  }

  // One key going down or up with `modifiers` held, and nothing else: QTest's own key helpers
  // would press and release the modifier keys around it, and Ctrl going up closes the window.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(form_.get(), &event);
  }
  void Release(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(form_.get(), &event);
  }

  QString Label() const { return form_->Label1->text(); }

  std::unique_ptr<Host> host_;
  std::unique_ptr<TETPForm> form_;
};

// --- The window ------------------------------------------------------------------------------

TEST_F(EtpTest, ShowingItWritesThePercentAndThePositionOfTheCounter) {
  OpenAt(kHundredSeconds, kHundredSeconds / 4);
  EXPECT_EQ(S(Label()), "25% ( 00:25)");
  EXPECT_EQ(form_->Maximum(), kHundredSeconds);
  EXPECT_EQ(form_->Progress(), kHundredSeconds / 4);
  EXPECT_TRUE(host_->applied.empty());  // opening moves nothing

  form_->hide();
  host_->position = 0;
  form_->Open(kHundredSeconds, 0, kRate);
  form_->show();
  EXPECT_EQ(S(Label()), "0% ( 00:00)");

  // Just short of a whole percent stays below it.
  form_->hide();
  host_->position = kHundredSeconds * 3 / 100 - 1;
  form_->Open(kHundredSeconds, host_->position, kRate);
  form_->show();
  EXPECT_EQ(S(Label()), "2% ( 00:02)");
}

// --- The mouse -------------------------------------------------------------------------------

TEST_F(EtpTest, DraggingFollowsThePointerAndStopsAtBothEndsOfTheBar) {
  OpenAt(kHundredSeconds, 0);
  Mouse(QEvent::MouseMove, 150, Qt::NoButton);  // nothing pressed on the bar: nothing
  EXPECT_TRUE(host_->applied.empty());

  Mouse(QEvent::MouseButtonPress, 54);
  Mouse(QEvent::MouseMove, 162);
  Mouse(QEvent::MouseMove, -40);
  Mouse(QEvent::MouseMove, 400);
  EXPECT_EQ(host_->applied, (std::vector<uint32_t>{kHundredSeconds / 4, kHundredSeconds * 3 / 4,
                                                   0, kHundredSeconds}));
  EXPECT_EQ(S(Label()), "100% ( 01:40)");
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(EtpTest, LettingGoOfTheButtonClosesTheWindowAndStopsAHeldKey) {
  OpenAt(kHundredSeconds, 0);
  Press(Qt::Key_Right, Qt::ControlModifier);
  Mouse(QEvent::MouseButtonPress, 108);
  Mouse(QEvent::MouseButtonRelease, 108);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->result(), QDialog::Rejected);
  EXPECT_FALSE(form_->Dragging());
  EXPECT_FALSE(form_->ETPTimer->isActive());
  EXPECT_EQ(form_->Tag(), TETPForm::kTagIdle);
  EXPECT_EQ(host_->applied, std::vector<uint32_t>{kHundredSeconds / 2});
}

// --- The keys --------------------------------------------------------------------------------

TEST_F(EtpTest, CtrlRightStepsATenthOfTheMessagePerTickAndStopsAtTheEnd) {
  OpenAt(kHundredSeconds, 0);
  Press(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(form_->Tag(), TETPForm::kTagForward);
  EXPECT_FALSE(form_->Fine());
  EXPECT_TRUE(form_->ETPTimer->isActive());
  EXPECT_TRUE(host_->applied.empty());  // the first step comes with the first tick

  form_->ETPTimerTimer();
  EXPECT_EQ(form_->Progress(), kHundredSeconds / 10);
  EXPECT_EQ(S(Label()), "10% ( 00:10)");
  for (int tick = 2; tick <= 10; ++tick) form_->ETPTimerTimer();
  EXPECT_EQ(form_->Progress(), kHundredSeconds);
  form_->ETPTimerTimer();  // held at the end
  EXPECT_EQ(form_->Progress(), kHundredSeconds);
  ASSERT_EQ(host_->applied.size(), 11U);
  EXPECT_EQ(host_->applied.back(), kHundredSeconds);
  EXPECT_EQ(S(Label()), "100% ( 01:40)");
}

TEST_F(EtpTest, ShiftOrAltWithCtrlMakesTheStepsAHundredth) {
  OpenAt(kHundredSeconds, 50 * kRate);
  Press(Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(form_->Fine());
  form_->ETPTimerTimer();
  form_->ETPTimerTimer();
  EXPECT_EQ(form_->Progress(), 52 * kRate);
  EXPECT_EQ(S(Label()), "52% ( 00:52)");
  Release(Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form_->ETPTimer->isActive());

  Press(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(form_->Fine());
  form_->ETPTimerTimer();
  EXPECT_EQ(form_->Progress(), 51 * kRate);

  // Ctrl alone again: coarse.
  Press(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_FALSE(form_->Fine());
  form_->ETPTimerTimer();
  EXPECT_EQ(form_->Progress(), 41 * kRate);
}

// The way the panel runs it: modally, held Ctrl+Right stepping on real timer ticks until Ctrl is
// let go.
TEST_F(EtpTest, RunModallyItStepsWhileTheKeyIsHeldAndEndsWhenCtrlIsLetGo) {
  host_ = std::make_unique<Host>(kHundredSeconds);
  form_ = std::make_unique<TETPForm>(*host_);
  form_->Open(kHundredSeconds, 0, kRate);
  TETPForm* form = form_.get();
  QTimer::singleShot(0, form, [this, form] {
    Press(Qt::Key_Right, Qt::ControlModifier);
    // Ends the run once two ticks went by, however long they took.
    auto* watch = new QTimer(form);
    QObject::connect(watch, &QTimer::timeout, form, [this, watch] {
      if (host_->applied.size() < 2) return;
      watch->stop();
      Release(Qt::Key_Control, Qt::ControlModifier);
    });
    watch->start(5);
  });
  // Should the window not close, the test ends anyway, and says so.
  bool rescued = false;
  QTimer::singleShot(10'000, form, [form, &rescued] {
    rescued = form->isVisible();
    form->reject();
  });
  EXPECT_EQ(form_->exec(), QDialog::Rejected);
  EXPECT_FALSE(rescued);
  ASSERT_GE(host_->applied.size(), 2U);
  EXPECT_EQ(host_->applied[0], kHundredSeconds / 10);
  EXPECT_EQ(host_->applied[1], kHundredSeconds / 5);
}

// --- The wheel -------------------------------------------------------------------------------

TEST_F(EtpTest, TheWheelStepsASecondATenthOrAHundredth) {
  OpenAt(kHundredSeconds, 50 * kRate);
  Wheel(120);
  EXPECT_EQ(form_->Progress(), 51 * kRate);
  Wheel(-120);
  Wheel(-120);
  EXPECT_EQ(form_->Progress(), 49 * kRate);
  Wheel(120, Qt::ControlModifier);
  EXPECT_EQ(form_->Progress(), 59 * kRate);
  Wheel(-120, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form_->Progress(), 58 * kRate);
  Wheel(120, Qt::AltModifier);  // any other keys: one second
  EXPECT_EQ(form_->Progress(), 59 * kRate);
  Wheel(120, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(form_->Progress(), 60 * kRate);
  EXPECT_EQ(host_->applied, (std::vector<uint32_t>{51 * kRate, 50 * kRate, 49 * kRate,
                                                   59 * kRate, 58 * kRate, 59 * kRate,
                                                   60 * kRate}));
  EXPECT_EQ(S(Label()), "60% ( 01:00)");
}

// --- Where it opens ----------------------------------------------------------------------------

TEST(EtpPlacementTest, OpensBelowTheCounterAndIsPulledBackInsideAtTheRightAndBottomEdges) {
  const QSize window(222, 40);
  const QSize screen(1024, 768);
  EXPECT_EQ(TETPForm::EtpPlacement({802, 709}, 14, window, screen), QPoint(802, 728));
  EXPECT_EQ(TETPForm::EtpPlacement({803, 200}, 14, window, screen), QPoint(802, 219));
  // Over the bottom it goes twice its height above the bottom edge.
  EXPECT_EQ(TETPForm::EtpPlacement({1020, 760}, 14, window, screen), QPoint(802, 688));
}

}  // namespace
}  // namespace kiv
