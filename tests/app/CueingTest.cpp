// Winding, message stepping and the mouse wheel on the real panel with the fake output. How far a
// tick or a notch moves the head is the transport controller's arithmetic, tested on its own;
// here the keys and the wheel must reach it and the counter and the device must follow.
#include <QWheelEvent>

#include "AppTestSupport.h"

namespace kiv::test {
namespace {

class CueingTest : public PanelTest {
 protected:
  // The third message, 30 seconds long, selected.
  TKivRecForm& BuildOnLongMessage() {
    TKivRecForm& form = BuildWithMessages();
    form.NextMessage();
    form.NextMessage();
    return form;
  }
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(form_->width() / 2.0, form_->height() / 2.0);
    QWheelEvent event(at, form_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form_.get(), &event);
  }
};

TEST_F(CueingTest, WindingMovesPerTickIdleAndSkipsWhilePlaying) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  // A click shorter than one tick moves nothing.
  Press("forwButton");
  EXPECT_TRUE(Shows("forwButton", "ForwardA.bmp"));
  Release("forwButton");
  EXPECT_EQ(tape.Head().At(), start);
  EXPECT_TRUE(tape.CassetteStreamClosed());

  Press("forwButton");
  for (int tick = 0; tick < 3; ++tick) form.Timer1Timer();
  EXPECT_EQ(Text("Count"), QStringLiteral("00:30 / 00:03"));
  Release("forwButton");
  Press("rewButton");
  form.Timer1Timer();
  EXPECT_EQ(tape.Head().At(), start + 2 * kRate);
  Release("rewButton");
  EXPECT_TRUE(output_.Calls().empty());

  // While playing the tick skips from the byte heard and the device starts over there.
  tape.Head().SeekToStart();
  Click("playButton");
  output_.Play(kRate / 2);
  output_.ClearCalls();
  Press("forwButton");
  form.Timer1Timer();
  Settle();
  EXPECT_EQ(output_.Calls().front(), "Reset");
  EXPECT_EQ(uint32_t(output_.Buffer().size()), tape.MessageEnd() - (start + kRate / 2 + kRate));
}

TEST_F(CueingTest, MessageKeysStepWhenIdleChangeSpeedWhilePlayingAndNothingWhilePaused) {
  TKivRecForm& form = BuildWithMessages();
  Press("forwEButton");
  form.Timer1Timer();
  EXPECT_EQ(Text("message"), QStringLiteral("2/3"));
  Release("forwEButton");
  Press("rewSButton");
  form.Timer1Timer();
  EXPECT_EQ(Text("message"), QStringLiteral("1/3"));
  Release("rewSButton");

  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  const uint32_t faster = form.cassette().Head().PlayRate();
  EXPECT_GT(faster, kRate);
  Click("PauseButton");
  Press("forwEButton");
  Press("forwButton");
  EXPECT_EQ(form.cassette().Head().PlayRate(), faster);
  EXPECT_FALSE(form.NextHeld());
  EXPECT_FALSE(form.ForwardHeld());
}

TEST_F(CueingTest, TheWheelSeeksByNotchesAndNotWhileRecording) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  Wheel(120, Qt::ControlModifier);  // a tenth of the message
  EXPECT_EQ(Text("Count"), QStringLiteral("00:30 / 00:03"));
  Wheel(-120, Qt::ControlModifier | Qt::ShiftModifier);  // a hundredth
  EXPECT_EQ(tape.Head().At(), start + 3 * kRate - 30 * kRate / 100);

  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  const uint32_t position = tape.Head().At();
  Wheel(-120);
  EXPECT_EQ(tape.Head().At(), position);
}

}  // namespace
}  // namespace kiv::test
