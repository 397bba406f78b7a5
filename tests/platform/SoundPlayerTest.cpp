// The sound player: the WAV check, the real player's refusals (which never reach the sound
// server), and, on the private PulseAudio server of scripts/pulse-rig, that the cassette-full
// sound the build puts beside the recorder (limit.wav: E5 then C5, ending in silence) is really
// heard whole on the null sink and that Stop cuts it short.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "../support/RigSound.h"
#include "platform/QtSoundPlayer.h"
#include "platform/SoundPlayer.h"

namespace kiv {
namespace {

QString LimitWavPath() { return QStringLiteral(KIVREC_BIN_DIR "/limit.wav"); }

// None of these reaches the sound server: a refused file is refused before any device is made.
TEST(SoundPlayer, OnlyAReadableRiffWaveFileCountsAsASound) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.wav")));
  const std::pair<const char*, QByteArray> files[] = {
      {"notes.wav", "Call Anna back about the tapes.\n"},
      {"short.wav", QByteArray("RIFF\x10\0\0\0WAV", 11)},
      {"avi.wav", QByteArray("RIFF\x10\0\0\0AVI LIST", 16)},
  };
  for (const auto& [name, bytes] : files) {
    QFile file(folder.filePath(QLatin1String(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  EXPECT_TRUE(IsReadableWavFile(LimitWavPath()));
  QtSoundPlayer player;
  player.Stop();  // nothing playing yet
  for (const char* name : {"missing.wav", "notes.wav", "short.wav", "avi.wav", "folder.wav"}) {
    EXPECT_FALSE(IsReadableWavFile(folder.filePath(QLatin1String(name)))) << name;
    EXPECT_FALSE(player.Play(folder.filePath(QLatin1String(name)))) << name;
  }
}

TEST(SoundPlayerRigTest, TheLimitSoundIsHeardWholeOnTheSinkWhilePlayReturnsAtOnceAndStopCutsIt) {
  const std::string unavailable = rig::RigUnavailableReason();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  rig::MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  qsizetype before = monitor.Sound().size();
  // The chime fades out slowly; anything off the middle line by more than 4 is still heard.
  const auto heard = [&] { return rig::Loud(monitor.Sound().mid(before), 4); };
  const auto heardSeconds = [&] { return double(heard().size()) / rig::kRate; };
  QtSoundPlayer player;
  QElapsedTimer call;
  call.start();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  EXPECT_LT(call.elapsed(), 750) << "a player that waits for the end takes the whole 0.8 s";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !heard().isEmpty(); }, rig::kDeviceWaitMs))
      << "nothing reached the sink";
  QTest::qWait(1200);
  // The chime falls below the threshold a little before its 0.6 s: all of it came through.
  EXPECT_NEAR(heardSeconds(), 0.56, 0.04);
  EXPECT_NEAR(rig::Frequency(heard().mid(rig::kRate / 50, rig::kRate * 16 / 100)), 659.3, 40.0);
  EXPECT_NEAR(rig::Frequency(heard().mid(rig::kRate * 2 / 5, rig::kRate * 14 / 100)), 523.3, 40.0);
  before = monitor.Sound().size();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  QTest::qWait(1500);
  EXPECT_NEAR(heardSeconds(), 0.56, 0.04) << "played again, from its start";
  before = monitor.Sound().size();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !heard().isEmpty(); }, rig::kDeviceWaitMs));
  player.Stop();
  QTest::qWait(1200);
  EXPECT_LT(heardSeconds(), 0.4) << "Stop cuts the sound short";
}

}  // namespace
}  // namespace kiv
