// The engines on the real sound devices, against the private PulseAudio server of
// scripts/pulse-rig: a recording from its 440 Hz microphone lands on a real cassette as a tone,
// a message played through the engine is really heard on the null sink's monitor, also across a
// seek, and with no sound server at all the user gets the boxes for a missing device.
//
// What arrived is judged by counting zero crossings, never by the code under test. Waits on the
// devices are bounded; a recording's length is compared with the time that really passed, not
// with a fixed expectation, so a slow machine records more or less but does not fail.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../cassette/CassetteTestSupport.h"
#include "../support/RigSound.h"
#include "AudioTestSupport.h"
#include "audio/CaptureEngine.h"
#include "audio/PlaybackEngine.h"
#include "cassette/Cassette.h"
#include "platform/QtAudioInput.h"
#include "platform/QtAudioOutput.h"
#include "platform/QtFreeSpace.h"
#include "platform/fake/FakeDialogs.h"

namespace kiv {
namespace {

using rig::Frequency;
using rig::kRate;
using rig::Loud;

// The cassette lives in the test's own throw-away folder.
class EngineCassetteTest : public test::CassetteTest {
 protected:
  std::string CassettePath() const { return PathIn("kivrec.cst"); }

  // A cassette whose only message is `sound`, selected, the play head at its start.
  void MakeCassetteWith(Cassette& cassette, const QByteArray& sound) {
    Put(cassette, "kivrec.cst", test::CassetteBuilder().Raw(test::BytesOf(sound)).Table()
                                    .Entry(1, 0, uint32_t(sound.size())).bytes());
    ASSERT_TRUE(cassette.SelectMessage(1).ok());
  }
};

class EngineRigTest : public EngineCassetteTest {
 protected:
  void SetUp() override {
    const std::string unavailable = rig::RigUnavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    EngineCassetteTest::SetUp();
  }
};

TEST_F(EngineRigTest, TwoSecondsRecordedFromTheMicrophoneAreOneMessageOfItsTone) {
  Cassette cassette(Env());
  ASSERT_TRUE(cassette.CreateBlankCassette(CassettePath()).ok());
  QtAudioInput input;
  QtFreeSpace freeSpace;
  FakeDialogs dialogs;
  test::CaptureRecordingView view;
  CaptureEngine engine(cassette, input, freeSpace, dialogs, view);

  // Opening the device may take a while on a busy machine: the sound counts from the start of
  // the capture, at the latest when StartRecording returns.
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(engine.StartRecording());
  QElapsedTimer capturing;
  capturing.start();
  // The rig's microphone takes the cassette's own rate: every byte is kept as it came.
  EXPECT_EQ(engine.CaptureRatio(), 1.0f);
  QTest::qWait(2000);
  engine.StopRecording();
  const double seconds = double(clock.elapsed()) / 1000.0;
  const double capturedSeconds = double(capturing.elapsed()) / 1000.0;
  QTest::qWait(100);  // the buffers the close handed back, which must not add to the message

  EXPECT_FALSE(input.IsOpen());
  EXPECT_TRUE(dialogs.Calls().isEmpty());
  // The store, opened afresh, finds one message ...
  Cassette store(Env());
  ASSERT_EQ(store.OpenCassette(CassettePath()), OpenOutcome::Opened);
  ASSERT_EQ(store.MessageCount(), 1u);
  const uint32_t length = store.MessageEnd() - store.MessageStart();
  // ... of whole buffers only, every one drawn as it arrived: the part-filled buffer and the
  // empty ones the stop hands back come after the recording has ended ...
  EXPECT_EQ(length % 1024, 0u);
  EXPECT_EQ(view.traces.join().size(), qsizetype(length));
  // ... as long as the time that passed, less what the sound server still held at the stop and
  // the part of a buffer that was never filled. Nothing recorded before the start counts.
  EXPECT_GE(double(length), 1.25 * kRate);
  EXPECT_GE(double(length), (capturedSeconds - 0.75) * kRate) << capturedSeconds << " s";
  EXPECT_LE(double(length), seconds * kRate + 1024) << seconds << " s";
  // ... holding the microphone's tone from its first byte to its last.
  QByteArray sound(qsizetype(length), '\0');
  ASSERT_TRUE(store.ReadSound(store.MessageStart(), sound.data(), length).ok());
  EXPECT_NEAR(Frequency(sound), 440.0, 22.0);
  EXPECT_GT(Loud(sound).size(), qsizetype(length) * 9 / 10);
}

TEST_F(EngineRigTest, AMessagePlayedWithASeekIsHeardOnTheSinkUpToItsEnd) {
  // Two seconds at 440 Hz, then two at 880 Hz; the seek jumps to the second half.
  const QByteArray sound = rig::Tone(440.0, 2 * int(kRate)) + rig::Tone(880.0, 2 * int(kRate));
  Cassette cassette(Env());
  MakeCassetteWith(cassette, sound);
  rig::MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  const qsizetype before = monitor.Sound().size();

  QtAudioOutput output;
  FakeDialogs dialogs;
  test::PlayRecordingView view;
  PlaybackEngine engine(cassette, output, dialogs, view);
  engine.StartPlayback();
  ASSERT_TRUE(QTest::qWaitFor([&] { return output.Position() > kRate / 2; }, rig::kDeviceWaitMs));
  engine.FoldPosition();
  const uint32_t playedBefore = cassette.Head().Position() - cassette.MessageStart();
  ASSERT_LT(playedBefore, 2 * kRate);
  cassette.Head().SeekTo(2 * kRate);
  engine.RequestRestart();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Playing(); }, rig::kDeviceWaitMs));
  QTest::qWait(300);  // what the monitor still has on its way

  // The device said every byte was played, and the playback ended as a natural end does.
  EXPECT_TRUE(dialogs.Calls().isEmpty());
  EXPECT_EQ(cassette.Head().Position(), cassette.MessageEnd());
  EXPECT_FALSE(output.IsOpen());
  EXPECT_TRUE(cassette.CassetteStreamClosed());
  // The first tone up to the seek, a short gap while the device reopens, the second tone to the
  // end; nothing of the skipped stretch.
  const QByteArray heard = Loud(monitor.Sound().mid(before));
  EXPECT_NEAR(double(heard.size()), double(playedBefore + 2 * kRate), kRate / 4.0);
  EXPECT_NEAR(Frequency(heard.left(qsizetype(playedBefore) * 4 / 5)), 440.0, 22.0);
  EXPECT_NEAR(Frequency(heard.right(qsizetype(kRate) * 9 / 5)), 880.0, 44.0);
}

// 0 when the only box shown has this caption (its text is the one the fake device tests check);
// every box is printed.
int CheckOnlyBox(const FakeDialogs& dialogs, const char* caption) {
  for (const FakeDialogs::Call& call : dialogs.Calls()) {
    std::fprintf(stderr, "box [%s] %s\n", qPrintable(call.caption), qPrintable(call.text));
  }
  return int(dialogs.Calls().size() != 1 ||
             dialogs.Calls().front().caption != QString::fromUtf8(caption));
}

int Check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "wrong: %s\n", what);
  return ok ? 0 : 1;
}

// Runs both engines in a fresh copy of the test program whose sound server address leads
// nowhere: Qt connects to the sound server once per process. The child cannot report through
// GoogleTest, so it prints what it found and exits with the number of things that were wrong.
using EngineNoServerTest = EngineCassetteTest;

TEST_F(EngineNoServerTest, WithoutASoundServerNeitherEngineStartsAndTheCassetteIsUnchanged) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string config = PathIn("client.conf");
  test::WriteFile(config, test::BytesOf("autospawn = no\n"));  // never a server of its own
  Cassette cassette(Env());
  MakeCassetteWith(cassette, rig::Tone(440.0, 4000));
  const test::Bytes old = test::ReadFile(CassettePath());
  EXPECT_EXIT(
      {
        qputenv("PULSE_SERVER", QByteArray::fromStdString("unix:" + PathIn("no")));
        qputenv("PULSE_CLIENTCONFIG", QByteArray::fromStdString(config));
        int wrong = 0;
        QtAudioOutput output;
        FakeDialogs playDialogs;
        test::PlayRecordingView playView;
        PlaybackEngine player(cassette, output, playDialogs, playView);
        player.StartPlayback();
        wrong += CheckOnlyBox(playDialogs, "Kiv Sound Recorder - Error #03");
        wrong += Check(!player.Playing() && !output.IsOpen(), "the playback runs");
        wrong += Check(playView.calls.empty(), "the panel changed");
        wrong += Check(cassette.Head().Position() == cassette.MessageStart(), "the head moved");

        QtAudioInput input;
        QtFreeSpace freeSpace;
        FakeDialogs recordDialogs;
        test::CaptureRecordingView recordView;
        CaptureEngine recorder(cassette, input, freeSpace, recordDialogs, recordView);
        wrong += Check(!recorder.StartRecording() && !recorder.Recording(), "the recording runs");
        wrong += CheckOnlyBox(recordDialogs, "Kiv Sound Recorder - Error #07");
        wrong += Check(!input.IsOpen() && !cassette.Recording(), "the device is open");
        wrong += Check(!FileExists(Cassette::SidecarPathFor(CassettePath())), "a sidecar exists");
        wrong += Check(test::ReadFile(CassettePath()) == old, "the cassette changed");
        std::fflush(stderr);
        std::_Exit(wrong);
      },
      ::testing::ExitedWithCode(0), "Error #03\\].*\n.*Error #07\\]");
}

}  // namespace
}  // namespace kiv
