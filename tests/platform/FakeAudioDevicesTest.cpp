// The fake sound devices that the engine tests stand on: they must keep the devices' promises
// (every buffer back exactly once, always later on the event loop) or an engine test could pass
// against a device that no real card behaves like.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "platform/FakeAudioInput.h"
#include "platform/FakeAudioOutput.h"

namespace kiv {
namespace {

using ::testing::ElementsAre;

QByteArray Ramp(int size) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

TEST(FakeAudioOutputTest, OpenResultsComeFromTheScriptThenFromTheAcceptedRates) {
  FakeAudioOutput output;
  output.QueueOpenResult(kAudioAllocated);
  output.QueueOpenResult(kAudioNoDriver);
  output.SetAcceptedRates({11025});

  EXPECT_EQ(output.Open(11025), kAudioAllocated);
  EXPECT_FALSE(output.IsOpen());
  EXPECT_EQ(output.Open(11025), kAudioNoDriver);
  EXPECT_EQ(output.Open(15121), kAudioBadFormat);
  EXPECT_FALSE(output.IsOpen());
  EXPECT_EQ(output.Open(11025), kAudioOk);
  EXPECT_TRUE(output.IsOpen());
  EXPECT_EQ(output.Rate(), 11025U);
  EXPECT_THAT(output.Calls(),
              ElementsAre("Open(11025)", "Open(11025)", "Open(15121)", "Open(11025)"));
}

TEST(FakeAudioOutputTest, PlayedBufferComesBackOnceAndOnlyFromTheEventLoop) {
  FakeAudioOutput output;
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_EQ(output.Open(11025), kAudioOk);
  const QByteArray sound = Ramp(3000);
  ASSERT_TRUE(output.Write(sound));
  EXPECT_EQ(output.Buffer(), sound);

  EXPECT_EQ(output.Play(1000), 1000U);
  EXPECT_EQ(output.Position(), 1000U);
  EXPECT_EQ(output.Play(5000), 2000U);  // no further than the buffer
  EXPECT_EQ(output.Position(), 3000U);
  EXPECT_FALSE(output.HasBuffer());
  EXPECT_EQ(done.count(), 0);

  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  QCoreApplication::processEvents();
  output.Reset();
  output.Close();
  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.BuffersDone(), 1);
}

TEST(FakeAudioOutputTest, ResetCutsTheBufferShortAndPositionKeepsWhatWasPlayed) {
  FakeAudioOutput output;
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_EQ(output.Open(8000), kAudioOk);
  ASSERT_TRUE(output.Write(Ramp(4096)));
  output.Play(100);
  output.Reset();
  EXPECT_EQ(done.count(), 0);
  EXPECT_EQ(output.Play(100), 0U);
  EXPECT_EQ(output.Position(), 100U);
  output.Reset();  // nothing left to cut: no second return
  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  EXPECT_THAT(output.Calls(), ElementsAre("Open(8000)", "Write(4096)", "Reset", "Reset"));
}

TEST(FakeAudioOutputTest, PausedDevicePlaysNothingUntilRestarted) {
  FakeAudioOutput output;
  ASSERT_EQ(output.Open(11025), kAudioOk);
  ASSERT_TRUE(output.Write(Ramp(500)));
  output.Play(200);
  output.Pause();
  EXPECT_TRUE(output.IsPaused());
  EXPECT_EQ(output.Play(100), 0U);
  EXPECT_EQ(output.Finish(), 0U);
  output.Restart();
  EXPECT_EQ(output.Finish(), 300U);
  EXPECT_EQ(output.Position(), 500U);
  EXPECT_THAT(output.Calls(), ElementsAre("Open(11025)", "Write(500)", "Pause", "Restart"));
}

TEST(FakeAudioOutputTest, RefusedWritesNeverComeBack) {
  FakeAudioOutput output;
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  EXPECT_FALSE(output.Write(Ramp(10)));  // not open
  ASSERT_EQ(output.Open(11025), kAudioOk);
  output.SetWriteFails(true);
  EXPECT_FALSE(output.Write(Ramp(10)));
  output.SetWriteFails(false);
  ASSERT_TRUE(output.Write(Ramp(10)));
  EXPECT_FALSE(output.Write(Ramp(10)));  // one buffer at a time
  output.Close();
  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  EXPECT_FALSE(output.IsOpen());
}

TEST(FakeAudioOutputTest, EmptyBufferComesBackWithoutPlaying) {
  FakeAudioOutput output;
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_EQ(output.Open(11025), kAudioOk);
  ASSERT_TRUE(output.Write(QByteArray()));
  EXPECT_EQ(done.count(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.Position(), 0U);
}

TEST(FakeAudioOutputTest, ReturnPendingForADeletedDeviceIsDropped) {
  auto* output = new FakeAudioOutput;
  int done = 0;
  QObject::connect(output, &AudioOutput::BufferDone, [&done] { ++done; });
  ASSERT_EQ(output->Open(11025), kAudioOk);
  ASSERT_TRUE(output->Write(Ramp(10)));
  output->Reset();
  delete output;
  QCoreApplication::processEvents();
  EXPECT_EQ(done, 0);
}

TEST(FakeAudioInputTest, RatesOpenAsScripted) {
  FakeAudioInput input;
  input.SetDefaultOpenResult(kAudioBadFormat);
  input.SetOpenResult(8000, kAudioOk);
  input.SetOpenResult(22050, kAudioAllocated);
  EXPECT_EQ(input.Open(11025), kAudioBadFormat);
  EXPECT_EQ(input.Open(22050), kAudioAllocated);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_EQ(input.Open(8000), kAudioOk);
  EXPECT_TRUE(input.IsOpen());
  EXPECT_EQ(input.Rate(), 8000U);
}

TEST(FakeAudioInputTest, CapturedSoundFillsBuffersOldestFirst) {
  FakeAudioInput input;
  QSignalSpy full(&input, &AudioInput::BufferFull);
  ASSERT_EQ(input.Open(11025), kAudioOk);
  ASSERT_TRUE(input.AddBuffer(1024));
  ASSERT_TRUE(input.AddBuffer(1024));
  ASSERT_TRUE(input.AddBuffer(1024));
  EXPECT_EQ(input.Capture(Ramp(100)), 0);  // not started yet
  ASSERT_TRUE(input.Start());

  const QByteArray sound = Ramp(2500);
  EXPECT_EQ(input.Capture(sound), 2500);
  EXPECT_EQ(input.QueuedBuffers(), 1);
  EXPECT_EQ(full.count(), 0);

  QCoreApplication::processEvents();
  ASSERT_EQ(full.count(), 2);
  EXPECT_EQ(full.at(0).at(0).toByteArray(), sound.left(1024));
  EXPECT_EQ(full.at(1).at(0).toByteArray(), sound.mid(1024, 1024));
  EXPECT_THAT(input.Calls(), ElementsAre("Open(11025)", "AddBuffer(1024)", "AddBuffer(1024)",
                                         "AddBuffer(1024)", "Start"));
}

TEST(FakeAudioInputTest, StopReturnsThePartlyFilledBufferAndKeepsTheEmptyOnes) {
  FakeAudioInput input;
  QSignalSpy full(&input, &AudioInput::BufferFull);
  ASSERT_EQ(input.Open(11025), kAudioOk);
  input.AddBuffer(1024);
  input.AddBuffer(1024);
  input.Start();
  input.Capture(Ramp(300));
  input.Stop();
  EXPECT_FALSE(input.IsStarted());
  EXPECT_EQ(input.QueuedBuffers(), 1);
  EXPECT_EQ(input.Capture(Ramp(300)), 0);
  EXPECT_EQ(full.count(), 0);
  QCoreApplication::processEvents();
  ASSERT_EQ(full.count(), 1);
  EXPECT_EQ(full.at(0).at(0).toByteArray(), Ramp(300));
}

TEST(FakeAudioInputTest, ResetAndCloseReturnEveryBufferOnce) {
  FakeAudioInput input;
  QSignalSpy full(&input, &AudioInput::BufferFull);
  ASSERT_EQ(input.Open(11025), kAudioOk);
  for (int i = 0; i < 3; ++i) input.AddBuffer(1024);
  input.Start();
  input.Capture(Ramp(1100));
  input.Reset();
  input.AddBuffer(512);
  input.Close();
  EXPECT_EQ(input.QueuedBuffers(), 0);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_EQ(full.count(), 0);
  QCoreApplication::processEvents();
  ASSERT_EQ(full.count(), 4);
  EXPECT_EQ(full.at(0).at(0).toByteArray().size(), 1024);
  EXPECT_EQ(full.at(1).at(0).toByteArray(), Ramp(1100).mid(1024));
  EXPECT_TRUE(full.at(2).at(0).toByteArray().isEmpty());
  EXPECT_TRUE(full.at(3).at(0).toByteArray().isEmpty());
  QCoreApplication::processEvents();
  EXPECT_EQ(input.BuffersReturned(), 4);
}

TEST(FakeAudioInputTest, RefusedBuffersAreNotQueued) {
  FakeAudioInput input;
  EXPECT_FALSE(input.AddBuffer(1024));  // not open
  ASSERT_EQ(input.Open(11025), kAudioOk);
  input.SetAddBufferFails(true);
  EXPECT_FALSE(input.AddBuffer(1024));
  input.SetStartFails(true);
  EXPECT_FALSE(input.Start());
  EXPECT_EQ(input.QueuedBuffers(), 0);
}

}  // namespace
}  // namespace kiv
