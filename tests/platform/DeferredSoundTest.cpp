// The recorder's sound devices are made at their first use: nothing of the sound system at start,
// the real device at the first Open (or the first sound played), and from then on every call and
// every returned buffer passes through.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "platform/DeferredSound.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeAudioOutput.h"
#include "platform/fake/FakeSoundPlayer.h"
#include "platform/SoundModule.h"

namespace kiv {
namespace {

// A factory that counts its calls and hands out `Device`s while `available`.
template <typename Device, typename Interface>
struct Factory {
  int made = 0;
  bool available = true;
  Device* last = nullptr;
  DeviceFactory<Interface> Make() {
    return [this]() -> std::unique_ptr<Interface> {
      ++made;
      if (!available) return nullptr;
      auto device = std::make_unique<Device>();
      last = device.get();
      return device;
    };
  }
};

TEST(DeferredSoundTest, TheFirstPlayOpensTheOutputAndItsBuffersComeBack) {
  Factory<FakeAudioOutput, AudioOutput> factory;
  factory.available = false;
  DeferredAudioOutput output(factory.Make());
  EXPECT_EQ(factory.made, 0);
  EXPECT_FALSE(output.Write(QByteArray(8, 'x')));
  // No device to be had: as a machine without one; the next Open asks again.
  EXPECT_EQ(output.Open(11025), kAudioNoDriver);
  factory.available = true;
  ASSERT_EQ(output.Open(11025), kAudioOk);
  EXPECT_EQ(factory.made, 2);
  EXPECT_TRUE(output.IsOpen());
  QSignalSpy done(&output, &AudioOutput::BufferDone);
  ASSERT_TRUE(output.Write(QByteArray(8, 'x')));
  factory.last->Finish();
  QCoreApplication::processEvents();
  EXPECT_EQ(done.count(), 1);
  EXPECT_EQ(output.Position(), 8U);
  // The same device serves every later Open.
  output.Close();
  factory.last->QueueOpenResult(kAudioAllocated);
  EXPECT_EQ(output.Open(8000), kAudioAllocated);
  EXPECT_EQ(factory.made, 2);
}

TEST(DeferredSoundTest, TheFirstRecordOpensTheInputAndItsBuffersComeBack) {
  Factory<FakeAudioInput, AudioInput> factory;
  DeferredAudioInput input(factory.Make());
  EXPECT_FALSE(input.Start());
  EXPECT_EQ(factory.made, 0);
  ASSERT_EQ(input.Open(11025), kAudioOk);
  EXPECT_EQ(factory.last->Rate(), 11025U);
  QSignalSpy full(&input, &AudioInput::BufferFull);
  ASSERT_TRUE(input.AddBuffer(4));
  ASSERT_TRUE(input.Start());
  factory.last->Capture(QByteArray("abcd"));
  QCoreApplication::processEvents();
  ASSERT_EQ(full.count(), 1);
  EXPECT_EQ(full[0][0].toByteArray(), QByteArray("abcd"));
}

TEST(DeferredSoundTest, TheFirstSoundMakesThePlayer) {
  Factory<FakeSoundPlayer, SoundPlayer> factory;
  DeferredSoundPlayer player(factory.Make());
  player.Stop();
  EXPECT_EQ(factory.made, 0);
  const QString limit = QStringLiteral(KIVREC_BIN_DIR "/limit.wav");
  EXPECT_TRUE(player.Play(limit));
  EXPECT_EQ(factory.last->Played(), QStringList{limit});
}

// The program's own factories find the library beside it (the tests live in the same folder).
TEST(DeferredSoundTest, TheSoundLibraryMakesEveryDevice) {
  EXPECT_NE(SoundModule::NewAudioOutput(), nullptr);
  EXPECT_NE(SoundModule::NewAudioInput(), nullptr);
  EXPECT_NE(SoundModule::NewSoundPlayer(), nullptr);
}

}  // namespace
}  // namespace kiv
