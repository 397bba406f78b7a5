// The cassette-full sound the build puts beside the recorder, and the sound player: the WAV
// check, the real player's refusals (which never reach the sound server), and, on the private
// PulseAudio server of scripts/pulse-rig, that limit.wav is really heard on the null sink and
// that Stop cuts it short.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "../support/RigSound.h"
#include "platform/QtSoundPlayer.h"
#include "platform/SoundPlayer.h"

namespace kiv {
namespace {

QString LimitWavPath() { return QStringLiteral(KIVREC_BIN_DIR "/limit.wav"); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// limit.wav is 16-bit mono PCM at 22050 Hz of 0.6 to 0.8 s: two notes going down a major third
// (E5, C5), loud but not clipped, rising from and fading to silence (no click), and its last
// fifth of a second silent, so a player that drops what its device still holds loses nothing.
TEST(LimitSound, IsTwoNotesGoingDownInSixteenBitMonoEndingInSilence) {
  const QByteArray bytes = ReadAll(LimitWavPath());
  ASSERT_GT(bytes.size(), 44) << "the build makes bin/limit.wav";
  const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
  const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
  EXPECT_EQ(bytes.left(16), QByteArray("RIFF", 4) + bytes.mid(4, 4) + "WAVEfmt ");
  EXPECT_EQ(u32(4), quint32(bytes.size() - 8));
  EXPECT_EQ(u16(20), 1) << "PCM";
  EXPECT_EQ(u16(22), 1) << "mono";
  EXPECT_EQ(u32(24), 22050u);
  EXPECT_EQ(u32(28), 44100u);
  EXPECT_EQ(u16(32), 2);
  EXPECT_EQ(u16(34), 16);
  ASSERT_EQ(bytes.mid(36, 4), QByteArray("data"));
  ASSERT_EQ(u32(40), quint32(bytes.size() - 44));
  std::vector<int> s;
  for (int at = 44; at + 1 < bytes.size(); at += 2)
    s.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
  const size_t rate = 22050;
  EXPECT_GE(s.size(), rate * 6 / 10);
  EXPECT_LE(s.size(), rate * 8 / 10);
  const auto peak = [&](size_t from, size_t to) {
    int most = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i) most = std::max(most, std::abs(s[i]));
    return most;
  };
  EXPECT_GT(peak(0, s.size()), 32767 / 4);
  EXPECT_LT(peak(0, s.size()), 32767 * 9 / 10);
  EXPECT_LT(peak(0, rate / 1000), 32767 / 100);
  EXPECT_EQ(peak(s.size() - rate / 5, s.size()), 0);
  EXPECT_GT(peak(s.size() - rate / 4, s.size() - rate / 5), 0);
  // Upward crossings with a little hysteresis, per second.
  const auto frequency = [&](double from, double to) {
    int crossings = 0;
    bool below = true;
    for (size_t i = size_t(from * rate); i < size_t(to * rate); ++i) {
      if (below && s[i] > 300) ++crossings;
      below = s[i] < -300 || (below && s[i] <= 300);
    }
    return crossings / (to - from);
  };
  EXPECT_NEAR(frequency(0.02, 0.18), 659.3, 25.0);
  EXPECT_NEAR(frequency(0.40, 0.54), 523.3, 25.0);
}

// None of these reaches the sound server: a refused file is refused before any device is made.
TEST(SoundPlayer, OnlyAReadableRiffWaveFileCountsAsASound) {
  QTemporaryDir folder;
  const auto path = [&](const char* name) { return folder.filePath(QLatin1String(name)); };
  const auto write = [&](const char* name, const QByteArray& bytes) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  write("notes.wav", "Call Anna back about the tapes.\n");
  write("short.wav", "RIFF\x10\0\0\0WAV");
  write("avi.wav", QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.wav")));
  EXPECT_TRUE(IsReadableWavFile(LimitWavPath()));
  QtSoundPlayer player;
  player.Stop();  // nothing playing yet
  for (const char* name : {"missing.wav", "notes.wav", "short.wav", "avi.wav", "folder.wav"}) {
    EXPECT_FALSE(IsReadableWavFile(path(name))) << name;
    EXPECT_FALSE(player.Play(path(name))) << name;
  }
}

// --- On the sound rig --------------------------------------------------------------------------

class SoundPlayerRigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = rig::RigUnavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(monitor.WaitRunning());
    before = monitor.Sound().size();
  }
  // The chime fades out slowly; anything off the middle line by more than 4 is still heard.
  QByteArray Heard() { return rig::Loud(monitor.Sound().mid(before), 4); }
  double HeardSeconds() { return double(Heard().size()) / rig::kRate; }
  bool WaitHeard() {
    return QTest::qWaitFor([&] { return !Heard().isEmpty(); }, rig::kDeviceWaitMs);
  }

  rig::MonitorRecording monitor;
  qsizetype before = 0;
  QtSoundPlayer player;
};

TEST_F(SoundPlayerRigTest, TheLimitSoundIsHeardWholeOnTheSinkWhilePlayReturnsAtOnce) {
  QElapsedTimer call;
  call.start();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  EXPECT_LT(call.elapsed(), 750) << "a player that waits for the end takes the whole 0.8 s";
  ASSERT_TRUE(WaitHeard()) << "nothing reached the sink";
  QTest::qWait(1200);
  // The chime falls below the threshold a little before its 0.6 s: all of it came through.
  EXPECT_NEAR(HeardSeconds(), 0.56, 0.04);
  EXPECT_NEAR(rig::Frequency(Heard().mid(rig::kRate / 50, rig::kRate * 16 / 100)), 659.3, 40.0);
  before = monitor.Sound().size();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  QTest::qWait(1500);
  EXPECT_NEAR(HeardSeconds(), 0.56, 0.04) << "played again, from its start";
}

TEST_F(SoundPlayerRigTest, StopCutsTheSoundShort) {
  ASSERT_TRUE(player.Play(LimitWavPath()));
  ASSERT_TRUE(WaitHeard());
  player.Stop();
  QTest::qWait(1200);
  EXPECT_LT(HeardSeconds(), 0.4);
}

}  // namespace
}  // namespace kiv
