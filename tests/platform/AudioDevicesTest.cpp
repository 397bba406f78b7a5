// The real sound devices against the private PulseAudio server that scripts/test starts (see
// scripts/pulse-rig): its default input is a 440 Hz sine source and its default output a null
// sink whose monitor hears everything played. The tests check the sound that really arrived, so
// they wait on the devices, always with a bound. What a missing server does is checked through
// the engines (tests/audio).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <vector>

#include "../support/RigSound.h"
#include "platform/QtAudioInput.h"
#include "platform/QtAudioOutput.h"

namespace kiv {
namespace {

using namespace rig;

class RigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = RigUnavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

TEST_F(RigTest, InputRecordsTheSineSourceInWholeBuffersOnlyWhileStartedAtTheRatesItTakes) {
  QtAudioInput input;
  for (const uint32_t rate : {8000U, 22050U, 44100U}) EXPECT_EQ(input.Open(rate), kAudioOk) << rate;
  EXPECT_EQ(input.Open(100'000'000), kAudioBadFormat);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(input.AddBuffer(1024));
  EXPECT_FALSE(input.Start());
  ASSERT_EQ(input.Open(kRate), kAudioOk);
  QByteArray recording;
  std::vector<qsizetype> sizes;
  int added = 0;
  QObject::connect(&input, &AudioInput::BufferFull, [&](const QByteArray& data) {
    recording.append(data);
    sizes.push_back(data.size());
    if (input.IsOpen() && recording.size() < kRate) added += input.AddBuffer(1024) ? 1 : 0;
  });
  for (int i = 0; i < 8; ++i) added += input.AddBuffer(1024) ? 1 : 0;
  QTest::qWait(300);  // open, not started: the source's sound is not kept
  EXPECT_TRUE(sizes.empty());
  ASSERT_TRUE(input.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return recording.size() >= kRate; }, kDeviceWaitMs));
  input.Stop();
  QTest::qWait(50);
  const size_t afterStop = sizes.size();
  QTest::qWait(300);
  EXPECT_EQ(sizes.size(), afterStop) << "stopped, it takes nothing";
  input.Reset();
  input.Close();
  QTest::qWait(50);  // the returns queued by Reset and Close
  EXPECT_EQ(static_cast<int>(sizes.size()), added) << "every buffer back, once";
  EXPECT_GE(std::count(sizes.begin(), sizes.end(), 1024), 11);
  EXPECT_NEAR(Frequency(recording.left(kRate)), 440.0, 44.0);
  EXPECT_GT(Loud(recording.left(kRate)).size(), kRate * 9 / 10) << "a tone throughout";
}

class OutputRigTest : public RigTest {
 protected:
  void SetUp() override {
    RigTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(monitor.WaitRunning());
    before = monitor.Sound().size();
    ASSERT_EQ(output.Open(kRate), kAudioOk);
  }
  QByteArray Heard() { return Loud(monitor.Sound().mid(before)); }
  bool WaitPosition(uint64_t past) {
    return QTest::qWaitFor([&] { return output.Position() > past; }, kDeviceWaitMs);
  }

  MonitorRecording monitor;
  qsizetype before = 0;
  QtAudioOutput output;
  QSignalSpy done{&output, &AudioOutput::BufferDone};
};

TEST_F(OutputRigTest, PlaysAToneTheSinkReallyHearsOneBufferAtATimeAtTheRatesItTakes) {
  std::vector<uint64_t> positions;
  ASSERT_TRUE(output.Write(Tone(440.0, kRate)));
  EXPECT_FALSE(output.Write(Tone(440.0, 100))) << "one buffer at a time";
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        positions.push_back(output.Position());
        return done.count() > 0;
      },
      kDeviceWaitMs));
  EXPECT_EQ(output.Position(), uint64_t{kRate});
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  // The position moved through the playing, not in one jump at its end.
  EXPECT_GE(std::count_if(positions.begin(), positions.end(),
                          [](uint64_t p) { return p > 1000 && p < kRate - 1000; }),
            3);
  QTest::qWait(300);  // what the monitor still has on its way
  EXPECT_NEAR(static_cast<double>(Heard().size()), kRate, kRate * 0.1);
  EXPECT_NEAR(Frequency(Heard()), 440.0, 44.0);
  // An empty buffer comes back without playing, from the event loop.
  ASSERT_TRUE(output.Write(QByteArray()));
  EXPECT_EQ(done.count(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.count() == 2; }, kDeviceWaitMs));
  EXPECT_EQ(output.Position(), uint64_t{kRate});
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 2);
  for (const uint32_t rate : {6929U, 8000U, 15121U, 22050U, 44100U})
    EXPECT_EQ(output.Open(rate), kAudioOk) << rate;
  EXPECT_EQ(output.Open(0), kAudioBadFormat);
  EXPECT_EQ(output.Open(100'000'000), kAudioBadFormat);
  EXPECT_FALSE(output.IsOpen());
  EXPECT_FALSE(output.Write(Tone(440.0, 100)));
}

TEST_F(OutputRigTest, ResetCutsTheBufferShortPauseFallsSilentAndEachReturnsTheBufferOnce) {
  ASSERT_TRUE(output.Write(Tone(440.0, 5 * kRate)));
  ASSERT_TRUE(WaitPosition(2 * kRate / 10));
  output.Reset();
  EXPECT_EQ(done.count(), 0);
  const uint64_t cut = output.Position();
  QTest::qWait(500);
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.Position(), cut);
  // Heard up to the cut, give or take the way through the server; nothing it still had queued.
  EXPECT_NEAR(static_cast<double>(Heard().size()), static_cast<double>(cut), kRate / 20.0);
  // Played on from the cut, then paused.
  ASSERT_TRUE(output.Write(Tone(440.0, 3 * kRate)));
  ASSERT_TRUE(WaitPosition(cut + 1000));
  output.Pause();
  const uint64_t paused = output.Position();
  QTest::qWait(100);  // the last of the tone on its way to the monitor
  before = monitor.Sound().size();
  QTest::qWait(400);
  EXPECT_EQ(output.Position(), paused);
  EXPECT_TRUE(Heard().isEmpty());
  output.Restart();
  EXPECT_TRUE(WaitPosition(paused + 1000));
  EXPECT_FALSE(Heard().isEmpty());
  // Resuming a paused playback resets the paused device before restarting it.
  output.Pause();
  const uint64_t again = output.Position();
  output.Reset();
  output.Restart();
  EXPECT_EQ(done.count(), 1);
  QTest::qWait(300);
  EXPECT_EQ(done.count(), 2);
  EXPECT_EQ(output.Position(), again);
}

}  // namespace
}  // namespace kiv
