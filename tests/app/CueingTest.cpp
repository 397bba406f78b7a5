// Winding, message stepping and the mouse wheel on the real panel with the fake output: where the
// play head goes, what the counter and the message label say, and what the device is told.
#include <QLabel>
#include <QWheelEvent>

#include "TransportTestSupport.h"

namespace kiv::test {
namespace {

QString CounterOf(const TKivRecForm& form) {
  return form.findChild<QLabel*>(QStringLiteral("Count"))->text();
}

void Wheel(TKivRecForm& form, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF at(form.width() / 2.0, form.height() / 2.0);
  QWheelEvent event(at, form.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&form, &event);
}

class CueingTest : public TransportTest {
 protected:
  // The third message, 30 seconds long, selected.
  TKivRecForm& BuildOnLongMessage() {
    TKivRecForm& form = BuildWithMessages();
    form.show();
    form.NextMessage();
    form.NextMessage();
    return form;
  }
};

TEST_F(CueingTest, WindingMovesASecondPerTickIdleAndSkipsWhilePlaying) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();

  // A click shorter than one tick moves nothing.
  Press("forwButton");
  EXPECT_TRUE(Shows("forwButton", "ForwardA.bmp"));
  Release("forwButton");
  EXPECT_TRUE(Shows("forwButton", "ForwardM.bmp"));
  EXPECT_FALSE(Timer("Timer1")->isActive());
  EXPECT_EQ(tape.Head().At(), start);
  EXPECT_TRUE(tape.CassetteStreamClosed());

  Press("forwButton");
  for (int tick = 0; tick < 3; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.Head().At(), start + 3 * kRate);
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:03"));
  Release("forwButton");
  Press("rewButton");
  form.Timer1Timer();
  EXPECT_EQ(tape.Head().At(), start + 2 * kRate);
  Release("rewButton");
  EXPECT_TRUE(output_.Calls().empty());

  tape.Head().SeekToStart();
  Click("playButton");
  ASSERT_TRUE(form.Playback().Playing());
  output_.Play(kRate / 2);
  output_.ClearCalls();
  Press("forwButton");
  form.Timer1Timer();
  // Half a second heard, one second skipped: the new segment starts 1.5 s in.
  EXPECT_EQ(tape.Head().Position(), start + kRate / 2 + kRate);
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:01"));
  Settle();
  EXPECT_EQ(output_.Calls().front(), "Reset");
  EXPECT_EQ(uint32_t(output_.Buffer().size()), tape.MessageEnd() - (start + kRate / 2 + kRate));
  Release("forwButton");
  // The playback keeps the stream and goes on.
  EXPECT_FALSE(tape.CassetteStreamClosed());
  EXPECT_TRUE(form.Playback().Playing());
}

TEST_F(CueingTest, MessageKeysStepThroughMessagesWhenIdle) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  Cassette& tape = form.cassette();
  Press("forwEButton");
  EXPECT_TRUE(Shows("forwEButton", "FastForwardA.bmp"));
  form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 2u);
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("2/3"));
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:05 / 00:00"));
  EXPECT_TRUE(Timer("Timer3")->isActive());
  form.Timer1Timer();
  form.Timer1Timer();  // on the last message holding on does nothing more
  EXPECT_EQ(tape.CurrentMessage(), 3u);
  EXPECT_EQ(form.Availability()[PanelControl::NextMessage], Availability::Unavailable);
  Release("forwEButton");
  EXPECT_FALSE(form.NextHeld());

  Press("rewSButton");
  for (int tick = 0; tick < 4; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 1u);
  EXPECT_EQ(form.Availability()[PanelControl::PreviousMessage], Availability::Unavailable);
  EXPECT_EQ(form.Availability()[PanelControl::NextMessage], Availability::Available);
  Release("rewSButton");
}

TEST_F(CueingTest, MessageKeysChangeSpeedOnceWhilePlayingAndNothingWhilePaused) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  const uint32_t faster = form.cassette().Head().PlayRate();
  EXPECT_GT(faster, kRate);
  EXPECT_EQ(form.cassette().CurrentMessage(), 1u);

  Click("PauseButton");
  Press("forwEButton");
  Press("forwButton");
  EXPECT_EQ(form.cassette().Head().PlayRate(), faster);
  EXPECT_FALSE(form.NextHeld());
  EXPECT_FALSE(form.ForwardHeld());
}

TEST_F(CueingTest, TheMouseWheelSeeksByNotchesRestartsAtNormalSpeedAndNotWhileRecording) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  Wheel(form, 120, Qt::ControlModifier);
  EXPECT_EQ(tape.Head().At(), start + 3 * kRate);
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:03"));
  Wheel(form, -60);  // half a notch is none yet
  EXPECT_EQ(tape.Head().At(), start + 3 * kRate);
  Wheel(form, -60, Qt::AltModifier);
  EXPECT_EQ(tape.Head().At(), start + 2 * kRate);

  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  Settle();
  const uint32_t fast = tape.Head().PlayRate();
  output_.Play(kRate);
  Wheel(form, 120);  // a second at the speed playing, and back to normal speed
  Settle();
  EXPECT_EQ(output_.Rate(), kRate);
  EXPECT_EQ(tape.Head().Position(), start + 3 * kRate + fast);
  Click("PauseButton");
  Wheel(form, -120);
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_TRUE(form.Playback().Playing());
  EXPECT_EQ(tape.Head().Position(), start + 2 * kRate + fast);
  Click("stopButton");
  Settle();

  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  const uint32_t position = tape.Head().At();
  Wheel(form, -120);
  EXPECT_EQ(tape.Head().At(), position);
  Click("stopButton");
}

}  // namespace
}  // namespace kiv::test
