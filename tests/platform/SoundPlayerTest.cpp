// The sound player: the WAV check both players make, the fake's record of what it played, the
// real player's refusals (which never reach the sound server), and, on the private PulseAudio
// server of scripts/pulse-rig, that limit.wav is really heard on the null sink and that Stop cuts
// it short.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "../support/RigSound.h"
#include "platform/FakeSoundPlayer.h"
#include "platform/QtSoundPlayer.h"
#include "platform/SoundPlayer.h"

namespace kiv {
namespace {

QString LimitWavPath() { return QStringLiteral(KIVREC_BIN_DIR "/limit.wav"); }

// A folder with a real sound, a text file, a cut-off header and a folder named like a sound.
class SoundFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(QFile::exists(LimitWavPath())) << "the build makes bin/limit.wav";
    ASSERT_TRUE(QFile::copy(LimitWavPath(), Path("limit.wav")));
    Write("notes.wav", "Call Anna back about the tapes.\n");
    Write("short.wav", "RIFF\x10\0\0\0WAV");
    Write("avi.wav", QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("folder.wav")));
  }

  QString Path(const char* name) const { return folder_.filePath(QLatin1String(name)); }

  void Write(const char* name, const QByteArray& bytes) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir folder_;
};

TEST_F(SoundFiles, OnlyAReadableRiffWaveFileCountsAsASound) {
  EXPECT_TRUE(IsReadableWavFile(Path("limit.wav")));
  EXPECT_FALSE(IsReadableWavFile(Path("missing.wav")));
  EXPECT_FALSE(IsReadableWavFile(Path("notes.wav")));
  EXPECT_FALSE(IsReadableWavFile(Path("short.wav")));
  EXPECT_FALSE(IsReadableWavFile(Path("avi.wav")));
  EXPECT_FALSE(IsReadableWavFile(Path("folder.wav")));
  EXPECT_FALSE(IsReadableWavFile(QString()));
}

TEST_F(SoundFiles, TheFakeKeepsWhatItWasAskedAndWhatPlays) {
  FakeSoundPlayer player;
  EXPECT_TRUE(player.Play(Path("limit.wav")));
  EXPECT_EQ(player.Playing(), Path("limit.wav"));
  EXPECT_FALSE(player.Play(Path("missing.wav")));
  EXPECT_TRUE(player.Playing().isEmpty());  // the new sound stopped the old one, and failed
  EXPECT_TRUE(player.Play(Path("limit.wav")));
  player.Stop();
  EXPECT_TRUE(player.Playing().isEmpty());
  EXPECT_EQ(player.StopCount(), 1);
  EXPECT_EQ(player.Asked(),
            (QStringList{Path("limit.wav"), Path("missing.wav"), Path("limit.wav")}));
  EXPECT_EQ(player.Played(), (QStringList{Path("limit.wav"), Path("limit.wav")}));
}

// None of these reaches the sound server: a refused file is refused before any device is made.
TEST_F(SoundFiles, TheRealPlayerRefusesWhatIsNoSoundAndReturnsAtOnce) {
  QtSoundPlayer player;
  player.Stop();  // nothing playing yet
  EXPECT_FALSE(player.Play(Path("missing.wav")));
  EXPECT_FALSE(player.Play(Path("notes.wav")));
  EXPECT_FALSE(player.Play(Path("short.wav")));
  EXPECT_FALSE(player.Play(Path("folder.wav")));
  player.Stop();
}

// --- On the sound rig --------------------------------------------------------------------------

// The chime fades out slowly; anything off the middle line by more than this is still heard.
constexpr int kHeardThreshold = 4;

QByteArray Heard(const QByteArray& sound) { return rig::Loud(sound, kHeardThreshold); }

double Seconds(const QByteArray& sound) { return double(sound.size()) / rig::kRate; }

class SoundPlayerRigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = rig::RigUnavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(QFile::exists(LimitWavPath())) << "the build makes bin/limit.wav";
  }
};

TEST_F(SoundPlayerRigTest, TheLimitSoundIsHeardOnTheSinkWhilePlayReturnsAtOnce) {
  rig::MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  const qsizetype before = monitor.Sound().size();

  QtSoundPlayer player;
  QElapsedTimer call;
  call.start();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  // A player that waited for the end would take the sound's whole 0.8 s.
  EXPECT_LT(call.elapsed(), 750);

  ASSERT_TRUE(QTest::qWaitFor([&] { return !Heard(monitor.Sound().mid(before)).isEmpty(); },
                              rig::kDeviceWaitMs))
      << "nothing reached the sink";
  QTest::qWait(1200);  // the rest of the sound, and what is still on its way
  // The chime sounds for 0.6 s and falls below the threshold a little before its end: all of it
  // came through, none of it cut.
  const QByteArray heard = Heard(monitor.Sound().mid(before));
  EXPECT_NEAR(Seconds(heard), 0.56, 0.04);
  // E5 first, C5 once the first note has died away.
  EXPECT_NEAR(rig::Frequency(heard.mid(rig::kRate / 50, rig::kRate * 16 / 100)), 659.3, 40.0);
  EXPECT_NEAR(rig::Frequency(heard.mid(rig::kRate * 40 / 100, rig::kRate * 8 / 100)), 523.3,
              40.0);

  // Played again, it is heard again, from its start.
  const qsizetype again = monitor.Sound().size();
  ASSERT_TRUE(player.Play(LimitWavPath()));
  QTest::qWait(1500);
  EXPECT_NEAR(Seconds(Heard(monitor.Sound().mid(again))), 0.56, 0.04);
}

TEST_F(SoundPlayerRigTest, StopCutsTheSoundShort) {
  rig::MonitorRecording monitor;
  ASSERT_TRUE(monitor.WaitRunning());
  const qsizetype before = monitor.Sound().size();
  QtSoundPlayer player;
  ASSERT_TRUE(player.Play(LimitWavPath()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Heard(monitor.Sound().mid(before)).isEmpty(); },
                              rig::kDeviceWaitMs));
  player.Stop();
  QTest::qWait(1200);
  EXPECT_LT(Seconds(Heard(monitor.Sound().mid(before))), 0.4);
}

}  // namespace
}  // namespace kiv
