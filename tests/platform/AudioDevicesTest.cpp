// The real sound devices against the private PulseAudio server that scripts/test starts (see
// scripts/pulse-rig): its default input is a 440 Hz sine source and its default output a null
// sink whose monitor hears everything played. The tests check the sound that really arrived, so
// they wait on the devices, always with a bound.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "../support/RigSound.h"
#include "platform/QtAudioInput.h"
#include "platform/QtAudioOutput.h"

namespace kiv {
namespace {

using rig::Frequency;
using rig::kDeviceWaitMs;
using rig::kRate;
using rig::Loud;
using rig::MonitorRecording;
using rig::Tone;

class RigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = rig::RigUnavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

TEST_F(RigTest, InputRecordsTheSineSourceInWholeBuffers) {
  QtAudioInput input;
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
  ASSERT_EQ(added, 8);
  ASSERT_TRUE(input.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return recording.size() >= kRate; }, kDeviceWaitMs));
  input.Stop();
  input.Reset();
  input.Close();
  QTest::qWait(50);  // the returns queued by Reset and Close

  EXPECT_EQ(static_cast<int>(sizes.size()), added);  // every buffer back, once
  const qsizetype full = std::count(sizes.begin(), sizes.end(), 1024);
  EXPECT_GE(full, 11);
  const QByteArray second = recording.left(kRate);
  EXPECT_NEAR(Frequency(second), 440.0, 44.0);
  EXPECT_GT(Loud(second).size(), kRate * 9 / 10);  // a tone throughout, not stray clicks
}

TEST_F(RigTest, InputStoppedTakesNothingAndStartsAgain) {
  QtAudioInput input;
  ASSERT_EQ(input.Open(kRate), kAudioOk);
  QSignalSpy full(&input, &AudioInput::BufferFull);
  ASSERT_TRUE(input.AddBuffer(512));
  ASSERT_TRUE(input.AddBuffer(512));
  QTest::qWait(300);  // open, not started: the source's sound is not kept
  EXPECT_EQ(full.count(), 0);
  ASSERT_TRUE(input.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return full.count() >= 1; }, kDeviceWaitMs));
  input.Stop();
  QTest::qWait(50);
  const int afterStop = full.count();
  QTest::qWait(300);
  EXPECT_EQ(full.count(), afterStop);
  ASSERT_TRUE(input.AddBuffer(512));
  ASSERT_TRUE(input.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return full.count() >= 3; }, kDeviceWaitMs));
  input.Close();
  QTest::qWait(50);
  EXPECT_EQ(full.count(), 3);
  EXPECT_EQ(full.at(0).at(0).toByteArray().size(), 512);
}

TEST_F(RigTest, OutputPlaysAToneTheSinkReallyHears) {
  MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  const qsizetype before = monitor.Sound().size();

  QtAudioOutput output;
  ASSERT_EQ(output.Open(kRate), kAudioOk);
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  std::vector<uint64_t> positions;
  ASSERT_TRUE(output.Write(Tone(440.0, kRate)));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        positions.push_back(output.Position());
        return done.count() > 0;
      },
      kDeviceWaitMs));
  EXPECT_EQ(output.Position(), uint64_t{kRate});
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  // The position moved through the playing, not in one jump at its end.
  const auto midway = std::count_if(positions.begin(), positions.end(),
                                    [](uint64_t p) { return p > 1000 && p < kRate - 1000; });
  EXPECT_GE(midway, 3);

  QTest::qWait(300);  // what the monitor still has on its way
  const QByteArray heard = Loud(monitor.Sound().mid(before));
  EXPECT_NEAR(static_cast<double>(heard.size()), kRate, kRate * 0.1);
  EXPECT_NEAR(Frequency(heard), 440.0, 44.0);

  // A device that has played its buffer out takes the next one.
  ASSERT_TRUE(output.Write(Tone(440.0, 2000)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.count() == 2; }, kDeviceWaitMs));
  EXPECT_EQ(output.Position(), uint64_t{kRate} + 2000);
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 2);
}

TEST_F(RigTest, OutputResetCutsTheBufferShortAndReturnsItOnce) {
  MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  const qsizetype before = monitor.Sound().size();
  QtAudioOutput output;
  ASSERT_EQ(output.Open(kRate), kAudioOk);
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_TRUE(output.Write(Tone(440.0, 5 * kRate)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return output.Position() > 2 * kRate / 10; }, kDeviceWaitMs));
  output.Reset();
  EXPECT_EQ(done.count(), 0);
  const uint64_t cut = output.Position();
  EXPECT_LT(cut, 5U * kRate);

  QTest::qWait(500);
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.Position(), cut);
  // The sink heard the tone up to the cut, give or take the way through the sound server, and
  // nothing of what the server still had queued.
  const QByteArray heard = Loud(monitor.Sound().mid(before));
  EXPECT_NEAR(static_cast<double>(heard.size()), static_cast<double>(cut), kRate / 20.0);

  // The same device plays on, counting from where it was cut.
  ASSERT_TRUE(output.Write(Tone(440.0, 2000)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.count() == 2; }, kDeviceWaitMs));
  EXPECT_EQ(output.Position(), cut + 2000);
  output.Reset();
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 2);
}

TEST_F(RigTest, OutputPausedFallsSilentAndHoldsItsPositionUntilRestarted) {
  MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  QtAudioOutput output;
  ASSERT_EQ(output.Open(kRate), kAudioOk);
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_TRUE(output.Write(Tone(440.0, 3 * kRate)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return output.Position() > 1000; }, kDeviceWaitMs));
  output.Pause();
  const uint64_t paused = output.Position();
  QTest::qWait(100);  // the last of the tone on its way to the monitor
  const qsizetype pauseStart = monitor.Sound().size();
  QTest::qWait(400);
  EXPECT_EQ(output.Position(), paused);
  EXPECT_TRUE(Loud(monitor.Sound().mid(pauseStart)).isEmpty());
  EXPECT_EQ(done.count(), 0);
  output.Restart();
  EXPECT_TRUE(QTest::qWaitFor([&] { return output.Position() > paused + 1000; }, kDeviceWaitMs));
  EXPECT_FALSE(Loud(monitor.Sound().mid(pauseStart)).isEmpty());
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 1);
}

// Resuming a paused playback resets the paused device before restarting it.
TEST_F(RigTest, OutputResetWhilePausedReturnsTheBufferOnce) {
  QtAudioOutput output;
  ASSERT_EQ(output.Open(kRate), kAudioOk);
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_TRUE(output.Write(Tone(440.0, 3 * kRate)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return output.Position() > 1000; }, kDeviceWaitMs));
  output.Pause();
  const uint64_t paused = output.Position();
  output.Reset();
  output.Restart();
  EXPECT_EQ(done.count(), 0);
  QTest::qWait(300);
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.Position(), paused);
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 1);
}

TEST_F(RigTest, OutputGivesBackAnEmptyBufferWithoutPlaying) {
  QtAudioOutput output;
  ASSERT_EQ(output.Open(kRate), kAudioOk);
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_TRUE(output.Write(QByteArray()));
  EXPECT_EQ(done.count(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.count() == 1; }, kDeviceWaitMs));
  EXPECT_EQ(output.Position(), 0U);
  ASSERT_TRUE(output.Write(Tone(440.0, 4000)));
  EXPECT_FALSE(output.Write(Tone(440.0, 4000)));  // one buffer at a time
  output.Close();
  QTest::qWait(50);
  EXPECT_EQ(done.count(), 2);
}

TEST_F(RigTest, DevicesOpenAtThePlayAndRecordRatesAndRefuseImpossibleOnes) {
  QtAudioOutput output;
  for (const uint32_t rate : {6929U, 8000U, 11025U, 15121U, 22050U, 44100U}) {
    EXPECT_EQ(output.Open(rate), kAudioOk) << rate;
    EXPECT_TRUE(output.IsOpen());
  }
  EXPECT_EQ(output.Open(0), kAudioBadFormat);
  EXPECT_FALSE(output.IsOpen());
  EXPECT_EQ(output.Open(100'000'000), kAudioBadFormat);
  EXPECT_FALSE(output.Write(Tone(440.0, 100)));

  QtAudioInput input;
  for (const uint32_t rate : {8000U, 11025U, 22050U, 44100U}) {
    EXPECT_EQ(input.Open(rate), kAudioOk) << rate;
  }
  EXPECT_EQ(input.Open(100'000'000), kAudioBadFormat);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(input.AddBuffer(1024));
  EXPECT_FALSE(input.Start());
}

// Runs `open` in a fresh copy of the test program whose sound server address leads nowhere, and
// returns there with the result code as the exit status. A fresh process is needed because Qt
// connects to the sound server once per process.
class NoServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_TRUE(home_.isValid());
    QFile config(home_.filePath(QStringLiteral("client.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("autospawn = no\n");
  }

  void PointNowhere() const {
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(home_.filePath(QStringLiteral("none"))));
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(home_.filePath(QStringLiteral("client.conf"))));
  }

  QTemporaryDir home_;
};

TEST_F(NoServerTest, OutputWithoutASoundServerHasNoDriver) {
  EXPECT_EXIT(
      {
        PointNowhere();
        QtAudioOutput output;
        std::_Exit(output.Open(kRate));
      },
      ::testing::ExitedWithCode(kAudioNoDriver), "");
}

TEST_F(NoServerTest, InputWithoutASoundServerHasNoDriver) {
  EXPECT_EXIT(
      {
        PointNowhere();
        QtAudioInput input;
        std::_Exit(input.Open(kRate));
      },
      ::testing::ExitedWithCode(kAudioNoDriver), "");
}

}  // namespace
}  // namespace kiv
