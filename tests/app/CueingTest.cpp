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

TEST_F(CueingTest, IdleWindingMovesOneSecondPerTickWithinTheMessage) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  ASSERT_EQ(tape.CurrentMessage(), 3u);
  const uint32_t start = tape.MessageStart();

  // A click shorter than one tick moves nothing.
  Press("forwButton");
  EXPECT_TRUE(Shows("forwButton", "ForwardA.bmp"));
  EXPECT_TRUE(Timer("Timer1")->isActive());
  EXPECT_EQ(Timer("Timer1")->interval(), 55);
  Release("forwButton");
  EXPECT_TRUE(Shows("forwButton", "ForwardM.bmp"));
  EXPECT_FALSE(Timer("Timer1")->isActive());
  EXPECT_EQ(tape.Head().Position(), start);
  EXPECT_TRUE(tape.CassetteStreamClosed());

  Press("forwButton");
  for (int tick = 0; tick < 3; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.Head().Position(), start + 3 * kRate);
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:03"));
  // Holding on stops at the end of the message.
  for (int tick = 0; tick < 40; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.Head().Position(), tape.MessageEnd());
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:30"));
  Release("forwButton");

  Press("rewButton");
  EXPECT_TRUE(Shows("rewButton", "BackwardA.bmp"));
  form.Timer1Timer();
  EXPECT_EQ(tape.Head().Position(), tape.MessageEnd() - kRate);
  for (int tick = 0; tick < 40; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.Head().Position(), start);
  Release("rewButton");
  EXPECT_TRUE(Shows("rewButton", "BackwardM.bmp"));
  EXPECT_TRUE(output_.Calls().empty());
}

TEST_F(CueingTest, WindingDuringPlaybackSkipsAndRestartsTheSound) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
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
  form.Timer1Timer();
  Settle();
  EXPECT_EQ(tape.Head().Position(), start + kRate / 2 + 2 * kRate);
  Release("forwButton");
  // The playback keeps the stream and goes on.
  EXPECT_FALSE(tape.CassetteStreamClosed());
  EXPECT_TRUE(form.Playback().Playing());

  Press("rewButton");
  for (int tick = 0; tick < 5; ++tick) {
    form.Timer1Timer();
    Settle();
  }
  EXPECT_EQ(tape.Head().Position(), start);
  Release("rewButton");
}

TEST_F(CueingTest, MessageKeysStepThroughMessagesWhenIdle) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  Cassette& tape = form.cassette();
  EXPECT_EQ(form.Availability()[PanelControl::PreviousMessage], Availability::Unavailable);

  Press("forwEButton");
  EXPECT_TRUE(Shows("forwEButton", "FastForwardA.bmp"));
  EXPECT_TRUE(form.NextHeld());
  form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 2u);
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("2/3"));
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:05 / 00:00"));
  EXPECT_TRUE(Timer("Timer3")->isActive());
  form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 3u);
  EXPECT_EQ(form.Availability()[PanelControl::NextMessage], Availability::Unavailable);
  // On the last message holding on does nothing more.
  form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 3u);
  EXPECT_EQ(tape.Head().Position(), tape.MessageStart());
  Release("forwEButton");
  EXPECT_FALSE(form.NextHeld());
  EXPECT_TRUE(Shows("forwEButton", "FastForwardM.bmp"));

  Press("rewSButton");
  for (int tick = 0; tick < 4; ++tick) form.Timer1Timer();
  EXPECT_EQ(tape.CurrentMessage(), 1u);
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("1/3"));
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
  Press("forwEButton");
  Release("forwEButton");
  EXPECT_GT(form.cassette().Head().PlayRate(), faster);

  Click("PauseButton");
  const uint32_t paused = form.cassette().Head().PlayRate();
  Press("forwEButton");
  Press("forwButton");
  EXPECT_EQ(form.cassette().Head().PlayRate(), paused);
  EXPECT_FALSE(form.NextHeld());
  EXPECT_FALSE(form.ForwardHeld());
}

TEST_F(CueingTest, MouseWheelSeeksBySecondTenthAndHundredth) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  const uint32_t length = 30 * kRate;

  Wheel(form, 120);
  EXPECT_EQ(tape.Head().Position(), start + kRate);
  Wheel(form, 120, Qt::ControlModifier);
  EXPECT_EQ(tape.Head().Position(), start + kRate + length / 10);
  Wheel(form, 120, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tape.Head().Position(), start + kRate + length / 10 + length / 100);
  EXPECT_EQ(CounterOf(form), QStringLiteral("00:30 / 00:04"));
  // Any other modifier is a one-second step; half a notch is none yet.
  Wheel(form, -120, Qt::AltModifier);
  EXPECT_EQ(tape.Head().Position(), start + length / 10 + length / 100);
  Wheel(form, 60);
  EXPECT_EQ(tape.Head().Position(), start + length / 10 + length / 100);
  Wheel(form, 60);
  EXPECT_EQ(tape.Head().Position(), start + kRate + length / 10 + length / 100);

  // Towards the start from less than a step lands on the start, past the end on the end.
  tape.Head().SeekTo(kRate / 2);
  Wheel(form, -120);
  EXPECT_EQ(tape.Head().Position(), start);
  tape.Head().SeekTo(tape.Head().Length() - kRate / 2);
  Wheel(form, 120);
  EXPECT_EQ(tape.Head().Position(), tape.MessageEnd());
}

TEST_F(CueingTest, MouseWheelDuringPlaybackRestartsAtNormalSpeedAndResumesAPause) {
  TKivRecForm& form = BuildOnLongMessage();
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  Settle();
  const uint32_t fast = tape.Head().PlayRate();
  ASSERT_GT(fast, kRate);
  output_.Play(kRate);

  // A plain step is one second at the speed playing, and ends fast play.
  Wheel(form, 120);
  EXPECT_EQ(tape.Head().PlayRate(), kRate);
  Settle();
  EXPECT_EQ(output_.Rate(), kRate);
  EXPECT_EQ(tape.Head().Position(), start + kRate + fast);

  Click("PauseButton");
  ASSERT_TRUE(form.Playback().PlayPaused());
  Wheel(form, -120);
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_TRUE(form.Playback().Playing());
  EXPECT_EQ(tape.Head().Position(), start + fast);
}

TEST_F(CueingTest, MouseWheelIsIgnoredWhileRecording) {
  TKivRecForm& form = Build();
  form.show();
  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  CaptureBuffers(3);
  const uint32_t position = form.cassette().Head().Position();
  Wheel(form, -120);
  EXPECT_EQ(form.cassette().Head().Position(), position);
  Click("stopButton");
}

}  // namespace
}  // namespace kiv::test
